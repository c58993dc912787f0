#pragma once

struct TSimulator;

// Step 2: the selected caddie's effect and its text.
void CalcCaddie(TSimulator& sim);
