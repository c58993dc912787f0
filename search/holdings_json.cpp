#include "search/holdings_json.h"

#include <string>

#include "search/search.h"
#include "simulator/holdings_json.h"

THoldings OwnedFromJsonValue(const json::Value& value, std::string_view field) {
    try {
        return HoldingsFromJsonValue(value);
    } catch (const EHoldingsError& error) {
        // The holdings' reader says "<where>: <reason>", where "持ち物" is the whole.
        const std::string message = error.what();
        const size_t colon = message.find(": ");
        std::string where(field);
        std::string reason = message;
        if (colon != std::string::npos) {
            const std::string inside = message.substr(0, colon);
            where += inside == "持ち物" ? "" : "." + inside;
            reason = message.substr(colon + 2);
        }
        throw ESearchQueryError("\"" + where + "\": " + reason);
    }
}
