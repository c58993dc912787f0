// The page's side of the build search: what the search dialog offers, and the search of
// a query for the page's worker.

#include "search/dialog_form.h"
#include "search/search_json.h"
#include "simulator/build_code.h"
#include "simulator/lists.h"
#include "simulator/persistence.h"
#include "web_face.h"

std::string WebFace::SearchForm() const {
    const BuildFigures now = FiguresOf(sim_);
    std::vector<int32_t> defaults;
    for (int m = 0; m < kMinimumCount; ++m) {
        defaults.push_back(m == kMinDistance ? now.Distances[0] : StatField(now.Final, m));
    }
    return SearchDialogJson(sim_.State.TabIndex, defaults);
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
