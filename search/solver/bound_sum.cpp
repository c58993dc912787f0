#include <algorithm>
#include <limits>

#include "clubs/clubs.h"
#include "search/solver/bound.h"

namespace solver {

using upgrade_prices::kNoLimit;
using upgrade_prices::MostBought;
using upgrade_prices::Units;

namespace {

constexpr int kRememberedBits = 14;

}  // namespace

// What the later stages add at most to the objective's status (or the sum), every count
// at its top (within the budget), with the statuses summed so far: the groups of stage s
// then need only be weighed by what they add.
std::optional<int64_t> Bound::ScoreRoom(size_t s, const Node& node) const {
    if (pool_.Last() == nullptr || node.Club < 0) {
        return std::nullopt;
    }
    const auto& rest = m_.Rest[s + 1];
    const TStatus& clubLimit = ClubSets()[node.Club].ClubSlotLimit;
    const std::optional<int32_t> spend = Spend();
    const bool budget = spend.has_value();
    const int64_t money = budget ? int64_t{*spend} - node.PP : 0;
    Units units;
    int64_t kept = 0;
    int64_t free = 0;
    const auto counts = [&](int i) {
        units.Club[i] = m_.ClubCountFree[i] ? std::max(0, StatField(clubLimit, i)) : 0;
        if (m_.CountFree[i]) {
            units.Chara[i] = CharaSpinnerMax(i);
        } else {
            kept += std::max(0, m_.Current[kFieldCount + i]);
        }
        free += units.Chara[i] + units.Club[i];
    };
    if (q_.Objective == SearchObjective::Sum) {
        if (!q_.NoPenalty && !m_.NeverNegative) {
            return std::nullopt;  // a penalty can raise a status below 0 to 0
        }
        int64_t total = rest.SumMax[0];
        for (int i = 0; i < kStatCount; ++i) {
            total += node.St[i];
            counts(i);
        }
        return total + kept + (budget ? std::min(free, Most(units, money)) : free);
    }
    const int i = static_cast<int>(q_.Objective) - 2;
    if (i < 1 || i >= kStatCount || ((i == 1 || i == 2) && pool_.Last()->Rank <= 0)) {
        return std::nullopt;  // control and accuracy never show below 0
    }
    counts(i);
    int64_t bought = free;
    if (budget) {
        bought = money < 0
                     ? 0
                     : MostBought(i, 0, static_cast<int32_t>(money), units.Chara[i], units.Club[i]);
    }
    return int64_t{node.St[i]} + rest.StMax[i] + kept + bought;
}

namespace {

// What the status sum of a branch is made of: the statuses summed so far, the kept counts,
// the room each open count's limit leaves and its top, and the units of upgrade two ways.
struct SumParts {
    int32_t Total = 0;
    int32_t Kept = 0;
    int32_t KeptPow = 0;   // of Kept, power's
    int32_t EachMost = 0;  // each status at its own most over the open stages
    Five Room{}, Top{};
    unsigned Open = 0;  // the stats whose counts are still open
    Units Plain;        // capped by all a count can take
    Units Beside;       // capped by the room beside each status at its most
};

SumParts PartsOf(const CharaModel& m, size_t s, const Node& node, const Five& cu, const Five& spin,
                 const Five& cv) {
    const auto& rest = m.Rest[s];
    SumParts p;
    for (int i = 0; i < kStatCount; ++i) {
        p.Total += node.St[i];
        p.EachMost += rest.StMax[i];
        if (i < node.UpDone) {
            continue;
        }
        p.Open |= 1u << i;
        const int32_t here = m.Current[kFieldCount + i];
        p.Room[i] = node.Sl[i] + (i == 0 ? m.LevelBonus : 0) + cv[i];
        p.Top[i] = (m.CountFree[i] ? CharaSpinnerMax(i) : here) + cv[i];
        if (m.CountFree[i]) {
            p.Plain.Chara[i] = spin[i];
            p.Beside.Chara[i] = cu[i];
        } else {
            p.Kept += std::max(0, here);
            p.KeptPow += i == 0 ? std::max(0, here) : 0;
        }
        p.Plain.Club[i] = cv[i];
        p.Beside.Club[i] = cv[i];
    }
    return p;
}

// Where no option lowers a limit: after the last stage each open count adds the less of
// its limit and its top; before it, the least over the sets of the stats whose limit
// binds, with what those limits add over the tops summed set by set. Power stops at
// powHi (the limit without a penalty, the window's most excess with one), the other four
// bounded alike.
int32_t LimitedSum(const CharaModel& m, size_t s, const Node& node, const SumParts& p,
                   int32_t powHi) {
    const int32_t powAtLimit = powHi + p.Total - node.St[0];
    if (s == m.Stages.size()) {
        int32_t best = p.Total;
        int32_t b = powAtLimit;
        for (int i = 0; i < kStatCount; ++i) {
            if ((p.Open >> i & 1) != 0) {
                best += std::min(p.Room[i], p.Top[i]);
                b += i > 0 ? std::min(p.Room[i], p.Top[i]) : 0;
            }
        }
        return std::min(best, b);
    }
    const auto& rest = m.Rest[s];
    // What the limits of each set of stats add over their tops, built a stat at a time
    // (the sets with stat i are those without it, shifted by its term), and the least over
    // the sets: plain loops over whole arrays, which the bound runs at every branch.
    std::array<int32_t, 1 << kStatCount> over;
    over[0] = 0;
    int32_t tops = 0;
    for (int i = 0; i < kStatCount; ++i) {
        tops += p.Top[i];
        const int32_t term = p.Room[i] - p.Top[i];
        const size_t half = size_t{1} << i;
        for (size_t k = 0; k < half; ++k) {
            over[half + k] = over[k] + term;
        }
    }
    int32_t least = rest.SumMax[0];
    for (size_t set = 0; set < over.size(); ++set) {
        least = std::min(least, rest.SumMax[set] + over[set]);
    }
    int32_t leastNoPow = rest.SumMaxNoPow[0];
    for (size_t set = 0; set < rest.SumMaxNoPow.size(); ++set) {
        leastNoPow = std::min(leastNoPow, rest.SumMaxNoPow[set] + over[set << 1]);
    }
    return std::min(p.Total + tops + least, powAtLimit + tops - p.Top[0] + leastNoPow);
}

}  // namespace

// The status sum bounded over the options together rather than stat by stat: what the
// stages from s on add to the five statuses at once, with each open count adding at most
// its slot limit or at most its top, whichever the stage maxima make less; with a budget,
// at most the units of upgrade it buys. Also the least PP a build reaching `bar` needs:
// the units beyond what the statuses and kept counts give.
//
// The units are weighed two ways, each a bound on its own, and the tighter taken:
// - with the options' most status sum, a free character count is capped only by all it
//   can ever take (`spin`), since an option adding less status may add more limit;
// - with each status at its own most, a count is capped by `cu`, the room its limit
//   leaves beside that most: an option adding d less of a status adds at most d more to
//   its limit, so d fewer units stand for what it gives up.
// The options' most status sum with the counts capped by `cu` is no bound: the option
// that adds most to the sum need not leave any count that room.
std::pair<int32_t, int32_t> Bound::SumBound(size_t s, const Node& node, const Five& cu,
                                            const Five& spin, const Five& cv, int32_t powHi,
                                            int32_t bar) const {
    const SumParts p = PartsOf(m_, s, node, cu, spin, cv);
    const std::pair<int64_t, Units> plain{int64_t{p.Total} + p.Kept + m_.Rest[s].SumMax[0],
                                          p.Plain};
    const std::pair<int64_t, Units> each{int64_t{p.Total} + p.Kept + p.EachMost, p.Beside};
    // Power stops at powHi whatever the options add: the other four bring the rest, with
    // their own most over the options and units bought for them alone.
    std::pair<int64_t, Units> others{
        int64_t{powHi} + p.Total - node.St[0] + p.Kept - p.KeptPow + m_.Rest[s].SumMaxNoPow[0],
        p.Plain};
    others.second.Chara[0] = 0;
    others.second.Club[0] = 0;
    int32_t best = std::numeric_limits<int32_t>::max();
    if (m_.LimitsRise) {
        best = LimitedSum(m_, s, node, p, powHi);
    }
    if (q_.Budget) {
        const int64_t money = int64_t{*q_.Budget} - node.PP;
        const int64_t most = std::min({plain.first + Most(plain.second, money),
                                       each.first + Most(each.second, money),
                                       others.first + Most(others.second, money)});
        best = static_cast<int32_t>(std::min<int64_t>(best, most));
    } else {
        int64_t all = others.first;
        for (int i = 1; i < kStatCount; ++i) {
            all += others.second.Chara[i] + others.second.Club[i];
        }
        best = static_cast<int32_t>(std::min<int64_t>(best, all));
    }
    int32_t ppNeed = 0;
    // Only a budget or a tie reads the PP a build reaching the bar needs.
    if (bar != kUnreachable && (q_.Budget || best <= bar)) {
        int64_t cost = 0;
        for (const auto& [from, caps] : {plain, each, others}) {
            if (bar > from && cost >= 0) {
                const int64_t c = Cheapest(caps, bar - from);
                cost = c < 0 ? -1 : std::max(cost, c);
            }
        }
        ppNeed = cost < 0 ? std::numeric_limits<int32_t>::max()
                          : static_cast<int32_t>(std::min<int64_t>(node.PP + cost, kNoLimit));
    }
    return {best, ppNeed};
}

template <class Answer>
int64_t Bound::Remember(std::vector<Remembered>& table, const Units& units, int64_t arg,
                        Answer&& answer) const {
    uint64_t caps = 1;
    for (int i = 0; i < kStatCount; ++i) {
        if (units.Chara[i] >= 64 || units.Club[i] >= 64) {
            return answer();
        }
        caps = caps << 6 | static_cast<uint64_t>(units.Chara[i]);
        caps = caps << 6 | static_cast<uint64_t>(units.Club[i]);
    }
    const uint64_t h =
        (caps ^ static_cast<uint64_t>(arg) * 0xC2B2AE3D27D4EB4Full) * 0x9E3779B97F4A7C15ull;
    if (table.empty()) {
        table.resize(size_t{1} << kRememberedBits);
    }
    Remembered& slot = table[h >> (64 - kRememberedBits)];
    if (slot.Caps != caps || slot.Arg != arg) {
        slot = {caps, arg, answer()};
    }
    return slot.Value;
}
int64_t Bound::Cheapest(const Units& units, int64_t n) const {
    return Remember(cheapest_, units, n, [&] { return units.Cheapest(n); });
}
int64_t Bound::Most(const Units& units, int64_t money) const {
    return Remember(most_, units, money, [&] { return units.Most(money); });
}

}  // namespace solver
