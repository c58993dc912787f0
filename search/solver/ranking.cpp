#include "search/solver/ranking.h"

#include "engine/golf_formulas.h"

namespace solver {

BuildFigures FiguresOf(const std::array<int32_t, kStatCount>& st, int32_t ringYards,
                       int32_t cardYards, int32_t powerYards, int32_t pp, int32_t limit) {
    BuildFigures f;
    f.Final = MakeStatus(st[0], st[1], st[2], st[3], st[4]);
    if (st[0] > limit) {
        const int32_t excess = PowerExcess(st[0], limit);
        f.Final.Ctrl = AfterPenalty(st[1], excess);
        f.Final.Exa = AfterPenalty(st[2], excess);
        f.Penalty = CheckedSub(limit, st[0]);
    }
    const int32_t d = DriveDistance(st[0], ringYards, cardYards);
    f.Distances = {d, PowerShotDistance(d, powerYards, 1), PowerShotDistance(d, powerYards, 2)};
    f.PP = pp;
    return f;
}

bool MeetsConditions(const SearchQuery& query, const BuildFigures& f) {
    if ((query.NoPenalty && f.Penalty < 0) || (query.Budget && f.PP > *query.Budget) ||
        (query.Min[kMinDistance] && f.Distances[0] < *query.Min[kMinDistance])) {
        return false;
    }
    for (int i = 0; i < kStatCount; ++i) {
        if (query.Min[i] && StatField(f.Final, i) < *query.Min[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace solver
