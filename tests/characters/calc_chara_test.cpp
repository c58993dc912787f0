#include <gtest/gtest.h>

#include <climits>

#include "chara_test_support.h"
#include "characters/calc_chara.h"
#include "engine/errors.h"

namespace {

using enum TWearSlot;

void SetSpinners(TSimulator& sim, int32_t c, TStatus positions) {
    auto& chara = sim.State.Chara[c];
    for (int i = 0; i < kStatCount; ++i) {
        SlotUpField(chara, i) = StatField(positions, i);
    }
}

}  // namespace

// The level is accepted only when it names a level; the power limit carries it.
TEST(CharaLevel, PowerLimitFollowsTheAcceptedLevel) {
    TSimulator sim;
    sim.State.Level = 13;
    CalcChara(sim);
    EXPECT_EQ(sim.Results.Level, 13);
    EXPECT_EQ(sim.Display.Pages[0].SlotLimitText[0], "/13");
    EXPECT_EQ(sim.Display.Pages[0].SlotLimitText[1], "/0");

    sim.State.Level = -1;
    CalcChara(sim);
    EXPECT_EQ(sim.Results.Level, 13);
    EXPECT_EQ(sim.Display.Pages[0].SlotLimitText[0], "/13");
}

// Level 2, power spinner at 3, nothing that gives slots: two of the three upgrades
// count, the PP and the hint take all three.
TEST(CharaSlotUps, SpinnerAboveTheLimitCountsOnlyUpToIt) {
    TSimulator sim;
    sim.State.Level = 2;
    SetSpinners(sim, Bastian, MakeStatus(3, 0, 0, 0, 0));
    CalcChara(sim);
    const auto& page = sim.Display.Pages[Bastian];
    EXPECT_EQ(page.SlotLimitText, (std::array<std::string, 5>{"/2", "/0", "/0", "/0", "/0"}));
    EXPECT_EQ(sim.Results.SlotUp, MakeStatus(2, 0, 0, 0, 0));
    EXPECT_EQ(sim.Results.CharaPPTotal, 1050 * 3 * 4);
    EXPECT_EQ(sim.Results.CharaPPNeeded, 12600);
    EXPECT_EQ(page.PPNeededText, "12600 PP");
    EXPECT_EQ(page.PPTotalText, "(12600 PP)");
    EXPECT_EQ(page.SpinnerHint[0], "次上げるのに\r  8400 PP");
    EXPECT_EQ(page.SpinnerHint[1], "次上げるのに\r  1700 PP");
    EXPECT_EQ(page.SpinnerHint[4], "次上げるのに\r  1900 PP");
}

// A spinner above its limit: the status takes the limit, PP and hint the position.
TEST(CharaSlotUps, SpinnerAboveItsLimit) {
    TSimulator sim;
    Item(sim, Bastian, Pants) = 2;  // コントロールS+3 *
    SetSpinners(sim, Bastian, MakeStatus(0, 3, 0, 0, 0));
    CalcChara(sim);
    EXPECT_EQ(sim.Results.SlotUp.Ctrl, 3);

    Item(sim, Bastian, Pants) = 0;
    CalcChara(sim);
    EXPECT_EQ(sim.Display.Pages[Bastian].SlotLimitText[1], "/0");
    EXPECT_EQ(sim.Results.SlotUp.Ctrl, 0);
    EXPECT_EQ(sim.Results.CharaPPTotal, 850 * 3 * 4);
    EXPECT_EQ(sim.Display.Pages[Bastian].SpinnerHint[1], "次上げるのに\r  6800 PP");
}

