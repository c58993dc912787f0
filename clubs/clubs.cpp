#include "clubs/clubs.h"

#include "engine/simulator.h"

void CalcClubSetting(TSimulator&) {}
