#include "simulator/history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/simulator/planner_starts.h"
#include "tests/support/sim_print.h"

namespace {

// The figures a user can see: the final group, the club group, the caddie's effect and
// the shown page.
std::vector<std::string> Figures(const TSimulator& sim) {
    const TDisplay& d = sim.Display;
    std::vector<std::string> f;
    for (const HintedLabel& label : d.Last) {
        f.push_back(label.Text);
        f.push_back(label.Hint);
    }
    f.push_back(d.ControlPenalty.Text);
    f.push_back(d.AccuracyPenalty.Text);
    f.insert(f.end(), {d.DistanceNormalText, d.DistancePowerText, d.DistancePower2Text,
                       d.TotalPPText, d.ClubPPNeededText, d.ClubPPTotalText, d.CaddieEffectText});
    f.insert(f.end(), d.ClubBaseText.begin(), d.ClubBaseText.end());
    f.insert(f.end(), d.ClubSlotText.begin(), d.ClubSlotText.end());
    f.insert(f.end(), d.ClubSpinnerHint.begin(), d.ClubSpinnerHint.end());
    const int32_t tab = sim.State.TabIndex;
    if (tab >= 0 && tab < CharaCount) {
        const CharaPageDisplay& page = d.Pages[tab];
        f.insert(f.end(), page.SlotLimitText.begin(), page.SlotLimitText.end());
        f.insert(f.end(), page.SpinnerHint.begin(), page.SpinnerHint.end());
        f.push_back(page.PPNeededText);
        f.push_back(page.PPTotalText);
    }
    return f;
}

// What a fresh simulator shows for the same selection and baselines.
std::vector<std::string> FreshFigures(const TSimulator& sim) {
    TSimulator fresh;
    fresh.State = sim.State;
    StatusCalculate(fresh);
    return Figures(fresh);
}

// Undo and redo of a failing recalculation still move through the history.
template <class Move>
bool Moved(Move&& move) {
    try {
        return move();
    } catch (const ESimError&) {
        return true;
    }
}

}  // namespace

// Undoing every change gives back the start exactly; redoing every one gives back the end.
TEST(History, UndoAllThenRedoAllGivesBackStartAndEnd) {
    unsigned seed = 0;
    for (PlannerStart& start : PlannerStarts(8, 6)) {
        SCOPED_TRACE(start.Name);
        TSimulator sim = start.Sim;
        History history;
        history.Start(sim);
        RandomUser user(++seed, start.Store);
        for (int i = 0; i < 80; ++i) {
            user.Change(sim, history);
        }
        const TSimulator end = sim;
        const size_t steps = history.UndoSteps();
        ASSERT_GT(steps, 40u);
        for (size_t i = 0; i < steps; ++i) {
            ASSERT_TRUE(Moved([&] { return history.Undo(sim); }));
        }
        EXPECT_FALSE(history.Undo(sim));
        EXPECT_EQ(sim.State, start.Sim.State);
        EXPECT_EQ(sim.Results, start.Sim.Results);
        EXPECT_EQ(sim.Display, start.Sim.Display);
        EXPECT_EQ(history.RedoSteps(), steps);
        for (size_t i = 0; i < steps; ++i) {
            ASSERT_TRUE(Moved([&] { return history.Redo(sim); }));
        }
        EXPECT_FALSE(history.Redo(sim));
        EXPECT_EQ(sim.State, end.State);
        EXPECT_EQ(sim.Results, end.Results);
        EXPECT_EQ(sim.Display, end.Display);
    }
}

// Against a plain list of selections: random changes, undos, redos and saves, with a
// short and the default limit. After an undo or a redo the selection is the listed one,
// the file and the baselines are the last save's, and every figure (the PP since the
// save too) is a fresh recalculation's.
TEST(History, FollowsAPlainListOfSelectionsAcrossUndoRedoAndSaves) {
    int startIndex = 0;
    for (PlannerStart& start : PlannerStarts(6, 4)) {
        SCOPED_TRACE(start.Name);
        const size_t limit = startIndex++ % 2 == 0 ? 5 : History::kDefaultSteps;
        TSimulator sim = start.Sim;
        History history(limit);
        history.Start(sim);
        std::vector<TSimState> listed{sim.State};
        size_t current = 0;
        RandomUser user(static_cast<unsigned>(startIndex * 31), start.Store);

        for (int i = 0; i < 400; ++i) {
            SCOPED_TRACE("operation " + std::to_string(i));
            const int kind = user.Pick(20);
            if (kind < 12) {
                user.Change(sim, history);
                if (SameSelection(sim.State, listed[current])) {
                    listed[current] = sim.State;
                } else {
                    listed.resize(current + 1);
                    listed.push_back(sim.State);
                    if (listed.size() > limit + 1) {
                        listed.erase(listed.begin());
                    }
                    current = listed.size() - 1;
                }
            } else if (kind < 19) {
                const bool undo = kind < 16;
                const auto baselines = sim.State.SavedPP;
                const auto clubBaselines = sim.State.ClubSavedPP;
                const std::string saved = start.Store.Text();
                const bool moved =
                    Moved([&] { return undo ? history.Undo(sim) : history.Redo(sim); });
                ASSERT_EQ(moved, undo ? current > 0 : current + 1 < listed.size());
                if (!moved) {
                    continue;
                }
                current = undo ? current - 1 : current + 1;
                EXPECT_EQ(sim.State.SavedPP, baselines);
                EXPECT_EQ(sim.State.ClubSavedPP, clubBaselines);
                EXPECT_EQ(start.Store.Text(), saved);
                if (start.Plain) {
                    EXPECT_EQ(Figures(sim), FreshFigures(sim));
                }
            } else {
                user.Save(sim, history);
                listed[current] = sim.State;
            }
            ASSERT_TRUE(SameSelection(sim.State, listed[current]));
            ASSERT_EQ(history.UndoSteps(), current);
            ASSERT_EQ(history.RedoSteps(), listed.size() - 1 - current);
        }
    }
}

// At least 200 steps are kept; past the limit the oldest go first.
TEST(History, KeepsTheLastStepsUpToItsLimit) {
    MemoryStore store;
    TSimulator sim;
    FormCreate(sim, store);
    History history;
    history.Start(sim);
    std::vector<TSimState> after;
    for (int i = 0; i < 300; ++i) {
        RecordChange(history, sim, [i](TSimulator& s) {
            s.State.Level = 1 + i % 2;
            ComboBox1Change(s);
        });
        after.push_back(sim.State);
    }
    ASSERT_GE(History::kDefaultSteps, 200u);
    ASSERT_EQ(history.UndoSteps(), History::kDefaultSteps);
    while (history.Undo(sim)) {
    }
    EXPECT_EQ(sim.State, after[300 - History::kDefaultSteps - 1]);

    // A new change after undoing drops what redo would have restored.
    RecordChange(history, sim, [](TSimulator& s) {
        s.State.Caddie = 3;
        ComboBox1Change(s);
    });
    EXPECT_EQ(history.RedoSteps(), 0u);
    EXPECT_EQ(history.UndoSteps(), 1u);
}
