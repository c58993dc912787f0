#include "search/search_request.h"

#include "search/search_json.h"
#include "settings/settings_store.h"
#include "simulator/build_code.h"
#include "simulator/persistence.h"

namespace {

// The code of a text: blanks around it dropped, and of a share link the part after its
// last '#'.
std::string_view CodeOf(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const size_t hash = text.rfind('#');
    if (hash != std::string_view::npos) {
        text.remove_prefix(hash + 1);
    }
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

}  // namespace

TSimulator ShownBuild(std::string_view code, std::string_view field) {
    std::string prefix;
    if (!field.empty()) {
        prefix.append("\"").append(field).append("\": ");
    }
    PlannedBuild build;
    try {
        build = DecodeBuild(CodeOf(code));
    } catch (const EBuildCodeError& error) {
        // The decoder's messages speak of a share link; here the code is given directly.
        const std::string_view what = error.what();
        throw ESimError(prefix + (what == kBuildCodeUnknownVersion
                                      ? "ビルドコードはこの版では読めません"
                                      : "ビルドコードが壊れています"));
    }
    TSimulator sim;
    MemoryStore empty("search");
    try {
        FormCreate(sim, empty);
        ShowBuild(sim, build);
    } catch (const ESimError& error) {
        throw ESimError(prefix + "このビルドは表示できません: " + error.what());
    }
    return sim;
}

SearchReply AnswerSearchRequest(std::string_view queryJson, const SearchControl* control) {
    try {
        const JsonQuery query = QueryFromJson(queryJson);
        if (!query.Build) {
            throw ESearchQueryError("\"build\": 探索するビルドのコードを指定してください");
        }
        const TSimulator sim = ShownBuild(*query.Build, "build");
        return {ResultJson(RunSearch(sim, query.Query, control)), {}};
    } catch (const ESimError& error) {
        return {std::nullopt, error.what()};
    }
}
