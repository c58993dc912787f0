// The page's side of the build search: what the search dialog offers, and the search of
// a query for the page's worker.

#include "characters/roster.h"
#include "search/query_limits.h"
#include "search/search_json.h"
#include "simulator/build_code.h"
#include "simulator/lists.h"
#include "simulator/persistence.h"
#include "web_face.h"

std::string WebFace::SearchForm() const {
    const int32_t page = sim_.State.TabIndex;
    std::string out = "{\"shown\":" + std::to_string(page >= 0 && page < CharaCount ? page : -1) +
                      ",\"characters\":[";
    for (const TCharaDef& def : Roster()) {
        if (def.Index > 0) {
            out += ',';
        }
        out += "{\"caption\":";
        AppendJsonString(out, def.Caption);
        out += ",\"rows\":[";
        for (size_t r = 0; r < def.PageRows.size(); ++r) {
            out += r > 0 ? ",[" : "[";
            AppendJsonString(out, WearSlotKey(def.PageRows[r]));
            out += ',';
            AppendJsonString(out, WearSlotCaption(def.PageRows[r]));
            out += ']';
        }
        out += "]}";
    }
    out += "],\"limits\":{";
    const auto limit = [&out](const std::string& field, const QueryLimit& range) {
        AppendJsonString(out, field);
        out += ":{\"low\":" + std::to_string(range.Low) +
               ",\"high\":" + std::to_string(range.High) + ",\"refusal\":";
        AppendJsonString(out, QueryRefusal(field, range));
        out += "},";
    };
    for (int m = 0; m < kMinimumCount; ++m) {
        limit("min." + std::string(MinimumName(m)), kMinimumLimit);
    }
    limit("budget", kBudgetLimit);
    limit("results", kResultsLimit);
    out.back() = '}';
    out += '}';
    return out;
}

std::string SearchAnswerJson(std::string_view queryJson, const SearchControl* control) {
    try {
        const JsonQuery read = QueryFromJson(queryJson);
        if (!read.Build) {
            throw ESearchQueryError("build: ビルドコードがありません");
        }
        // The build over empty settings, as the program's first load shows it.
        TSimulator sim;
        MemoryStore empty("search");
        FormCreate(sim, empty);
        ShowBuild(sim, DecodeBuild(*read.Build));
        return ResultJson(RunSearch(sim, read.Query, control));
    } catch (const ESimError& error) {
        std::string out = "{\"error\":";
        AppendJsonString(out, error.what());
        out += '}';
        return out;
    }
}