// PP since the save is the difference to the saved cost and may be negative.
TEST(CharaSlotUps, PPSinceSaveMayBeNegative) {
    TSimulator sim;
    SetSpinners(sim, Bastian, MakeStatus(3, 0, 0, 0, 0));
    sim.State.SavedPP[Bastian] = 12600;
    CalcChara(sim);
    EXPECT_EQ(sim.Display.Pages[Bastian].PPNeededText, "0 PP");
    EXPECT_EQ(sim.Display.Pages[Bastian].PPTotalText, "(12600 PP)");

    sim.State.SavedPP[Bastian] = UpgradeCostPP(5, 0, 0, 0, 0);
    CalcChara(sim);
    EXPECT_EQ(sim.Results.CharaPPNeeded, 12600 - 31500);
    EXPECT_EQ(sim.Display.Pages[Bastian].PPNeededText, "-18900 PP");

    sim.State.SavedPP[Bastian] = INT32_MIN;
    EXPECT_THROW(CalcChara(sim), EIntOverflow);
}

// The ring adds yards (entries 1 and 10) or slots (entry 11); without a selection none.
TEST(CharaRing, DistanceAndSlots) {
    TSimulator sim;
    int32_t& ring = Item(sim, Gordo, Ring);
    sim.State.TabIndex = Gordo;
    ring = 1;
    CalcChara(sim);
    EXPECT_EQ(sim.Results.RingDistance, 4);
    ring = 10;
    CalcChara(sim);
    EXPECT_EQ(sim.Results.RingDistance, 2);
    EXPECT_EQ(sim.Results.EquipStatus, TStatus{});
    ring = -1;
    CalcChara(sim);
    EXPECT_EQ(sim.Results.RingDistance, 0);
    ring = 11;
    CalcChara(sim);
    EXPECT_EQ(sim.Results.RingDistance, 0);
    EXPECT_EQ(sim.Results.SlotLimit, MakeStatus(1, 1, 1, 1, 1));
    EXPECT_EQ(sim.Results.EquipStatus, TStatus{});
}

// Character cards raise the limits only; caddie cards set the two yard values.
TEST(CharaCards, ActiveCharactersCardsReachTheResults) {
    TSimulator sim;
    sim.State.TabIndex = Lilou;
    auto& chara = sim.State.Chara[Lilou];
    chara.CharaCard1 = 1;
    chara.CharaCard2 = 1;
    chara.CharaCard3 = 9;  // パワーS+2 正確度S+1
    chara.CaddieCard1 = 1;
    chara.CaddieCard2 = 4;
    sim.State.Chara[Bastian].CaddieCard1 = 3;  // not on the active page
    CalcChara(sim);
    EXPECT_EQ(sim.Results.SlotLimit, MakeStatus(4, 0, 1, 0, 0));
    EXPECT_EQ(sim.Results.EquipStatus, TStatus{});
    EXPECT_EQ(sim.Results.CaddieCardYard, 1);
    EXPECT_EQ(sim.Results.CaddieCardPowerYards, 6);
    EXPECT_EQ(sim.Display.Pages[Lilou].SlotLimitText[0], "/4");
}

