#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "characters/calc_chara.h"
#include "clubs/caddies.h"
#include "clubs/club_upgrades.h"
#include "clubs/clubs.h"
#include "engine/checked.h"
#include "engine/errors.h"
#include "simulator/simulator.h"
#include "tests/clubs/club_spinners.h"

// A reference that behaves as the window does when code moves a club spinner: the
// number box reports the change and a whole StatusCalculate runs before the moving
// step goes on. The club steps here are the plain reading of the rules; the steps that
// move no spinner are shared with the real chains.
namespace nested {

void StatusCalculate(TSimulator& sim);

void Move(TSimulator& sim, int i, int32_t position) {
    SpinnerModel& s = sim.State.ClubSpinners[i];
    const int32_t before = s.Position;
    s.SetPosition(position);
    if (s.Position != before) {
        nested::StatusCalculate(sim);
    }
}

void SetBound(TSimulator& sim, int i, int32_t max) {
    SpinnerModel& s = sim.State.ClubSpinners[i];
    const int32_t before = s.Position;
    s.SetMax(max);
    if (s.Position != before) {
        nested::StatusCalculate(sim);
    }
}

void CalcClubLimit(TSimulator& sim) {
    for (int i = 0; i < kStatCount; ++i) {
        const int32_t limit = StatField(sim.Results.ClubSlotLimit, i);
        if (sim.State.ClubSpinners[i].Position > limit) {
            Move(sim, i, limit);
        }
    }
    for (int i = 0; i < kStatCount; ++i) {
        SetBound(sim, i, StatField(sim.Results.ClubSlotLimit, i));
    }
}

void CalcClub2(TSimulator& sim) {
    for (int i = 0; i < kStatCount; ++i) {
        CheckRange(sim.State.Club, 0, kClubCount - 1);
        Move(sim, i, StatField(sim.State.ClubSlotUps[sim.State.Club], i));
    }
    ::CalcClub1(sim);
}

void CalcClub3(TSimulator& sim) {
    for (int i = 0; i < kStatCount; ++i) {
        Move(sim, i, StatField(sim.Results.ClubSlotLimit, i));
    }
    ::CalcClub1(sim);
}

template <void (*ClubStep)(TSimulator&)>
void Chain(TSimulator& sim) {
    CalcChara(sim);
    CalcCaddie(sim);
    CalcClubSetting(sim);
    nested::CalcClubLimit(sim);
    ClubStep(sim);
    CalcLast(sim);
}

void StatusCalculate(TSimulator& sim) {
    Chain<&::CalcClub1>(sim);
}
void ClubChange(TSimulator& sim) {
    Chain<&CalcClub2>(sim);
}
void ClubFullTune(TSimulator& sim) {
    Chain<&CalcClub3>(sim);
}

}  // namespace nested

