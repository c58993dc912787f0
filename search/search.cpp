#include "search/search.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <map>
#include <tuple>
#include <unordered_map>

#include "characters/cards.h"
#include "characters/catalogue.h"
#include "characters/roster.h"
#include "clubs/caddies.h"
#include "clubs/clubs.h"
#include "engine/levels.h"
#include "search/search_model.h"

// How the search works. A build of one character is a choice for each of 34 fields
// (page, wear slots, cards, counts, caddie, special card, club set, club counts). The
// fields are gathered into stages (the body slots, each other wear slot, the three
// character cards, the two caddie cards, the caddie with the special card, the club set)
// and a depth-first walk chooses one option per stage; the ten counts are chosen last,
// stat by stat. Within a stage, options that add exactly the same to every figure are
// one option: the one with fewer changes (then lower indices) always ranks better, so
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

namespace {

constexpr std::string_view kPartNames[kSearchPartCount] = {"Top",
                                                           "Pants",
                                                           "TopPants",
                                                           "Waist",
                                                           "Shoes",
                                                           "Hand",
                                                           "Head",
                                                           "Head1",
                                                           "Head2",
                                                           "Face",
                                                           "Face1",
                                                           "Face2",
                                                           "Face3",
                                                           "Hoho",
                                                           "Hoho2",
                                                           "Mouth",
                                                           "Arm",
                                                           "Key",
                                                           "Gun",
                                                           "Ear",
                                                           "Back",
                                                           "Shippo",
                                                           "Acce",
                                                           "Ring",
                                                           "CharaCard1",
                                                           "CharaCard2",
                                                           "CharaCard3",
                                                           "CaddieCard1",
                                                           "CaddieCard2",
                                                           "Caddie",
                                                           "SpecialCard",
                                                           "Club",
                                                           "PowSlotUp",
                                                           "CtrlSlotUp",
                                                           "ExaSlotUp",
                                                           "SpinSlotUp",
                                                           "CurSlotUp",
                                                           "ClubPowSlotUp",
                                                           "ClubCtrlSlotUp",
                                                           "ClubExaSlotUp",
                                                           "ClubSpinSlotUp",
                                                           "ClubCurSlotUp"};

constexpr std::string_view kObjectiveNames[kObjectiveCount] = {
    "distance", "powerDistance", "pow", "ctrl", "exa", "spin", "cur", "sum", "leastPP"};

constexpr std::string_view kMinimumNames[kMinimumCount] = {"pow",  "ctrl", "exa",
                                                           "spin", "cur",  "distance"};

}  // namespace

std::string_view SearchPartName(int part) {
    return part >= 0 && part < kSearchPartCount ? kPartNames[part] : std::string_view{};
}

int SearchPartByName(std::string_view name) {
    for (int i = 0; i < kSearchPartCount; ++i) {
        if (kPartNames[i] == name) {
            return i;
        }
    }
    return -1;
}

std::string_view ObjectiveName(SearchObjective objective) {
    return kObjectiveNames[static_cast<int>(objective)];
}

std::optional<SearchObjective> ObjectiveByName(std::string_view name) {
    for (int i = 0; i < kObjectiveCount; ++i) {
        if (kObjectiveNames[i] == name) {
            return static_cast<SearchObjective>(i);
        }
    }
    return std::nullopt;
}

std::string_view MinimumName(int minimum) {
    return minimum >= 0 && minimum < kMinimumCount ? kMinimumNames[minimum] : std::string_view{};
}

std::string QueryRefusal(std::string_view field, const QueryLimit& limit) {
    std::string refusal = "\"";
    refusal.append(field).append("\": ").append(limit.Refusal);
    return refusal;
}

void ValidateQuery(const SearchQuery& query) {
    if (query.Character != kShownCharacter && query.Character != kAnyCharacter &&
        !kCharacterLimit.Holds(query.Character)) {
        throw ESearchQueryError(QueryRefusal("character", kCharacterLimit));
    }
    if (static_cast<int>(query.Objective) >= kObjectiveCount) {
        throw ESearchQueryError("\"objective\": 目的の名前が正しくありません");
    }
    if (!kResultsLimit.Holds(query.Results)) {
        throw ESearchQueryError(QueryRefusal("results", kResultsLimit));
    }
    for (int m = 0; m < kMinimumCount; ++m) {
        const std::optional<int32_t>& minimum = query.Min[static_cast<size_t>(m)];
        if (minimum && !kMinimumLimit.Holds(*minimum)) {
            throw ESearchQueryError(
                QueryRefusal("min." + std::string(MinimumName(m)), kMinimumLimit));
        }
    }
    if (query.Budget && !kBudgetLimit.Holds(*query.Budget)) {
        throw ESearchQueryError(QueryRefusal("budget", kBudgetLimit));
    }
}

