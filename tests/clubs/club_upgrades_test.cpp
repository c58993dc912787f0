#include <gtest/gtest.h>

#include <string>

#include "clubs/club_upgrades.h"
#include "clubs/clubs.h"
#include "engine/errors.h"
#include "simulator/simulator.h"
#include "tests/clubs/club_spinners.h"

namespace {

// The user picks a club set; when the list opened first, the old set's counts were stored.
void PickClub(TSimulator& sim, int32_t club, bool listOpened) {
    if (listOpened) {
        ComboBox2DropDown(sim);
    }
    sim.State.Club = club;
    ClubChange(sim);
}

// The user steps each club spinner towards the count; every step that moves recalculates.
void StepClubSpinners(TSimulator& sim, TStatus counts) {
    for (int i = 0; i < kStatCount; ++i) {
        SpinnerModel& s = sim.State.ClubSpinners[i];
        while (s.Position != StatField(counts, i)) {
            const int32_t before = s.Position;
            s.SetPosition(before + (StatField(counts, i) > before ? 1 : -1));
            if (s.Position == before) {
                break;
            }
            StatusCalculate(sim);
        }
    }
}

std::string Hint(int32_t price) {
    return "次上げるのに\r  " + std::to_string(price) + " PP";
}

TSimulator OnClub(int32_t club) {
    TSimulator sim;
    StatusCalculate(sim);
    PickClub(sim, club, true);
    return sim;
}

}  // namespace

// Full tune raises every spinner to the set's limit and prices the result.
TEST(FullTune, SetFortyOneRaisesPowerOnly) {
    TSimulator sim = OnClub(41);
    ClubFullTune(sim);
    EXPECT_EQ(SpinnerPositions(sim), MakeStatus(3, 0, 0, 0, 0));
    EXPECT_EQ(sim.Results.ClubSlotUp, MakeStatus(3, 0, 0, 0, 0));
    EXPECT_EQ(sim.Display.ClubPPTotalText, "(12600 PP)");
    EXPECT_EQ(sim.Display.ClubPPNeededText, "12600 PP");
    const std::array<std::string, kStatCount> hints{Hint(8400), Hint(1700), Hint(2400), Hint(1900),
                                                    Hint(1900)};
    EXPECT_EQ(sim.Display.ClubSpinnerHint, hints);
    // Only the live spinners change: the memory waits for the next opening of the list.
    EXPECT_EQ(sim.State.ClubSlotUps[41], TStatus{});
    EXPECT_EQ(sim.Results.SlotUp, TStatus{});
}

TEST(FullTune, SecondTuneChangesNothing) {
    TSimulator sim = OnClub(20);
    StepClubSpinners(sim, MakeStatus(1, 0, 6, 2, 0));
    ClubFullTune(sim);
    EXPECT_EQ(SpinnerPositions(sim), MakeStatus(4, 8, 6, 4, 4));
    const TSimulator once = sim;
    ClubFullTune(sim);
    EXPECT_EQ(sim, once);
}

// A limit of 0 keeps its spinner at 0, and the hint still names the first step's price.
TEST(FullTune, LimitZeroKeepsItsSpinnerAtZero) {
    TSimulator sim = OnClub(41);
    ClubFullTune(sim);
    StepClubSpinners(sim, MakeStatus(3, 1, 1, 1, 1));
    EXPECT_EQ(SpinnerPositions(sim), MakeStatus(3, 0, 0, 0, 0));
    EXPECT_EQ(SpinnerBounds(sim), MakeStatus(3, 0, 0, 0, 0));
    EXPECT_EQ(sim.Display.ClubSpinnerHint[1], Hint(1700));
}

// Each set remembers its counts, but only what the opened list stored.
TEST(ClubMemory, CountsSurviveASwitchThroughTheOpenedList) {
    TSimulator sim = OnClub(20);
    StepClubSpinners(sim, MakeStatus(4, 8, 6, 4, 4));
    PickClub(sim, 33, true);
    EXPECT_EQ(SpinnerPositions(sim), TStatus{});
    EXPECT_EQ(sim.Display.ClubPPTotalText, "(0 PP)");
    PickClub(sim, 20, true);
    EXPECT_EQ(SpinnerPositions(sim), MakeStatus(4, 8, 6, 4, 4));
    EXPECT_EQ(sim.Results.ClubSlotUp, MakeStatus(4, 8, 6, 4, 4));
    EXPECT_EQ(sim.Display.ClubPPTotalText, "(170600 PP)");
}

TEST(ClubMemory, KeyboardSwitchWithoutTheListLosesTheCounts) {
    TSimulator sim = OnClub(20);
    StepClubSpinners(sim, MakeStatus(4, 8, 6, 4, 4));
    PickClub(sim, 33, false);
    PickClub(sim, 20, true);
    EXPECT_EQ(SpinnerPositions(sim), TStatus{});
    EXPECT_EQ(sim.State.ClubSlotUps[20], TStatus{});
}

