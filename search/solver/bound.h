#pragma once

// The bounds: whether any build below a branch can still meet the conditions and rank
// among the answers. Each kind of bound overestimates what the builds below can reach
// (or underestimates what they need), so a branch it leaves holds no answer.

#include <optional>
#include <utility>
#include <vector>

#include "search/solver/answer_pool.h"
#include "search/solver/memo.h"
#include "search/solver/query_reads.h"

namespace solver {

class Bound {
public:
    // `scratch` keeps the prices the bound asks for every walk of its thread.
    Bound(const CharaModel& m, const SearchQuery& q, const Reads& reads, const AnswerPool& pool,
          Scratch& scratch);

    // True when no build below `node` (stages s.. still open) can meet the conditions or
    // rank before what is already kept. `estimate`, where given, is told the best value
    // and the least PP the bound sees.
    bool Hopeless(size_t s, const Node& node,
                  std::pair<int32_t, int32_t>* estimate = nullptr) const;

    // Whether an estimate Hopeless gave ranks before the last answer in value or PP, where
    // no tie-break on changes or list indices can leave the branch: a branch alike in all
    // Hopeless reads but those then needs no second test against the same answers.
    bool EstimateBeforeLast(int32_t best, int32_t ppLow) const;

    // Once the answers are full, for an objective of one status or the sum: the most a
    // child of `node` through any group of stage s can reach beyond what the group adds
    // to the objective. None where no such bound holds.
    std::optional<int64_t> ScoreRoom(size_t s, const Node& node) const;

    // The most PP a build below a branch may cost and still rank among the answers; none
    // where only a budget would say, and there is none.
    std::optional<int32_t> Spend() const;

private:
    // What the builds below a branch reach: each status at least (Lo) and at most (Hi,
    // before upgrades), what its open counts can still add (Cu: the character's, within
    // the room its limit leaves; Spin: all it can ever take; Cv: the club set's), the
    // ring and caddie card yards and the power-shot yards at most.
    // Left uninitialised: SpanOf sets every member (zeroing it first cost more than the
    // rest of SpanOf, which runs at every bound).
    struct Span {
        Five Lo, Hi, Cu, Cv, Spin;
        int32_t RingYard;
        int32_t Py;
    };
    Span SpanOf(size_t s, const Node& node) const;
    Five Needs(const Span& span, int32_t excessLo, const FoundBuild* last) const;
    bool Affords(size_t s, const Node& node, Span& span, const Five& need, int32_t& ppLow) const;
    bool BeyondLimits(size_t s, const Node& node, const Span& span, const Five& need,
                      unsigned set) const;
    int64_t SetCost(size_t s, const Node& node, const Span& span, const Five& need,
                    const Five& short_, unsigned set) const;
    std::optional<int32_t> BestValue(size_t s, const Node& node, const Span& span, int32_t excessLo,
                                     int32_t& ppLow) const;
    void WithinTop(int32_t& best, int32_t& ppLow) const;
    bool RanksAfter(size_t s, const Node& node, const Span& span, int32_t excessLo, int32_t best,
                    int32_t ppLow, const FoundBuild& last) const;

    std::pair<int32_t, int32_t> SumBound(size_t s, const Node& node, const Five& cu,
                                         const Five& spin, const Five& cv, int32_t powHi,
                                         int32_t bar) const;
    int32_t ChangesNeeded(size_t s, const Node& node, const Five& cu, const Five& cv,
                          int32_t excessLo, int32_t bar, int32_t ppBar, int32_t most) const;
    std::array<int32_t, kGainDims> Targets(int32_t excessLo, int32_t bar) const;
    int32_t SharedChanges(const Node& node, const Gains& g, const Five& cu, const Five& cv,
                          const Five& kept, const std::array<int32_t, kGainDims>& target,
                          int32_t stages, int32_t money, int32_t below) const;
    int32_t CountChanges(const Node& node, const Five& cu, const Five& cv, const Five& units,
                         int32_t money) const;
    bool LexAfter(const Node& node, const BuildFields& fields) const;

    // Units::Cheapest and Units::Most, remembered: the walk asks them of few distinct
    // counts many times.
    template <class Answer>
    int64_t Remember(std::vector<Remembered>& table, const upgrade_prices::Units& units,
                     int64_t arg, Answer&& answer) const;
    int64_t Cheapest(const upgrade_prices::Units& units, int64_t n) const;
    int64_t Most(const upgrade_prices::Units& units, int64_t money) const;

    const CharaModel& m_;
    const SearchQuery& q_;
    const Reads& reads_;
    const AnswerPool& pool_;
    std::vector<std::array<bool, kBuildFieldCount>> decided_;  // by stage: fields chosen
    std::vector<Remembered>& cheapest_;
    std::vector<Remembered>& most_;
};

}  // namespace solver
