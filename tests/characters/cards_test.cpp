#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "characters/cards.h"
#include "simulator/simulator.h"

// Character cards stack; a list without a selection counts as "なし".
TEST(CharaCardRule, CardsStackAndIgnoreOrder) {
    EXPECT_EQ(CombineCharaCards(1, 1, 9), MakeStatus(4, 0, 1, 0, 0));
    EXPECT_EQ(CombineCharaCards(9, 1, 1), CombineCharaCards(1, 9, 1));
    EXPECT_EQ(CombineCharaCards(14, 14, 14), MakeStatus(0, 0, 0, 0, 9));
    EXPECT_EQ(CombineCharaCards(-1, 15, 0), TStatus{});
}

// Each caddie card does what its text says, in either slot: "飛距離+1y" gives the 1W
// yard (once, however many cards give it), "パワー時 飛距離+Ny" the power-shot yards, of
// which the largest counts. A kind outside the list does nothing.
TEST(CaddieCardRule, EachCardWorksInEitherSlotAsItsTextSays) {
    auto yards = [](int32_t kind, std::string_view prefix) {
        if (kind < 0 || kind >= kCaddieCardKindCount) {
            return 0;
        }
        const std::string_view text = kCaddieCardKindTexts[kind];
        if (!text.starts_with(prefix)) {
            return 0;
        }
        return std::stoi(std::string(text.substr(prefix.size())));
    };
    for (int32_t k1 = -1; k1 <= kCaddieCardKindCount; ++k1) {
        for (int32_t k2 = -1; k2 <= kCaddieCardKindCount; ++k2) {
            const CaddieCardEffect e = EvalCaddieCards(k1, k2);
            const int yard = std::max(yards(k1, "飛距離+"), yards(k2, "飛距離+"));
            const int power =
                std::max(yards(k1, "パワー時 飛距離+"), yards(k2, "パワー時 飛距離+"));
            EXPECT_EQ(e.CaddieCardYard, yard) << k1 << ", " << k2;
            EXPECT_EQ(e.CaddieCardPowerYards, power) << k1 << ", " << k2;
        }
    }
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
