#include "search/give_up.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <map>
#include <utility>

#include "search/solver/ranking.h"

// Which minimums to give up. Giving up more never hurts, so the smallest sets that leave
// a build are found size by size: every set of one minimum, then of two, and so on,
// stopping at the first size where one fits. Among the sets of that size, the player
// loses least with the set whose minimums fall shortest of what was asked, as a share of
// it: the sets are compared by their largest shortfall share, then the next largest, and
// at a full tie the set first in the order of the minimums wins.
//
// Every figure is the most of a minimum's figure among the builds that meet every
// condition but the minimums given up, found by walks that ask for the figure alone, not
// for the best-ranked build reaching it. Two things known along the way bound them:
// builds found by earlier walks that meet a later walk's conditions start it, and once
// every set one smaller than S is known to leave no build, no build without the
// minimums of S reaches any one of them (else the set without it would fit).

namespace {

using Mask = unsigned;  // bit m: minimum m given up

SearchObjective FigureOf(int minimum) {
    return minimum == kMinDistance ? SearchObjective::Distance
                                   : static_cast<SearchObjective>(minimum + 2);
}

// The walks of the pass, each made once.
class Reacher {
public:
    Reacher(SearchModel& model, const SearchQuery& query, const SearchControl* control, double from,
            uint64_t& nodes)
        : model_(model), query_(query), control_(control), done_(from), nodes_(nodes) {}

    // Walks still ahead, as far as known: each walk takes that share of the progress left.
    void Ahead(int walks) { ahead_ = std::max(walks, 1); }
    bool Cancelled() const { return cancelled_; }

    // The most of `minimum`'s figure among builds that meet every condition of the query
    // but the minimums in `given` and `minimum` itself; none where no build does. With
    // `bounded`, no such build reaches the minimum asked. Only the figure counts, not
    // which build reaches it: where many builds reach the most, ranking them by PP and
    // changes would cost far more than finding it.
    std::optional<int32_t> Most(Mask given, int minimum, bool bounded) {
        const std::pair<Mask, int> key{given | 1u << minimum, minimum};
        if (const auto known = known_.find(key); known != known_.end()) {
            return known->second;
        }
        const SearchQuery q = Without(key.first, minimum);
        const std::optional<FoundBuild> seed = Seed(q);
        std::optional<Ceiling> ceiling;
        if (bounded) {
            ceiling = Ceiling{*query_.Min[minimum] - 1, 0};
        }
        const std::optional<FoundBuild> best =
            Walk(q, seed ? std::span(&*seed, 1) : std::span<const FoundBuild>(), ceiling, 1.0);
        if (cancelled_) {
            return std::nullopt;
        }
        known_[key] = best ? std::optional(best->Value) : std::nullopt;
        return known_[key];
    }

    // Most(given, minimum, false) for a minimum that builds without `given` meet, where
    // one of them is known: the figure lies between what those builds reach and the most
    // with every minimum in `all` given up. Where few builds reach far, a walk for the
    // most wanders long before it finds one; one that asks for a figure and stops at the
    // first build reaching it is quick except near the most, so the figure is halved
    // in on such walks instead.
    std::optional<int32_t> Kept(Mask given, int minimum, Mask all) {
        const SearchQuery q = Without(given | 1u << minimum, minimum);
        const std::optional<FoundBuild> seed = Seed(q);
        const std::optional<int32_t> top = Most(all, minimum, false);
        if (cancelled_ || !seed || !top) {
            return std::nullopt;
        }
        int32_t low = seed->Value;
        int32_t high = *top;
        for (int step = 1; low < high; ++step) {
            // Any build that reaches `mid`: the least PP finds one soonest, and "nothing
            // passes the first build found" leaves every branch once it has one; only
            // where there is none is the walk exhaustive.
            SearchQuery reach = q;
            const int32_t mid = low + (high - low + 1) / 2;
            reach.Min[minimum] = mid;
            reach.Objective = SearchObjective::LeastPP;
            constexpr Ceiling kFirst{std::numeric_limits<int32_t>::min(),
                                     std::numeric_limits<int32_t>::max()};
            const std::optional<FoundBuild> found =
                Walk(reach, {}, kFirst, 1.0 / (1 << std::min(step, 20)));
            if (cancelled_) {
                return std::nullopt;
            }
            if (found) {
                low = ObjectiveValue(q.Objective, found->Figures);
            } else {
                high = mid - 1;
            }
        }
        return low;
    }

private:
    // The query's conditions without the minimums in `given`, for the most of `minimum`.
    SearchQuery Without(Mask given, int minimum) const {
        SearchQuery q = query_;
        for (int m = 0; m < kMinimumCount; ++m) {
            if ((given >> m & 1u) != 0) {
                q.Min[m].reset();
            }
        }
        q.Results = 1;
        q.Objective = FigureOf(minimum);
        return q;
    }

    // One walk for the best value of `q`, which takes `part` of this walk's share of the
    // progress; none where no build meets `q` or the search was cancelled.
    std::optional<FoundBuild> Walk(const SearchQuery& q, std::span<const FoundBuild> seeds,
                                   std::optional<Ceiling> ceiling, double part) {
        const double span = (1.0 - done_) / ahead_ * part;
        const SearchOutcome walk =
            model_.Solve(q, control_, done_, span, seeds, nullptr, ceiling, nullptr, true);
        done_ += span;
        if (part == 1.0) {
            ahead_ = std::max(ahead_ - 1, 1);
        }
        nodes_ += walk.Nodes;
        cancelled_ = cancelled_ || walk.Cancelled;
        if (walk.Cancelled || walk.Builds.empty()) {
            return std::nullopt;
        }
        found_.push_back(walk.Builds.front());
        return walk.Builds.front();
    }

