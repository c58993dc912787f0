#include <gtest/gtest.h>

#include <set>
#include <string>

#include "chara_test_support.h"
#include "characters/catalogue.h"
#include "characters/equip_notation.h"

namespace {

using enum TWearSlot;

// The size of every character's list per slot kind (0: the character has no such
// slot), in roster order.
struct SizeRow {
    TWearSlot Slot;
    int Sizes[CharaCount];
};
constexpr SizeRow kListSizes[] = {
    {Top, {10, 9, 10, 7, 8, 7, 7, 6, 4, 3}},
    {Pants, {8, 7, 9, 6, 6, 8, 6, 4, 3, 3}},
    {TopPants, {5, 14, 5, 9, 4, 10, 9, 6, 7, 2}},
    {Waist, {0, 3, 0, 0, 0, 2, 0, 0, 0, 0}},
    {Shoes, {14, 18, 9, 13, 10, 22, 14, 19, 19, 4}},
    {Hand, {8, 9, 7, 9, 7, 12, 8, 9, 11, 4}},
    {Head, {0, 30, 19, 26, 23, 0, 27, 22, 21, 8}},
    {Head1, {24, 0, 0, 0, 0, 29, 0, 0, 0, 0}},
    {Head2, {4, 0, 0, 0, 0, 4, 3, 0, 0, 0}},
    {Face, {11, 11, 0, 11, 15, 12, 11, 13, 9, 0}},
    {Face1, {0, 0, 12, 0, 0, 0, 0, 0, 0, 0}},
    {Face2, {0, 0, 2, 0, 0, 0, 0, 0, 0, 0}},
    {Face3, {0, 0, 3, 0, 0, 0, 0, 0, 0, 0}},
    {Hoho, {2, 3, 2, 2, 2, 3, 3, 3, 3, 2}},
    {Hoho2, {0, 0, 0, 3, 0, 0, 0, 0, 0, 0}},
    {Mouth, {0, 0, 0, 0, 2, 0, 0, 0, 0, 0}},
    {Arm, {0, 0, 0, 0, 3, 0, 0, 2, 0, 0}},
    {Key, {0, 0, 0, 0, 2, 0, 0, 0, 0, 0}},
    {Gun, {0, 0, 3, 0, 0, 0, 0, 0, 0, 0}},
    {Ear, {3, 3, 3, 3, 3, 4, 3, 3, 3, 0}},
    {Back, {2, 2, 2, 2, 2, 2, 2, 2, 2, 2}},
    {Shippo, {2, 2, 2, 2, 2, 2, 2, 2, 2, 0}},
    {Acce, {4, 4, 0, 4, 0, 4, 3, 2, 0, 0}},
    {Ring, {12, 12, 12, 12, 12, 12, 12, 12, 12, 12}},
};

// Every entry of the catalogue with where it stands.
template <typename F>
void ForEachEntry(F f) {
    for (int32_t c = 0; c < CharaCount; ++c) {
        const auto& slots = CharaDef(c).Slots;
        for (size_t k = 0; k < slots.size(); ++k) {
            const auto list = EquipList(c, static_cast<int>(k));
            for (size_t i = 0; i < list.size(); ++i) {
                f(c, slots[k], static_cast<int32_t>(i), list[i]);
            }
        }
    }
}

}  // namespace

// Every list has its character's size for the slot, begins with a zero "なし", and
// the lists follow the roster's slot order.
TEST(CatalogueShape, ListSizesSlotOrderAndNothingEntry) {
    int lists = 0;
    int entries = 0;
    for (const SizeRow& row : kListSizes) {
        for (int32_t c = 0; c < CharaCount; ++c) {
            SCOPED_TRACE(std::string(CharaDef(c).Name) + " " + std::string(WearSlotKey(row.Slot)));
            const auto list = EquipList(c, row.Slot);
            EXPECT_EQ(static_cast<int>(list.size()), row.Sizes[c]);
            EXPECT_EQ(SlotPosition(c, row.Slot).has_value(), row.Sizes[c] != 0);
            if (list.empty()) {
                continue;
            }
            ++lists;
            entries += static_cast<int>(list.size());
            EXPECT_EQ(list[0].Text, "なし");
            EXPECT_EQ(list[0].Bonus, TEquipBonus{});
            EXPECT_EQ(list[0].DistanceBonus, 0);
            EXPECT_FALSE(list[0].CoversWaist);
        }
    }
    EXPECT_EQ(lists, kEquipListCount);
    EXPECT_EQ(entries, kEquipEntryCount);

    for (int32_t c = 0; c < CharaCount; ++c) {
        const auto& slots = CharaDef(c).Slots;
        for (size_t k = 0; k < slots.size(); ++k) {
            EXPECT_EQ(EquipList(c, static_cast<int>(k)).data(), EquipList(c, slots[k]).data());
        }
        EXPECT_TRUE(EquipList(c, static_cast<int>(slots.size())).empty());
    }
}

