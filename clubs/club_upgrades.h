#pragma once

struct TSimulator;

// The club-limit step of every chain: club spinner positions lowered to the club's limits, then the
// limits become the spinners' upper bounds.
void CalcClubLimit(TSimulator& sim);
// The club step of StatusCalculate: the club counts as the spinners stand.
void CalcClub1(TSimulator& sim);
// The club step of ClubChange: the newly selected club's remembered counts first.
void CalcClub2(TSimulator& sim);
// The club step of ClubFullTune: every club spinner raised to its limit first.
void CalcClub3(TSimulator& sim);
