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

constexpr std::string_view kPartNames[kSearchPartCount] = {"Top",
                                                           "Pants",
                                                           "TopPants",
                                                           "Waist",
                                                           "Shoes",
                                                           "Hand",
                                                           "Head",
                                                           "Head1",
                                                           "Head2",
                                                           "Face",
                                                           "Face1",
                                                           "Face2",
                                                           "Face3",
                                                           "Hoho",
                                                           "Hoho2",
                                                           "Mouth",
                                                           "Arm",
                                                           "Key",
                                                           "Gun",
                                                           "Ear",
                                                           "Back",
                                                           "Shippo",
                                                           "Acce",
                                                           "Ring",
                                                           "CharaCard1",
                                                           "CharaCard2",
                                                           "CharaCard3",
                                                           "CaddieCard1",
                                                           "CaddieCard2",
                                                           "Caddie",
                                                           "SpecialCard",
                                                           "Club",
                                                           "PowSlotUp",
                                                           "CtrlSlotUp",
                                                           "ExaSlotUp",
                                                           "SpinSlotUp",
                                                           "CurSlotUp",
                                                           "ClubPowSlotUp",
                                                           "ClubCtrlSlotUp",
                                                           "ClubExaSlotUp",
                                                           "ClubSpinSlotUp",
                                                           "ClubCurSlotUp"};

constexpr std::string_view kObjectiveNames[kObjectiveCount] = {
    "distance", "powerDistance", "pow", "ctrl", "exa", "spin", "cur", "sum", "leastPP"};

constexpr std::string_view kMinimumNames[kMinimumCount] = {"pow",  "ctrl", "exa",
                                                           "spin", "cur",  "distance"};

}  // namespace

std::string_view SearchPartName(int part) {
    return part >= 0 && part < kSearchPartCount ? kPartNames[part] : std::string_view{};
}

int SearchPartByName(std::string_view name) {
    for (int i = 0; i < kSearchPartCount; ++i) {
        if (kPartNames[i] == name) {
            return i;
        }
    }
    return -1;
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

void ValidateQuery(const SearchQuery& query) {
    if (query.Character != kShownCharacter && query.Character != kAnyCharacter &&
        (query.Character < 0 || query.Character >= CharaCount)) {
        throw ESearchQueryError(
            "\"character\": 0 から 9 のキャラ番号、\"shown\" か \"any\" を指定してください");
    }
    if (static_cast<int>(query.Objective) >= kObjectiveCount) {
        throw ESearchQueryError("\"objective\": 目的の名前が正しくありません");
    }
    if (query.Results < 1 || query.Results > kMaxResults) {
        throw ESearchQueryError("\"results\": 1 から 50 の整数を指定してください");
    }
    if (query.Budget && *query.Budget < 0) {
        throw ESearchQueryError("\"budget\": 0 以上の整数を指定してください");
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
