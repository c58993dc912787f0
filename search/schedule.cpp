// The schedule of one search: the passes it runs over the solver (the best builds, the
// ties, the minimums to give up when nothing fits, the trade-off curve), each on its own.
//
// A build of one character is a choice for each of 34 fields (page, wear slots, cards,
// counts, caddie, special card, club set, club counts). The fields are gathered into stages (the
// body slots, each other wear slot, the three character cards, the two caddie cards, the caddie
// with the special card, the club set) and a depth-first walk chooses one option per stage; the ten
// counts are chosen last, stat by stat. Within a stage, options that add exactly the same to every
// figure are one option: the one with fewer changes (then lower indices) always ranks better, so
// the others can never be an answer. At every branch the walk bounds what the stages
// still open can add (the most and the least of every status, slot limit and distance
// bonus stage by stage; the sums of the remaining stages together where they are few,
// weighed a cluster of alike sums at a time through the cluster's best in every respect;
// for the status sum the five statuses at once; and the PP that the minimums and the
// last answer still need) and leaves the branch when even that bound cannot beat the
// answers kept. Memos leave a way that reaches the same sums as an earlier, better way,
// or as many better ways as answers. Nothing else is pruned, so the answer is exact.
// Natively the walk runs on a thread per core: the threads share the answers, which
// bound every thread's walk, and the branches of one stage, each walked by the thread
// that takes it first; a thread left without work is handed part of another's.

#include <limits>

#include "search/answers_so_far.h"
#include "search/give_up.h"
#include "search/search.h"
#include "search/search_model.h"
#include "search/solver/ranking.h"
#include "search/solver/work_sharing.h"

