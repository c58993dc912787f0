#include <gtest/gtest.h>

#include "characters/cards.h"
#include "simulator/simulator.h"

// Character cards stack; a list without a selection counts as "なし".
TEST(CharaCardRule, CardsStackAndIgnoreOrder) {
    EXPECT_EQ(CombineCharaCards(1, 1, 9), MakeStatus(4, 0, 1, 0, 0));
    EXPECT_EQ(CombineCharaCards(9, 1, 1), CombineCharaCards(1, 9, 1));
    EXPECT_EQ(CombineCharaCards(14, 14, 14), MakeStatus(0, 0, 0, 0, 9));
    EXPECT_EQ(CombineCharaCards(-1, 15, 0), TStatus{});
}

// The largest power-shot bonus wins; the 1W yard does not add up.
TEST(CaddieCardRule, LargestPowerBonusAndOneYard) {
    const auto two_four = EvalCaddieCards(2, 3);
    EXPECT_EQ(two_four.CaddieCardPowerYards, 4);
    EXPECT_EQ(two_four.CaddieCardYard, 0);
    const auto yard_six = EvalCaddieCards(1, 4);
    EXPECT_EQ(yard_six.CaddieCardYard, 1);
    EXPECT_EQ(yard_six.CaddieCardPowerYards, 6);
    EXPECT_EQ(EvalCaddieCards(4, 1).CaddieCardPowerYards, 6);
    EXPECT_EQ(EvalCaddieCards(1, 1).CaddieCardYard, 1);
    const auto none = EvalCaddieCards(-1, 5);
    EXPECT_EQ(none.CaddieCardYard, 0);
    EXPECT_EQ(none.CaddieCardPowerYards, 0);
}

// The fillers put the card texts in kind order into every page's lists and select "なし".
TEST(CardListFillers, EveryPageGetsTheTextsAndNothingSelected) {
    TSimulator sim;
    for (auto& c : sim.State.Chara) {
        c.CharaCard2 = 7;
        c.CaddieCard1 = 3;
    }
    FillCharaCardLists(sim);
    FillCaddieCardLists(sim);
    FillCharaCardLists(sim);  // a refill replaces, it does not append
    for (int c = 0; c < CharaCount; ++c) {
        for (const auto& items : sim.Display.Pages[c].CharaCardItems) {
            ASSERT_EQ(items.size(), 15u);
            EXPECT_EQ(items[0], "なし");
            EXPECT_EQ(items[9], "パワーS+2 正確度S+1");
        }
        for (const auto& items : sim.Display.Pages[c].CaddieCardItems) {
            ASSERT_EQ(items.size(), 5u);
            EXPECT_EQ(items[4], "パワー時 飛距離+6y");
        }
        EXPECT_EQ(sim.State.Chara[c].CharaCard2, 0);
        EXPECT_EQ(sim.State.Chara[c].CaddieCard1, 0);
    }
}

// The special card: an index outside the table keeps the previous value, and the table
// lookup itself gives zero there.
TEST(SpecialCardRule, OutsideTheTable) {
    TSimulator sim;
    sim.State.SpecialCard = 4;
    CalcSpecialCard(sim);
    EXPECT_EQ(sim.Results.SpecialCardStatus, MakeStatus(0, 0, 0, 1, 0));
    sim.State.SpecialCard = -1;
    CalcSpecialCard(sim);
    EXPECT_EQ(sim.Results.SpecialCardStatus, MakeStatus(0, 0, 0, 1, 0));
    EXPECT_EQ(SpecialCardStatus(6), TStatus{});
    EXPECT_EQ(SpecialCardStatus(-1), TStatus{});
}
