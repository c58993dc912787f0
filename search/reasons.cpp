// The explanation of an empty answer, in the window's words: the faces show these lines
// as they are.

#include <array>
#include <string>
#include <vector>

#include "search/search.h"

namespace {

constexpr std::array<std::string_view, kMinimumCount> kMinimumCaptions = {
    "パワー", "コントロール", "正確度", "スピン", "カーブ", "1W飛距離"};

// "パワー 99", "1W飛距離 300y".
std::string Figure(int minimum, int32_t value) {
    return std::to_string(value) + (minimum == kMinDistance ? "y" : "");
}

// "コントロール 20 以上".
std::string Wish(const MinimumReach& reach) {
    const bool known = reach.Minimum >= 0 && reach.Minimum < kMinimumCount;
    std::string wish(known ? kMinimumCaptions[static_cast<size_t>(reach.Minimum)] : "?");
    return wish + " " + Figure(reach.Minimum, reach.Wanted) + " 以上";
}

}  // namespace

std::vector<std::string> ReasonLines(const SearchResult& result) {
    if (!result.Answers.empty() || !result.Proved) {
        return {};
    }
    if (result.Reaches.empty()) {
        return {"パワーペナルティなしと予算の条件に当てはまるビルドがありません。"};
    }
    std::string given;
    for (const MinimumReach& reach : result.Reaches) {
        if (reach.GiveUp) {
            given += (given.empty() ? "" : "と") + Wish(reach);
        }
    }
    if (given.empty()) {
        return {
            "最低値をすべてあきらめても、ほかの条件 (パワーペナルティなし・予算・"
            "変えない部位) に当てはまるビルドがありません。"};
    }
    std::vector<std::string> lines{given +
                                   "をあきらめると、ほかの条件をすべて満たすビルドがあります。"};
    for (const MinimumReach& reach : result.Reaches) {
        const std::string most = reach.Reachable ? Figure(reach.Minimum, *reach.Reachable) : "-";
        lines.push_back(Wish(reach) +
                        (reach.GiveUp ? ": あきらめる (ほかの条件を守ると最高 " + most + ")"
                                      : ": 満たせる (あきらめた条件を外すと最高 " + most + ")"));
    }
    return lines;
}
