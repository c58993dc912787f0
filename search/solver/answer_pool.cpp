#include "search/solver/answer_pool.h"

#include <algorithm>

#include "search/solver/ranking.h"

namespace solver {

AnswerPool::AnswerPool(SharedAnswers& shared, int32_t results, bool named)
    : shared_(shared), results_(results), named_(named) {
    Pull();
}

// The answers only get better, so a build that would not enter this thread's copy of them
// would not enter them as they stand either.
void AnswerPool::Offer(const FoundBuild& b) {
    if (!Enters(copy_, b)) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(shared_.Lock);
        if (Enters(shared_.Answers, b)) {
            auto& answers = shared_.Answers;
            std::erase_if(answers, [&](const FoundBuild& f) { return Same(f, b); });
            answers.insert(std::upper_bound(answers.begin(), answers.end(), b, RanksBefore), b);
            if (answers.size() > static_cast<size_t>(results_)) {
                answers.pop_back();
            }
            shared_.Version.fetch_add(1, std::memory_order_release);
        }
    }
    Pull();
}

// Whether `b` is among the best builds of distinct figures (or things acquired) once
// added to `answers`: it ranks before the one alike there, if any, and before the last
// unless there is room.
bool AnswerPool::Enters(const std::vector<FoundBuild>& answers, const FoundBuild& b) const {
    if (shared_.Floor != nullptr && RanksBefore(*shared_.Floor, b)) {
        return false;  // past the floor: no answer of this walk
    }
    for (const FoundBuild& f : answers) {
        if (Same(f, b)) {
            return RanksBefore(b, f);
        }
    }
    return std::upper_bound(answers.begin(), answers.end(), b, RanksBefore) - answers.begin() <
           results_;
}

void AnswerPool::Pull() {
    std::lock_guard<std::mutex> lock(shared_.Lock);
    copy_ = shared_.Answers;
    version_ = shared_.Version.load(std::memory_order_relaxed);
    ++changes_;
}

void AnswerPool::Report() {
    if (shared_.Found == nullptr || std::this_thread::get_id() != shared_.Caller ||
        shared_.Version.load(std::memory_order_acquire) == shared_.Told) {
        return;
    }
    std::vector<FoundBuild> answers;
    {
        std::lock_guard<std::mutex> lock(shared_.Lock);
        answers = shared_.Answers;
        shared_.Told = shared_.Version.load(std::memory_order_relaxed);
    }
    (*shared_.Found)(answers);
}

}  // namespace solver
