#pragma once

// The holdings as JSON, the one form every face, file and query reads and writes:
//   {"items": {"<page 0-9>": {"<slot key>": [list indices owned], ...}, ...},
//    "CharaCard": [...], "CaddieCard": [...], "Caddie": [...], "SpecialCard": [...],
//    "Club": [...]}
// A page, slot or list that is not named is owned whole; "なし" is owned wherever a list
// has one, listed or not. The writer names only the lists that are not owned whole, so
// the holdings of a player who recorded none are "{}".
//
// The reader is strict: an unknown page, slot or kind, an index outside its list, an
// index named twice, anything but an object of arrays of whole numbers is refused with a
// message that says where (EHoldingsError). It works over the value tree of any JSON
// reader whose values have the shape of json::Value (Type, Kind, Keys, Items,
// Integer, Int), so that the query's reader and the holdings file's reader are one.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/errors.h"
#include "simulator/holdings.h"

class EHoldingsError : public ESimError {
public:
    using ESimError::ESimError;
};

// The holdings as compact JSON.
std::string HoldingsJson(const THoldings& holdings);

namespace holdings_json {

// One list named in the JSON, as the reader met it: where it stands ("items.3.Top",
// "Caddie"), and its elements, each a whole number or not (`Whole` false).
struct NamedList {
    std::string Where;
    std::vector<int64_t> Indices;
    std::vector<bool> Whole;
};

// The texts one after the other (GCC 12 misreads chains of `"..." + std::string` under
// -Wrestrict).
template <class... Part>
std::string Cat(const Part&... parts) {
    std::string out;
    ((out += parts), ...);
    return out;
}

// Throws EHoldingsError "<where>: <reason>".
[[noreturn]] void Refuse(std::string_view where, std::string_view reason);

// The owned indices of `list` recorded in `holdings`: for a wear slot of page `chara`
// with the settings key `slotKey`, or for the kind named `kind`. Refuses an unknown slot
// or kind, an element that is no whole number, an index outside the list or one named
// twice.
void ReadSlot(THoldings& holdings, int32_t chara, std::string_view slotKey, const NamedList& list);
void ReadKind(THoldings& holdings, std::string_view kind, const NamedList& list);
// The page of an "items" key: "0" to "9" exactly, else refused.
int32_t ReadPage(std::string_view key);

template <class Value>
NamedList ListOf(const Value& value, std::string where) {
    if (value.Type != Value::Kind::Array) {
        Refuse(where, "番号の配列ではありません");
    }
    NamedList list{std::move(where), {}, {}};
    for (const Value& item : value.Items) {
        const bool whole = item.Type == Value::Kind::Number && item.Integer;
        list.Indices.push_back(whole ? item.Int : 0);
        list.Whole.push_back(whole);
    }
    return list;
}

template <class Value>
void RequireObject(const Value& value, std::string_view where) {
    if (value.Type != Value::Kind::Object) {
        Refuse(where, "オブジェクトではありません");
    }
}

}  // namespace holdings_json

// The holdings of a JSON value already read (the object above). Throws EHoldingsError.
template <class Value>
THoldings HoldingsFromJsonValue(const Value& value) {
    using namespace holdings_json;
    RequireObject(value, "持ち物");
    THoldings holdings;
    for (size_t k = 0; k < value.Keys.size(); ++k) {
        const std::string& key = value.Keys[k];
        const Value& member = value.Items[k];
        if (key != "items") {
            ReadKind(holdings, key, ListOf(member, key));
            continue;
        }
        RequireObject(member, "items");
        for (size_t p = 0; p < member.Keys.size(); ++p) {
            const int32_t chara = ReadPage(member.Keys[p]);
            const std::string page = "items." + member.Keys[p];
            const Value& slotLists = member.Items[p];
            RequireObject(slotLists, page);
            for (size_t s = 0; s < slotLists.Keys.size(); ++s) {
                ReadSlot(holdings, chara, slotLists.Keys[s],
                         ListOf(slotLists.Items[s], Cat(page, ".", slotLists.Keys[s])));
            }
        }
    }
    return holdings;
}
