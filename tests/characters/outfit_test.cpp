#include <gtest/gtest.h>

#include "chara_test_support.h"
#include "characters/calc_chara.h"

namespace {

using enum TWearSlot;

struct ListStates {
    bool Top, Pants, TopPants;
};
ListStates Lists(const TSimulator& sim, int32_t c) {
    const auto& p = sim.Display.Pages[c];
    return {p.TopEnabled, p.PantsEnabled, p.TopPantsEnabled};
}
bool operator==(const ListStates& a, const ListStates& b) {
    return a.Top == b.Top && a.Pants == b.Pants && a.TopPants == b.TopPants;
}

constexpr ListStates kAllEnabled{true, true, true};
constexpr ListStates kSeparates{true, true, false};
constexpr ListStates kOutfit{false, false, true};

}  // namespace

// With all body slots "なし" every body list but the waist is open and the body adds nothing.
TEST(OutfitRules, NothingWornOpensAllBodyLists) {
    TSimulator sim;
    CalcChara(sim);
    for (int32_t c = 0; c < CharaCount; ++c) {
        EXPECT_TRUE(Lists(sim, c) == kAllEnabled) << c;
        EXPECT_EQ(sim.Results.BodyBonus[c], TEquipBonus{});
    }
    EXPECT_FALSE(sim.Display.Pages[Noemi].WaistEnabled);
    EXPECT_FALSE(sim.Display.Pages[Pino].WaistEnabled);
    EXPECT_EQ(Record(sim, Bastian, Top), TEquipBonus{});
}

// Separates lock the outfit list and the other way round, for every character, also
// those whose page is not shown; setting the separates back to "なし" reopens it.
TEST(OutfitRules, SeparatesAndOutfitExcludeEachOther) {
    TSimulator sim;
    for (int32_t c = 0; c < CharaCount; ++c) {
        Item(sim, c, c % 2 == 0 ? Top : Pants) = 1;
    }
    CalcChara(sim);
    for (int32_t c = 0; c < CharaCount; ++c) {
        EXPECT_TRUE(Lists(sim, c) == kSeparates) << c;
        Item(sim, c, c % 2 == 0 ? Top : Pants) = 0;
        Item(sim, c, TopPants) = 1;
    }
    CalcChara(sim);
    for (int32_t c = 0; c < CharaCount; ++c) {
        EXPECT_TRUE(Lists(sim, c) == kOutfit) << c;
        Item(sim, c, TopPants) = 0;
    }
    CalcChara(sim);
    for (int32_t c = 0; c < CharaCount; ++c) {
        EXPECT_TRUE(Lists(sim, c) == kAllEnabled) << c;
    }
}

// A combined body record: the outfit alone, or the sum of both separates. A stored
// selection holding both is resolved in favour of the outfit.
TEST(OutfitRules, CombinedBodyRecord) {
    TSimulator sim;
    sim.State.TabIndex = Rosalind;
    Item(sim, Rosalind, Top) = 2;    // パワー+1/S+2
    Item(sim, Rosalind, Pants) = 4;  // コントロール+2/S+2
    CalcChara(sim);
    EXPECT_EQ(sim.Results.BodyBonus[Rosalind],
              Bonus(MakeStatus(1, 2, 0, 0, 0), MakeStatus(2, 2, 0, 0, 0)));
    EXPECT_EQ(sim.Results.EquipStatus, MakeStatus(1, 2, 0, 0, 0));

    Item(sim, Rosalind, TopPants) = 3;  // パワーS+2・コントS+3 *
    CalcChara(sim);
    EXPECT_TRUE(Lists(sim, Rosalind) == kOutfit);
    EXPECT_EQ(sim.Results.BodyBonus[Rosalind], Bonus(TStatus{}, MakeStatus(2, 3, 0, 0, 0)));
    EXPECT_EQ(sim.Results.EquipStatus, TStatus{});
    EXPECT_EQ(sim.Results.SlotLimit, MakeStatus(2, 3, 0, 0, 0));
}