namespace {

// Where the curve's share of the progress starts.
constexpr double kCurveFrom = 0.6;

// A made-up last answer: every build of that rank and no more PP (and, where given, no
// more changes) ranks before it.
FoundBuild MadeUpLast(int32_t rank, int32_t pp,
                      int32_t changes = std::numeric_limits<int32_t>::max()) {
    FoundBuild bar;
    bar.Rank = rank;
    bar.Figures.PP = pp;
    bar.Changes = changes;
    bar.Fields.fill(std::numeric_limits<int32_t>::max());
    return bar;
}

// The plain walk's nodes (SearchControl::PlainWalkNodes).
uint64_t PlainNodes(const SearchControl* control) {
    return control != nullptr ? control->PlainWalkNodes : SearchControl{}.PlainWalkNodes;
}

// Where a made-up answer cuts little, a walk with one that outgrows the plain walk's nodes
// (or those of the walk before it) hands over to the walk over all.
WalkCap HandOverAfter(const SearchControl* control, uint64_t before) {
    const uint64_t plainNodes = PlainNodes(control);
    return {plainNodes == 0 ? 0 : std::max(plainNodes, before), false};
}

// `query` within `pp` PP: for a walk whose answers can cost no more, as none passes the
// known best value and each ranks before a build of that value and PP (a made-up last
// answer, a floor or the best build so far). The budget lets the walk's memo take more
// ways for alike.
SearchQuery WithinPP(const SearchQuery& query, int32_t pp) {
    SearchQuery within = query;
    within.Budget = std::min(query.Budget.value_or(pp), pp);
    return within;
}

// The best build (one answer) of `query`. Most goals end fast in a plain walk. On the
// rest, a walk that ranks the builds of the best value by PP and changes spends most of
// its time improving builds it found early: it proves an answer fast only once it holds
// it. So a walk asking only for the best value goes next, then walks with a made-up last
// answer of that value and a PP from none to half the value walk's ask whether any build
// ranks before it; the first that finds one has found the best build, as it finds every
// build ranking before its bar. Failing, each costs little: its bar cuts what the walk
// over all would walk. The last walk starts from the best build found so far.
//
// `plainWorks` is whether to try the plain walk first; it turns false where that walk ran
// out of nodes, as it then most often does on the curve's next steps too.
SearchOutcome BestOne(SearchModel& model, const SearchQuery& query, const SearchControl* control,
                      double from, double span, std::span<const FoundBuild> seeds,
                      std::optional<Ceiling> ceiling, const SearchModel::FoundSoFar* hook,
                      uint64_t& nodes, bool& plainWorks) {
    // Most goals end within the plain walk's nodes.
    const uint64_t plainNodes = PlainNodes(control);
    SearchOutcome plain;
    plain.Builds.assign(seeds.begin(), seeds.end());
    if (plainNodes > 0 && plainWorks) {
        plain = model.Solve(query, control, from, span, seeds, nullptr, ceiling, hook, false,
                            {plainNodes, true});
        nodes += plain.Nodes;
        if (!plain.OutOfNodes) {
            return plain;
        }
        plainWorks = false;
    }
    SearchOutcome probe =
        model.Solve(query, control, from, 0, plain.Builds, nullptr, ceiling, hook, true);
    nodes += probe.Nodes;
    if (probe.Cancelled || probe.Builds.empty()) {
        return probe;
    }
    const FoundBuild found = probe.Builds.front();
    const bool leastPP = query.Objective == SearchObjective::LeastPP;
    const Ceiling known{found.Rank, leastPP ? found.Figures.PP : 0};
    // The plain walk's build may rank before the value walk's where both reach the value.
    FoundBuild start = !plain.Builds.empty() && solver::RanksBefore(plain.Builds.front(), found)
                           ? plain.Builds.front()
                           : found;
    // Where a budget leaves the PP little to cut, a made-up answer cuts little too: the
    // walk over all then starts from a better build where one was found.
    const WalkCap cap = HandOverAfter(control, probe.Nodes);
    for (const int32_t divisor : {0, 64, 32, 16, 8, 4, 2}) {
        const int32_t pp = divisor == 0 ? 0 : found.Figures.PP / divisor;
        if (leastPP || pp >= found.Figures.PP || (divisor > 0 && pp == 0)) {
            continue;
        }
        const FoundBuild bar = MadeUpLast(found.Rank, pp);
        SearchOutcome below =
            model.Solve(WithinPP(query, pp), control, from, 0, {}, &bar, known, hook, false, cap);
        nodes += below.Nodes;
        if (below.Cancelled && below.Builds.empty()) {
            probe.Cancelled = true;
            return probe;
        }
        if (below.Cancelled || (!below.OutOfNodes && !below.Builds.empty())) {
            return below;
        }
        if (below.OutOfNodes) {
            if (!below.Builds.empty() && solver::RanksBefore(below.Builds.front(), start)) {
                start = below.Builds.front();
            }
            break;
        }
    }
    SearchOutcome best = model.Solve(WithinPP(query, start.Figures.PP), control, from, span,
                                     std::span(&start, 1), nullptr, known, hook);
    nodes += best.Nodes;
    return best;
}

// The builds tied with the best in value and PP that need at most a few more changes
// than it: walks that also leave every build with more. Where many builds tie, the walk
// over all keeps every tie it meets until it holds as many as asked for, while most
// answers lie near the best build. Where such a walk finds as many as asked for, they are
// the answers, as every build it leaves ranks after them; else its builds start the next.
// One that outgrows the nodes of the best build's walks hands over to the walk over all.
// None where no walk found them all; `seeds` is then what they found.
std::optional<SearchOutcome> NearTies(SearchModel& model, const SearchQuery& query,
                                      const SearchControl* control, const SearchOutcome& main,
                                      const FoundBuild& floor, const Ceiling& top,
                                      const SoFar& soFar, std::vector<FoundBuild>& seeds,
                                      uint64_t& nodes) {
    // Twice the best build's walks together (the last of them may have been short):
    // three failing walks cost little beside theirs, while the walk over all the ties can
    // cost thousands of times more.
    const WalkCap cap = HandOverAfter(control, 2 * std::max(main.Nodes, nodes));
    for (const int32_t more : {0, 1, 3}) {
        const FoundBuild near =
            MadeUpLast(floor.Rank, floor.Figures.PP, main.Builds.front().Changes + more);
        SearchOutcome walk = model.Solve(WithinPP(query, floor.Figures.PP), control, kCurveFrom / 3,
                                         0, seeds, &near, top, soFar.Hook(), false, cap);
        nodes += walk.Nodes;
        if (walk.Cancelled ||
            (!walk.OutOfNodes && walk.Builds.size() == static_cast<size_t>(query.Results))) {
            return walk;
        }
        if (walk.OutOfNodes) {
            break;
        }
        seeds = std::move(walk.Builds);
    }
    return std::nullopt;
}

// The best builds. Many builds often tie with the best in value and PP, differing only in
// figures the objective does not read (a distance too, once power stands at its limit).
// So the best build is found first, and then a walk that leaves every build ranking after
// those two; where it finds as many builds as asked for, they are the answers, else the
// walk over all goes on from the ones it found.
SearchOutcome BestPass(SearchModel& model, const SearchQuery& query, const SearchControl* control,
                       const SoFar& soFar, uint64_t& nodes) {
    const bool ties = query.Results > 1;
    SearchQuery first = query;
    if (ties) {
        first.Results = 1;
    }
    bool plainWorks = true;
    SearchOutcome main = BestOne(model, first, control, 0.0, ties ? kCurveFrom / 3 : kCurveFrom, {},
                                 std::nullopt, soFar.Hook(), nodes, plainWorks);
    if (!ties || main.Cancelled || main.Builds.empty()) {
        return main;
    }
    const FoundBuild floor = MadeUpLast(main.Builds.front().Rank, main.Builds.front().Figures.PP);
    // The best build is known now: no build passes it.
    const Ceiling top{floor.Rank, floor.Figures.PP};
    std::vector<FoundBuild> seeds = main.Builds;
    if (std::optional<SearchOutcome> near =
            NearTies(model, query, control, main, floor, top, soFar, seeds, nodes)) {
        return std::move(*near);
    }
    SearchOutcome tied = model.Solve(WithinPP(query, floor.Figures.PP), control, kCurveFrom / 3,
                                     kCurveFrom / 3, seeds, &floor, top, soFar.Hook());
    nodes += tied.Nodes;
    if (tied.Cancelled || tied.Builds.size() == static_cast<size_t>(query.Results)) {
        return tied;
    }
    SearchOutcome all = model.Solve(query, control, kCurveFrom * 2 / 3, kCurveFrom / 3, tied.Builds,
                                    nullptr, top, soFar.Hook());
    nodes += all.Nodes;
    return all;
}

// The seed of the curve's next step, within `budget`: most often the step's build with
// one count fewer, or an answer within the budget where it ranks first. Found first, it
// bounds that step's walk from the start.
std::optional<FoundBuild> NextSeed(const SearchModel& model, const TSimulator& current,
                                   const FoundBuild& step, const SearchQuery& query,
                                   const std::vector<FoundBuild>& answers) {
    std::optional<FoundBuild> seed = model.CountBelow(current, step, query);
    for (const FoundBuild& answer : answers) {
        if (answer.Figures.PP <= *query.Budget) {
            if (!seed || solver::RanksBefore(answer, *seed)) {
                seed = answer;
            }
            break;
        }
    }
    return seed;
}

// The curve from its top down: the best build within the budget is its last step; one PP
// less than that build costs, the best build is the step before, and so on until no build
// fits. False where the search was cancelled: the steps found so far stand.
bool CurvePass(SearchModel& model, const TSimulator& current, const SearchQuery& query,
               const SearchControl* control, SoFar& soFar, const std::vector<FoundBuild>& answers,
               SearchResult& result) {
    SearchQuery step = query;
    step.Results = 1;
    std::vector<CurveStep> steps;
    std::optional<FoundBuild> seed;
    FoundBuild best = answers.front();  // the best build within the query's own budget
    bool whole = true;
    bool plainWorks = true;
    while (true) {
        CurveStep c;
        c.Answer = model.Answer(best, query.Objective);
        c.PP = c.Answer.Figures.PP;
        c.Value = c.Answer.Value;
        steps.push_back(std::move(c));
        // The curve runs down to no PP: its progress is the share of the top step's PP
        // left behind, and each step's walk is given the share the last step took.
        const double top = std::max(1, steps.front().PP);
        const double done = kCurveFrom + (1.0 - kCurveFrom) * (1.0 - steps.back().PP / top);
        if (control != nullptr && control->Progress) {
            control->Progress(done);
        }
        soFar.Curve(answers, steps);
        if (steps.back().PP == 0) {
            break;
        }
        const double last =
            steps.size() > 1 ? (steps[steps.size() - 2].PP - steps.back().PP) / top : 0.0;
        step.Budget = steps.back().PP - 1;
        seed = NextSeed(model, current, best, step, answers);
        // Within less PP than the step above costs, no build reaches its value.
        const SearchOutcome below =
            BestOne(model, step, control, done, (1.0 - kCurveFrom) * std::min(last, 1.0 - done),
                    seed ? std::span(&*seed, 1) : std::span<const FoundBuild>(),
                    Ceiling{steps.back().Value - 1, 0}, nullptr, result.Nodes, plainWorks);
        if (below.Cancelled) {
            whole = false;
            break;
        }
        if (below.Builds.empty()) {
            break;
        }
        best = below.Builds.front();
    }
    result.Curve.assign(std::make_move_iterator(steps.rbegin()),
                        std::make_move_iterator(steps.rend()));
    return whole;
}

// The best value from what is owned alone, against which the view of what to get next
// weighs each thing: the same query with nothing acquired. False where it was cancelled.
bool OwnedBestPass(const TSimulator& current, const SearchQuery& query,
                   const SearchControl* control, SearchResult& result) {
    SearchQuery owned = query;
    owned.Acquire = 0;
    owned.Distinct = SearchDistinct::Figures;
    owned.Results = 1;
    SearchModel model(current, owned, solver::ThreadCount(control));
    const SearchOutcome best =
        model.Solve(owned, control, kCurveFrom, 0.0, {}, nullptr, std::nullopt, nullptr);
    result.Nodes += best.Nodes;
    if (best.Cancelled) {
        return false;
    }
    if (!best.Builds.empty()) {
        result.OwnedBest = model.Answer(best.Builds.front(), query.Objective).Value;
    }
    for (SearchAnswer& answer : result.Answers) {
        if (result.OwnedBest) {
            answer.Gain = query.Objective == SearchObjective::LeastPP
                              ? *result.OwnedBest - answer.Value
                              : answer.Value - *result.OwnedBest;
        }
    }
    return true;
}

}  // namespace

