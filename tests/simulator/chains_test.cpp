#include <gtest/gtest.h>

#include <climits>

#include "engine/errors.h"
#include "simulator/simulator.h"

namespace {

// A simulator whose intermediate results are set by hand, so that the final step can
// be checked on its own.
TSimulator WithSum(int32_t level, TStatus sum) {
    TSimulator sim;
    sim.State.Level = level;
    sim.Results.CharaBaseStatus = sum;
    return sim;
}

}  // namespace

// Power up to the level's limit leaves control and accuracy as they are.
TEST(FinalStep, NoPenaltyAtOrBelowTheLimit) {
    TSimulator sim = WithSum(0, MakeStatus(20, 10, 8, 2, 2));
    CalcLast(sim);
    EXPECT_EQ(sim.Results.FinalStatus, MakeStatus(20, 10, 8, 2, 2));
    const char* expected[] = {"20", "10", "8", "2", "2"};
    for (int i = 0; i < kStatCount; ++i) {
        EXPECT_EQ(sim.Display.Last[i].Text, expected[i]);
    }
    EXPECT_EQ(sim.Display.ControlPenalty.Text, "");
    EXPECT_EQ(sim.Display.AccuracyPenalty.Text, "");
    EXPECT_FALSE(sim.Display.ControlPenalty.HintOn);
    EXPECT_FALSE(sim.Display.AccuracyPenalty.HintOn);
    EXPECT_EQ(sim.Display.DistanceNormalText, "240y");
    EXPECT_EQ(sim.Display.DistancePowerText, "250y");
    EXPECT_EQ(sim.Display.DistancePower2Text, "260y");
}

// Each point above the limit costs one control and one accuracy, clamped at 0, while
// the penalty label shows the whole excess.
TEST(FinalStep, PenaltyReducesControlAndAccuracy) {
    TSimulator sim = WithSum(0, MakeStatus(23, 10, 8, 2, 2));
    CalcLast(sim);
    EXPECT_EQ(sim.Results.FinalStatus, MakeStatus(23, 7, 5, 2, 2));
    EXPECT_EQ(sim.Display.ControlPenalty.Text, "(-3)");
    EXPECT_EQ(sim.Display.AccuracyPenalty.Text, "(-3)");
    EXPECT_TRUE(sim.Display.ControlPenalty.HintOn);
    EXPECT_TRUE(sim.Display.AccuracyPenalty.HintOn);
    EXPECT_EQ(sim.Display.ControlPenalty.Hint, "ペナルティによる減少分");
    EXPECT_EQ(sim.Display.DistanceNormalText, "246y");
    EXPECT_EQ(sim.Display.DistancePowerText, "256y");
    EXPECT_EQ(sim.Display.DistancePower2Text, "266y");

    // Dropping back under the limit clears the labels and switches their hints off.
    sim.Results.CharaBaseStatus.Pow = 20;
    CalcLast(sim);
    EXPECT_EQ(sim.Display.ControlPenalty.Text, "");
    EXPECT_FALSE(sim.Display.AccuracyPenalty.HintOn);
}

TEST(FinalStep, PenaltyClampsAtZeroButShowsTheFullExcess) {
    TSimulator sim = WithSum(0, MakeStatus(24, 1, 6, 0, 0));
    CalcLast(sim);
    EXPECT_EQ(sim.Results.FinalStatus.Ctrl, 0);
    EXPECT_EQ(sim.Results.FinalStatus.Exa, 2);
    EXPECT_EQ(sim.Display.Last[1].Text, "0");
    EXPECT_EQ(sim.Display.ControlPenalty.Text, "(-4)");
}

// The Season2 hints always assume the limit 20, whatever the level.
TEST(FinalStep, Season2HintsUseTheFixedLimit) {
    TSimulator sim = WithSum(12, MakeStatus(30, 12, 9, 3, 3));
    CalcLast(sim);
    EXPECT_EQ(sim.Display.ControlPenalty.Text, "");
    EXPECT_EQ(sim.Display.Last[1].Hint, "2 (Season2)");
    EXPECT_EQ(sim.Display.Last[2].Hint, "0 (Season2)");
    EXPECT_TRUE(sim.Display.Last[1].HintOn);
    EXPECT_TRUE(sim.Display.Last[2].HintOn);

    TSimulator low = WithSum(0, MakeStatus(18, 12, 9, 3, 3));
    CalcLast(low);
    EXPECT_EQ(low.Display.Last[1].Hint, "12 (Season2)");
    EXPECT_EQ(low.Display.Last[2].Hint, "9 (Season2)");
}