BuildFigures FiguresOf(const TSimulator& sim) {
    const TSimResults& r = sim.Results;
    BuildFigures f;
    f.Final = r.FinalStatus;
    const int32_t limit = PowerLimit(sim.State.Level);
    f.Penalty = r.StatusSum.Pow > limit ? limit - r.StatusSum.Pow : 0;
    const int32_t d = (r.FinalStatus.Pow - 15) * 2 + 230 + r.RingDistance + r.CaddieCardYard;
    f.Distances = {d, d + r.CaddieCardPowerYards + 10, d + r.CaddieCardPowerYards + 20};
    f.PP = UpgradeCostPP(r.ClubSlotUp) + r.CharaPPTotal;
    return f;
}

int32_t ObjectiveValue(SearchObjective objective, const BuildFigures& f) {
    switch (objective) {
        case SearchObjective::Distance:
            return f.Distances[0];
        case SearchObjective::PowerDistance:
            return f.Distances[1];
        case SearchObjective::Pow:
        case SearchObjective::Ctrl:
        case SearchObjective::Exa:
        case SearchObjective::Spin:
        case SearchObjective::Cur:
            return StatField(f.Final, static_cast<int>(objective) - 2);
        case SearchObjective::Sum:
            return f.Final.Pow + f.Final.Ctrl + f.Final.Exa + f.Final.Spin + f.Final.Cur;
        case SearchObjective::LeastPP:
            return f.PP;
    }
    return 0;
}

namespace {

// The order of the answers: the objective, then fewer PP, fewer changes, lower indices.
bool RanksFirst(const FoundBuild& a, const FoundBuild& b) {
    return std::tuple(-a.Rank, a.Figures.PP, a.Changes, a.Fields) <
           std::tuple(-b.Rank, b.Figures.PP, b.Changes, b.Fields);
}

// Tells a face (SearchControl::Found) the best answers found so far while a search runs:
// first about 150 ms after the start, then at most every 200 ms, from the calling thread.
class SoFar {
public:
    using Clock = std::chrono::steady_clock;

    SoFar(const SearchModel& model, const SearchControl* control, const SearchResult& result,
          SearchObjective objective)
        : model_(model),
          control_(control),
          result_(result),
          objective_(objective),
          last_(Clock::now() - std::chrono::milliseconds(50)),
          hook_([this](std::span<const FoundBuild> builds) { Answers(builds); }) {}

    // The hook for a walk whose answers so far are the search's.
    const SearchModel::FoundSoFar* Hook() const {
        return control_ != nullptr && control_->Found ? &hook_ : nullptr;
    }

    void Answers(std::span<const FoundBuild> builds) {
        if (Due()) {
            answers_.assign(builds.begin(), builds.end());
            Tell();
        }
    }

    // The answers are known; the curve's steps so far, from its top down.
    void Curve(std::span<const FoundBuild> answers, const std::vector<CurveStep>& topDown) {
        if (Hook() != nullptr && Due()) {
            answers_.assign(answers.begin(), answers.end());
            steps_.assign(topDown.rbegin(), topDown.rend());
            Tell();
        }
    }

private:
    bool Due() const { return Clock::now() - last_ >= std::chrono::milliseconds(200); }

    void Tell() {
        SearchResult soFar;
        soFar.Current = result_.Current;
        soFar.CurrentValue = result_.CurrentValue;
        soFar.Nodes = result_.Nodes;
        for (const FoundBuild& found : answers_) {
            soFar.Answers.push_back(model_.Answer(found, objective_));
        }
        soFar.Curve = steps_;
        control_->Found(soFar);
        last_ = Clock::now();
    }

    const SearchModel& model_;
    const SearchControl* control_;
    const SearchResult& result_;
    SearchObjective objective_;
    Clock::time_point last_;
    std::vector<FoundBuild> answers_;
    std::vector<CurveStep> steps_;
    SearchModel::FoundSoFar hook_;
};

}  // namespace