    // The best of the builds found so far that meet the conditions of `q`, ranked by its
    // objective.
    std::optional<FoundBuild> Seed(const SearchQuery& q) const {
        std::optional<FoundBuild> best;
        for (FoundBuild build : found_) {
            if (!solver::MeetsConditions(q, build.Figures)) {
                continue;
            }
            build.Value = ObjectiveValue(q.Objective, build.Figures);
            build.Rank = solver::RankOf(q.Objective, build.Figures);
            if (!best || solver::RanksBefore(build, *best)) {
                best = build;
            }
        }
        return best;
    }

    SearchModel& model_;
    const SearchQuery& query_;
    const SearchControl* control_;
    double done_;
    int ahead_ = 1;
    uint64_t& nodes_;
    bool cancelled_ = false;
    std::vector<FoundBuild> found_;  // each meets every condition but the minimums
    std::map<std::pair<Mask, int>, std::optional<int32_t>> known_;
};

// How far a given-up minimum falls short: Short / Wanted of what was asked.
struct Shortfall {
    int64_t Short = 0;
    int64_t Wanted = 1;
};

bool Smaller(const Shortfall& a, const Shortfall& b) {
    return a.Short * b.Wanted < b.Short * a.Wanted;
}

// A set of minimums that leaves a build, with its shortfalls, the largest first.
struct Choice {
    std::vector<int> Given;
    std::vector<Shortfall> Shortfalls;
};

// Whether `a` falls shorter than `b`: largest shares first, then the next.
bool Nearer(const Choice& a, const Choice& b) {
    return std::lexicographical_compare(a.Shortfalls.begin(), a.Shortfalls.end(),
                                        b.Shortfalls.begin(), b.Shortfalls.end(), Smaller);
}

Mask MaskOf(const std::vector<int>& minimums) {
    Mask mask = 0;
    for (const int m : minimums) {
        mask |= 1u << m;
    }
    return mask;
}

// The sets of `size` of the minimums asked, each in the order of the minimums, the sets in
// that order too.
std::vector<std::vector<int>> SetsOf(const std::vector<int>& asked, int size) {
    std::vector<std::vector<int>> sets;
    for (Mask pick = 0; pick < 1u << asked.size(); ++pick) {
        if (std::popcount(pick) == size) {
            std::vector<int> set;
            for (size_t i = 0; i < asked.size(); ++i) {
                if ((pick >> i & 1u) != 0) {
                    set.push_back(asked[i]);
                }
            }
            sets.push_back(std::move(set));
        }
    }
    std::sort(sets.begin(), sets.end());
    return sets;
}

// The best set of `size` to give up, where every smaller set leaves no build; none where
// no set of that size leaves one (or the search was cancelled).
std::optional<Choice> BestOfSize(Reacher& reach, const SearchQuery& query,
                                 const std::vector<int>& asked, int size) {
    const std::vector<std::vector<int>> sets = SetsOf(asked, size);
    reach.Ahead(static_cast<int>(sets.size() + asked.size()));
    std::optional<Choice> best;
    for (const std::vector<int>& set : sets) {
        Choice choice{set, {}};
        for (const int m : set) {
            const std::optional<int32_t> most = reach.Most(MaskOf(set), m, true);
            if (reach.Cancelled()) {
                return std::nullopt;
            }
            if (!most) {
                break;  // the same conditions for every minimum of the set
            }
            const int64_t wanted = *query.Min[m];
            choice.Shortfalls.push_back({wanted - *most, std::max<int64_t>(wanted, 1)});
        }
        if (choice.Shortfalls.size() != set.size()) {
            continue;
        }
        std::sort(choice.Shortfalls.begin(), choice.Shortfalls.end(),
                  [](const Shortfall& a, const Shortfall& b) { return Smaller(b, a); });
        if (!best || Nearer(choice, *best)) {
            best = std::move(choice);
        }
    }
    return best;
}

}  // namespace

bool GiveUpPass(SearchModel& model, const SearchQuery& query, const SearchControl* control,
                double progressFrom, SearchResult& result) {
    std::vector<int> asked;
    for (int m = 0; m < kMinimumCount; ++m) {
        if (query.Min[m]) {
            asked.push_back(m);
        }
    }
    Reacher reach(model, query, control, progressFrom, result.Nodes);
    const Mask all = MaskOf(asked);
    const int count = static_cast<int>(asked.size());
    std::optional<Choice> best;
    bool fits = true;
    for (int size = 1; size <= count && !best && fits; ++size) {
        if (size == 2) {
            // Before the larger sets: whether any build fits with every minimum given up.
            reach.Ahead(1 + count);
            fits = reach.Most(all, asked.front(), count == 2).has_value();
        }
        if (fits) {
            best = BestOfSize(reach, query, asked, size);
        }
        if (reach.Cancelled()) {
            return false;
        }
        fits = fits && (best || size < count);
    }
    const Mask given = best ? MaskOf(best->Given) : 0;
    reach.Ahead(count);
    for (const int m : asked) {
        MinimumReach r;
        r.Minimum = m;
        r.Wanted = *query.Min[m];
        r.GiveUp = (given >> m & 1u) != 0;
        if (best) {
            r.Reachable = r.GiveUp ? reach.Most(given, m, false) : reach.Kept(given, m, all);
        }
        if (reach.Cancelled()) {
            result.Reaches.clear();
            return false;
        }
        result.Reaches.push_back(r);
    }
    return true;
}
