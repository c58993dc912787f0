#pragma once

struct TSimulator;

// Step 4: club spinner positions lowered to the club's limits, then the limits
// become the spinners' upper bounds.
void CalcClubLimit(TSimulator& sim);
// Step 5 of StatusCalculate: the club counts as the spinners stand.
void CalcClub1(TSimulator& sim);
// Step 5 of ClubChange: the newly selected club's remembered counts first.
void CalcClub2(TSimulator& sim);
// Step 5 of ClubFullTune: every club spinner raised to its limit first.
void CalcClub3(TSimulator& sim);
// The club list opens: the spinners are stored as the selected club's counts.
void ComboBox2DropDown(TSimulator& sim);
