#include "simulator/holdings_form.h"

#include <array>

#include "characters/cards.h"
#include "characters/catalogue.h"
#include "characters/roster.h"
#include "clubs/caddies.h"
#include "clubs/clubs.h"
#include "simulator/holdings_json.h"

namespace {

struct TextDef {
    std::string_view Key;
    std::string_view Text;
};

constexpr std::array<TextDef, kHoldingsTextCount> kTexts = {{
    {"count", "所持 {0} / {1}"},
    {"unowned", "（未所持）"},
    {"previewUnowned", "未所持 (持ち物にありません)"},
    {"noneAlways", "「なし」はいつも持っています"},
    {"listAll", "すべて"},
    {"listNone", "なし"},
    {"filterHint", "名前で絞り込み"},
    {"codeCopied", "持ち物コードをコピーしました。"},
    {"codeRead", "持ち物コードを読み込みました。「OK」で保存します。"},
    {"exported", "{0} に書き出しました。"},
    {"imported", "{0} を読み込みました。「OK」で保存します。"},
    {"importFailed", "{0} を読み込めません: {1}"},
    {"fileFilter", "持ち物 (*.json)"},
    {"exportTitle", "持ち物を書き出す"},
    {"importTitle", "持ち物を読み込む"},
}};

constexpr std::array<std::string_view, kHeldKindCount> kKindCaptions = {
    "キャラクターカード", "キャディカード", "キャディ", "スペシャルカード", "クラブ"};

std::vector<std::string> KindEntries(HeldKind kind) {
    std::vector<std::string> entries;
    for (int32_t i = 0; i < HeldCount(kind); ++i) {
        switch (kind) {
            case HeldKind::CharaCard:
                entries.emplace_back(kCardKindTexts[static_cast<size_t>(i)]);
                break;
            case HeldKind::CaddieCard:
                entries.emplace_back(kCaddieCardKindTexts[static_cast<size_t>(i)]);
                break;
            case HeldKind::Caddie:
                entries.emplace_back(Caddies()[static_cast<size_t>(i)].Name);
                break;
            case HeldKind::SpecialCard:
                entries.emplace_back(kSpecialCardTexts[static_cast<size_t>(i)]);
                break;
            case HeldKind::Club:
                entries.emplace_back(ClubSets()[static_cast<size_t>(i)].Caption);
                break;
        }
    }
    return entries;
}

HoldingsPage CharaPage(const TCharaDef& def) {
    HoldingsPage page{std::string(def.Caption), {}};
    for (const TWearSlot row : def.PageRows) {
        HoldingsList list;
        list.Chara = def.Index;
        for (size_t p = 0; p < def.Slots.size(); ++p) {
            list.Slot = def.Slots[p] == row ? static_cast<int>(p) : list.Slot;
        }
        list.Key = holdings_json::Cat(std::to_string(def.Index), ".", WearSlotKey(row));
        list.Caption = WearSlotCaption(row);
        for (const TEquipEntry& entry : EquipList(def.Index, list.Slot)) {
            list.Entries.emplace_back(entry.Text);
        }
        page.Lists.push_back(std::move(list));
    }
    return page;
}

HoldingsControl Control(HoldingsControlKind kind, std::string name, std::string caption,
                        std::string hint = {}) {
    HoldingsControl c;
    c.Kind = kind;
    c.Name = std::move(name);
    c.Caption = std::move(caption);
    c.Hint = std::move(hint);
    return c;
}

HoldingsDialogDef MakeForm() {
    using K = HoldingsControlKind;
    HoldingsDialogDef def;
    def.Title = "持ち物";
    def.Controls = {
        Control(K::Filter, "HoldingsFilter", "絞り込み",
                "名前にこの文字を含む項目だけを表示します"),
        Control(K::Button, "HoldingsAll", "すべて",
                "すべての一覧の項目をすべて持っていることにします"),
        Control(K::Button, "HoldingsNone", "なし", "すべての一覧の項目を「なし」だけにします"),
        Control(K::Count, "HoldingsCount", ""),
        Control(K::Pages, "HoldingsPages", ""),
        Control(K::Button, "HoldingsCopyCode", "コードをコピー",
                "この持ち物を短いコードにしてクリップボードにコピーします"),
        Control(K::Button, "HoldingsPasteCode", "コードを貼り付け",
                "クリップボードの持ち物コードを読み込みます"),
        Control(K::Button, "HoldingsExport", "書き出し…", "この持ち物をファイルに書き出します"),
        Control(K::Button, "HoldingsImport", "読み込み…", "ファイルから持ち物を読み込みます"),
        Control(K::Message, "HoldingsMessage", ""),
        Control(K::Button, "HoldingsOk", "OK", "変更を保存して閉じます"),
        Control(K::Button, "HoldingsCancel", "キャンセル", "変更を捨てて閉じます"),
    };
    def.Controls[def.Controls.size() - 2].Default = true;
    def.Controls[def.Controls.size() - 2].Closes = true;
    def.Controls.back().Closes = true;
    for (const TCharaDef& chara : Roster()) {
        def.Pages.push_back(CharaPage(chara));
    }
    HoldingsPage shared{"共通", {}};
    for (int k = 0; k < kHeldKindCount; ++k) {
        HoldingsList list;
        list.Kind = static_cast<HeldKind>(k);
        list.Key = HeldKindName(list.Kind);
        list.Caption = kKindCaptions[static_cast<size_t>(k)];
        list.Entries = KindEntries(list.Kind);
        shared.Lists.push_back(std::move(list));
    }
    def.Pages.push_back(std::move(shared));
    return def;
}

std::string NamePart(const HoldingsList& list) {
    std::string key = list.Key;
    for (char& c : key) {
        c = c == '.' ? '_' : c;
    }
    return key;
}

char Folded(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

const HoldingsDialogDef& HoldingsDialogForm() {
    static const HoldingsDialogDef form = MakeForm();
    return form;
}

std::string HoldingsListName(const HoldingsList& list) {
    return holdings_json::Cat("HoldingsList_", NamePart(list));
}
std::string HoldingsListAllName(const HoldingsList& list) {
    return holdings_json::Cat("HoldingsListAll_", NamePart(list));
}
std::string HoldingsListNoneName(const HoldingsList& list) {
    return holdings_json::Cat("HoldingsListNone_", NamePart(list));
}
std::string HoldingsListCountName(const HoldingsList& list) {
    return holdings_json::Cat("HoldingsListCount_", NamePart(list));
}

std::string_view HoldingsTextKey(HoldingsTextId id) {
    return kTexts[static_cast<size_t>(id)].Key;
}

std::string HoldingsText(HoldingsTextId id, const std::vector<std::string>& args) {
    std::string text(kTexts[static_cast<size_t>(id)].Text);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string mark = holdings_json::Cat("{", std::to_string(i), "}");
        if (const size_t at = text.find(mark); at != std::string::npos) {
            text.replace(at, mark.size(), args[i]);
        }
    }
    return text;
}

bool OwnsEntry(const THoldings& holdings, const HoldingsList& list, int32_t entry) {
    return list.Chara >= 0 ? OwnsItem(holdings, list.Chara, list.Slot, entry)
                           : OwnsHeld(holdings, list.Kind, entry);
}

void SetEntryOwned(THoldings& holdings, const HoldingsList& list, int32_t entry, bool owned) {
    if (list.Chara >= 0) {
        SetItemOwned(holdings, list.Chara, list.Slot, entry, owned);
    } else {
        SetHeldOwned(holdings, list.Kind, entry, owned);
    }
}

void SetListOwned(THoldings& holdings, const HoldingsList& list, bool owned) {
    for (int32_t e = 0; e < static_cast<int32_t>(list.Entries.size()); ++e) {
        SetEntryOwned(holdings, list, e, owned);
    }
}

int32_t OwnedCount(const THoldings& holdings, const HoldingsList& list) {
    int32_t count = 0;
    for (int32_t e = 0; e < static_cast<int32_t>(list.Entries.size()); ++e) {
        count += OwnsEntry(holdings, list, e) ? 1 : 0;
    }
    return count;
}

int32_t OwnedCount(const THoldings& holdings) {
    int32_t count = 0;
    for (const HoldingsPage& page : HoldingsDialogForm().Pages) {
        for (const HoldingsList& list : page.Lists) {
            count += OwnedCount(holdings, list);
        }
    }
    return count;
}

int32_t EntryTotal() {
    return OwnedCount(THoldings{});
}

THoldings HoldingsOfAll(bool owned) {
    THoldings holdings;
    if (!owned) {
        for (const HoldingsPage& page : HoldingsDialogForm().Pages) {
            for (const HoldingsList& list : page.Lists) {
                SetListOwned(holdings, list, false);
            }
        }
    }
    return holdings;
}

bool MatchesFilter(std::string_view entryText, std::string_view filter) {
    if (filter.empty()) {
        return true;
    }
    for (size_t at = 0; at + filter.size() <= entryText.size(); ++at) {
        size_t i = 0;
        while (i < filter.size() && Folded(entryText[at + i]) == Folded(filter[i])) {
            ++i;
        }
        if (i == filter.size()) {
            return true;
        }
    }
    return false;
}

bool OwnsListEntry(const THoldings& holdings, ListRef list, int32_t entry) {
    const auto held = [&](HeldKind kind) {
        return entry < 0 || entry >= HeldCount(kind) || OwnsHeld(holdings, kind, entry);
    };
    switch (list.Kind) {
        case ListKind::EquipItem:
            return entry < 0 || entry >= ItemCount(list.Chara, list.Index) ||
                   OwnsItem(holdings, list.Chara, list.Index, entry);
        case ListKind::CharaCard:
            return held(HeldKind::CharaCard);
        case ListKind::CaddieCard:
            return held(HeldKind::CaddieCard);
        case ListKind::SpecialCard:
            return held(HeldKind::SpecialCard);
        case ListKind::Caddie:
            return held(HeldKind::Caddie);
        case ListKind::Club:
            return held(HeldKind::Club);
        case ListKind::Level:
            return true;
    }
    return true;
}

std::vector<std::string> MarkedEntries(const std::vector<std::string>& texts,
                                       const THoldings& holdings, ListRef list) {
    std::vector<std::string> marked = texts;
    if (OwnsEverything(holdings)) {
        return marked;
    }
    const std::string mark = HoldingsText(HoldingsTextId::Unowned);
    for (size_t e = 0; e < marked.size(); ++e) {
        if (!OwnsListEntry(holdings, list, static_cast<int32_t>(e))) {
            marked[e] += mark;
        }
    }
    return marked;
}
