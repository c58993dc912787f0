// The holdings and the dialog's description and edits: every list of the catalogue once;
// random edits against a plain model of what is owned; the window's marks and previews;
// the page's JSON of the same description.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <tuple>

#include "characters/catalogue.h"
#include "characters/roster.h"
#include "json/json_reader.h"
#include "simulator/holdings_form.h"
#include "simulator/preview.h"
#include "simulator/simulator.h"
#include "tests/support/json_member.h"
#include "tests/support/random_holdings.h"

// Catches a slot or kind missing from the dialog or shown twice, entries that are not
// the catalogue's, object names that clash, and the page's JSON dropping or misnaming a
// page, list, entry, "なし" or text.
TEST(HoldingsForm, EveryListOnceWithTheCataloguesTextsInThePagesJsonToo) {
    const HoldingsDialogDef& def = HoldingsDialogForm();
    const json::Value json = json::Parse(HoldingsDialogJson());
    EXPECT_EQ(Member(json, "title").Text, def.Title);
    EXPECT_EQ(Member(Member(json, "texts"), "count").Text, "所持 {0} / {1}");
    ASSERT_EQ(Member(json, "controls").Items.size(), def.Controls.size());
    const json::Value& pages = Member(json, "pages");
    ASSERT_EQ(pages.Items.size(), def.Pages.size());
    std::set<std::pair<int32_t, int>> slots;
    std::set<int> kinds;
    std::set<std::string> names;
    for (const HoldingsControl& control : def.Controls) {
        EXPECT_TRUE(names.insert(control.Name).second) << control.Name;
    }
    for (size_t p = 0; p < def.Pages.size(); ++p) {
        const json::Value& lists = Member(pages.Items[p], "lists");
        ASSERT_EQ(lists.Items.size(), def.Pages[p].Lists.size());
        for (size_t l = 0; l < lists.Items.size(); ++l) {
            const HoldingsList& list = def.Pages[p].Lists[l];
            EXPECT_EQ(Member(lists.Items[l], "name").Text, HoldingsListName(list));
            const json::Value& entries = Member(lists.Items[l], "entries");
            ASSERT_EQ(entries.Items.size(), list.Entries.size());
            EXPECT_EQ(entries.Items.back().Text, list.Entries.back());
            std::set<size_t> none;  // "なし", which stays owned
            for (const json::Value& index : Member(lists.Items[l], "none").Items) {
                none.insert(static_cast<size_t>(index.Int));
            }
            for (size_t e = 0; e < list.Entries.size(); ++e) {
                EXPECT_EQ(none.count(e) > 0, list.Entries[e] == "なし") << list.Key << " " << e;
            }
            if (list.Chara >= 0) {
                EXPECT_TRUE(slots.insert({list.Chara, list.Slot}).second) << list.Key;
                const auto catalogue = EquipList(list.Chara, list.Slot);
                ASSERT_EQ(list.Entries.size(), catalogue.size());
                EXPECT_EQ(list.Entries.front(), catalogue.front().Text);
                EXPECT_EQ(list.Entries.back(), catalogue.back().Text);
            } else {
                EXPECT_TRUE(kinds.insert(static_cast<int>(list.Kind)).second);
                EXPECT_EQ(static_cast<int32_t>(list.Entries.size()), HeldCount(list.Kind));
            }
            for (const std::string& name :
                 {HoldingsListName(list), HoldingsListAllName(list), HoldingsListNoneName(list),
                  HoldingsListCountName(list)}) {
                EXPECT_TRUE(names.insert(name).second) << name;
            }
        }
    }
    size_t slotCount = 0;
    for (int32_t c = 0; c < CharaCount; ++c) {
        slotCount += CharaDef(c).Slots.size();
    }
    EXPECT_EQ(slots.size(), slotCount);
    EXPECT_EQ(kinds.size(), static_cast<size_t>(kHeldKindCount));
}

