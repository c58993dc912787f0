// The build search over goals drawn at random (bench/random_goals.h): by default 300 goals
// of seed 1, each searched once from its own selection with every part free. Per goal
// the wall time, the nodes and the peak memory so far; then the median, the 95th percentile and the
// slowest, each with its nodes and goal, the goals unfinished within the cap
// (KESTREL_SEARCH_CAP_MS, default 5000 ms: cancelled there) and the process's peak memory.
//
// --holdings searches the same goals each within random holdings of its own (a third to
// two thirds of each list owned, a random limit on what an answer acquires, now and then
// answers told apart by what they acquire: random_goals::GoalsWithinHoldings).
//
// The search uses a thread for each core unless --threads says otherwise. --emit prints
// the goals as a JSON array, one per line, and searches nothing: the page's benchmark
// (web/bench/search_bench.mjs) and bench_search read such a file.
//
// --goal=N (repeatable) searches only goal N of the drawn ones, to look at one closely.
//
//   bench_search_random [--goals=N] [--seed=N] [--threads=N] [--holdings] [--emit] [--goal=N]

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/random_goals.h"
#include "search/search_json.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Row {
    double Ms = 0;
    uint64_t Nodes = 0;
    size_t Goal = 0;
};

long PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

void PrintRow(const char* what, const Row& row, const std::vector<std::string>& goals) {
    std::printf("%-16s %10.2f ms %12llu nodes  #%zu %s\n", what, row.Ms,
                static_cast<unsigned long long>(row.Nodes), row.Goal, goals[row.Goal].c_str());
}

}  // namespace

int main(int argc, char** argv) {
    int count = 300;
    unsigned seed = 1;
    int threads = 0;
    bool emit = false;
    bool holdings = false;
    std::vector<size_t> only;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--goals=", 0) == 0) {
            count = std::max(1, std::atoi(arg.c_str() + 8));
        } else if (arg.rfind("--seed=", 0) == 0) {
            seed = static_cast<unsigned>(std::strtoul(arg.c_str() + 7, nullptr, 10));
        } else if (arg.rfind("--threads=", 0) == 0) {
            threads = std::max(0, std::atoi(arg.c_str() + 10));
        } else if (arg.rfind("--goal=", 0) == 0) {
            only.push_back(std::strtoul(arg.c_str() + 7, nullptr, 10));
        } else if (arg == "--emit") {
            emit = true;
        } else if (arg == "--holdings") {
            holdings = true;
        }  // Google Benchmark's options, as ./dev bench passes them, are ignored
    }
    const std::vector<std::string> goals = holdings ? random_goals::GoalsWithinHoldings(seed, count)
                                                    : random_goals::Goals(seed, count);
    if (emit) {
        for (size_t g = 0; g < goals.size(); ++g) {
            std::printf("%s%s%s\n", g == 0 ? "[" : " ", goals[g].c_str(),
                        g + 1 < goals.size() ? "," : "]");
        }
        return 0;
    }
    const char* capText = std::getenv("KESTREL_SEARCH_CAP_MS");
    const double capMs = capText != nullptr ? std::atof(capText) : 5000.0;

    std::vector<Row> finished;
    std::vector<size_t> unfinished;
    for (size_t g = 0; g < goals.size(); ++g) {
        if (!only.empty() && std::find(only.begin(), only.end(), g) == only.end()) {
            continue;
        }
        const JsonQuery query = QueryFromJson(goals[g]);
        TSimulator sim;
        ShowBuild(sim, DecodeBuild(*query.Build));
        const auto start = Clock::now();
        SearchControl control;
        control.Threads = threads;
        control.Cancelled = [&] {
            return std::chrono::duration<double, std::milli>(Clock::now() - start).count() > capMs;
        };
        const SearchResult result = RunSearch(sim, query.Query, &control);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        // The process's peak so far: a goal that raises it shows what it took.
        std::printf("#%-4zu %10s %12llu %6ld MB  %s\n", g,
                    result.Cancelled ? "unfinished" : std::to_string(ms).c_str(),
                    static_cast<unsigned long long>(result.Nodes), PeakMegabytes(),
                    goals[g].c_str());
        std::fflush(stdout);
        if (result.Cancelled) {
            unfinished.push_back(g);
        } else {
            finished.push_back({ms, result.Nodes, g});
        }
    }
    const size_t searched = finished.size() + unfinished.size();
    std::sort(finished.begin(), finished.end(),
              [](const Row& a, const Row& b) { return a.Ms < b.Ms; });
    std::printf("\ngoals %zu (seed %u), finished %zu, unfinished after %.0f ms: %zu\n", searched,
                seed, finished.size(), capMs, unfinished.size());
    if (!finished.empty()) {
        // Unfinished goals count as slower than every finished one.
        const auto at = [&](double share) -> const Row* {
            const auto k = static_cast<size_t>(share * static_cast<double>(searched - 1));
            return k < finished.size() ? &finished[k] : nullptr;
        };
        for (const auto& [what, share] :
             {std::pair{"median", 0.5}, std::pair{"95th percentile", 0.95}}) {
            if (const Row* row = at(share)) {
                PrintRow(what, *row, goals);
            } else {
                std::printf("%-16s unfinished\n", what);
            }
        }
        PrintRow("slowest finished", finished.back(), goals);
    }
    std::printf("peak memory of the process: %ld MB\n", PeakMegabytes());
    return 0;
}
