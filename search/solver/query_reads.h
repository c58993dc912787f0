#pragma once

// What a query reads of a build, for one character: the statuses the bounds weigh, the
// slot limits up to where they still matter, the distances, and the order in which the
// walk tries each stage's options.

#include <limits>
#include <vector>

#include "search/solver/stage_model.h"

namespace solver {

struct Reads {
    // The statuses the objective or a minimum reads, and power (always read: it decides
    // the penalty).
    std::array<bool, kStatCount> Wanted{};
    // For the status sum, the statuses without a minimum that no penalty can touch count
    // only together: their sum stands in the first of them (Pool; -1 where none).
    std::array<bool, kStatCount> Pooled{};
    int Pool = -1;
    // The statuses whose highest value the objective's bound reads.
    std::array<bool, kStatCount> Bought{};
    bool PowCosts = false;    // power read by neither the objective nor a minimum
    bool Distance = false;    // a distance is the objective or a minimum
    bool PowerYards = false;  // the power shot is the objective
    // Beyond SlotCap, more slot limit raises no count: free counts stop at the spinner's
    // end, kept counts at their position. Cap: the same where the query reads the status,
    // else only whether the count as it stands still fits.
    Five SlotCap{};
    Five Cap{};
    // What the memo of one answer reads of a limit: Cap, and with a budget no more than
    // the highest free count the budget buys (where no option lowers a limit, so that a
    // limit past it stays past it). Not for the kept sums: those serve every budget.
    Five MemoCap{};
    // By stage: the options, the most promising for the query first.
    std::vector<std::vector<uint32_t>> Order;
    // The excess of power over the limit of the builds a walk offers, at least and at
    // most: where a penalty is allowed, a search walks the excesses window by window, and
    // each window's own least and most excess bound control, accuracy and power at once.
    int32_t ExcessFrom = 0;
    int32_t ExcessTo = std::numeric_limits<int32_t>::max() / 4;

    // The statuses as the bounds read them: the ones asked for, the pooled ones as their
    // sum.
    Five Projected(const Five& st) const;
};

Reads ReadsOf(const CharaModel& m, const SearchQuery& q);

// Whether the objective wants more of stat i (else less or none of it).
bool ObjectiveWants(SearchObjective objective, int i);

}  // namespace solver
