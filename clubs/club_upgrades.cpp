#include "clubs/club_upgrades.h"

#include "engine/simulator.h"

void CalcClubLimit(TSimulator&) {}
void CalcClub1(TSimulator&) {}
void CalcClub2(TSimulator&) {}
void CalcClub3(TSimulator&) {}
void ComboBox2DropDown(TSimulator&) {}
