#pragma once

// A search asked for in JSON, the same for kestrel-cli and the page: read the query,
// show its build over empty settings, search, and write the answer; or refuse with one
// message. Both faces give exactly these messages.

#include <optional>
#include <string>
#include <string_view>

#include "search/search.h"
#include "simulator/simulator.h"

struct SearchReply {
    std::optional<std::string> Answer;  // the answer as JSON (ResultJson), when searched
    std::string Refusal;                // otherwise why not, in one line
};

// The selection a build code shows when the program starts with no settings and then
// shows the code. Blanks around the code are dropped, and of a share link only the part
// after its last '#' is read. `field` names where the code came from in messages
// ("build": ...), or is empty. Throws ESimError with a message for the user.
TSimulator ShownBuild(std::string_view code, std::string_view field);

// The answer of the query `queryJson` (search/search_json.h), or its refusal: a query that
// cannot be read or names a value out of range, a missing or unreadable "build", a build
// that cannot be shown or searched.
SearchReply AnswerSearchRequest(std::string_view queryJson, const SearchControl* control);
