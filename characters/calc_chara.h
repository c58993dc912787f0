#pragma once

struct TSimulator;

// The first step of every chain: accepts the level, runs the equipment pass and the outfit
// rules over all ten characters, then computes the active character's base status,
// equipment sum, slot limits, effective slot-ups, PP and ring distance.
void CalcChara(TSimulator& sim);