// A waist piece counts with a power-only outfit; an outfit with a control part covers
// the waist, which keeps its selection and counts again under a power-only outfit.
TEST(OutfitRules, NoemiWaistUnderPowerOnlyAndCoveringOutfits) {
    TSimulator sim;
    sim.State.TabIndex = Noemi;
    Item(sim, Noemi, TopPants) = 5;  // パワー+1/S+1 *
    Item(sim, Noemi, Waist) = 2;     // コントロール+2/S+2
    CalcChara(sim);
    EXPECT_TRUE(sim.Display.Pages[Noemi].WaistEnabled);
    const TEquipBonus withWaist = Bonus(MakeStatus(1, 2, 0, 0, 0), MakeStatus(1, 2, 0, 0, 0));
    EXPECT_EQ(sim.Results.BodyBonus[Noemi], withWaist);
    EXPECT_EQ(sim.Results.EquipStatus, MakeStatus(1, 2, 0, 0, 0));

    Item(sim, Noemi, TopPants) = 12;  // パワーS+3・コントS+4 *
    CalcChara(sim);
    EXPECT_FALSE(sim.Display.Pages[Noemi].WaistEnabled);
    EXPECT_EQ(sim.Results.BodyBonus[Noemi], Bonus(TStatus{}, MakeStatus(3, 4, 0, 0, 0)));
    EXPECT_EQ(sim.Results.EquipStatus, TStatus{});
    EXPECT_EQ(Item(sim, Noemi, Waist), 2);

    Item(sim, Noemi, TopPants) = 5;
    CalcChara(sim);
    EXPECT_EQ(sim.Results.BodyBonus[Noemi], withWaist);

    // Separates lock the waist as well.
    Item(sim, Noemi, TopPants) = 0;
    Item(sim, Noemi, Top) = 6;  // パワー+2
    CalcChara(sim);
    EXPECT_FALSE(sim.Display.Pages[Noemi].WaistEnabled);
    EXPECT_EQ(sim.Results.BodyBonus[Noemi], Bonus(MakeStatus(2, 0, 0, 0, 0), TStatus{}));
}

// A split outfit credits its power part to Top and its control part to Pants, whatever
// Top and Pants themselves select.
TEST(OutfitRules, SplitOutfitCreditsTopAndPants) {
    TSimulator sim;
    Item(sim, Bastian, Top) = 9;       // パワー+2/S+1
    Item(sim, Bastian, Pants) = 6;     // コントロール+3
    Item(sim, Bastian, TopPants) = 1;  // パワー+1/S+2・コント+1/S+3
    CalcChara(sim);
    EXPECT_TRUE(Lists(sim, Bastian) == kOutfit);
    EXPECT_EQ(Record(sim, Bastian, Top),
              Bonus(MakeStatus(1, 0, 0, 0, 0), MakeStatus(2, 0, 0, 0, 0)));
    EXPECT_EQ(Record(sim, Bastian, Pants),
              Bonus(MakeStatus(0, 1, 0, 0, 0), MakeStatus(0, 3, 0, 0, 0)));
    EXPECT_EQ(sim.Results.EquipStatus, MakeStatus(1, 1, 0, 0, 0));
    EXPECT_EQ(sim.Results.SlotLimit, MakeStatus(2, 3, 0, 0, 0));

    // Dropping the outfit gives the separates back their own records.
    Item(sim, Bastian, TopPants) = 0;
    CalcChara(sim);
    EXPECT_EQ(sim.Results.EquipStatus, MakeStatus(2, 3, 0, 0, 0));
}

// -1 (no selection) counts as chosen, and a slot without a selection keeps the record
// of the entry selected there before (zero if none ever was).
TEST(OutfitRules, NoSelectionCountsAsChosenAndKeepsStaleRecords) {
    TSimulator sim;
    Item(sim, Wren, Top) = -1;
    CalcChara(sim);
    EXPECT_TRUE(Lists(sim, Wren) == kSeparates);
    EXPECT_EQ(sim.Results.BodyBonus[Wren], TEquipBonus{});

    // Split: the outfit list without a selection locks the separates, which still count.
    sim.State.TabIndex = Tatsuro;
    Item(sim, Tatsuro, Top) = 6;  // パワー+2/S+1
    Item(sim, Tatsuro, TopPants) = -1;
    CalcChara(sim);
    EXPECT_TRUE(Lists(sim, Tatsuro) == kOutfit);
    EXPECT_EQ(sim.Results.EquipStatus, MakeStatus(2, 0, 0, 0, 0));

    // Combined with waist: the outfit's stale record plus the waist, the waist list open.
    sim.State.TabIndex = Pino;
    Item(sim, Pino, TopPants) = 1;  // パワー+1/S+2
    Item(sim, Pino, Waist) = 1;     // コントロール+1/S+3
    CalcChara(sim);
    Item(sim, Pino, TopPants) = -1;
    CalcChara(sim);
    EXPECT_TRUE(Lists(sim, Pino) == kOutfit);
    EXPECT_TRUE(sim.Display.Pages[Pino].WaistEnabled);
    EXPECT_EQ(sim.Results.BodyBonus[Pino],
              Bonus(MakeStatus(1, 1, 0, 0, 0), MakeStatus(2, 3, 0, 0, 0)));

    // Any slot: a stored index past the list keeps the previous record.
    Item(sim, Pino, Shoes) = 1;  // パワー+2 *
    CalcChara(sim);
    Item(sim, Pino, Shoes) = 99;
    CalcChara(sim);
    EXPECT_EQ(Record(sim, Pino, Shoes), Bonus(MakeStatus(2, 0, 0, 0, 0), TStatus{}));
}
