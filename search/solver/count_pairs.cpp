#include "search/solver/count_pairs.h"

#include <algorithm>

#include "clubs/clubs.h"
#include "search/solver/query_reads.h"

namespace solver {

CountPairs::CountPairs(const CharaModel& m, const PlannedBuild& build, const SearchQuery& q)
    : m_(m), build_(build), q_(q) {}

const std::vector<CountPairs::Pair>& CountPairs::Of(int i, int32_t club, int32_t uTop,
                                                    int32_t limit) {
    // A kept count adds what its limit lets it; a free one never passes its limit.
    const int32_t keptAdds = m_.CountFree[i] ? 0 : std::min(m_.Current[kFieldCount + i], limit);
    auto& cached = pairs_[{i, club, uTop, keptAdds}];
    if (cached.first) {
        return cached.second;
    }
    const int32_t here = m_.Current[kFieldCount + i];
    const int32_t hereClub = m_.Current[kFieldClubCount + i];
    const int32_t uLow = m_.CountFree[i] ? 0 : here;
    const int32_t clubTop = std::max(0, StatField(ClubSets()[club].ClubSlotLimit, i));
    const int32_t kept = std::clamp(StatField(build_.ClubSlotUps[club], i), 0, clubTop);
    const int32_t vTop = m_.ClubCountFree[i] ? clubTop : kept;
    const int32_t vLow = m_.ClubCountFree[i] ? 0 : kept;
    std::map<std::pair<int32_t, int32_t>, Pair> best;
    for (int32_t u = uLow; u <= uTop; ++u) {
        for (int32_t v = vLow; v <= vTop; ++v) {
            const int32_t added = std::min(u, limit) + (m_.ClubCountFree[i] ? v : 0);
            int32_t pp = 0;
            if (m_.CountFree[i]) {
                pp += kUpgradeWeight[i] * u * (u + 1);
            }
            if (m_.ClubCountFree[i]) {
                pp += kUpgradeWeight[i] * v * (v + 1);
            }
            const int32_t changes =
                (u != here ? 1 : 0) + (m_.ClubCountFree[i] && v != hereClub ? 1 : 0);
            const Pair row{u, v, added, pp, changes};
            const auto [it, fresh] = best.try_emplace({added, pp}, row);
            if (!fresh && std::pair(changes, u) < std::pair(it->second[4], it->second[0])) {
                it->second = row;
            }
        }
    }
    auto& pairs = cached.second;
    // With one answer asked for, of the pairs that add as much only the cheapest can be
    // in it: the same build with that pair ranks before.
    const bool cheapestOnly = q_.Results == 1;
    for (const auto& [effect, row] : best) {
        if (!cheapestOnly || pairs.empty() || pairs.back()[2] != row[2]) {
            pairs.push_back(row);
        }
    }
    // Try the likely best first: more of a stat the objective wants, else less.
    const bool wanted = ObjectiveWants(q_.Objective, i);
    std::sort(pairs.begin(), pairs.end(), [wanted](const Pair& a, const Pair& b) {
        if (a[3] != b[3]) {
            return a[3] < b[3];
        }
        return wanted ? a[2] > b[2] : a[2] < b[2];
    });
    cached.first = true;
    return pairs;
}

}  // namespace solver
