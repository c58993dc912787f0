#include "search/solver/query_reads.h"

#include <algorithm>

#include "characters/cards.h"
#include "engine/golf_formulas.h"
#include "search/upgrade_prices.h"

namespace solver {

namespace {

// How much an option promises for the query: what it adds to the objective, then to the
// statuses with a minimum.
int64_t Promise(const SearchQuery& q, const Option& o) {
    const auto& st = o.St;
    int64_t score = 0;
    switch (q.Objective) {
        case SearchObjective::Distance:
            score = GainOf(o, kDimDistance);
            break;
        case SearchObjective::PowerDistance:
            score = GainOf(o, kDimPowerDistance);
            break;
        case SearchObjective::Sum:
            score = GainOf(o, kDimSum);
            break;
        case SearchObjective::LeastPP:
            break;
        default:
            score = st[static_cast<int>(q.Objective) - 2];
    }
    score *= 16;
    for (int i = 0; i < kStatCount; ++i) {
        if (q.Min[i]) {
            score += 4 * st[i];
        }
    }
    return score;
}

// The options most promising for the query first, so that good builds are found early
// and bound the rest; among equals the current choice first.
std::vector<std::vector<uint32_t>> OrderOf(const CharaModel& m, const SearchQuery& q) {
    std::vector<std::vector<uint32_t>> order(m.Stages.size());
    for (size_t st = 0; st < m.Stages.size(); ++st) {
        const auto& options = m.Stages[st].Options;
        std::vector<int64_t> score(options.size());
        for (size_t i = 0; i < options.size(); ++i) {
            score[i] = Promise(q, options[i]);
            order[st].push_back(static_cast<uint32_t>(i));
        }
        std::stable_sort(order[st].begin(), order[st].end(), [&](uint32_t a, uint32_t b) {
            if (score[a] != score[b]) {
                return score[a] > score[b];
            }
            return options[a].Changes < options[b].Changes;
        });
    }
    return order;
}

}  // namespace

bool ObjectiveWants(SearchObjective objective, int i) {
    switch (objective) {
        case SearchObjective::Distance:
        case SearchObjective::PowerDistance:
        case SearchObjective::Pow:
            return i == 0;
        case SearchObjective::Sum:
            return true;
        case SearchObjective::LeastPP:
            return false;
        default:
            return i == static_cast<int>(objective) - 2;
    }
}

Five Reads::Projected(const Five& st) const {
    Five p{};
    for (int i = 0; i < kStatCount; ++i) {
        if (Pooled[i]) {
            p[static_cast<size_t>(Pool)] += st[i];
        } else if (Wanted[i]) {
            p[i] = st[i];
        }
    }
    return p;
}

Reads ReadsOf(const CharaModel& m, const SearchQuery& q) {
    Reads r;
    const auto objective = static_cast<int>(q.Objective);
    const bool sum = q.Objective == SearchObjective::Sum;
    r.Distance = q.Objective == SearchObjective::Distance ||
                 q.Objective == SearchObjective::PowerDistance || q.Min[kMinDistance].has_value();
    r.PowerYards = q.Objective == SearchObjective::PowerDistance;
    for (int i = 0; i < kStatCount; ++i) {
        r.Bought[i] = sum || (i == 0 && objective <= 2) || objective - 2 == i;
    }
    r.PowCosts = objective >= 3 && !sum && !q.Min[0] && !q.Min[kMinDistance];
    for (int i = 1; i < kStatCount; ++i) {
        r.Pooled[i] = sum && m.NeverNegative && !q.Min[i].has_value() && (i >= 3 || q.NoPenalty);
        if (r.Pooled[i] && r.Pool < 0) {
            r.Pool = i;
        }
    }
    for (int i = 0; i < kStatCount; ++i) {
        r.Wanted[i] = i == 0 || sum || objective - 2 == i || q.Min[i].has_value();
        const int32_t bonus = i == 0 ? m.LevelBonus : 0;
        const int32_t top = m.CountFree[i] ? CharaSpinnerMax(i) : m.Current[kFieldCount + i];
        r.SlotCap[i] = std::max(0, top - bonus);
        const bool asked =
            sum || objective - 2 == i || q.Min[i].has_value() || (i == 0 && r.Distance);
        if (asked || !m.CountFree[i]) {
            r.Cap[i] = r.SlotCap[i];
        } else {
            r.Cap[i] = std::clamp(m.Current[kFieldCount + i] - bonus, 0, r.SlotCap[i]);
        }
    }
    r.MemoCap = r.Cap;
    for (int i = 0; i < kStatCount && q.Budget && m.LimitsRise; ++i) {
        if (m.CountFree[i]) {
            const int64_t bought = upgrade_prices::LargestTriangle(*q.Budget / kUpgradeWeight[i]);
            const int64_t bonus = i == 0 ? m.LevelBonus : 0;
            r.MemoCap[i] =
                static_cast<int32_t>(std::clamp<int64_t>(bought - bonus, 0, r.MemoCap[i]));
        }
    }
    r.Order = OrderOf(m, q);
    return r;
}

}  // namespace solver
