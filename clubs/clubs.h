#pragma once

struct TSimulator;

// Step 3: the selected club set's base status and slot limits, and their labels.
void CalcClubSetting(TSimulator& sim);