// An index without an entry (-1, past the end) and an unknown character find nothing.
TEST(CatalogueShape, LookupsOutsideTheListsFindNothing) {
    EXPECT_EQ(EquipEntry(Bastian, 0, -1), nullptr);
    EXPECT_EQ(EquipEntry(Bastian, 0, 10), nullptr);
    EXPECT_NE(EquipEntry(Bastian, 0, 9), nullptr);
    EXPECT_TRUE(EquipList(-1, 0).empty());
    EXPECT_TRUE(EquipList(CharaCount, Top).empty());
    EXPECT_TRUE(EquipList(Wren, Acce).empty());
}

// Texts of every notation form give the status and slot bonus they state.
TEST(CatalogueRecords, EachNotationFormReadsAsItStates) {
    struct Example {
        int32_t Chara;
        TWearSlot Slot;
        int32_t Index;
        std::string_view Text;
        TEquipBonus Bonus;
    };
    const TStatus zero{};
    const Example examples[] = {
        {Bastian, Top, 1, "正確度S+2 *", Bonus(zero, MakeStatus(0, 0, 2, 0, 0))},
        {Bastian, Top, 4, "パワー+1/S+2 *",
         Bonus(MakeStatus(1, 0, 0, 0, 0), MakeStatus(2, 0, 0, 0, 0))},
        {Bastian, Shoes, 4, "正確度+1/S+1",
         Bonus(MakeStatus(0, 0, 1, 0, 0), MakeStatus(0, 0, 1, 0, 0))},
        {Bastian, Shoes, 11, "パワー+1・カーブS+1",
         Bonus(MakeStatus(1, 0, 0, 0, 0), MakeStatus(0, 0, 0, 0, 1))},
        {Bastian, Head1, 4, "スピン+1/S+1・カーブ+1/S+1",
         Bonus(MakeStatus(0, 0, 0, 1, 1), MakeStatus(0, 0, 0, 1, 1))},
        {Bastian, TopPants, 1, "パワー+1/S+2・コント+1/S+3",
         Bonus(MakeStatus(1, 1, 0, 0, 0), MakeStatus(2, 3, 0, 0, 0))},
        {Noemi, TopPants, 12, "パワーS+3・コントS+4 *", Bonus(zero, MakeStatus(3, 4, 0, 0, 0))},
        {Noemi, TopPants, 5, "パワー+1/S+1 *",
         Bonus(MakeStatus(1, 0, 0, 0, 0), MakeStatus(1, 0, 0, 0, 0))},
        {Noemi, Waist, 1, "コントロール+1/S+3",
         Bonus(MakeStatus(0, 1, 0, 0, 0), MakeStatus(0, 3, 0, 0, 0))},
        {Gordo, Key, 1, "正確度+1 スピン+1", Bonus(MakeStatus(0, 0, 1, 1, 0), zero)},
        {Bastian, Face, 8, "カーブ+10 *", Bonus(MakeStatus(0, 0, 0, 0, 10), zero)},
        {Bastian, Ear, 1, "全ステータス+1", Bonus(MakeStatus(1, 1, 1, 1, 1), zero)},
        {Corvin, TopPants, 5, "パワーS+3・コントロールS+4 *",
         Bonus(zero, MakeStatus(3, 4, 0, 0, 0))},
        {Pino, Pants, 7, "コントロールS+3・正確度+1*",
         Bonus(MakeStatus(0, 0, 1, 0, 0), MakeStatus(0, 3, 0, 0, 0))},
        {Wren, Ring, 11, "全ステータスS+1", Bonus(zero, MakeStatus(1, 1, 1, 1, 1))},
    };
    for (const Example& e : examples) {
        SCOPED_TRACE(e.Text);
        const auto list = EquipList(e.Chara, e.Slot);
        ASSERT_LT(static_cast<size_t>(e.Index), list.size());
        EXPECT_EQ(list[e.Index].Text, e.Text);
        EXPECT_EQ(list[e.Index].Bonus, e.Bonus);
    }
}

