#pragma once

#include "engine/sim_record.h"

// How an event flows: a face's event calls one operation on TSimulator (a recalculation
// chain, the club list's drop-down, the load, the save or the close). The operation
// reads State, leaves intermediate values in Results and writes its outputs into
// Display; the face then copies Display (and the list indices and spinner positions
// of State) into its widgets. Errors are ESimError exceptions that stop the operation
// where they arise; what was written before stays written.

// The three recalculation chains; they differ only in their club step.
void StatusCalculate(TSimulator& sim);
void ClubChange(TSimulator& sim);
void ClubFullTune(TSimulator& sim);
// The change handler of every list but the club list, the page control and the spinners.
void ComboBox1Change(TSimulator& sim);

// The club list opens: the spinners are stored as the selected club's counts.
void ComboBox2DropDown(TSimulator& sim);

// The final step: totals, power-limit penalty, distances and the PP total.
void CalcLast(TSimulator& sim);
