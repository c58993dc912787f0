// The holdings against a plain model of them: random marks on random lists, read back
// entry by entry; "なし" is owned whatever is recorded, and holdings owned whole again
// are the holdings of a player who never recorded any.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <tuple>

#include "characters/roster.h"
#include "simulator/holdings.h"

TEST(Holdings, RandomMarksReadBackAsAPlainModelHasThem) {
    std::mt19937 random(29);
    for (int round = 0; round < 40; ++round) {
        THoldings holdings;
        std::map<std::tuple<int, int, int>, bool>
            owned;  // (list, position, entry); list -1..: items
        const auto key = [](int chara, int slot, int entry) {
            return std::tuple{chara, slot, entry};
        };
        for (int step = 0; step < 300; ++step) {
            const bool item = random() % 2 == 0;
            const bool own = random() % 3 == 0;
            if (item) {
                const int chara = static_cast<int>(random() % CharaCount);
                const int slot = static_cast<int>(random() % CharaDef(chara).Slots.size());
                const int entry = static_cast<int>(random() % (ItemCount(chara, slot) + 1)) - 0;
                SetItemOwned(holdings, chara, slot, entry, own);
                if (entry < ItemCount(chara, slot)) {
                    owned[key(chara, slot, entry)] = own || IsNoneEntry(chara, slot, entry);
                }
            } else {
                const auto kind = static_cast<HeldKind>(random() % kHeldKindCount);
                const int index = static_cast<int>(random() % (HeldCount(kind) + 1));
                SetHeldOwned(holdings, kind, index, own);
                if (index < HeldCount(kind)) {
                    owned[key(-1 - static_cast<int>(kind), 0, index)] =
                        own || IsNoneEntry(kind, index);
                }
            }
        }
        bool everything = true;
        for (int chara = 0; chara < CharaCount; ++chara) {
            for (int slot = 0; slot < static_cast<int>(CharaDef(chara).Slots.size()); ++slot) {
                for (int entry = -1; entry <= ItemCount(chara, slot); ++entry) {
                    const auto it = owned.find(key(chara, slot, entry));
                    const bool want = entry >= 0 && entry < ItemCount(chara, slot) &&
                                      (it == owned.end() || it->second);
                    ASSERT_EQ(OwnsItem(holdings, chara, slot, entry), want);
                    everything =
                        everything && (want || entry < 0 || entry == ItemCount(chara, slot));
                }
            }
        }
        for (int k = 0; k < kHeldKindCount; ++k) {
            const auto kind = static_cast<HeldKind>(k);
            for (int index = -1; index <= HeldCount(kind); ++index) {
                const auto it = owned.find(key(-1 - k, 0, index));
                const bool want =
                    index >= 0 && index < HeldCount(kind) && (it == owned.end() || it->second);
                ASSERT_EQ(OwnsHeld(holdings, kind, index), want);
                everything = everything && (want || index < 0 || index == HeldCount(kind));
            }
        }
        EXPECT_EQ(OwnsEverything(holdings), everything);
        // Owned whole again: the same as never recorded.
        for (const auto& [where, own] : owned) {
            const auto [list, slot, entry] = where;
            if (list >= 0) {
                SetItemOwned(holdings, list, slot, entry, true);
            } else {
                SetHeldOwned(holdings, static_cast<HeldKind>(-1 - list), entry, true);
            }
        }
        EXPECT_TRUE(OwnsEverything(holdings));
    }
}
