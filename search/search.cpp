#include "search/search.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <map>
#include <tuple>
#include <unordered_map>

#include "characters/cards.h"
#include "characters/catalogue.h"
#include "characters/roster.h"
#include "clubs/caddies.h"
#include "clubs/clubs.h"
#include "engine/levels.h"
#include "search/search_model.h"
#include "search/solver/ranking.h"

namespace {

constexpr std::string_view kObjectiveNames[kObjectiveCount] = {
    "distance", "powerDistance", "pow", "ctrl", "exa", "spin", "cur", "sum", "leastPP"};

constexpr std::string_view kMinimumNames[kMinimumCount] = {"pow",  "ctrl", "exa",
                                                           "spin", "cur",  "distance"};

constexpr std::string_view kDistinctNames[] = {"figures", "acquired"};

// Every list of the holdings empty (owned whole) or as long as the catalogue's list, as
// the holdings' own setters leave it.
bool HoldingsFit(const THoldings& h) {
    for (int32_t c = 0; c < CharaCount; ++c) {
        for (int p = 0; p < kMaxWearSlots; ++p) {
            const auto& list = h.ItemsNotOwned[static_cast<size_t>(c)][static_cast<size_t>(p)];
            if (!list.empty() && list.size() != static_cast<size_t>(ItemCount(c, p))) {
                return false;
            }
        }
    }
    for (int k = 0; k < kHeldKindCount; ++k) {
        const auto& list = h.NotOwned[static_cast<size_t>(k)];
        if (!list.empty() &&
            list.size() != static_cast<size_t>(HeldCount(static_cast<HeldKind>(k)))) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string_view DistinctName(SearchDistinct distinct) {
    return kDistinctNames[static_cast<int>(distinct)];
}

std::optional<SearchDistinct> DistinctByName(std::string_view name) {
    for (int i = 0; i < 2; ++i) {
        if (kDistinctNames[i] == name) {
            return static_cast<SearchDistinct>(i);
        }
    }
    return std::nullopt;
}

std::optional<int32_t> AcquireLimit(const SearchQuery& query) {
    if (query.Acquire == kAcquireAny) {
        return std::nullopt;
    }
    if (query.Acquire == kAcquireUnset) {
        return OwnsEverything(query.Owned) ? std::nullopt : std::optional<int32_t>(0);
    }
    return query.Acquire;
}

std::string_view ObjectiveName(SearchObjective objective) {
    return kObjectiveNames[static_cast<int>(objective)];
}

std::optional<SearchObjective> ObjectiveByName(std::string_view name) {
    for (int i = 0; i < kObjectiveCount; ++i) {
        if (kObjectiveNames[i] == name) {
            return static_cast<SearchObjective>(i);
        }
    }
    return std::nullopt;
}

std::string_view MinimumName(int minimum) {
    return minimum >= 0 && minimum < kMinimumCount ? kMinimumNames[minimum] : std::string_view{};
}

std::string QueryRefusal(std::string_view field, const QueryLimit& limit) {
    std::string refusal = "\"";
    refusal.append(field).append("\": ").append(limit.Refusal);
    return refusal;
}

void ValidateQuery(const SearchQuery& query) {
    if (query.Character != kShownCharacter && query.Character != kAnyCharacter &&
        !kCharacterLimit.Holds(query.Character)) {
        throw ESearchQueryError(QueryRefusal("character", kCharacterLimit));
    }
    if (static_cast<int>(query.Objective) >= kObjectiveCount) {
        throw ESearchQueryError("\"objective\": 目的の名前が正しくありません");
    }
    if (!kResultsLimit.Holds(query.Results)) {
        throw ESearchQueryError(QueryRefusal("results", kResultsLimit));
    }
    for (int m = 0; m < kMinimumCount; ++m) {
        const std::optional<int32_t>& minimum = query.Min[static_cast<size_t>(m)];
        if (minimum && !kMinimumLimit.Holds(*minimum)) {
            throw ESearchQueryError(
                QueryRefusal("min." + std::string(MinimumName(m)), kMinimumLimit));
        }
    }
    if (query.Budget && !kBudgetLimit.Holds(*query.Budget)) {
        throw ESearchQueryError(QueryRefusal("budget", kBudgetLimit));
    }
    if (query.Acquire != kAcquireAny && query.Acquire != kAcquireUnset &&
        !kAcquireLimit.Holds(query.Acquire)) {
        throw ESearchQueryError(QueryRefusal("acquire", kAcquireLimit));
    }
    if (static_cast<int>(query.Distinct) >= 2) {
        throw ESearchQueryError("\"distinct\": \"figures\" か \"acquired\" を指定してください");
    }
    if (!HoldingsFit(query.Owned)) {
        throw ESearchQueryError("\"owned\": 持ち物の一覧の長さがリストと合いません");
    }
}

BuildFigures FiguresOf(const TSimulator& sim) {
    const TSimResults& r = sim.Results;
    const TStatus& sum = r.StatusSum;
    return solver::FiguresOf({sum.Pow, sum.Ctrl, sum.Exa, sum.Spin, sum.Cur}, r.RingDistance,
                             r.CaddieCardYard, r.CaddieCardPowerYards,
                             UpgradeCostPP(r.ClubSlotUp) + r.CharaPPTotal,
                             PowerLimit(sim.State.Level));
}

int32_t ObjectiveValue(SearchObjective objective, const BuildFigures& f) {
    switch (objective) {
        case SearchObjective::Distance:
            return f.Distances[0];
        case SearchObjective::PowerDistance:
            return f.Distances[1];
        case SearchObjective::Pow:
        case SearchObjective::Ctrl:
        case SearchObjective::Exa:
        case SearchObjective::Spin:
        case SearchObjective::Cur:
            return StatField(f.Final, static_cast<int>(objective) - 2);
        case SearchObjective::Sum:
            return f.Final.Pow + f.Final.Ctrl + f.Final.Exa + f.Final.Spin + f.Final.Cur;
        case SearchObjective::LeastPP:
            return f.PP;
    }
    return 0;
}
