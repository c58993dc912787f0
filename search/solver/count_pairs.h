#pragma once

// The upgrade counts the walk chooses last, stat by stat: for each stat, the pairs of a
// character count and a club count that can be chosen, cheapest first.

#include <map>
#include <vector>

#include "search/solver/stage_model.h"

namespace solver {

class CountPairs {
public:
    // Rows: character count, club count, status added, PP, changes.
    using Pair = std::array<int32_t, 5>;

    CountPairs(const CharaModel& m, const PlannedBuild& build, const SearchQuery& q);

    // The pairs of stat i with club set `club`, the character count up to `uTop` (its
    // limit and the spinner's end, or as kept), at slot limit `limit`. Of two pairs that
    // add as much for as many PP, which give the same figures below, only the one with
    // fewer changes, then the lower character count, is kept.
    const std::vector<Pair>& Of(int i, int32_t club, int32_t uTop, int32_t limit);

private:
    const CharaModel& m_;
    const PlannedBuild& build_;  // the current selection
    const SearchQuery& q_;
    // By stat, club set, top count and what a kept count adds.
    std::map<std::array<int32_t, 4>, std::pair<bool, std::vector<Pair>>> pairs_;
};

}  // namespace solver
