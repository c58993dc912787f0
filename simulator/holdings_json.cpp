#include "simulator/holdings_json.h"
#include "json/json_writer.h"

#include <set>

#include "characters/roster.h"
#include "form/form.h"

namespace {

// A key from the text, quoted for a message and cut between two characters when long.
std::string Quoted(std::string_view key) {
    constexpr size_t kLongest = 40;
    std::string shown(key);
    if (key.size() > kLongest) {
        size_t end = kLongest;
        while (end > 0 && (static_cast<unsigned char>(key[end]) & 0xC0) == 0x80) {
            --end;
        }
        shown = holdings_json::Cat(key.substr(0, end), "…");
    }
    std::string out;
    AppendJsonString(out, shown);
    return out;
}

// The owned indices of a list of `count` entries; `set` records each one.
template <class Set>
void ReadIndices(const holdings_json::NamedList& list, int32_t count, Set&& set) {
    std::set<int64_t> seen;
    for (size_t i = 0; i < list.Indices.size(); ++i) {
        const int64_t index = list.Indices[i];
        if (!list.Whole[i]) {
            holdings_json::Refuse(
                list.Where, holdings_json::Cat(std::to_string(i + 1), " 番目が整数ではありません"));
        }
        if (index < 0 || index >= count) {
            holdings_json::Refuse(list.Where, holdings_json::Cat("番号 ", std::to_string(index),
                                                                 " は一覧にありません (0〜",
                                                                 std::to_string(count - 1), ")"));
        }
        if (!seen.insert(index).second) {
            holdings_json::Refuse(list.Where, holdings_json::Cat("番号 ", std::to_string(index),
                                                                 " が2回書かれています"));
        }
    }
    for (int32_t entry = 0; entry < count; ++entry) {
        set(entry, seen.count(entry) > 0);
    }
}

void WriteOwned(std::string& out, int32_t count, const std::vector<bool>& notOwned) {
    out += '[';
    bool first = true;
    for (int32_t entry = 0; entry < count; ++entry) {
        if (!notOwned[static_cast<size_t>(entry)]) {
            out += first ? "" : ",";
            out += std::to_string(entry);
            first = false;
        }
    }
    out += ']';
}

}  // namespace

namespace holdings_json {

void Refuse(std::string_view where, std::string_view reason) {
    throw EHoldingsError(Cat(where, ": ", reason));
}

int32_t ReadPage(std::string_view key) {
    if (key.size() != 1 || key[0] < '0' || key[0] >= '0' + CharaCount) {
        Refuse("items", Cat(Quoted(key), " はページの番号 (\"0\"〜\"",
                            std::to_string(CharaCount - 1), "\") ではありません"));
    }
    return key[0] - '0';
}

void ReadSlot(THoldings& holdings, int32_t chara, std::string_view slotKey, const NamedList& list) {
    const TCharaDef& def = CharaDef(chara);
    for (size_t p = 0; p < def.Slots.size(); ++p) {
        if (WearSlotKey(def.Slots[p]) == slotKey) {
            const int slot = static_cast<int>(p);
            ReadIndices(list, ItemCount(chara, slot), [&](int32_t entry, bool owned) {
                SetItemOwned(holdings, chara, slot, entry, owned);
            });
            return;
        }
    }
    Refuse(Cat("items.", std::to_string(chara)),
           Cat(Quoted(slotKey), " は", def.Caption, "の装備欄ではありません"));
}

void ReadKind(THoldings& holdings, std::string_view kind, const NamedList& list) {
    for (int k = 0; k < kHeldKindCount; ++k) {
        const auto held = static_cast<HeldKind>(k);
        if (HeldKindName(held) == kind) {
            ReadIndices(list, HeldCount(held), [&](int32_t entry, bool owned) {
                SetHeldOwned(holdings, held, entry, owned);
            });
            return;
        }
    }
    Refuse("持ち物", Cat(Quoted(kind), " は持ち物の項目ではありません"));
}

}  // namespace holdings_json

std::string HoldingsJson(const THoldings& holdings) {
    std::string out = "{";
    bool firstPage = true;
    for (int32_t chara = 0; chara < CharaCount; ++chara) {
        const TCharaDef& def = CharaDef(chara);
        bool firstSlot = true;
        for (size_t p = 0; p < def.Slots.size(); ++p) {
            const std::vector<bool>& notOwned = holdings.ItemsNotOwned[chara][p];
            if (notOwned.empty()) {
                continue;
            }
            if (firstSlot) {
                out += firstPage ? "\"items\":{" : ",";
                AppendJsonString(out, std::to_string(chara));
                out += ":{";
                firstPage = false;
            }
            out += firstSlot ? "" : ",";
            AppendJsonString(out, WearSlotKey(def.Slots[p]));
            out += ':';
            WriteOwned(out, ItemCount(chara, static_cast<int>(p)), notOwned);
            firstSlot = false;
        }
        out += firstSlot ? "" : "}";
    }
    out += firstPage ? "" : "}";
    for (int k = 0; k < kHeldKindCount; ++k) {
        const std::vector<bool>& notOwned = holdings.NotOwned[static_cast<size_t>(k)];
        if (notOwned.empty()) {
            continue;
        }
        out += out.size() > 1 ? "," : "";
        AppendJsonString(out, HeldKindName(static_cast<HeldKind>(k)));
        out += ':';
        WriteOwned(out, HeldCount(static_cast<HeldKind>(k)), notOwned);
    }
    out += '}';
    return out;
}