SearchResult RunSearch(const TSimulator& current, const SearchQuery& query,
                       const SearchControl* asked) {
    ValidateQuery(query);
    // The passes' estimates of their share may overlap: the face is told only progress
    // beyond what it was told.
    SearchControl steady;
    const SearchControl* control = asked;
    double shown = 0;
    if (asked != nullptr && asked->Progress) {
        steady = *asked;
        steady.Progress = [asked, &shown](double done) {
            if (done > shown) {
                shown = done;
                asked->Progress(done);
            }
        };
        control = &steady;
    }
    SearchModel model(current, query, solver::ThreadCount(control));
    SearchResult result;
    result.CurrentBuild = BuildOf(current.State);
    result.Current = FiguresOf(current);
    result.CurrentValue = ObjectiveValue(query.Objective, result.Current);
    result.WithinHoldings = !OwnsEverything(query.Owned);
    result.NextToGet = result.WithinHoldings && query.Distinct == SearchDistinct::Acquired;
    SoFar soFar(model, control, result, query.Objective);

    const SearchOutcome main = BestPass(model, query, control, soFar, result.Nodes);
    for (const FoundBuild& found : main.Builds) {
        result.Answers.push_back(model.Answer(found, query.Objective));
    }
    if (main.Cancelled) {
        result.Cancelled = true;
        return result;
    }
    if (result.Answers.empty()) {
        result.Cancelled = !GiveUpPass(model, query, control, kCurveFrom, result);
        result.Proved = !result.Cancelled;
        return result;
    }
    if (result.NextToGet && !OwnedBestPass(current, query, control, result)) {
        result.Cancelled = true;
        return result;
    }
    if (query.Objective != SearchObjective::LeastPP &&
        !CurvePass(model, current, query, control, soFar, main.Builds, result)) {
        result.Cancelled = true;
        return result;
    }
    if (control != nullptr && control->Progress) {
        control->Progress(1.0);
    }
    result.Proved = true;
    return result;
}
