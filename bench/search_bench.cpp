// The build search over a fixed set of queries (bench/search-queries.json, one query
// object per line: twenty for each of the ten characters and for "any", every objective,
// with and without minimums and budget, all parts free), from the representative
// selection, or from a query's own "build" where it has one. Each query runs `runs` times; the
// report gives every query's median wall time and the nodes its walk visited, then the median and
// the slowest over the set.
//
// A query still running after the cap (KESTREL_SEARCH_CAP_MS, default 2000 ms) is
// cancelled and reported as unfinished, so that the run ends in bounded time.
//
// The search uses a thread for each core unless --threads says otherwise.
//
//   bench_search [--runs=N] [--threads=N] [queries.json]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench/representative_selection.h"
#include "search/search.h"
#include "search/search_json.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : (n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 3;
    int threads = 0;
    std::string path = KESTREL_SOURCE_DIR "/bench/search-queries.json";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--runs=", 0) == 0) {
            runs = std::max(1, std::atoi(arg.c_str() + 7));
        } else if (arg.rfind("--threads=", 0) == 0) {
            threads = std::max(0, std::atoi(arg.c_str() + 10));
        } else if (arg.rfind("--", 0) != 0) {
            path = arg;
        }  // Google Benchmark's options, as ./dev bench passes them, are ignored
    }
    const char* capText = std::getenv("KESTREL_SEARCH_CAP_MS");
    const double capMs = capText != nullptr ? std::atof(capText) : 2000.0;

    TSimulator sim = RepresentativeSelection();
    ClubChange(sim);

    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (const size_t brace = line.find('{'); brace != std::string::npos) {
            const size_t end = line.rfind('}');
            lines.push_back(line.substr(brace, end - brace + 1));
        }
    }
    if (lines.empty()) {
        std::fprintf(stderr, "no queries in %s\n", path.c_str());
        return 2;
    }

    std::vector<double> medians;
    double slowest = 0;
    std::string slowestQuery;
    int unfinished = 0;
    std::printf("%-70s %10s %12s\n", "query", "median_ms", "nodes");
    for (const std::string& text : lines) {
        const JsonQuery json = QueryFromJson(text);
        const SearchQuery& query = json.Query;
        // A query with a "build" of its own (bench_search_random --emit) starts from it.
        TSimulator own;
        if (json.Build) {
            ShowBuild(own, DecodeBuild(*json.Build));
        }
        const TSimulator& from = json.Build ? own : sim;
        std::vector<double> times;
        uint64_t nodes = 0;
        bool cancelled = false;
        for (int r = 0; r < runs && !cancelled; ++r) {
            const auto start = Clock::now();
            SearchControl control;
            control.Threads = threads;
            control.Cancelled = [&] {
                return std::chrono::duration<double, std::milli>(Clock::now() - start).count() >
                       capMs;
            };
            const SearchResult result = RunSearch(from, query, &control);
            times.push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            nodes = result.Nodes;
            cancelled = result.Cancelled;
        }
        const double median = Median(times);
        if (cancelled) {
            ++unfinished;
            std::printf("%-70s %10s %12llu\n", text.c_str(), "unfinished",
                        static_cast<unsigned long long>(nodes));
            continue;
        }
        medians.push_back(median);
        if (median > slowest) {
            slowest = median;
            slowestQuery = text;
        }
        std::printf("%-70s %10.2f %12llu\n", text.c_str(), median,
                    static_cast<unsigned long long>(nodes));
    }
    std::printf("\nqueries %zu, finished %zu, unfinished after %.0f ms: %d\n", lines.size(),
                medians.size(), capMs, unfinished);
    std::printf("median over finished queries: %.2f ms; slowest finished: %.2f ms (%s)\n",
                Median(medians), slowest, slowestQuery.c_str());
    return 0;
}
