#pragma once

// A query's "owned": the holdings ("持ち物") in the one JSON form every face, file and
// query uses (simulator/holdings_json.h), read by the holdings' own reader; a refusal
// names the member of the query that holds the fault ("owned.items.3.Top").

#include <string_view>

#include "json/json_reader.h"
#include "simulator/holdings.h"

// The holdings `value` describes. Throws ESearchQueryError naming `field` and the keys
// below it.
THoldings OwnedFromJsonValue(const json::Value& value, std::string_view field);
