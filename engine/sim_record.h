#pragma once

#include <cstdint>

#include "engine/display.h"
#include "engine/sim_state.h"

// Position of the main window's outer frame, moved by the load and read by the save.
struct WindowPosition {
    int32_t Left = 0;
    int32_t Top = 0;

    friend bool operator==(const WindowPosition&, const WindowPosition&) = default;
};

// Everything one simulator holds: the selection, what the steps leave each other and
// every value they show. The steps of each floor work on it; the operations a face
// calls are in simulator/.
struct TSimulator {
    TSimState State;
    TSimResults Results;
    TDisplay Display;
    WindowPosition Window;

    friend bool operator==(const TSimulator&, const TSimulator&) = default;
};
