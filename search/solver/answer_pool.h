#pragma once

// The answers of one solve: the best builds of distinct figures (or of distinct things
// acquired) found so far, ranked, shared by every thread. Each thread bounds its walk by a copy,
// taken again whenever another thread has changed them.

#include <atomic>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "search/search_model.h"

namespace solver {

struct SharedAnswers {
    std::mutex Lock;
    std::vector<FoundBuild> Answers;   // under Lock
    std::atomic<uint64_t> Version{0};  // raised with every change of Answers
    // Told the answers now and then from the calling thread (Caller), when they changed
    // since the version last told (Told, the calling thread's alone).
    const SearchModel::FoundSoFar* Found = nullptr;
    std::thread::id Caller;
    uint64_t Told = 0;
    const FoundBuild* Floor = nullptr;  // builds ranking after it are left
    std::optional<Ceiling> Top;         // what no build passes
    // Only the best value is asked for: a branch that at best ties the last answer's
    // value is left, however it would rank among the builds of that value.
    bool ValueOnly = false;
};

class AnswerPool {
public:
    // `named`: builds that acquire the same things are one answer, else builds with the
    // same figures.
    AnswerPool(SharedAnswers& shared, int32_t results, bool named = false);

    // The last of the answers once there are as many as asked for; else the floor, if any:
    // the bar every branch must reach.
    const FoundBuild* Last() const {
        return copy_.size() >= static_cast<size_t>(results_) ? &copy_.back() : shared_.Floor;
    }
    const std::optional<Ceiling>& Top() const { return shared_.Top; }
    bool ValueOnly() const { return shared_.ValueOnly; }
    // How often this thread's copy changed: a test against the answers as they stood
    // still holds while it is the same.
    uint64_t Changes() const { return changes_; }

    // Takes the answers again where another thread changed them.
    void Refresh() {
        if (shared_.Version.load(std::memory_order_acquire) != version_) {
            Pull();
        }
    }
    // A build that meets every condition: kept where it ranks among the answers.
    void Offer(const FoundBuild& b);
    // Tells the face the answers where they changed, on the calling thread only.
    void Report();

private:
    bool Enters(const std::vector<FoundBuild>& answers, const FoundBuild& b) const;
    bool Same(const FoundBuild& a, const FoundBuild& b) const {
        return named_ ? a.Acquired == b.Acquired : a.Figures == b.Figures;
    }
    void Pull();

    SharedAnswers& shared_;
    int32_t results_;
    bool named_;
    std::vector<FoundBuild> copy_;
    uint64_t version_ = 0;  // the answers' version the copy was taken at
    uint64_t changes_ = 0;
};

}  // namespace solver