// A club change lowers the old counts to the new limits, then loads the new memory
// within those limits.
TEST(ClubMemory, OldCountsAreLoweredBeforeTheNewMemoryIsLoaded) {
    TSimulator sim = OnClub(20);
    StepClubSpinners(sim, MakeStatus(4, 8, 6, 4, 4));
    sim.State.ClubSlotUps[5] = MakeStatus(1, 9, 2, -3, 0);  // an edited file: 9 > 7, -3 < 0
    sim.State.Club = 5;                                     // limits 3, 7, 6, 2, 0
    CalcClubSetting(sim);
    CalcClubLimit(sim);
    EXPECT_EQ(SpinnerPositions(sim), MakeStatus(3, 7, 6, 2, 0));
    EXPECT_EQ(SpinnerBounds(sim), MakeStatus(3, 7, 6, 2, 0));
    CalcClub2(sim);
    EXPECT_EQ(SpinnerPositions(sim), MakeStatus(1, 7, 2, 0, 0));
    EXPECT_EQ(sim.Results.ClubSlotUp, MakeStatus(1, 7, 2, 0, 0));

    // The same through the chain, from a fresh window whose spinners still allow 10.
    TSimulator fresh;
    fresh.State.Club = 5;
    fresh.State.ClubSlotUps[5] = MakeStatus(10, 10, 10, 10, 10);
    ClubChange(fresh);
    EXPECT_EQ(fresh.Results.ClubSlotUp, MakeStatus(3, 7, 6, 2, 0));
}

// The PP since save keeps its sign; the full cost counts from zero.
TEST(ClubPP, FewerCountsThanSavedGiveANegativeAmount) {
    TSimulator sim;
    sim.State.Club = 20;
    sim.State.ClubSlotUps[20] = MakeStatus(4, 8, 6, 4, 4);
    sim.State.ClubSavedPP[20] = UpgradeCostPP(4, 8, 6, 4, 4);  // as the save writes it
    ClubChange(sim);
    EXPECT_EQ(sim.Display.ClubPPNeededText, "0 PP");
    EXPECT_EQ(sim.Display.ClubPPTotalText, "(170600 PP)");
    StepClubSpinners(sim, MakeStatus(4, 8, 5, 4, 4));
    EXPECT_EQ(sim.Display.ClubPPNeededText, "-14400 PP");
    EXPECT_EQ(sim.Display.ClubPPTotalText, "(156200 PP)");
    EXPECT_EQ(sim.Display.ClubSpinnerHint[2], Hint(6 * 2400));
}

// With no club set selected every access to the per-club tables is a range error.
TEST(NoClubSelected, CalcClub1StopsBeforeAnyClubLabel) {
    TSimulator sim = OnClub(5);
    StepClubSpinners(sim, MakeStatus(1, 1, 0, 0, 0));
    const TSimulator before = sim;
    sim.State.Club = -1;
    sim.State.ClubSpinners[1].SetPosition(3);  // the user steps on; the box reports it
    EXPECT_THROW(StatusCalculate(sim), ERangeError);
    EXPECT_EQ(sim.Results.ClubSlotUp, MakeStatus(1, 3, 0, 0, 0));
    EXPECT_EQ(sim.Display.ClubPPNeededText, before.Display.ClubPPNeededText);
    EXPECT_EQ(sim.Display.ClubPPTotalText, before.Display.ClubPPTotalText);
    EXPECT_EQ(sim.Display.ClubSpinnerHint, before.Display.ClubSpinnerHint);
    EXPECT_EQ(sim.Display.Last[1].Text, before.Display.Last[1].Text);  // no final step
}

TEST(NoClubSelected, CalcClub2StopsBeforeAnySpinnerMoves) {
    TSimulator sim = OnClub(5);
    StepClubSpinners(sim, MakeStatus(2, 3, 0, 0, 0));
    sim.State.ClubSlotUps[5] = MakeStatus(3, 7, 6, 2, 0);
    const TSimulator before = sim;
    sim.State.Club = -1;
    EXPECT_THROW(ClubChange(sim), ERangeError);
    EXPECT_EQ(SpinnerPositions(sim), MakeStatus(2, 3, 0, 0, 0));
    EXPECT_EQ(sim.Results.ClubSlotUp, before.Results.ClubSlotUp);
    EXPECT_EQ(sim.Display.ClubPPTotalText, before.Display.ClubPPTotalText);
}

TEST(NoClubSelected, OpeningTheListStoresNothing) {
    TSimulator sim = OnClub(5);
    StepClubSpinners(sim, MakeStatus(2, 3, 0, 0, 0));
    for (int32_t bad : {-1, kClubCount}) {
        sim.State.Club = bad;
        const auto memory = sim.State.ClubSlotUps;
        EXPECT_THROW(ComboBox2DropDown(sim), ERangeError);
        EXPECT_EQ(sim.State.ClubSlotUps, memory);
    }
}

// A full tune with no set selected: the first raised spinner's box starts a
// recalculation that fails, so the raise stops after that spinner.
TEST(NoClubSelected, FullTuneStopsAfterTheFirstRaisedSpinner) {
    TSimulator sim = OnClub(5);  // limits 3, 7, 6, 2, 0
    StepClubSpinners(sim, MakeStatus(0, 7, 0, 0, 0));
    sim.State.Club = -1;
    EXPECT_THROW(ClubFullTune(sim), ERangeError);
    EXPECT_EQ(SpinnerPositions(sim), MakeStatus(3, 7, 0, 0, 0));
    EXPECT_EQ(sim.Results.ClubSlotUp, MakeStatus(3, 7, 0, 0, 0));
}
