// What the stages from any point on can still add: the ranges the bounds read.

#include <algorithm>

#include "engine/golf_formulas.h"
#include "search/solver/stage_model.h"

namespace solver {

namespace {

// The most and least stage s adds, option by option.
Reach StageReach(const Stage& stage, bool& limitsRise) {
    Reach r;
    bool first = true;
    const auto most = [&first](int32_t& to, int32_t v) { to = first ? v : std::max(to, v); };
    const auto least = [&first](int32_t& to, int32_t v) { to = first ? v : std::min(to, v); };
    for (const Option& o : stage.Options) {
        int32_t sum = 0;
        for (int i = 0; i < kStatCount; ++i) {
            most(r.StMax[i], o.St[i]);
            least(r.StMin[i], o.St[i]);
            most(r.SlMax[i], o.Sl[i]);
            least(r.SlMin[i], o.Sl[i]);
            sum += o.St[i];
            limitsRise = limitsRise && o.Sl[i] >= 0;
        }
        for (size_t set = 0; set < r.SetMax.size(); ++set) {
            int32_t v = 0;
            int32_t joint = 0;
            for (int i = 0; i < kStatCount; ++i) {
                v += (set >> i & 1) != 0 ? o.St[i] : 0;
                joint += (set >> i & 1) != 0 ? o.St[i] + o.Sl[i] : 0;
            }
            most(r.SetMax[set], v);
            most(r.JointMax[set], joint);
        }
        for (size_t set = 0; set < r.SumMax.size(); ++set) {
            int32_t v = sum;
            for (int i = 0; i < kStatCount; ++i) {
                v += (set >> i & 1) != 0 ? o.Sl[i] : 0;
            }
            most(r.SumMax[set], v);
            if ((set & 1) == 0) {
                most(r.SumMaxNoPow[set >> 1], v - o.St[0]);
            }
        }
        most(r.RingMax, o.Ring);
        most(r.YardMax, o.Yard);
        most(r.PyMax, o.Py);
        first = false;
    }
    return r;
}

void AddReach(Reach& to, const Reach& r) {
    AddFive(to.StMax, r.StMax);
    AddFive(to.StMin, r.StMin);
    AddFive(to.SlMax, r.SlMax);
    AddFive(to.SlMin, r.SlMin);
    for (size_t set = 0; set < to.SumMax.size(); ++set) {
        to.SumMax[set] += r.SumMax[set];
    }
    for (size_t set = 0; set < to.SetMax.size(); ++set) {
        to.SetMax[set] += r.SetMax[set];
        to.JointMax[set] += r.JointMax[set];
    }
    for (size_t k = 0; k < to.SumMaxNoPow.size(); ++k) {
        to.SumMaxNoPow[k] += r.SumMaxNoPow[k];
    }
    to.RingMax += r.RingMax;
    to.YardMax += r.YardMax;
    to.PyMax += r.PyMax;
}

// Appends to `to` what a stage's gain (gain(o) beside its kept choice) can add change by
// change. A joined stage can take several changes for its largest gain. Its gain with at
// most k changes is bounded by the least concave function above it, whose steps fall:
// one entry per change, so that the largest entries of all stages bound what any number
// of changes can gain. A stage without its current choice adds one 0: its change is
// counted on its own.
template <class Gain>
void AddSteps(const std::vector<Option>& options, bool kept, std::vector<int32_t>& to,
              Gain&& gain) {
    if (!kept) {
        to.push_back(0);
        return;
    }
    int32_t most = 1;
    for (const Option& o : options) {
        most = std::max(most, o.Changes);
    }
    std::vector<int32_t> best(static_cast<size_t>(most) + 1, 0);
    for (const Option& o : options) {
        auto& b = best[static_cast<size_t>(o.Changes)];
        b = std::max(b, gain(o));
    }
    for (size_t k = 1; k < best.size(); ++k) {
        best[k] = std::max(best[k], best[k - 1]);
    }
    // The upper concave hull from 0, its slopes over each single change.
    size_t from = 0;
    while (from + 1 < best.size()) {
        size_t next = from + 1;
        for (size_t k = from + 2; k < best.size(); ++k) {
            if (int64_t{best[k] - best[from]} * static_cast<int64_t>(next - from) >
                int64_t{best[next] - best[from]} * static_cast<int64_t>(k - from)) {
                next = k;
            }
        }
        const int32_t rise = best[next] - best[from];
        const auto steps = static_cast<int32_t>(next - from);
        for (int32_t k = 0; k < steps; ++k) {
            // Rounded up, the largest first: the steps still add to the rise.
            to.push_back(rise / steps + (k < rise % steps ? 1 : 0));
        }
        from = next;
    }
}

// What stage s adds to the gains of the stages after it.
void StageGains(const std::vector<Option>& options, Gains& g) {
    if (options.empty()) {
        return;  // a stage without options: no build to bound
    }
    const Option* kept = options.front().Changes == 0 ? &options.front() : nullptr;
    g.MustChange += kept == nullptr ? 1 : 0;
    for (int d = 0; d < kGainDims; ++d) {
        int32_t top = GainOf(options.front(), d);
        for (const Option& o : options) {
            top = std::max(top, GainOf(o, d));
        }
        const int32_t here = kept != nullptr ? GainOf(*kept, d) : top;
        g.Kept[d] += here;
        AddSteps(options, kept != nullptr, g.Up[d],
                 [&](const Option& o) { return GainOf(o, d) - here; });
        std::sort(g.Up[d].rbegin(), g.Up[d].rend());
    }
    int32_t least = options.front().St[0];
    for (const Option& o : options) {
        least = std::min(least, o.St[0]);
    }
    const int32_t here = kept != nullptr ? kept->St[0] : least;
    g.KeptPow += here;
    AddSteps(options, kept != nullptr, g.PowDown, [&](const Option& o) { return here - o.St[0]; });
    std::sort(g.PowDown.rbegin(), g.PowDown.rend());
}

}  // namespace

int32_t GainOf(const Option& o, int d) {
    switch (d) {
        case kDimDistance:
            return kYardsPerPower * o.St[0] + o.Ring + o.Yard;
        case kDimPowerDistance:
            return kYardsPerPower * o.St[0] + o.Ring + o.Yard + o.Py;
        case kDimSum:
            return o.St[0] + o.St[1] + o.St[2] + o.St[3] + o.St[4];
        default:
            return o.St[d];
    }
}

void MeasureReach(CharaModel& m) {
    const size_t stages = m.Stages.size();
    m.Rest.assign(stages + 1, Reach{});
    m.RestGains.assign(stages + 1, Gains{});
    for (size_t s = stages; s-- > 0;) {
        m.Rest[s] = m.Rest[s + 1];
        AddReach(m.Rest[s], StageReach(m.Stages[s], m.LimitsRise));
        m.RestGains[s] = m.RestGains[s + 1];
        StageGains(m.Stages[s].Options, m.RestGains[s]);
    }
    for (int i = 0; i < kStatCount; ++i) {
        m.NeverNegative = m.NeverNegative && m.Base[i] + m.Rest[0].StMin[i] >= 0;
    }
}

}  // namespace solver
