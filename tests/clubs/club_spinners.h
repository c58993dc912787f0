#pragma once

#include "simulator/simulator.h"
#include "tests/support/sim_print.h"

inline TStatus SpinnerPositions(const TSimulator& sim) {
    TStatus s;
    for (int i = 0; i < kStatCount; ++i) {
        StatField(s, i) = sim.State.ClubSpinners[i].Position;
    }
    return s;
}

inline TStatus SpinnerBounds(const TSimulator& sim) {
    TStatus s;
    for (int i = 0; i < kStatCount; ++i) {
        StatField(s, i) = sim.State.ClubSpinners[i].Max;
    }
    return s;
}