// Two yards per power point around 15, plus the ring and caddie card bonuses; the
// power-shot bonus reaches only the two power distances.
TEST(FinalStep, DistancesTakeEveryBonus) {
    TSimulator sim = WithSum(0, MakeStatus(15, 0, 0, 0, 0));
    CalcLast(sim);
    EXPECT_EQ(sim.Display.DistanceNormalText, "230y");
    EXPECT_EQ(sim.Display.DistancePowerText, "240y");
    EXPECT_EQ(sim.Display.DistancePower2Text, "250y");

    sim.Results.CharaBaseStatus.Pow = 10;
    CalcLast(sim);
    EXPECT_EQ(sim.Display.DistanceNormalText, "220y");
    EXPECT_EQ(sim.Display.DistancePower2Text, "240y");

    sim.Results.CharaBaseStatus.Pow = 15;
    sim.Results.RingDistance = 4;
    sim.Results.CaddieCardYard = 1;
    sim.Results.CaddieCardPowerYards = 6;
    CalcLast(sim);
    EXPECT_EQ(sim.Display.DistanceNormalText, "235y");
    EXPECT_EQ(sim.Display.DistancePowerText, "251y");
    EXPECT_EQ(sim.Display.DistancePower2Text, "261y");
}

// The total PP: club cost plus the character's PP since save, minus the club's baseline.
TEST(FinalStep, TotalPPKeepsItsSign) {
    TSimulator sim = WithSum(0, MakeStatus(10, 0, 0, 0, 0));
    CalcLast(sim);
    EXPECT_EQ(sim.Display.TotalPPText, "0 PP");

    sim.State.Club = 3;
    sim.State.ClubSavedPP[3] = 2400;  // one accuracy upgrade saved, none left now
    CalcLast(sim);
    EXPECT_EQ(sim.Display.TotalPPText, "-2400 PP");

    sim.Results.ClubSlotUp = MakeStatus(1, 0, 1, 0, 0);
    sim.Results.CharaPPNeeded = 1700;
    CalcLast(sim);
    EXPECT_EQ(sim.Display.TotalPPText, "3800 PP");
    // The club's upgrades also enter the statuses.
    EXPECT_EQ(sim.Results.FinalStatus.Pow, 11);
}

TEST(FinalStep, ClubIndexOutsideTheTableIsARangeError) {
    TSimulator sim = WithSum(0, MakeStatus(16, 0, 0, 0, 0));
    sim.State.Club = -1;
    EXPECT_THROW(CalcLast(sim), ERangeError);
    // Everything before the PP total was written; the total keeps its old text.
    EXPECT_EQ(sim.Display.Last[0].Text, "16");
    EXPECT_EQ(sim.Display.DistanceNormalText, "232y");
    EXPECT_EQ(sim.Display.TotalPPText, "0 PP");
    sim.State.Club = kClubCount;
    EXPECT_THROW(CalcLast(sim), ERangeError);
    sim.State.Club = kClubCount - 1;
    EXPECT_NO_THROW(CalcLast(sim));
}

// An overflow stops the step where it happens: displays written before keep their new
// texts, later ones keep the previous run's.
TEST(FinalStep, OverflowStopsAfterTheDisplaysAlreadyWritten) {
    TSimulator sim = WithSum(0, MakeStatus(21, 5, 5, 0, 0));
    sim.Results.RingDistance = INT32_MAX;
    try {
        CalcLast(sim);
        FAIL() << "expected an overflow";
    } catch (const ESimError& e) {
        EXPECT_STREQ(e.what(), "整数のオーバーフロー");
    }
    EXPECT_EQ(sim.Display.Last[0].Text, "21");
    EXPECT_EQ(sim.Display.ControlPenalty.Text, "(-1)");
    EXPECT_EQ(sim.Display.DistanceNormalText, "230y");
    EXPECT_EQ(sim.Display.DistancePowerText, "240y");
    EXPECT_EQ(sim.Display.TotalPPText, "0 PP");
}

