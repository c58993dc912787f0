#pragma once

// The search space of one character: its stages of options, and what the stages from
// any point on can still add.

#include <vector>

#include "search/solver/acquired.h"
#include "search/solver/terms.h"

struct PlannedBuild;
struct TSimResults;

namespace solver {

struct Stage {
    std::vector<int> Fields;  // in rising field order
    std::vector<Option> Options;
};

// What stages s.. can add at most and at least, option by option.
struct Reach {
    Five StMax{}, StMin{}, SlMax{}, SlMin{};
    int32_t RingMax = 0, YardMax = 0, PyMax = 0;
    // For the status sum, option by option: the most of the five statuses together
    // plus the slot limits of the stats in a set (bit i: stat i), and the same
    // without power over the sets of the other four (index: bits 1..4 shifted down).
    std::array<int32_t, 1 << kStatCount> SumMax{};
    std::array<int32_t, 1 << (kStatCount - 1)> SumMaxNoPow{};
    // Option by option, the most of the statuses of a set together (bit i: stat i): one
    // option seldom brings the most of several statuses at once.
    std::array<int32_t, 1 << kStatCount> SetMax{};
    // Option by option, the most of the statuses of a set and their slot limits together:
    // a count adds at most its limit, and an option seldom brings the most of both.
    std::array<int32_t, 1 << kStatCount> JointMax{};
};

// For the least number of changes a branch still needs: what the stages from s on
// give when each keeps its current choice, and what changing one can add at most
// (sorted, largest first). Dimensions: the five statuses, the 1W distance's part that
// power and yards make, the same with the power-shot yards, the status sum.
constexpr int kGainDims = 8;
constexpr int kDimDistance = 5;
constexpr int kDimPowerDistance = 6;
constexpr int kDimSum = 7;
struct Gains {
    std::array<int32_t, kGainDims> Kept{};
    int32_t KeptPow = 0;  // power when kept, for what must come down
    std::array<std::vector<int32_t>, kGainDims> Up;
    std::vector<int32_t> PowDown;
    int32_t MustChange = 0;  // stages whose current choice is not among their options
};

struct CharaModel {
    int32_t Chara = 0;
    std::vector<Stage> Stages;
    std::vector<Reach> Rest;  // what stages s.. can still add; Rest[Stages.size()] is zero
    std::vector<Gains> RestGains;
    Five Base{};
    BuildFields Current{};
    int32_t PageChanges = 0;
    std::array<bool, kStatCount> CountFree{};
    std::array<bool, kStatCount> ClubCountFree{};
    int32_t KeptCountPP = 0;
    int32_t LevelBonus = 0;
    bool LimitsRise = true;     // no option lowers a slot limit
    bool NeverNegative = true;  // no build has a status below 0 before the penalty
    int32_t Limit = 0;
    Acquisitions Acq;  // what its builds may acquire; options past the limit are left out
};

// The stages of character c with the parts `query` frees, within what it lets acquire;
// `was` is the chain's last run of the current selection `base`.
CharaModel MakeCharaModel(const PlannedBuild& base, const TSimResults& was,
                          const SearchQuery& query, int32_t c);

// Fills Rest, RestGains, LimitsRise and NeverNegative from the stages.
void MeasureReach(CharaModel& m);

// The value of gain dimension d that option o adds.
int32_t GainOf(const Option& o, int d);

}  // namespace solver