// Random edits of entries (also just outside a list), of lists and of everything against
// a plain model: "なし" stays owned, the counts follow, and holdings owned whole again are
// those of a player who never recorded any.
TEST(HoldingsForm, RandomEditsCountAsAPlainModelHasThem) {
    std::mt19937 random(3001);
    const std::vector<const HoldingsList*> lists = DialogLists();
    const auto below = [&random](size_t n) {
        return std::uniform_int_distribution<size_t>(0, n - 1)(random);
    };
    const auto isNone = [](const HoldingsList& l, int32_t e) {
        return l.Chara >= 0 ? IsNoneEntry(l.Chara, l.Slot, e) : IsNoneEntry(l.Kind, e);
    };
    THoldings holdings;
    std::map<std::pair<size_t, int32_t>, bool> notOwned;  // (list, entry): absent = owned
    for (int step = 0; step < 4000; ++step) {
        const size_t l = below(lists.size());
        const HoldingsList& list = *lists[l];
        const auto size = static_cast<int32_t>(list.Entries.size());
        const bool own = below(2) == 0;
        const size_t what = below(100);
        if (what < 2) {
            holdings = HoldingsOfAll(own);
            notOwned.clear();
            for (size_t m = 0; m < lists.size() && !own; ++m) {
                for (int32_t e = 0; e < static_cast<int32_t>(lists[m]->Entries.size()); ++e) {
                    notOwned[{m, e}] = !isNone(*lists[m], e);
                }
            }
        } else if (what < 10) {
            SetListOwned(holdings, list, own);
            for (int32_t e = 0; e < size; ++e) {
                notOwned[{l, e}] = !own && !isNone(list, e);
            }
        } else {
            const auto e = static_cast<int32_t>(below(static_cast<size_t>(size) + 2)) - 1;
            SetEntryOwned(holdings, list, e, own);  // -1 and size: ignored
            if (e >= 0 && e < size) {
                notOwned[{l, e}] = !own && !isNone(list, e);
            }
        }
        int32_t total = 0;
        int32_t owned = 0;
        for (size_t m = 0; m < lists.size(); ++m) {
            const auto count = static_cast<int32_t>(lists[m]->Entries.size());
            ASSERT_FALSE(OwnsEntry(holdings, *lists[m], -1));
            ASSERT_FALSE(OwnsEntry(holdings, *lists[m], count));
            int32_t listOwned = 0;
            for (int32_t e = 0; e < count; ++e) {
                const auto it = notOwned.find({m, e});
                const bool want = it == notOwned.end() || !it->second;
                ASSERT_EQ(OwnsEntry(holdings, *lists[m], e), want) << lists[m]->Key << " " << e;
                listOwned += want ? 1 : 0;
            }
            ASSERT_EQ(OwnedCount(holdings, *lists[m]), listOwned);
            owned += listOwned;
            total += count;
        }
        ASSERT_EQ(OwnedCount(holdings), owned);
        ASSERT_EQ(EntryTotal(), total);
        ASSERT_EQ(OwnsEverything(holdings), owned == total);
    }
    for (const auto& [where, gone] : notOwned) {
        SetEntryOwned(holdings, *lists[where.first], where.second, true);
    }
    EXPECT_TRUE(OwnsEverything(holdings));
}

// Catches a window list marked by the wrong kind of holdings, a mark where everything is
// owned, and a preview that does not say an entry is not owned.
TEST(HoldingsForm, WindowListsMarkExactlyTheEntriesNotOwned) {
    std::mt19937 random(3002);
    const std::string mark = HoldingsText(HoldingsTextId::Unowned);
    const std::map<ListKind, HeldKind> kinds = {{ListKind::CharaCard, HeldKind::CharaCard},
                                                {ListKind::CaddieCard, HeldKind::CaddieCard},
                                                {ListKind::SpecialCard, HeldKind::SpecialCard},
                                                {ListKind::Caddie, HeldKind::Caddie},
                                                {ListKind::Club, HeldKind::Club}};
    TSimulator sim;
    for (int round = 0; round < 20; ++round) {
        const THoldings holdings = round == 0 ? THoldings{} : RandomHoldings(random);
        for (const ListRef list : AllLists()) {
            std::vector<std::string> texts;
            for (int32_t e = 0; e < EntryCount(sim, list); ++e) {
                texts.push_back("entry " + std::to_string(e));
            }
            const std::vector<std::string> marked = MarkedEntries(texts, holdings, list);
            ASSERT_EQ(marked.size(), texts.size());
            for (int32_t e = 0; e < static_cast<int32_t>(texts.size()); ++e) {
                const auto kind = kinds.find(list.Kind);
                const bool owned =
                    list.Kind == ListKind::Level ||
                    (list.Kind == ListKind::EquipItem
                         ? OwnsItem(holdings, list.Chara, list.Index, e)
                         : e >= HeldCount(kind->second) || OwnsHeld(holdings, kind->second, e));
                const auto at = static_cast<size_t>(e);
                ASSERT_EQ(marked[at], owned ? texts[at] : texts[at] + mark);
                ASSERT_EQ(PreviewText(PreviewResult{}, holdings, list, e),
                          owned ? "変化なし" : "未所持 (持ち物にありません)\n変化なし");
            }
        }
    }
}

TEST(HoldingsForm, FilterFindsTextsAnywhereAndAsciiInEitherCase) {
    for (const auto& [text, filter, shown] : {std::tuple{"パワー+2 S+1", "", true},
                                              {"パワー+2 S+1", "ワー", true},
                                              {"パワー+2 S+1", "s+1", true},
                                              {"パワー+2 S+1", "コン", false},
                                              {"S", "S+1", false}}) {
        EXPECT_EQ(MatchesFilter(text, filter), shown) << text << " / " << filter;
    }
}
