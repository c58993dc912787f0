#pragma once

// The rules every answer is held to, in one place: which figures a build shows, whether
// they meet a query's conditions, and how answers rank.

#include <cstdint>

#include "search/search_model.h"

namespace solver {

// The figures of a build whose statuses before the penalty are `st`, with the ring's and
// caddie cards' yards, the power-shot yards and the upgrades' PP, at power limit `limit`.
BuildFigures FiguresOf(const std::array<int32_t, kStatCount>& st, int32_t ringYards,
                       int32_t cardYards, int32_t powerYards, int32_t pp, int32_t limit);

// Whether figures meet every condition of `query`: no penalty where none is allowed,
// each minimum, the budget.
bool MeetsConditions(const SearchQuery& query, const BuildFigures& f);

// What the ranking maximises first: the objective's value, or -PP for least PP.
inline int32_t RankOf(SearchObjective objective, const BuildFigures& f) {
    return objective == SearchObjective::LeastPP ? -f.PP : ObjectiveValue(objective, f);
}

// A ranks before B: the objective, then fewer PP, fewer changes, lower list indices.
inline bool RanksBefore(const FoundBuild& a, const FoundBuild& b) {
    if (a.Rank != b.Rank) {
        return a.Rank > b.Rank;
    }
    if (a.Figures.PP != b.Figures.PP) {
        return a.Figures.PP < b.Figures.PP;
    }
    if (a.Changes != b.Changes) {
        return a.Changes < b.Changes;
    }
    return a.Fields < b.Fields;
}

}  // namespace solver