namespace {

struct ChainEntries {
    void (*StatusCalculate)(TSimulator&);
    void (*ClubChange)(TSimulator&);
    void (*ClubFullTune)(TSimulator&);
};
constexpr ChainEntries kOurs{&::StatusCalculate, &::ClubChange, &::ClubFullTune};
constexpr ChainEntries kNested{&nested::StatusCalculate, &nested::ClubChange,
                               &nested::ClubFullTune};

// Runs an operation as the window does: an error ends it and is shown.
template <typename F>
std::optional<std::string> Run(F&& op) {
    try {
        op();
    } catch (const ESimError& e) {
        return e.what();
    }
    return std::nullopt;
}

int32_t Pick(std::mt19937& rng, int32_t low, int32_t high) {
    return std::uniform_int_distribution<int32_t>(low, high)(rng);
}

// Mostly valid indices, sometimes one outside the table.
int32_t PickIndex(std::mt19937& rng, int32_t count) {
    return Pick(rng, 0, 9) == 0 ? (Pick(rng, 0, 1) ? -1 : count) : Pick(rng, 0, count - 1);
}

// One user action (or a fresh load of spinners and memory), drawn from the generator and
// applied through the given entries. The draws do not depend on the simulator.
struct Action {
    int Kind;
    int32_t A, B, C;
    TStatus Counts;
};

Action Draw(std::mt19937& rng) {
    Action a{Pick(rng, 0, 6), Pick(rng, -1, 41), Pick(rng, 0, 1), Pick(rng, 0, 20),
             MakeStatus(Pick(rng, -2, 12), Pick(rng, -2, 12), Pick(rng, -2, 12), Pick(rng, -2, 12),
                        Pick(rng, -2, 12))};
    if (a.Kind == 0) {
        a.A = PickIndex(rng, kClubCount);
    }
    return a;
}

std::optional<std::string> Apply(TSimulator& sim, const Action& a, const ChainEntries& e) {
    switch (a.Kind) {
        case 0:  // pick a club set, through the opened list or by keyboard
            return Run([&] {
                if (a.B) {
                    ComboBox2DropDown(sim);
                }
                sim.State.Club = a.A;
                e.ClubChange(sim);
            });
        case 1:
            return Run([&] { e.ClubFullTune(sim); });
        case 2: {  // one step of a club spinner
            SpinnerModel& s = sim.State.ClubSpinners[a.C % kStatCount];
            const int32_t before = s.Position;
            s.SetPosition(before + (a.B ? 1 : -1));
            if (s.Position == before) {
                return std::nullopt;
            }
            return Run([&] { e.StatusCalculate(sim); });
        }
        case 3:  // a list of the caddie, special card, level or page group
            switch (a.C % 4) {
                case 0:
                    sim.State.Caddie = (a.A + 1) % 17 - 1;
                    break;
                case 1:
                    sim.State.SpecialCard = (a.A + 1) % 8 - 1;
                    break;
                case 2:
                    sim.State.Level = (a.A + 1) % 16 - 1;
                    break;
                default:
                    sim.State.TabIndex = (a.A + 1) % 12 - 1;
                    break;
            }
            return Run([&] { e.StatusCalculate(sim); });
        case 4: {  // a character spinner
            TCharaState& c = sim.State.Chara[a.C % CharaCount];
            SlotUpField(c, (a.A + 1) % kStatCount) = a.C;
            return Run([&] { e.StatusCalculate(sim); });
        }
        case 5:  // remembered counts and a baseline, as an edited settings file holds them
            sim.State.ClubSlotUps[(a.A + 1) % kClubCount] = a.Counts;
            sim.State.ClubSavedPP[(a.A + 1) % kClubCount] = a.C * 1900;
            return Run([&] { e.StatusCalculate(sim); });
        default: {  // spinners as a fresh window has them, then one of the three chains
            for (int i = 0; i < kStatCount; ++i) {
                sim.State.ClubSpinners[i] = SpinnerModel{};
                sim.State.ClubSpinners[i].SetPosition(StatField(a.Counts, i));
            }
            const auto entry = a.C % 3 == 0   ? e.StatusCalculate
                               : a.C % 3 == 1 ? e.ClubChange
                                              : e.ClubFullTune;
            return Run([&] { entry(sim); });
        }
    }
}

void CompareOverRandomActions(uint32_t seed, int runs, int actions) {
    std::mt19937 rng(seed);
    for (int run = 0; run < runs; ++run) {
        TSimulator ours;
        TSimulator ref;
        for (int step = 0; step < actions; ++step) {
            const Action a = Draw(rng);
            SCOPED_TRACE("run " + std::to_string(run) + " step " + std::to_string(step) +
                         " action " + std::to_string(a.Kind));
            const auto ourError = Apply(ours, a, kOurs);
            const auto refError = Apply(ref, a, kNested);
            ASSERT_EQ(ourError, refError);
            EXPECT_EQ(ours, ref);
            if (::testing::Test::HasFailure()) {
                return;
            }
        }
    }
}

// Starts both from one selection and compares after one entry.
void CompareOneEntry(TSimulator start, void (*ours)(TSimulator&), void (*ref)(TSimulator&)) {
    TSimulator a = start;
    TSimulator b = start;
    ASSERT_EQ(Run([&] { ours(a); }), Run([&] { ref(b); }));
    EXPECT_EQ(a, b);
}

}  // namespace

// Without nested recalculations every chain leaves what the nested window leaves.
TEST(NoNestedRuns, ClubLimitLowersLikeTheNestedRun) {
    // Spinners above every limit of set 41: four moves, four nested runs in the window.
    TSimulator sim;
    sim.State.Club = 41;
    for (auto& s : sim.State.ClubSpinners) {
        s.SetPosition(9);
    }
    CompareOneEntry(sim, kOurs.StatusCalculate, kNested.StatusCalculate);

    // With no set selected the nested run's club step fails after the first move, so
    // the outer step ends there: no club change loads and no full tune raises.
    sim = TSimulator{};
    sim.State.Club = 5;  // limits 3, 7, 6, 2, 0
    StatusCalculate(sim);
    sim.State.Club = -1;
    sim.State.ClubSpinners = {};
    sim.State.ClubSpinners[0].SetPosition(9);
    for (auto entry :
         {&ChainEntries::StatusCalculate, &ChainEntries::ClubChange, &ChainEntries::ClubFullTune}) {
        CompareOneEntry(sim, kOurs.*entry, kNested.*entry);
    }
}

TEST(NoNestedRuns, ClubChangeLoadsLikeTheNestedRun) {
    TSimulator sim;
    sim.State.Club = 20;
    sim.State.ClubSlotUps[20] = MakeStatus(4, 9, 6, -1, 4);
    sim.State.ClubSavedPP[20] = 50000;
    CompareOneEntry(sim, kOurs.ClubChange, kNested.ClubChange);
}

TEST(NoNestedRuns, FullTuneRaisesLikeTheNestedRun) {
    TSimulator sim;
    sim.State.Club = 35;
    StatusCalculate(sim);
    CompareOneEntry(sim, kOurs.ClubFullTune, kNested.ClubFullTune);
    sim.State.Club = -1;
    CompareOneEntry(sim, kOurs.ClubFullTune, kNested.ClubFullTune);
}

TEST(NoNestedRuns, RandomActionsLeaveTheSameDisplays) {
    CompareOverRandomActions(20240611u, 300, 40);
}
