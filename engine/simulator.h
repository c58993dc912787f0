#pragma once

#include <cstdint>

#include "engine/display.h"
#include "engine/sim_state.h"

// How an event flows: a window event calls one operation on TSimulator (a recalculation
// entry, the club list's drop-down, the load, the save or the close). The operation
// reads State, leaves intermediate values in Results and writes its outputs into
// Display; the window then copies Display (and the list indices and spinner positions
// of State) into its widgets. Errors are ESimError exceptions that stop the operation
// where they arise; what was written before stays written.

// Position of the main window's outer frame, moved by the load and read by the save.
struct TWindowPosition {
    int32_t Left = 0;
    int32_t Top = 0;
};

struct TSimulator {
    TSimState State;
    TSimResults Results;
    TDisplay Display;
    TWindowPosition Window;
};

// The three recalculation chains; they differ only in their club step.
void StatusCalculate(TSimulator& sim);
void ClubChange(TSimulator& sim);
void ClubFullTune(TSimulator& sim);
// The change handler of every list but the club list, the page control and the spinners.
void ComboBox1Change(TSimulator& sim);

// The final step: totals, power-limit penalty, distances and the PP total.
void CalcLast(TSimulator& sim);