// Turning the page switches every character-dependent result to the new page and
// leaves the old page's texts as they were.
TEST(CharaPages, PageChangeSwitchesEveryResult) {
    TSimulator sim;
    Item(sim, Bastian, Top) = 4;
    Item(sim, Bastian, Ring) = 1;
    SetSpinners(sim, Bastian, MakeStatus(2, 0, 0, 0, 0));
    sim.State.Chara[Bastian].CaddieCard1 = 1;
    Item(sim, Corvin, Shoes) = 10;  // パワー+1・スピン+1
    Item(sim, Corvin, Ring) = 11;
    SetSpinners(sim, Corvin, MakeStatus(0, 1, 1, 0, 0));
    sim.State.Chara[Corvin].CaddieCard2 = 2;
    sim.State.SavedPP[Corvin] = 1000;
    CalcChara(sim);
    const CharaPageDisplay bastianPage = sim.Display.Pages[Bastian];

    sim.State.TabIndex = Corvin;
    CalcChara(sim);
    const TSimResults& r = sim.Results;
    EXPECT_EQ(r.CharaBaseStatus, MakeStatus(12, 11, 8, 3, 3));
    EXPECT_EQ(r.EquipStatus, MakeStatus(1, 0, 0, 1, 0));
    EXPECT_EQ(r.SlotLimit, MakeStatus(1, 1, 1, 1, 1));
    EXPECT_EQ(r.SlotUp, MakeStatus(0, 1, 1, 0, 0));
    EXPECT_EQ(r.CharaPPTotal, 850 * 2 + 1200 * 2);
    EXPECT_EQ(r.CharaPPNeeded, 3100);
    EXPECT_EQ(r.RingDistance, 0);
    EXPECT_EQ(r.CaddieCardYard, 0);
    EXPECT_EQ(r.CaddieCardPowerYards, 2);
    EXPECT_EQ(sim.Display.Pages[Corvin].PPNeededText, "3100 PP");
    EXPECT_EQ(sim.Display.Pages[Corvin].SpinnerHint[1], "次上げるのに\r  3400 PP");
    EXPECT_EQ(sim.Display.Pages[Bastian].PPTotalText, bastianPage.PPTotalText);
    EXPECT_EQ(sim.Display.Pages[Bastian].SlotLimitText, bastianPage.SlotLimitText);
}

// Without an active page only the level is accepted; the equipment and outfit rules
// still follow the selection.
TEST(CharaPages, NoActivePageKeepsTheLastCharacterValues) {
    TSimulator sim;
    Item(sim, Bastian, Top) = 4;
    SetSpinners(sim, Bastian, MakeStatus(2, 0, 0, 0, 0));
    CalcChara(sim);
    const TSimResults before = sim.Results;
    const CharaPageDisplay page = sim.Display.Pages[Bastian];

    sim.State.TabIndex = -1;
    sim.State.Level = 5;
    Item(sim, Bastian, Top) = 0;
    SetSpinners(sim, Bastian, MakeStatus(0, 0, 0, 0, 0));
    CalcChara(sim);
    EXPECT_EQ(sim.Results.Level, 5);
    EXPECT_EQ(sim.Results.EquipStatus, before.EquipStatus);
    EXPECT_EQ(sim.Results.SlotLimit, before.SlotLimit);
    EXPECT_EQ(sim.Results.SlotUp, before.SlotUp);
    EXPECT_EQ(sim.Results.CharaPPTotal, before.CharaPPTotal);
    EXPECT_EQ(sim.Display.Pages[Bastian].SlotLimitText, page.SlotLimitText);
    EXPECT_EQ(sim.Display.Pages[Bastian].PPTotalText, page.PPTotalText);
    EXPECT_TRUE(sim.Display.Pages[Bastian].TopPantsEnabled);
}

// Through the whole chain: an untouched character totals its base status, and an item
// that gives power slots lets a power count that the old limit cut off count.
TEST(CharaChain, CharacterTotalOfTheActivePage) {
    TSimulator sim;
    for (int32_t c = 0; c < CharaCount; ++c) {
        sim.State.TabIndex = c;
        StatusCalculate(sim);
        EXPECT_EQ(sim.Results.CharaTotal, CharaDef(c).CharaBaseStatus) << c;
    }
    sim.State.TabIndex = Bastian;
    SetSpinners(sim, Bastian, MakeStatus(2, 0, 0, 0, 0));
    StatusCalculate(sim);
    EXPECT_EQ(sim.Results.CharaTotal.Pow, 9);
    Item(sim, Bastian, Top) = 4;  // パワー+1/S+2 *
    StatusCalculate(sim);
    EXPECT_EQ(sim.Display.Pages[Bastian].SlotLimitText[0], "/2");
    EXPECT_EQ(sim.Results.CharaTotal.Pow, 9 + 1 + 2);
    EXPECT_FALSE(sim.Display.Pages[Bastian].TopPantsEnabled);
}