SearchResult RunSearch(const TSimulator& current, const SearchQuery& query,
                       const SearchControl* control) {
    ValidateQuery(query);
    SearchModel model(current, query);

    SearchResult result;
    result.Current = FiguresOf(current);
    result.CurrentValue = ObjectiveValue(query.Objective, result.Current);
    SoFar soFar(model, control, result, query.Objective);

    // Many builds often tie with the best in value and PP, differing only in figures the
    // objective does not read (a distance too, once power stands at its limit). So the
    // best build is found first, and then a walk that leaves every build ranking after
    // those two; where it finds as many builds as asked for, they are the answers, else
    // the walk over all goes on from the ones it found.
    const bool ties = query.Results > 1;

    SearchQuery first = query;
    if (ties) {
        first.Results = 1;
    }
    SearchOutcome main =
        model.Solve(first, control, 0.0, ties ? 0.2 : 0.6, {}, nullptr, std::nullopt, soFar.Hook());
    result.Nodes += main.Nodes;
    if (ties && !main.Cancelled && !main.Builds.empty()) {
        FoundBuild floor;
        floor.Rank = main.Builds.front().Rank;
        floor.Figures.PP = main.Builds.front().Figures.PP;
        floor.Changes = std::numeric_limits<int32_t>::max();
        floor.Fields.fill(std::numeric_limits<int32_t>::max());
        // The best build is known now: no build passes it.
        const Ceiling top{floor.Rank, floor.Figures.PP};
        SearchOutcome tied =
            model.Solve(query, control, 0.2, 0.2, main.Builds, &floor, top, soFar.Hook());
        result.Nodes += tied.Nodes;
        if (tied.Cancelled || tied.Builds.size() == static_cast<size_t>(query.Results)) {
            main = std::move(tied);
        } else {
            main = model.Solve(query, control, 0.4, 0.2, tied.Builds, nullptr, top, soFar.Hook());
            result.Nodes += main.Nodes;
        }
    }
    for (const FoundBuild& found : main.Builds) {
        result.Answers.push_back(model.Answer(found, query.Objective));
    }
    if (main.Cancelled) {
        result.Cancelled = true;
        return result;
    }

    if (result.Answers.empty()) {
        // How far each minimum reaches when it alone is given up.
        for (int m = 0; m < kMinimumCount; ++m) {
            if (!query.Min[m]) {
                continue;
            }
            SearchQuery relaxed = query;
            relaxed.Min[m].reset();
            relaxed.Results = 1;
            relaxed.Objective =
                m == kMinDistance ? SearchObjective::Distance : static_cast<SearchObjective>(m + 2);
            const SearchOutcome reach = model.Solve(relaxed, control, 0.6, 0.4);
            result.Nodes += reach.Nodes;
            if (reach.Cancelled) {
                result.Cancelled = true;
                result.Reaches.clear();
                return result;
            }
            MinimumReach r;
            r.Minimum = m;
            r.Wanted = *query.Min[m];
            if (!reach.Builds.empty()) {
                r.Reachable = reach.Builds.front().Value;
            }
            result.Reaches.push_back(r);
        }
        result.Proved = true;
        return result;
    }

    if (query.Objective != SearchObjective::LeastPP) {
        // The curve from its top down: the best build within the budget is its last step;
        // one PP less than that build costs, the best build is the step before, and so on
        // until no build fits.
        SearchQuery step = query;
        step.Results = 1;
        std::vector<CurveStep> steps;
        double done = 0.6;
        std::optional<FoundBuild> seed;
        // The best build within the query's own budget is the first answer.
        SearchOutcome best;
        best.Builds.push_back(main.Builds.front());
        for (std::optional<int32_t> budget = query.Budget;;) {
            if (!steps.empty()) {
                step.Budget = budget;
                // Within less PP than the step above costs, no build reaches its value.
                best = model.Solve(step, control, done, 0.0,
                                   seed ? std::span(&*seed, 1) : std::span<const FoundBuild>(),
                                   nullptr, Ceiling{steps.back().Value - 1, 0});
                result.Nodes += best.Nodes;
                if (best.Cancelled) {
                    // The steps found so far stand; the rest of the curve is unknown.
                    result.Cancelled = true;
                    result.Curve.assign(std::make_move_iterator(steps.rbegin()),
                                        std::make_move_iterator(steps.rend()));
                    return result;
                }
                if (best.Builds.empty()) {
                    break;
                }
            }
            CurveStep c;
            c.Answer = model.Answer(best.Builds.front(), query.Objective);
            c.PP = c.Answer.Figures.PP;
            c.Value = c.Answer.Value;
            steps.push_back(std::move(c));
            done += (1.0 - done) / 4;
            if (control != nullptr && control->Progress) {
                control->Progress(done);
            }
            soFar.Curve(main.Builds, steps);
            if (steps.back().PP == 0) {
                break;
            }
            budget = steps.back().PP - 1;
            // The next step is most often this build with one count fewer: found first,
            // it bounds that step's walk from the start.
            step.Budget = budget;
            seed = model.CountBelow(current, best.Builds.front(), step);
            // An answer within the lower budget, where it ranks first, bounds it better.
            for (const FoundBuild& answer : main.Builds) {
                if (answer.Figures.PP <= *budget) {
                    if (!seed || RanksFirst(answer, *seed)) {
                        seed = answer;
                    }
                    break;
                }
            }
        }
        result.Curve.assign(std::make_move_iterator(steps.rbegin()),
                            std::make_move_iterator(steps.rend()));
    }
    if (control != nullptr && control->Progress) {
        control->Progress(1.0);
    }
    result.Proved = true;
    return result;
}
