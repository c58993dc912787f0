#pragma once

// Queries and answers of the build search as JSON, the same for the command line and the
// page. The formats are described, with an example, in docs/search.md.

#include <optional>
#include <string>
#include <string_view>

#include "search/search.h"

struct JsonQuery {
    SearchQuery Query;
    std::optional<std::string> Build;  // "build": the current selection as a build code
};

// Reads a query. Throws ESearchQueryError whose message names the field that cannot be
// read or is out of range.
JsonQuery QueryFromJson(std::string_view text);

// The answer of a search.
std::string ResultJson(const SearchResult& result);

// The figures of a build (what `kestrel-cli show` prints).
std::string FiguresJson(const PlannedBuild& build, const BuildFigures& figures);
