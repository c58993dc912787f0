#pragma once

// The holdings ("持ち物") as JSON, as a query's "owned" names them and as a holdings file
// holds them:
//   {"items": {"<page 0-9>": {"<slot key>": [list indices owned], …}, …},
//    "CharaCard": […], "CaddieCard": […], "Caddie": […], "SpecialCard": […], "Club": […]}
// A page, slot or list not named is owned whole; "なし" is owned wherever a list has it,
// named or not. Read through the strict reader of queries (search/json_reader.h).

#include <string_view>

#include "search/json_reader.h"
#include "simulator/holdings.h"

// The holdings `value` describes. Throws ESearchQueryError naming the member that cannot
// be read (`field` and the keys below it: "owned.items.3.Top"): a key that is no page,
// slot or list, a page without that slot, an entry outside its list or named twice.
THoldings HoldingsFromJsonValue(const search_json::JsonValue& value, std::string_view field);

// The holdings of a JSON text, named "owned" in messages.
THoldings HoldingsFromJson(std::string_view text);
