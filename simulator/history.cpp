#include "simulator/history.h"

#include "simulator/simulator.h"

bool SameSelection(const TSimState& a, const TSimState& b) {
    TSimState rebased = a;
    rebased.SavedPP = b.SavedPP;
    rebased.ClubSavedPP = b.ClubSavedPP;
    return rebased == b;
}

History::History(size_t steps) : capacity_((steps < 1 ? 1 : steps) + 1), ring_(1) {}

TSimulator& History::Entry(size_t offset) {
    return ring_[(first_ + offset) % capacity_];
}

void History::Start(const TSimulator& sim) {
    first_ = 0;
    count_ = 1;
    current_ = 0;
    ring_[0] = sim;
}

void History::Record(const TSimulator& sim) {
    if (SameSelection(sim.State, Entry(current_).State)) {
        Entry(current_) = sim;
        return;
    }
    count_ = current_ + 1;
    if (count_ == capacity_) {
        first_ = (first_ + 1) % capacity_;
        --count_;
        --current_;
    }
    // The ring fills its slots in order before it first wraps, so a slot past the
    // vector's end is always the next one to be made.
    const size_t slot = (first_ + count_) % capacity_;
    if (slot == ring_.size()) {
        ring_.push_back(sim);
    } else {
        ring_[slot] = sim;
    }
    ++count_;
    ++current_;
}

void History::Follow(const TSimulator& sim) {
    Entry(current_) = sim;
}

bool History::Undo(TSimulator& sim) {
    if (current_ == 0) {
        return false;
    }
    --current_;
    Restore(sim);
    return true;
}

bool History::Redo(TSimulator& sim) {
    if (current_ + 1 >= count_) {
        return false;
    }
    ++current_;
    Restore(sim);
    return true;
}

void History::Restore(TSimulator& sim) {
    TSimulator& entry = Entry(current_);
    TSimState restored = entry.State;
    restored.SavedPP = sim.State.SavedPP;
    restored.ClubSavedPP = sim.State.ClubSavedPP;
    sim.State = restored;
    sim.Results = entry.Results;
    sim.Display = entry.Display;
    try {
        StatusCalculate(sim);
    } catch (const ESimError&) {
        entry = sim;
        throw;
    }
    entry = sim;
}
