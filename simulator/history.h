#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "engine/errors.h"
#include "engine/sim_record.h"

// Undo and redo of the user's changes of the selection.
//
// The history is a row of entries, each the whole simulator as one user change left it
// (a list pick, a spinner step, a page change, a club change with the counts the
// opening of the club list stored, a full tune, a revert). The current entry always
// mirrors the live simulator. Undo and redo move to the neighbouring entry and put it
// back by one rule:
//
//   restored  every field of State except the PP baselines, all of Results and Display;
//   kept      State.SavedPP and State.ClubSavedPP, which belong to the last save or
//             load and not to the selection, and the window position;
//
// and then run StatusCalculate. Every figure that depends on the baselines (the PP
// since the save) is therefore what a recalculation of the restored selection with
// today's baselines gives; with the baselines unchanged the entry comes back exactly,
// since every chain leaves a state on which StatusCalculate changes nothing. Results and
// Display come back with the selection because some of their values are not a function
// of the selection alone: a list without a selection keeps what an earlier run wrote,
// and only the shown page is recalculated.
//
// A save is no step: the file and the baselines stay as saved, the current entry
// takes the saved simulator and the history goes on across it.
class History {
public:
    static constexpr size_t kDefaultSteps = 256;

    // Keeps the last `steps` changes (at least 1).
    explicit History(size_t steps = kDefaultSteps);

    // Forgets every change; `sim` becomes the only entry (after the creation load).
    void Start(const TSimulator& sim);

    // After a user change: when the selection (baselines aside) differs from the
    // current entry's, `sim` becomes a new entry after it, the entries that redo would
    // have restored are dropped and, past the limit, the oldest; otherwise the current
    // entry only takes `sim`.
    void Record(const TSimulator& sim);

    // After an operation that is no step (the save): the current entry takes `sim`.
    void Follow(const TSimulator& sim);

    size_t UndoSteps() const { return current_; }
    size_t RedoSteps() const { return count_ - 1 - current_; }

    // Restores the previous (next) entry into `sim` and recalculates; false, with `sim`
    // untouched, when there is none. An ESimError of the recalculation propagates
    // after the entry has taken what the recalculation left.
    bool Undo(TSimulator& sim);
    bool Redo(TSimulator& sim);

private:
    TSimulator& Entry(size_t offset);
    void Restore(TSimulator& sim);

    size_t capacity_;  // entries: the steps plus the starting entry
    std::vector<TSimulator> ring_;
    size_t first_ = 0;    // slot of the oldest entry
    size_t count_ = 1;    // entries held
    size_t current_ = 0;  // offset of the current entry from the oldest
};

// True when a and b select the same, whatever their baselines.
bool SameSelection(const TSimState& a, const TSimState& b);

// Runs the user change `operation` on `sim` and records it, also when it fails: what
// it set before its error stays in the selection. The error propagates.
template <class Operation>
void RecordChange(History& history, TSimulator& sim, Operation&& operation) {
    try {
        std::forward<Operation>(operation)(sim);
    } catch (const ESimError&) {
        history.Record(sim);
        throw;
    }
    history.Record(sim);
}
