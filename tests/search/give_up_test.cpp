// When nothing fits, the minimums to give up and each minimum's reach, against every set
// of minimums tried on the plain enumeration (which shares no code with the search).

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "search/search.h"
#include "search/search_json.h"
#include "simulator/simulator.h"
#include "tests/search/enumeration.h"
#include "tests/support/random_selection.h"

namespace plain {

namespace {

int FigureOf(const Candidate& k, int minimum) {
    return minimum < 5 ? k.Figures.Final[minimum] : k.Figures.Distance[0];
}

// The most of `minimum`'s figure among the builds meeting every minimum asked outside
// `given` and `minimum`; none where no build does.
std::optional<int> MostOf(const std::vector<Candidate>& builds, const SearchQuery& q,
                          const std::vector<int>& given, int minimum) {
    std::optional<int> most;
    for (const Candidate& k : builds) {
        bool meets = true;
        for (int m = 0; m < kMinimumCount; ++m) {
            const bool dropped =
                m == minimum || std::find(given.begin(), given.end(), m) != given.end();
            meets = meets && (dropped || !q.Min[m] || FigureOf(k, m) >= *q.Min[m]);
        }
        if (meets && (!most || FigureOf(k, minimum) > *most)) {
            most = FigureOf(k, minimum);
        }
    }
    return most;
}

// Every set of the minimums asked, the sets in the order of their member lists.
std::vector<std::vector<int>> Subsets(const std::vector<int>& asked) {
    std::vector<std::vector<int>> sets;
    for (unsigned mask = 1; mask < (1u << asked.size()); ++mask) {
        sets.emplace_back();
        for (size_t i = 0; i < asked.size(); ++i) {
            if ((mask >> i) & 1u) {
                sets.back().push_back(asked[i]);
            }
        }
    }
    std::sort(sets.begin(), sets.end());
    return sets;
}

}  // namespace

GiveUpCase ExpectGiveUpAsEnumerated(const TSimulator& sim, const SearchQuery& q,
                                    const SearchResult& result, const std::string& what) {
    SearchQuery free = q;
    free.Min = {};
    const std::vector<Candidate> builds = Enumerate(sim, free);
    std::vector<int> asked;
    for (int m = 0; m < kMinimumCount; ++m) {
        if (q.Min[m]) {
            asked.push_back(m);
        }
    }
    GiveUpCase seen;
    EXPECT_EQ(result.Reaches.size(), asked.size()) << what;
    if (result.Reaches.size() != asked.size()) {
        return seen;
    }
    // The smallest sets that leave a build, each with its shortfall shares, largest first.
    std::vector<std::pair<std::vector<int>, std::vector<double>>> smallest;
    for (const std::vector<int>& set : Subsets(asked)) {
        if (!smallest.empty() && set.size() > smallest.front().first.size()) {
            continue;
        }
        std::vector<double> shares;
        for (const int m : set) {
            if (const std::optional<int> most = MostOf(builds, q, set, m)) {
                shares.push_back(static_cast<double>(*q.Min[m] - *most) / std::max(*q.Min[m], 1));
            }
        }
        if (shares.size() != set.size()) {
            continue;
        }
        std::sort(shares.rbegin(), shares.rend());
        if (!smallest.empty() && set.size() < smallest.front().first.size()) {
            smallest.clear();
        }
        smallest.emplace_back(set, shares);
    }
    // The chosen set: the least shares, at a tie the first set.
    std::vector<int> chosen;
    if (!smallest.empty()) {
        chosen =
            std::min_element(smallest.begin(), smallest.end(), [](const auto& a, const auto& b) {
                return a.second < b.second;
            })->first;
        seen.Size = static_cast<int>(chosen.size());
        seen.Tied = std::count_if(smallest.begin(), smallest.end(), [&](const auto& s) {
                        return s.second == smallest.front().second;
                    }) > 1;
    }
    for (size_t i = 0; i < asked.size(); ++i) {
        const MinimumReach& r = result.Reaches[i];
        const int m = asked[i];
        const std::string about = what + " minimum " + std::string(MinimumName(m));
        EXPECT_EQ(r.Minimum, m) << about;
        EXPECT_EQ(r.Wanted, *q.Min[m]) << about;
        const bool given = std::find(chosen.begin(), chosen.end(), m) != chosen.end();
        EXPECT_EQ(r.GiveUp, given) << about;
        EXPECT_EQ(r.Reachable.has_value(), !chosen.empty()) << about;
        if (!chosen.empty() && r.Reachable) {
            EXPECT_EQ(r.Reachable, MostOf(builds, q, chosen, m)) << about;
            EXPECT_EQ(*r.Reachable >= r.Wanted, !given) << about;
        }
    }
    return seen;
}

namespace {

// Several minimums near what the build shows, often a small budget: nothing fits in most.
SearchQuery ManyMinimums(std::mt19937& rng, const TSimulator& sim) {
    auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    SearchQuery q = RandomQuery(rng, sim);
    const BuildFigures now = FiguresOf(sim);
    q.Min = {};
    const int wanted = 1 + pick(kMinimumCount);
    for (int tries = 0; tries < 3 * wanted; ++tries) {
        const int m = pick(kMinimumCount);
        const int base = m < 5 ? StatField(now.Final, m) : now.Distances[0];
        q.Min[m] = std::max(0, base - 2 + pick(m < 5 ? 12 : 24));
    }
    if (pick(3) == 0) {
        // Two statuses asked alike with only the special card free: ties between sets.
        int a = pick(kStatCount);
        int b = (a + 1 + pick(kStatCount - 1)) % kStatCount;
        for (int i = 0; i < kStatCount; ++i) {
            for (int j = i + 1; j < kStatCount; ++j) {
                if (StatField(now.Final, i) == StatField(now.Final, j)) {
                    a = i;
                    b = j;
                }
            }
        }
        q.Free.fill(false);
        q.Free[kPartSpecialCard] = true;
        q.Free[kPartCaddie] = pick(2) == 0;
        q.Min = {};
        q.Min[b] = q.Min[a] = std::max(StatField(now.Final, a), StatField(now.Final, b)) + 1;
        q.NoPenalty = false;
        q.Budget.reset();
        return q;
    }
    // The penalty and the budget near what the build shows, so that minimums decide.
    q.NoPenalty = now.Penalty == 0 ? pick(2) == 0 : pick(6) == 0;
    q.Budget.reset();
    if (pick(3) == 0) {
        q.Budget = pick(8) == 0 ? 0 : std::max(0, now.PP - 5000 + pick(30000));
    }
    return q;
}

TEST(SearchGiveUp, FewestMinimumsAndTheirReachesAsEnumerated) {
    std::mt19937 rng(20261211);
    int infeasible = 0;
    int several = 0;
    int tied = 0;
    int nothing = 0;
    for (int round = 0; round < 120; ++round) {
        TSimulator sim;
        RandomSelection(rng, sim);
        if (sim.State.Club < 0 || sim.State.TabIndex < 0) {
            continue;
        }
        const SearchQuery q = ManyMinimums(rng, sim);
        const std::string what = "round " + std::to_string(round) + ": " + Describe(q);
        SearchControl control;
        control.Threads = 1 + round % 2;
        const SearchResult result = RunSearch(sim, q, &control);
        ASSERT_TRUE(result.Proved) << what;
        if (!result.Answers.empty()) {
            continue;
        }
        ++infeasible;
        const GiveUpCase seen = ExpectGiveUpAsEnumerated(sim, q, result, what);
        several += seen.Size > 1 ? 1 : 0;
        tied += seen.Tied ? 1 : 0;
        nothing += seen.Size == 0 ? 1 : 0;
    }
    // The rounds reach every kind of reason.
    EXPECT_GT(infeasible, 40);
    EXPECT_GT(several, 5);
    EXPECT_GT(tied, 2);
    EXPECT_GT(nothing, 2);
}

// The lines the faces show, for each kind of empty answer; the answer's JSON carries them.
TEST(SearchGiveUp, ReasonLinesInTheWindowsWords) {
    SearchResult result;
    result.Proved = true;
    EXPECT_EQ(ReasonLines(result),
              std::vector<std::string>{
                  "パワーペナルティなしと予算の条件に当てはまるビルドがありません。"});
    result.Reaches = {{0, 99, std::nullopt}, {1, 20, std::nullopt}};
    EXPECT_EQ(
        ReasonLines(result),
        std::vector<std::string>{"最低値をすべてあきらめても、ほかの条件 (パワーペナルティなし"
                                 "・予算・変えない部位) に当てはまるビルドがありません。"});
    result.Reaches = {{0, 99, 40, true}, {1, 20, 30, false}, {3, 9, 7, true}, {5, 300, 301}};
    const std::vector<std::string> lines = {
        "パワー 99 以上とスピン 9 以上をあきらめると、ほかの条件をすべて満たすビルドがあります。",
        "パワー 99 以上: あきらめる (ほかの条件を守ると最高 40)",
        "コントロール 20 以上: 満たせる (あきらめた条件を外すと最高 30)",
        "スピン 9 以上: あきらめる (ほかの条件を守ると最高 7)",
        "1W飛距離 300y 以上: 満たせる (あきらめた条件を外すと最高 301y)"};
    EXPECT_EQ(ReasonLines(result), lines);
    std::string json = R"("reasons": [)";
    for (const std::string& line : lines) {
        json += "\n    \"" + line + "\"" + (&line == &lines.back() ? "\n  ]" : ",");
    }
    EXPECT_NE(ResultJson(result).find(json), std::string::npos) << ResultJson(result);
    // Only a proved search without answers explains itself.
    result.Proved = false;
    EXPECT_TRUE(ReasonLines(result).empty());
    result.Proved = true;
    result.Answers.emplace_back();
    EXPECT_TRUE(ReasonLines(result).empty());
}

}  // namespace

}  // namespace plain
