#pragma once

// The walk itself: a depth-first branch and bound over one character's stages, then its
// upgrade counts, offering every whole build that meets the conditions to the answers.

#include <functional>
#include <vector>

#include "search/solver/answer_pool.h"
#include "search/solver/bound.h"
#include "search/solver/count_pairs.h"
#include "search/solver/memos.h"
#include "search/solver/tail_sums.h"
#include "search/solver/work_sharing.h"

namespace solver {

// What was already weighed of a child, against the answers as they still stand: its kept
// sums, and the bound (met by its group, whose estimate ranks before the last answer, so
// that no tie-break on changes or list indices can leave it).
struct Weighed {
    bool Tails = false;
    bool Bound = false;
};

class Walk {
public:
    Walk(const CharaModel& m, const PlannedBuild& build, const SearchQuery& q, const Reads& reads,
         const TailCache& tails, SharedAnswers& answers, SharedWork& work, size_t chara,
         const SearchControl* control, Scratch& scratch);

    // Runs the walk; `progress` is told the share of the walk done, as the share of the
    // first two stages' branches walked.
    void Run(const std::function<void(double)>& progress);
    // Walks what another thread handed over.
    void WalkHanded(const Task& task);
    uint64_t Nodes() const { return nodes_; }

private:
    void Descend(size_t s, const Node& node, const Option& o, Weighed weighed = {});
    void Visit(size_t s, const Node& node, Weighed weighed = {});
    void VisitGroups(size_t s, const Node& node);
    void VisitOptions(size_t s, const Node& node);
    void OpenGroups(size_t s, const Node& node);
    void Counts(const Node& node);
    void Offer(const Node& node);
    void Tick() {
        if ((++nodes_ & 4095) == 0) {
            Poll();
        }
    }
    void Poll();
    std::span<const uint32_t> Children(size_t s, size_t g, bool grouped) const;

    // The kept sums of the stages after a branch (walk_tails.cpp).
    bool GroupHopeless(size_t s, const Node& node, const Tail& d,
                       std::pair<int32_t, int32_t>* estimate) const;
    bool TailEstimate(size_t s, const Node& node, std::pair<int32_t, int32_t>& estimate) const;
    bool TailsHopeless(size_t s, const Node& node);
    template <class Hopeless, class Each>
    bool ClusteredTails(size_t s, Hopeless&& hopeless, Each&& visit) const;
    static Node Through(const Node& node, const Tail& d);
    static void Add(Node& child, const Node& node, const Tail& d);

    const CharaModel& m_;
    const SearchQuery& q_;
    const Reads& reads_;
    const TailCache& cache_;
    SharedWork& work_;
    const SearchControl* control_;
    AnswerPool pool_;
    Bound bound_;
    Memos memos_;
    CountPairs pairs_;
    Handing handing_;
    Handing::Children children_;
    std::vector<std::vector<std::array<int32_t, 3>>> open_;  // per stage, reused
    std::vector<size_t> lastHope_;  // by stage: the kept sum that last found a hope
    // The progress: told after each branch of the second stage, within the root's share.
    const std::function<void(double)>* progress_ = nullptr;
    double rootFrom_ = 0;
    double rootShare_ = 1;
    void Advanced(size_t s, size_t at, size_t count) const {
        if (s == 1 && progress_ != nullptr && count > 0) {
            (*progress_)(rootFrom_ +
                         rootShare_ * static_cast<double>(at + 1) / static_cast<double>(count));
        }
    }
    uint64_t nodes_ = 0;
    // The most things not owned a build may acquire (options acquiring more are left out).
    int32_t mostAcquired_ = 0;
};

}  // namespace solver
