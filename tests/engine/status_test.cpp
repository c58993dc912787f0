#include <gtest/gtest.h>

#include "engine/checked.h"
#include "engine/levels.h"
#include "engine/status.h"

// The price of upgrades: w * n * (n + 1) per stat with the weights of the positions.
TEST(UpgradeCost, SmallCountsFollowTheWeights) {
    EXPECT_EQ(UpgradeCostPP(0, 0, 0, 0, 0), 0);
    EXPECT_EQ(UpgradeCostPP(1, 1, 1, 1, 1), 10000);
    EXPECT_EQ(UpgradeCostPP(2, 2, 2, 2, 2), 30000);
    EXPECT_EQ(UpgradeCostPP(0, 0, 1, 0, 0), 2400);
    EXPECT_EQ(UpgradeCostPP(0, 0, 0, 1, 0), 1900);
    EXPECT_EQ(UpgradeCostPP(3, 0, 0, 0, 0), 1050 * 3 * 4);
}

TEST(UpgradeCost, NextStepPriceIsTheDifferenceOfTwoCosts) {
    for (int stat = 0; stat < kStatCount; ++stat) {
        for (int32_t n = 0; n <= 30; ++n) {
            TStatus lo{}, hi{};
            StatField(lo, stat) = n;
            StatField(hi, stat) = n + 1;
            EXPECT_EQ(NextUpgradePrice(stat, n), UpgradeCostPP(hi) - UpgradeCostPP(lo));
        }
    }
}

TEST(UpgradeCost, OverflowIsRaisedNotWrapped) {
    EXPECT_EQ(UpgradeCostPP(1337, 0, 0, 0, 0), 1050 * 1337 * 1338);
    EXPECT_NO_THROW(UpgradeCostPP(0, 0, 1337, 0, 0));
    EXPECT_THROW(UpgradeCostPP(0, 0, 1338, 0, 0), EIntOverflow);
    EXPECT_THROW(UpgradeCostPP(1430, 0, 0, 0, 0), EIntOverflow);
    EXPECT_THROW(UpgradeCostPP(0, 1589, 0, 0, 0), EIntOverflow);
    EXPECT_NO_THROW(UpgradeCostPP(0, 1588, 0, 0, 0));
    // Each term fits on its own; their sum does not.
    EXPECT_NO_THROW(UpgradeCostPP(1000, 0, 0, 0, 0));
    EXPECT_THROW(UpgradeCostPP(1000, 1000, 1000, 0, 0), EIntOverflow);
    // A negative count never reaches the formula from the window, but n + 1 and the
    // products are checked as well.
    EXPECT_THROW(UpgradeCostPP(INT32_MAX, 0, 0, 0, 0), EIntOverflow);
    try {
        UpgradeCostPP(0, 0, 1338, 0, 0);
        FAIL();
    } catch (const ESimError& e) {
        EXPECT_STREQ(e.what(), "整数のオーバーフロー");
    }
}

// Records are built in field order and added field by field with overflow checks.
TEST(StatusRecord, MakeStatusKeepsTheFieldOrder) {
    const TStatus s = MakeStatus(9, 11, 6, 2, 2);
    EXPECT_EQ(s.Pow, 9);
    EXPECT_EQ(s.Ctrl, 11);
    EXPECT_EQ(s.Exa, 6);
    EXPECT_EQ(s.Spin, 2);
    EXPECT_EQ(s.Cur, 2);
}

TEST(StatusRecord, SumIsComponentWiseAndChecked) {
    EXPECT_EQ(MakeStatus(1, 2, 3, 4, 5) + MakeStatus(10, 20, 30, 40, 50),
              MakeStatus(11, 22, 33, 44, 55));
    EXPECT_THROW(MakeStatus(0, 0, 0, 0, INT32_MAX) + MakeStatus(0, 0, 0, 0, 1), EIntOverflow);
    EXPECT_THROW(MakeStatus(INT32_MIN, 0, 0, 0, 0) + MakeStatus(-1, 0, 0, 0, 0), EIntOverflow);
}

TEST(CheckedArithmetic, RangeCheckRaisesTheRangeError) {
    EXPECT_NO_THROW(CheckRange(41, 0, 41));
    EXPECT_THROW(CheckRange(42, 0, 41), ERangeError);
    EXPECT_THROW(CheckRange(-1, 0, 41), ERangeError);
    try {
        CheckRange(-1, 0, 41);
    } catch (const ESimError& e) {
        EXPECT_STREQ(e.what(), "範囲チェックエラー");
    }
    EXPECT_THROW(CheckedSub(INT32_MIN, 1), EIntOverflow);
    EXPECT_THROW(CheckedMul(65536, 65536), EIntOverflow);
}

// Levels: 14 names, limit index + 20, power slot bonus = index.
TEST(Levels, TableFollowsTheIndexRule) {
    EXPECT_EQ(kLevelNames[0], "ルーキー");
    EXPECT_EQ(kLevelNames[12], "レジェンド");
    EXPECT_EQ(kLevelNames[13], "インフィニティレジェンド");
    EXPECT_EQ(PowerLimit(0), 20);
    EXPECT_EQ(PowerLimit(13), 33);
    EXPECT_EQ(PowerLimit(-1), 19);
    EXPECT_EQ(PowerSlotBonus(13), 13);
    EXPECT_TRUE(IsLevel(0));
    EXPECT_TRUE(IsLevel(13));
    EXPECT_FALSE(IsLevel(14));
    EXPECT_FALSE(IsLevel(-1));
}