// The reader refuses what the notation does not allow instead of reading zero.
TEST(CatalogueRecords, UnreadableTextsAreRefused) {
    static_assert(ReadEquipText("パワー+1/S+2・コント+1/S+3").Readable);
    for (std::string_view bad :
         {"", "パワー", "パワー+", "パワー1", "パワー+0", "パワー+01", "パワー+1/", "パワー+1/+2",
          "パワーS+1/+1", "パワー+1・", "パワー+1・・カーブ+1", "パワー+1 **", "パワー+1 * ",
          "ロール+1", "なし *", "飛距離+2", "(飛距離+4y)", "クリムゾン(飛距離+4y", "スピン+1y"}) {
        EXPECT_FALSE(ReadEquipText(bad).Readable) << bad;
    }
    const EquipReading ring = ReadEquipText("クリムゾン(飛距離+4y)");
    EXPECT_TRUE(ring.Readable);
    EXPECT_EQ(ring.DistanceBonus, 4);
    EXPECT_EQ(ring.Bonus, TEquipBonus{});
}

// No negative value, no text twice in a list; the largest status bonus is Cur 10, the
// largest slot bonus Ctrl 5; 343 texts carry the marker, two of them without a blank.
TEST(CatalogueInvariants, ValuesTextsAndMarkers) {
    std::set<std::string> cur10Lists;
    int markers = 0;
    int bareMarkers = 0;
    int32_t maxStatus = 0;
    int32_t maxSlot = 0;
    ForEachEntry([&](int32_t c, TWearSlot slot, int32_t i, const TEquipEntry& e) {
        SCOPED_TRACE(e.Text);
        for (int s = 0; s < kStatCount; ++s) {
            const int32_t status = StatField(e.Bonus.StatusBonus, s);
            const int32_t slots = StatField(e.Bonus.SlotBonus, s);
            EXPECT_GE(status, 0);
            EXPECT_GE(slots, 0);
            maxStatus = std::max(maxStatus, status);
            maxSlot = std::max(maxSlot, slots);
            if (status >= 10) {
                EXPECT_EQ(s, 4);
                cur10Lists.insert(std::string(CharaDef(c).Name) + std::string(WearSlotKey(slot)));
            }
            if (slots >= 5) {
                EXPECT_EQ(s, 1);
                EXPECT_EQ(c, Tatsuro);
                EXPECT_EQ(slot, Pants);
            }
        }
        if (e.Text.ends_with("*")) {
            ++markers;
            if (!e.Text.ends_with(" *")) {
                ++bareMarkers;
                EXPECT_EQ(c, Pino);
                EXPECT_EQ(slot, Pants);
            }
        }
        const auto list = EquipList(c, slot);
        for (int32_t j = 0; j < i; ++j) {
            EXPECT_NE(list[j].Text, e.Text);
        }
    });
    EXPECT_EQ(maxStatus, 10);
    EXPECT_EQ(maxSlot, 5);
    EXPECT_EQ(markers, 343);
    EXPECT_EQ(bareMarkers, 2);
    const std::set<std::string> faces = {"BastianFace",  "NoemiFace",  "TatsuroFace1",
                                         "RosalindFace", "GordoFace",  "PinoFace",
                                         "LilouFace",    "CorvinFace", "YsoldeFace"};
    EXPECT_EQ(cur10Lists, faces);
}

// Only ring entries 1 and 10 add yards (4 and 2), and they add no records.
TEST(CatalogueInvariants, DistanceOnlyOnTwoRingEntries) {
    ForEachEntry([](int32_t, TWearSlot slot, int32_t i, const TEquipEntry& e) {
        const int32_t expected = slot != Ring ? 0 : i == 1 ? 4 : i == 10 ? 2 : 0;
        EXPECT_EQ(e.DistanceBonus, expected) << e.Text;
        if (expected != 0) {
            EXPECT_EQ(e.Bonus, TEquipBonus{});
        }
    });
}

// Only the outfits with a control part of the two characters who wear a waist piece
// cover the waist.
TEST(CatalogueInvariants, CoversWaistOnlyForControlOutfitsOfWaistCharacters) {
    std::set<std::pair<int32_t, int32_t>> covering;
    ForEachEntry([&](int32_t c, TWearSlot slot, int32_t i, const TEquipEntry& e) {
        if (e.CoversWaist) {
            EXPECT_EQ(slot, TopPants);
            covering.insert({c, i});
        }
    });
    std::set<std::pair<int32_t, int32_t>> expected = {{Noemi, 3}, {Noemi, 4}};
    for (int32_t i = 8; i <= 13; ++i) {
        expected.insert({Noemi, i});
    }
    for (int32_t i = 3; i <= 9; ++i) {
        expected.insert({Pino, i});
    }
    EXPECT_EQ(covering, expected);
}
