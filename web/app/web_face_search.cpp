// The page's side of the build search: what the search dialog offers, and the search of
// a query for the page's worker.

#include "json/json_writer.h"
#include "search/dialog_form.h"
#include "search/search_json.h"
#include "search/search_request.h"
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
    SearchReply reply = AnswerSearchRequest(queryJson, control);
    if (reply.Answer) {
        return std::move(*reply.Answer);
    }
    json::Writer json;
    json.BeginObject();
    json.Field("error", reply.Refusal);
    json.EndObject();
    return json.Take();
}
