#include "search/solver/bound.h"

#include <algorithm>

#include "clubs/clubs.h"
#include "engine/golf_formulas.h"

namespace solver {

using upgrade_prices::kNoLimit;
using upgrade_prices::MinCost;
using upgrade_prices::MostBought;

Bound::Bound(const CharaModel& m, const SearchQuery& q, const Reads& reads, const AnswerPool& pool,
             Scratch& scratch)
    : m_(m), q_(q), reads_(reads), pool_(pool), cheapest_(scratch.Cheapest), most_(scratch.Most) {
    // The fields the stages before s have chosen; the page is chosen from the start.
    decided_.assign(m.Stages.size() + 1, {});
    decided_[0][kFieldPage] = true;
    for (size_t st = 0; st < m.Stages.size(); ++st) {
        decided_[st + 1] = decided_[st];
        for (const int f : m.Stages[st].Fields) {
            decided_[st + 1][static_cast<size_t>(f)] = true;
        }
    }
}

// The budget; and where no build passes the last answer's value, its PP too: a build of
// that value ranks before it only at no more PP. So once the best value is known, what a
// branch affords, what its upgrades buy and the counts the walk tries are weighed within
// the last answer's PP, budget or none. (The status sum's own bound keeps to the budget:
// its prices weighed within that PP cost more time than they cut.)
std::optional<int32_t> Bound::Spend() const {
    const FoundBuild* const last = pool_.Last();
    const auto& top = pool_.Top();
    if (last == nullptr || pool_.ValueOnly() || !top || last->Rank < top->Rank) {
        return q_.Budget;
    }
    return q_.Budget ? std::min(*q_.Budget, last->Figures.PP) : last->Figures.PP;
}

// A count adds at most its limit, and status and limit come from the same options: what
// the rest adds to both together bounds both.
Bound::Span Bound::SpanOf(size_t s, const Node& node) const {
    const auto& rest = m_.Rest[s];
    const TStatus& clubLimit = ClubSets()[node.Club].ClubSlotLimit;
    Span span;
    for (int i = 0; i < kStatCount; ++i) {
        span.Lo[i] = node.St[i] + rest.StMin[i];
        span.Hi[i] = node.St[i] + rest.StMax[i];
        span.Spin[i] = 0;
        span.Cu[i] = 0;
        span.Cv[i] = 0;
        if (i < node.UpDone) {
            continue;
        }
        const int32_t bonus = i == 0 ? m_.LevelBonus : 0;
        const int32_t limitLo = node.Sl[i] + rest.SlMin[i] + bonus;
        const int32_t limitHi = node.Sl[i] + rest.SlMax[i] + bonus;
        const int32_t here = m_.Current[kFieldCount + i];
        const int32_t room = node.Sl[i] + bonus + rest.JointMax[1u << i] - rest.StMax[i];
        if (m_.CountFree[i]) {
            span.Spin[i] = std::max(0, std::min(CharaSpinnerMax(i), limitHi));
            span.Cu[i] = std::max(0, std::min(span.Spin[i], room));
        } else {
            span.Lo[i] += std::min(here, limitLo);
            span.Hi[i] += std::max(0, std::min({here, limitHi, room}));
        }
        if (m_.ClubCountFree[i]) {
            span.Cv[i] = std::max(0, StatField(clubLimit, i));
        }
    }
    span.RingYard = node.Ring + node.Yard + rest.RingMax + rest.YardMax;
    span.Py = node.Py + rest.PyMax;
    return span;
}

// What every status must reach: the minimums, and the last kept answer's value. Control
// and accuracy lose at least the least excess of power over the limit.
Five Bound::Needs(const Span& span, int32_t excessLo, const FoundBuild* last) const {
    Five need;
    need.fill(kUnreachable);
    const auto require = [&need](int i, int32_t v) { need[i] = std::max(need[i], v); };
    for (int i = 0; i < kStatCount; ++i) {
        if (q_.Min[i]) {
            if (i == 1 || i == 2) {
                if (*q_.Min[i] > 0) {
                    require(i, *q_.Min[i] + excessLo);
                }
            } else {
                require(i, *q_.Min[i]);
            }
        }
    }
    if (q_.Min[kMinDistance]) {
        require(0, PowerForDistance(*q_.Min[kMinDistance], span.RingYard));
    }
    if (last == nullptr) {
        return need;
    }
    const int32_t bar = last->Rank;
    switch (q_.Objective) {
        case SearchObjective::Distance:
            require(0, PowerForDistance(bar, span.RingYard));
            break;
        case SearchObjective::PowerDistance:
            // The power shot is the normal distance with its yards and 10 more.
            require(0, PowerForDistance(bar - 10, span.RingYard + span.Py));
            break;
        case SearchObjective::Pow:
        case SearchObjective::Spin:
        case SearchObjective::Cur:
            require(static_cast<int>(q_.Objective) - 2, bar);
            break;
        case SearchObjective::Ctrl:
        case SearchObjective::Exa:
            if (bar > 0) {
                require(static_cast<int>(q_.Objective) - 2, bar + excessLo);
            }
            break;
        default:
            break;
    }
    return need;
}

// The least PP of the upgrades that raise each status to what it needs (false where
// none can, or beyond the budget); then what the PP left buys of each status the
// objective reads, or every open count at its top.
bool Bound::Affords(size_t s, const Node& node, Span& span, const Five& need,
                    int32_t& ppLow) const {
    Five short_{};
    Five cost{};
    unsigned needed = 0;
    int64_t alone = 0;
    for (int i = 0; i < kStatCount; ++i) {
        short_[i] = std::max(0, need[i] - span.Hi[i]);
        cost[i] = MinCost(i, short_[i], span.Cu[i], span.Cv[i]);
        if (cost[i] == kNoLimit) {
            return false;
        }
        alone += cost[i];
        needed |= need[i] > span.Lo[i] ? 1u << i : 0u;
    }
    // Several statuses needed at once may want more than the open stages give them
    // together: the upgrades buy the rest, each status at least its own shortfall.
    int64_t least = alone;
    for (unsigned set = needed; set != 0; set = (set - 1) & needed) {
        if ((set & (set - 1)) == 0) {
            continue;
        }
        if (BeyondLimits(s, node, span, need, set)) {
            return false;
        }
        const int64_t together = SetCost(s, node, span, need, short_, set);
        if (together < 0) {
            continue;
        }
        if (together == kNoLimit) {
            return false;
        }
        int64_t others = alone;
        for (int i = 0; i < kStatCount; ++i) {
            others -= (set >> i & 1) != 0 ? cost[i] : 0;
        }
        least = std::max(least, others + together);
    }
    ppLow = static_cast<int32_t>(std::min<int64_t>(int64_t{ppLow} + least, kNoLimit));
    const std::optional<int32_t> budget = Spend();
    if (budget && ppLow > *budget) {
        return false;
    }
    // The status sum bounds what the budget buys of all statuses together instead.
    const bool together = q_.Objective == SearchObjective::Sum && m_.NeverNegative;
    for (int i = 0; i < kStatCount; ++i) {
        if (budget && !together && reads_.Bought[i]) {
            span.Hi[i] += MostBought(i, short_[i], *budget - ppLow, span.Cu[i], span.Cv[i]);
        } else {
            span.Hi[i] += span.Cu[i] + span.Cv[i];  // or not read below
        }
    }
    return true;
}

// Whether the statuses of `set` need more together than the open stages can give them
// with their counts at their slot limits: a count adds at most its limit (a spinner above
// it adds the limit), so the statuses of a set reach at most what they hold, the most the
// open stages add to them and to their limits together, the limits so far and the club
// counts. Apart, each status may reach its need on an option that gives another little.
bool Bound::BeyondLimits(size_t s, const Node& node, const Span& span, const Five& need,
                         unsigned set) const {
    int64_t short_ = -int64_t{m_.Rest[s].JointMax[set]};
    for (int i = 0; i < kStatCount; ++i) {
        if ((set >> i & 1) != 0) {
            if (i < node.UpDone) {
                return false;  // every stage is chosen: the span is exact
            }
            short_ += int64_t{need[i]} - node.St[i] - node.Sl[i] - span.Cv[i] -
                      (i == 0 ? m_.LevelBonus : 0);
        }
    }
    return short_ > 0;
}

// The least PP the counts of the statuses of `set` cost to add what the set needs
// together beyond what the branch has, its kept counts give and the open stages give the
// set together at most: the prices of the cheapest units of the set, whichever status
// they raise. Statuses below their own most leave their counts more room, so the counts
// are capped only by all they can ever take. -1 where the units asked are no more than
// the shortfalls of the statuses alone, which already bound the PP; kNoLimit where the
// counts cannot add them.
int64_t Bound::SetCost(size_t s, const Node& node, const Span& span, const Five& need,
                       const Five& short_, unsigned set) const {
    const auto& rest = m_.Rest[s];
    int64_t units = -int64_t{rest.SetMax[set]};
    int64_t alone = 0;
    upgrade_prices::Units free;
    for (int i = 0; i < kStatCount; ++i) {
        if ((set >> i & 1) == 0) {
            continue;
        }
        int32_t kept = 0;
        if (!m_.CountFree[i] && i >= node.UpDone) {
            const int32_t bonus = i == 0 ? m_.LevelBonus : 0;
            kept = std::max(
                0, std::min(m_.Current[kFieldCount + i], node.Sl[i] + rest.SlMax[i] + bonus));
        }
        units += int64_t{need[i]} - node.St[i] - kept;
        alone += short_[i];
        free.Chara[i] = span.Spin[i];
        free.Club[i] = span.Cv[i];
    }
    if (units <= alone) {
        return -1;
    }
    const int64_t cost = Cheapest(free, units);
    return cost < 0 ? kNoLimit : cost;
}

// The most the objective reaches below the branch; none where the status sum's own bound
// shows the budget cannot reach the last answer. For the status sum, ppLow may rise to
// what reaching the last answer needs.
std::optional<int32_t> Bound::BestValue(size_t s, const Node& node, const Span& span,
                                        int32_t excessLo, int32_t& ppLow) const {
    const int32_t limit = m_.Limit;
    const Five& hi = span.Hi;
    const int32_t powHi = std::min(hi[0], q_.NoPenalty ? limit : limit + reads_.ExcessTo);
    const int32_t powLo =
        reads_.ExcessFrom > 0 ? std::max(span.Lo[0], limit + reads_.ExcessFrom) : span.Lo[0];
    switch (q_.Objective) {
        case SearchObjective::Distance:
            return DriveDistance(powHi, span.RingYard, 0);
        case SearchObjective::PowerDistance:
            return PowerShotDistance(DriveDistance(powHi, span.RingYard, 0), span.Py, 1);
        case SearchObjective::Pow:
            return powHi;
        case SearchObjective::Ctrl:
        case SearchObjective::Exa:
            return std::max(0, hi[static_cast<int>(q_.Objective) - 2] - excessLo);
        case SearchObjective::Spin:
        case SearchObjective::Cur:
            return hi[static_cast<int>(q_.Objective) - 2];
        case SearchObjective::LeastPP:
            return -ppLow;
        case SearchObjective::Sum:
            break;
    }
    // Power beyond the limit costs control and accuracy, so the sum is greatest at an end
    // of power's range or where a penalty term bottoms out.
    int32_t best = kUnreachable;
    for (int32_t p : {powLo, powHi, limit, limit + hi[1], limit + hi[2]}) {
        p = std::clamp(p, powLo, std::max(powLo, powHi));
        const int32_t e = std::max(0, p - limit);
        best = std::max(best, p + std::max(0, hi[1] - e) + std::max(0, hi[2] - e) + hi[3] + hi[4]);
    }
    if (!m_.NeverNegative) {
        return best;  // a status below 0 shows as 0 after a penalty: not a plain sum
    }
    // The excess takes from control and accuracy at least as much as they surely hold of
    // it: the sum shown is the raw sum less that, and reaching the last answer needs a raw
    // sum as much higher.
    const int32_t lost =
        std::min(excessLo, std::max(0, span.Lo[1])) + std::min(excessLo, std::max(0, span.Lo[2]));
    const FoundBuild* last = pool_.Last();
    const auto [sharper, ppNeed] = SumBound(s, node, span.Cu, span.Spin, span.Cv, powHi,
                                            last != nullptr ? last->Rank + lost : kUnreachable);
    best = std::min(best, sharper - lost);
    if (ppNeed > ppLow) {
        ppLow = ppNeed;
        if (const auto budget = Spend(); budget && ppLow > *budget) {
            return std::nullopt;
        }
    }
    return best;
}

// Nothing passes the known best: at best a branch ties with it.
void Bound::WithinTop(int32_t& best, int32_t& ppLow) const {
    if (const auto& top = pool_.Top(); top && best >= top->Rank) {
        best = top->Rank;
        ppLow = std::max(ppLow, top->PP);
    }
}

bool Bound::EstimateBeforeLast(int32_t best, int32_t ppLow) const {
    const FoundBuild* const last = pool_.Last();
    if (last == nullptr) {
        return true;
    }
    WithinTop(best, ppLow);
    if (pool_.ValueOnly()) {
        return best > last->Rank;
    }
    return best > last->Rank || (best == last->Rank && ppLow < last->Figures.PP);
}

// At best a branch ties with the last answer in value and PP: it still ranks after it
// with more changes, or as many and higher list indices.
bool Bound::RanksAfter(size_t s, const Node& node, const Span& span, int32_t excessLo, int32_t best,
                       int32_t ppLow, const FoundBuild& last) const {
    WithinTop(best, ppLow);
    if (best != last.Rank || pool_.ValueOnly()) {
        return best <= last.Rank;
    }
    if (ppLow != last.Figures.PP) {
        return ppLow > last.Figures.PP;
    }
    const int32_t changes =
        node.Changes + ChangesNeeded(s, node, span.Spin, span.Cv, excessLo, last.Rank,
                                     last.Figures.PP, last.Changes - node.Changes);
    if (changes != last.Changes) {
        return changes > last.Changes;
    }
    return LexAfter(node, last.Fields);
}

bool Bound::Hopeless(size_t s, const Node& node, std::pair<int32_t, int32_t>* estimate) const {
    if (node.Club < 0) {
        return false;
    }
    Span span = SpanOf(s, node);
    const int32_t limit = m_.Limit;
    if (q_.NoPenalty && span.Lo[0] > limit) {
        return true;
    }
    if (span.Lo[0] - limit > reads_.ExcessTo) {
        return true;  // more power than the window of excesses holds
    }
    int32_t excessLo = std::max({0, span.Lo[0] - limit, reads_.ExcessFrom});
    const FoundBuild* const last = pool_.Last();
    Five need = Needs(span, excessLo, last);
    if (reads_.ExcessFrom > 0) {
        need[0] = std::max(need[0], limit + reads_.ExcessFrom);
    }
    if (need[0] > limit + (q_.NoPenalty ? 0 : reads_.ExcessTo)) {
        return true;  // more power than the query or the window of excesses allows
    }
    if (need[0] - limit > excessLo) {
        // Every build below that meets the conditions has at least the power it needs, so
        // at least that excess, and control and accuracy need as much more.
        excessLo = need[0] - limit;
        need = Needs(span, excessLo, last);
    }
    int32_t ppLow = node.PP;
    if (!Affords(s, node, span, need, ppLow)) {
        return true;
    }
    const std::optional<int32_t> best = BestValue(s, node, span, excessLo, ppLow);
    if (!best) {
        return true;
    }
    if (estimate != nullptr) {
        *estimate = {*best, ppLow};
    }
    return last != nullptr && RanksAfter(s, node, span, excessLo, *best, ppLow, *last);
}

}  // namespace solver