// The limit comes from the level selection itself: no level selected gives 19, while
// the character step keeps the level it accepted last.
TEST(Pipeline, UnselectedLevelGivesLimit19AndKeepsTheLevelResult) {
    TSimulator sim;
    sim.State.Level = 5;
    StatusCalculate(sim);
    EXPECT_EQ(sim.Results.Level, 5);
    sim.State.Level = -1;
    // A hand-made base status that brings the summed power, club included, to 20.
    sim.Results.CharaBaseStatus = MakeStatus(20 - sim.Results.ClubBaseStatus.Pow, 10, 10, 0, 0);
    sim.State.TabIndex = -1;  // keep the hand-made base status
    StatusCalculate(sim);
    EXPECT_EQ(sim.Results.Level, 5);
    EXPECT_EQ(sim.Results.StatusSum.Pow, 20);
    EXPECT_EQ(sim.Display.ControlPenalty.Text, "(-1)");
    EXPECT_EQ(sim.Results.FinalStatus.Ctrl, sim.Results.StatusSum.Ctrl - 1);
}

// Without an active page the character results of the last run with one flow on.
TEST(Pipeline, NoActivePageKeepsTheLastCharacterResults) {
    TSimulator sim;
    sim.State.TabIndex = 2;  // base status 11, 8, 5, 5, 2
    StatusCalculate(sim);
    EXPECT_EQ(sim.Results.CharaBaseStatus, MakeStatus(11, 8, 5, 5, 2));
    sim.State.TabIndex = -1;
    sim.State.Level = 3;
    StatusCalculate(sim);
    EXPECT_EQ(sim.Results.Level, 3);
    EXPECT_EQ(sim.Results.CharaBaseStatus, MakeStatus(11, 8, 5, 5, 2));
    EXPECT_EQ(sim.Results.FinalStatus.Spin, sim.Results.StatusSum.Spin);
}

// Every entry runs the whole chain: the character step's results reach the final
// displays, which differ from what stood before the run.
TEST(Pipeline, EveryEntryEndsWithTheFinalDisplays) {
    for (auto entry : {&StatusCalculate, &ClubChange, &ClubFullTune, &ComboBox1Change}) {
        TSimulator sim;
        sim.State.TabIndex = 2;  // base status 11, 8, 5, 5, 2
        sim.State.Level = 12;
        const TDisplay before = sim.Display;
        entry(sim);
        EXPECT_EQ(sim.Results.CharaBaseStatus, MakeStatus(11, 8, 5, 5, 2));
        const TStatus& final = sim.Results.FinalStatus;
        EXPECT_GE(final.Pow, 11);
        for (int i = 0; i < kStatCount; ++i) {
            EXPECT_EQ(sim.Display.Last[i].Text, std::to_string(StatField(final, i)));
        }
        EXPECT_EQ(sim.Display.DistanceNormalText,
                  std::to_string(230 + 2 * (final.Pow - 15) + sim.Results.RingDistance +
                                 sim.Results.CaddieCardYard) +
                      "y");
        EXPECT_NE(sim.Display.Last, before.Last);
        EXPECT_NE(sim.Display.DistanceNormalText, before.DistanceNormalText);
    }
}

// The Season2 hints assume the limit 20 from the first point above it: each point of
// power beyond 20 costs one control and one accuracy, never below 0.
TEST(FinalStep, Season2HintsCountEveryPointAbove20) {
    for (int32_t pow = 0; pow <= 40; ++pow) {
        for (int32_t ctrl : {0, 3, 12, 25}) {
            TSimulator sim = WithSum(13, MakeStatus(pow, ctrl, ctrl + 1, 0, 0));
            CalcLast(sim);
            const int32_t over = pow > 20 ? pow - 20 : 0;
            const auto hint = [](int32_t v) {
                return std::to_string(v < 0 ? 0 : v) + " (Season2)";
            };
            EXPECT_EQ(sim.Display.Last[1].Hint, hint(ctrl - over)) << "power " << pow;
            EXPECT_EQ(sim.Display.Last[2].Hint, hint(ctrl + 1 - over)) << "power " << pow;
        }
    }
}
