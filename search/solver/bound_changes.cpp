#include <algorithm>
#include <limits>
#include <span>

#include "engine/golf_formulas.h"
#include "search/solver/bound.h"

namespace solver {

using upgrade_prices::kNoLimit;
using upgrade_prices::MinCost;
using upgrade_prices::MostBought;
using upgrade_prices::Units;

// True when every build below `node` has larger list indices than `fields`: the
// first field where they differ is already chosen, and so is every field before it.
bool Bound::LexAfter(const Node& node, const BuildFields& fields) const {
    const auto& decided = decided_[std::min<size_t>(node.Known, decided_.size() - 1)];
    for (int k = 0; k < kBuildFieldCount; ++k) {
        bool chosen = decided[static_cast<size_t>(k)];
        if (k >= kFieldCount && k < kFieldCount + kStatCount) {
            chosen = !m_.CountFree[k - kFieldCount] || k - kFieldCount < node.UpDone;
        } else if (k >= kFieldClubCount) {
            chosen = k - kFieldClubCount < node.UpDone;
        }
        if (!chosen) {
            return false;
        }
        if (node.Fields[k] != fields[k]) {
            return node.Fields[k] > fields[k];
        }
    }
    return true;  // the very same build
}

// The fewest free count fields still open below `node` that must change so that the
// counts add `units` of each stat within `money` PP; 1000 when no change does it. A
// field as it stands adds its count and costs its price; a changed one adds what it
// is given, the two of a stat as evenly as their caps (`cu`, `cv`) allow.
int32_t Bound::CountChanges(const Node& node, const Five& cu, const Five& cv, const Five& units,
                            int32_t money) const {
    constexpr int64_t kNever = std::numeric_limits<int64_t>::max() / 4;
    // The least PP by number of fields changed, over the stats weighed so far.
    std::array<int64_t, 2 * kStatCount + 1> least;
    least.fill(kNever);
    least[0] = 0;
    int fields = 0;
    for (int i = node.UpDone; i < kStatCount; ++i) {
        const bool freeU = m_.CountFree[i];
        const bool freeV = m_.ClubCountFree[i];
        if (!freeU && !freeV) {
            if (units[i] > 0) {
                return 1000;
            }
            continue;
        }
        const int64_t w = kUpgradeWeight[i];
        const int32_t r = std::max(0, units[i]);
        const int32_t hu = freeU ? m_.Current[kFieldCount + i] : 0;
        const int32_t hv = freeV ? m_.Current[kFieldClubCount + i] : 0;
        const int64_t pu = w * hu * (hu + 1);
        const int64_t pv = w * hv * (hv + 1);
        const bool standsU = hu <= cu[i];
        const bool standsV = hv <= cv[i];
        // One field bought anew to add x while the other stands.
        const auto alone = [&](int32_t x, int32_t cap) -> int64_t {
            x = std::max(0, x);
            return x <= cap ? w * x * (x + 1) : kNever;
        };
        std::array<int64_t, 3> cost{kNever, kNever, kNever};
        if (standsU && standsV && hu + hv >= r) {
            cost[0] = pu + pv;
        }
        if (freeU && standsV) {
            cost[1] = std::min(cost[1], alone(r - hv, cu[i]) + pv);
        }
        if (freeV && standsU) {
            cost[1] = std::min(cost[1], alone(r - hu, cv[i]) + pu);
        }
        if (freeU && freeV) {
            const int32_t c = MinCost(i, r, cu[i], cv[i]);
            cost[2] = c == kNoLimit ? kNever : c;
        }
        const int more = (freeU ? 1 : 0) + (freeV ? 1 : 0);
        std::array<int64_t, 2 * kStatCount + 1> next;
        next.fill(kNever);
        for (int k = 0; k <= fields; ++k) {
            if (least[static_cast<size_t>(k)] >= kNever) {
                continue;
            }
            for (int c = 0; c <= more; ++c) {
                auto& to = next[static_cast<size_t>(k + c)];
                to = std::min(to, least[static_cast<size_t>(k)] + cost[static_cast<size_t>(c)]);
            }
        }
        least = next;
        fields += more;
    }
    for (int k = 0; k <= fields; ++k) {
        if (least[static_cast<size_t>(k)] <= money) {
            return k;
        }
    }
    return 1000;
}

namespace {

// The fewest of the largest `sorted` gains that close `gap`; 1000 (more than any build
// changes) where they cannot.
int32_t Fewest(int32_t gap, std::span<const int32_t> sorted) {
    int32_t n = 0;
    for (size_t a = 0; gap > 0; ++a, ++n) {
        if (a == sorted.size() || sorted[a] <= 0) {
            return 1000;
        }
        gap -= sorted[a];
    }
    return n;
}

// Whether gain dimension d reads stat i.
bool DimReads(int d, int i) {
    return i == d || (i == 0 && (d == kDimDistance || d == kDimPowerDistance)) || d == kDimSum;
}

// What gain dimension d reaches with the stages as they stand and the counts adding `add`.
int32_t ValueWith(const Node& node, const Gains& g, int d, const Five& add) {
    const Five& st = node.St;
    int32_t v = 0;
    switch (d) {
        case kDimDistance:
            v = kYardsPerPower * (st[0] + add[0]) + node.Ring + node.Yard;
            break;
        case kDimPowerDistance:
            v = kYardsPerPower * (st[0] + add[0]) + node.Ring + node.Yard + node.Py;
            break;
        case kDimSum:
            for (int i = 0; i < kStatCount; ++i) {
                v += st[i] + add[i];
            }
            break;
        default:
            v = st[d] + add[d];
    }
    return v + g.Kept[d];
}

}  // namespace

// What each gain dimension must reach to tie with the last answer (value `bar`) and meet
// the minimums; kUnreachable where nothing is asked of it. The distances count from what
// power 0 with no yards gives, as the gains do.
std::array<int32_t, kGainDims> Bound::Targets(int32_t excessLo, int32_t bar) const {
    std::array<int32_t, kGainDims> target;
    target.fill(kUnreachable);
    const auto reach = [&target](int d, int32_t t) { target[d] = std::max(target[d], t); };
    const int32_t drive0 = DriveDistance(0, 0, 0);
    switch (q_.Objective) {
        case SearchObjective::Distance:
            reach(kDimDistance, bar - drive0);
            break;
        case SearchObjective::PowerDistance:
            reach(kDimPowerDistance, bar - PowerShotDistance(drive0, 0, 1));
            break;
        case SearchObjective::Pow:
        case SearchObjective::Spin:
        case SearchObjective::Cur:
            reach(static_cast<int>(q_.Objective) - 2, bar);
            break;
        case SearchObjective::Ctrl:
        case SearchObjective::Exa:
            if (bar > 0) {
                reach(static_cast<int>(q_.Objective) - 2, bar + excessLo);
            }
            break;
        case SearchObjective::Sum:
            reach(kDimSum, bar);
            break;
        case SearchObjective::LeastPP:
            break;
    }
    for (int i = 0; i < kStatCount; ++i) {
        if (q_.Min[i] && (*q_.Min[i] > 0 || (i != 1 && i != 2))) {
            reach(i, *q_.Min[i] + (i == 1 || i == 2 ? excessLo : 0));
        }
    }
    if (q_.Min[kMinDistance]) {
        reach(kDimDistance, *q_.Min[kMinDistance] - drive0);
    }
    return target;
}

// The fewest changes a build below `node` still needs to tie with the last kept answer
// (value `bar`, `ppBar` PP) and meet the conditions: n changes of the open stages, each
// condition gaining at most its n largest gains per change, and the count fields that
// must change to buy the rest of every condition at once within the PP left (a count as
// it stands costs its price). The least total over n. Past `most` changes the count is
// only known to be more.
int32_t Bound::ChangesNeeded(size_t s, const Node& node, const Five& cu, const Five& cv,
                             int32_t excessLo, int32_t bar, int32_t ppBar, int32_t most) const {
    const auto& g = m_.RestGains[s];
    const int32_t money = ppBar - node.PP;
    // What kept counts give at most (kept) and at least (keptLow), and with what the PP
    // left buys of the free ones (up).
    Five kept{}, up{}, keptLow{};
    for (int i = node.UpDone; i < kStatCount; ++i) {
        const int32_t here = m_.Current[kFieldCount + i];
        const int32_t bonus = i == 0 ? m_.LevelBonus : 0;
        if (!m_.CountFree[i]) {
            kept[i] = std::max(0, std::min(here, node.Sl[i] + m_.Rest[s].SlMax[i] + bonus));
            keptLow[i] = std::max(0, std::min(here, node.Sl[i] + m_.Rest[s].SlMin[i] + bonus));
        }
    }
    const std::array<int32_t, kGainDims> target = Targets(excessLo, bar);
    // Each condition alone may take every PP left for its counts.
    std::array<bool, kStatCount> bought{};
    int32_t stages = 0;
    for (int d = 0; d < kGainDims; ++d) {
        if (target[d] == kUnreachable) {
            continue;
        }
        for (int i = 0; i < kStatCount; ++i) {
            if (DimReads(d, i) && !bought[i]) {
                bought[i] = true;
                up[i] =
                    kept[i] +
                    (money >= 0 && i >= node.UpDone ? MostBought(i, 0, money, cu[i], cv[i]) : 0);
            }
        }
        stages = std::max(stages, Fewest(target[d] - ValueWith(node, g, d, up), g.Up[d]));
    }
    if (q_.NoPenalty) {
        stages =
            std::max(stages, Fewest(node.St[0] + g.KeptPow + keptLow[0] - m_.Limit, g.PowDown));
    }
    if (stages >= 1000 || money < 0) {
        return 1000;
    }
    return g.MustChange +
           SharedChanges(node, g, cu, cv, kept, target, stages, money, most - g.MustChange);
}

// Together the conditions share the PP left. With n stage changes, each dimension gains
// at most its n largest gains, and the counts must buy the rest of every condition at
// once: the fewest count fields changed that do it within the PP left. Totals below
// `below` are only compared with it, so the first one found will do.
int32_t Bound::SharedChanges(const Node& node, const Gains& g, const Five& cu, const Five& cv,
                             const Five& kept, const std::array<int32_t, kGainDims>& target,
                             int32_t stages, int32_t money, int32_t below) const {
    const size_t open = g.Up[0].size();
    std::array<int32_t, kGainDims> gained{};
    int32_t fewestTotal = 1000;
    for (size_t n = 0;
         n <= open && static_cast<int32_t>(n) < fewestTotal && static_cast<int32_t>(n) <= below;
         ++n) {
        if (n >= static_cast<size_t>(stages)) {
            Five units{};
            for (int d = 0; d < kGainDims; ++d) {
                if (target[d] == kUnreachable) {
                    continue;
                }
                const int32_t gap = target[d] - ValueWith(node, g, d, kept) - gained[d];
                if (d < kStatCount) {
                    units[d] = std::max(units[d], gap);
                } else if (d < kDimSum) {
                    units[0] = std::max(units[0], CeilHalf(gap));  // yards to power
                }
            }
            bool fits = true;
            if (target[kDimSum] != kUnreachable) {
                Units free;
                free.Chara = cu;
                free.Club = cv;
                const int64_t all =
                    Cheapest(free, int64_t{target[kDimSum]} - ValueWith(node, g, kDimSum, kept) -
                                       gained[kDimSum]);
                fits = all >= 0 && all <= money;
            }
            const int32_t counts = fits ? CountChanges(node, cu, cv, units, money) : 1000;
            fewestTotal = std::min(fewestTotal, static_cast<int32_t>(n) + counts);
            if (fewestTotal < below) {
                break;
            }
        }
        if (n < open) {
            for (int d = 0; d < kGainDims; ++d) {
                gained[d] += std::max(0, g.Up[d][n]);
            }
        }
    }
    return fewestTotal;
}

}  // namespace solver
