#include "clubs/caddies.h"

#include "engine/simulator.h"

void CalcCaddie(TSimulator&) {}
