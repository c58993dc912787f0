// The progress a face shows while a search runs: it never goes back, it moves in small
// steps through the walks and the curve rather than in a few large jumps, and it ends at
// the whole only when the search has ended. What a search makes per character before its
// walks is made on several threads: each once, and a failure reported as on one thread.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

#include "search/search.h"
#include "search/solver/work_sharing.h"
#include "simulator/simulator.h"

namespace {

TEST(SearchProgress, RisesInSmallStepsAndNeverGoesBack) {
    TSimulator sim;
    ShowBuild(sim, PlannedBuild{});
    struct Goal {
        SearchObjective Objective;
        int Results;
        std::optional<int32_t> Budget;
    };
    for (const Goal goal :
         {Goal{SearchObjective::Exa, 1, 60000}, Goal{SearchObjective::Spin, 5, {}},
          Goal{SearchObjective::Distance, 1, {}}}) {
        SearchQuery q;
        q.Character = 0;
        q.Objective = goal.Objective;
        q.Results = goal.Results;
        q.Budget = goal.Budget;
        q.Min[4] = 8;
        std::vector<double> told;
        SearchControl control;
        control.Threads = 2;
        control.Progress = [&told](double done) { told.push_back(done); };
        const SearchResult result = RunSearch(sim, q, &control);
        ASSERT_TRUE(result.Proved);
        ASSERT_FALSE(told.empty());
        EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
        EXPECT_GE(told.front(), 0.0);
        EXPECT_EQ(told.back(), 1.0);
        EXPECT_EQ(std::count(told.begin(), told.end(), 1.0), 1);
        // Steps: many, and most of them small.
        ASSERT_GT(told.size(), 50u);
        std::vector<double> steps;
        for (size_t k = 1; k < told.size(); ++k) {
            steps.push_back(told[k] - told[k - 1]);
        }
        std::sort(steps.begin(), steps.end());
        EXPECT_LT(steps[steps.size() * 9 / 10], 0.02)
            << "objective " << static_cast<int>(goal.Objective);
    }
}

TEST(SearchThreads, EachJobRunsOnceAndTheFirstFailureIsThrown) {
    for (const size_t threads : {size_t{1}, size_t{2}, size_t{5}}) {
        for (const size_t count : {size_t{0}, size_t{1}, size_t{10}}) {
            std::vector<std::atomic<int>> runs(count);
            solver::EachOnThreads(count, threads, [&](size_t k) { ++runs[k]; });
            EXPECT_TRUE(std::all_of(runs.begin(), runs.end(), [](const auto& r) { return r == 1; }))
                << threads << " threads, " << count << " jobs";
        }
        // Jobs 3 and 7 fail: every job still runs, and job 3's failure is the one thrown.
        std::atomic<int> ran{0};
        try {
            solver::EachOnThreads(10, threads, [&](size_t k) {
                ++ran;
                if (k == 3 || k == 7) {
                    throw std::runtime_error(std::to_string(k));
                }
            });
            ADD_FAILURE() << "no failure thrown";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "3");
        }
        EXPECT_EQ(ran, 10);
    }
}

}  // namespace
