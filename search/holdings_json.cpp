#include "search/holdings_json.h"

#include <optional>
#include <string>
#include <vector>

#include "characters/roster.h"
#include "search/search.h"

namespace {

using search_json::FieldError;
using search_json::JsonValue;
using search_json::ShownName;

// The entries a list names, as flags by index: each an integer of the list, once.
std::vector<bool> Listed(const JsonValue& value, int32_t count, const std::string& field) {
    const std::string refusal =
        "0 から " + std::to_string(count - 1) + " の整数 (持っている番号) の配列を指定してください";
    if (value.Type != JsonValue::Kind::Array) {
        FieldError(field, refusal);
    }
    std::vector<bool> listed(static_cast<size_t>(count), false);
    for (const JsonValue& item : value.Items) {
        if (item.Type != JsonValue::Kind::Number || !item.Integer || item.Int < 0 ||
            item.Int >= count) {
            FieldError(field, refusal);
        }
        if (listed[static_cast<size_t>(item.Int)]) {
            FieldError(field, std::to_string(item.Int) + " が 2 回書かれています");
        }
        listed[static_cast<size_t>(item.Int)] = true;
    }
    return listed;
}

// The page `chara`'s slot lists: {"<slot key>": [...], ...}.
void ReadPage(const JsonValue& value, int32_t chara, const std::string& field, THoldings& h) {
    if (value.Type != JsonValue::Kind::Object) {
        FieldError(field, "部位の名前 (\"Top\" など) ごとの配列のオブジェクトを指定してください");
    }
    for (size_t i = 0; i < value.Keys.size(); ++i) {
        const std::string& key = value.Keys[i];
        const std::string slotField = field + "." + key;
        const int part = SearchPartByName(key);
        if (part < 0 || part >= kWearPartCount) {
            FieldError(slotField, "装備の部位 " + ShownName(key) + " はありません");
        }
        const std::optional<int> position = SlotPosition(chara, static_cast<TWearSlot>(part));
        if (!position) {
            FieldError(slotField, "このキャラにこの部位はありません");
        }
        const std::vector<bool> listed =
            Listed(value.Items[i], ItemCount(chara, *position), slotField);
        for (size_t e = 0; e < listed.size(); ++e) {
            SetItemOwned(h, chara, *position, static_cast<int32_t>(e), listed[e]);
        }
    }
}

// {"<page 0-9>": {...}, ...}.
void ReadItems(const JsonValue& value, const std::string& field, THoldings& h) {
    if (value.Type != JsonValue::Kind::Object) {
        FieldError(field, "キャラのページ (\"0\" から \"9\") ごとのオブジェクトを指定してください");
    }
    for (size_t i = 0; i < value.Keys.size(); ++i) {
        const std::string& key = value.Keys[i];
        if (key.size() != 1 || key[0] < '0' || key[0] - '0' >= CharaCount) {
            FieldError(field + "." + key, "キャラのページは \"0\" から \"9\" で指定してください");
        }
        ReadPage(value.Items[i], key[0] - '0', field + "." + key, h);
    }
}

}  // namespace

THoldings HoldingsFromJsonValue(const JsonValue& value, std::string_view field) {
    const std::string name(field);
    if (value.Type != JsonValue::Kind::Object) {
        FieldError(
            name,
            "持ち物のオブジェクト ({\"items\": {...}, \"Caddie\": [...]} など) を指定してください");
    }
    THoldings h;
    for (size_t i = 0; i < value.Keys.size(); ++i) {
        const std::string& key = value.Keys[i];
        const std::string member = name + "." + key;
        if (key == "items") {
            ReadItems(value.Items[i], member, h);
            continue;
        }
        int k = 0;
        while (k < kHeldKindCount && HeldKindName(static_cast<HeldKind>(k)) != key) {
            ++k;
        }
        if (k == kHeldKindCount) {
            FieldError(member, "この項目はありません");
        }
        const auto kind = static_cast<HeldKind>(k);
        const std::vector<bool> listed = Listed(value.Items[i], HeldCount(kind), member);
        for (size_t e = 0; e < listed.size(); ++e) {
            SetHeldOwned(h, kind, static_cast<int32_t>(e), listed[e]);
        }
    }
    return h;
}

THoldings HoldingsFromJson(std::string_view text) {
    return HoldingsFromJsonValue(search_json::Parser(text).Document(), "owned");
}
