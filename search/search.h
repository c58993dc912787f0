#pragma once

// The build search: which build reaches a player's goal. A query names what may change
// (each part free or kept as the current selection has it), the minimums, the PP budget
// and the objective; the answer is the best builds, ranked, each a PlannedBuild that a
// face shows as a pasted build code is shown (ShowBuild inside one recorded step), the
// trade-off curve of the objective against the budget, and, when nothing meets every
// minimum, the fewest minimums to give up and how far each minimum reaches then.
//
// The search is exact: it bounds what the parts not yet chosen can still add and
// prunes only branches that cannot reach the ranking of the builds already found.
// Ranking: the objective (higher is better; for LeastPP the PP), then fewer PP, then
// fewer changes from the current selection, then the lowest list indices field by field
// (page, items in slot order, character cards 1-3, caddie cards 1-2, the five character
// counts, caddie, special card, club set, the five club counts). Two builds that show the
// same figures are one answer, the better ranked one kept.
//
// Within holdings (SearchQuery::Owned), a free part that holds an entry the player does
// not own acquires it; the query bounds how many things an answer acquires, and may ask
// for answers that differ in what they acquire rather than in their figures.
//
// Qt-free and without I/O; the faces (window, page, command line) read a query from
// their controls or from JSON (search/search_json.h) and call RunSearch.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/errors.h"
#include "engine/sim_record.h"
#include "search/query_limits.h"
#include "search/search_parts.h"
#include "simulator/build_code.h"
#include "simulator/holdings.h"

enum class SearchObjective : uint8_t {
    Distance,       // the longest 1W normal distance
    PowerDistance,  // the longest 1W power-shot distance
    Pow,            // the highest final value of one status
    Ctrl,
    Exa,
    Spin,
    Cur,
    Sum,      // the highest sum of the five final statuses
    LeastPP,  // the least PP that meets the minimums
};
constexpr int kObjectiveCount = 9;
// "distance", "powerDistance", "pow", "ctrl", "exa", "spin", "cur", "sum", "leastPP".
std::string_view ObjectiveName(SearchObjective objective);
std::optional<SearchObjective> ObjectiveByName(std::string_view name);

// The minimums: on the five final statuses and on the 1W normal distance.
constexpr int kMinDistance = 5;
constexpr int kMinimumCount = 6;
// "pow", "ctrl", "exa", "spin", "cur", "distance".
std::string_view MinimumName(int minimum);

constexpr int32_t kShownCharacter = -1;  // the character of the shown page
constexpr int32_t kAnyCharacter = -2;    // any of the ten; the answer says which
constexpr int32_t kMaxResults = kResultsLimit.High;

// Which builds are one answer: those with the same figures, or those that acquire the
// same things not owned ("figures", "acquired").
enum class SearchDistinct : uint8_t { Figures, Acquired };
std::string_view DistinctName(SearchDistinct distinct);
std::optional<SearchDistinct> DistinctByName(std::string_view name);

// SearchQuery::Acquire beside a number within kAcquireLimit: no limit ("acquire": null),
// or not given (0 where Owned records any holding, else no limit).
constexpr int32_t kAcquireAny = -1;
constexpr int32_t kAcquireUnset = -2;

struct SearchQuery {
    int32_t Character = kShownCharacter;  // 0..9, kShownCharacter or kAnyCharacter
    std::array<bool, kSearchPartCount> Free = AllFree();
    std::array<std::optional<int32_t>, kMinimumCount> Min{};  // each within kMinimumLimit
    bool NoPenalty = true;          // final power at most the level's limit
    std::optional<int32_t> Budget;  // the most PP of the upgrades, counted from zero
    SearchObjective Objective = SearchObjective::Distance;
    int32_t Results = 10;  // 1..kMaxResults
    // What the player owns; everything unless the query says otherwise.
    THoldings Owned{};
    // How many things not owned an answer may acquire: each entry not owned that a free
    // part holds (whether it changes or stays) is one, a card kind once however many of
    // its places hold it; kept parts never count. See AcquireLimit.
    int32_t Acquire = kAcquireUnset;
    SearchDistinct Distinct = SearchDistinct::Figures;

    static constexpr std::array<bool, kSearchPartCount> AllFree() {
        std::array<bool, kSearchPartCount> free{};
        for (bool& f : free) {
            f = true;
        }
        return free;
    }
};

// A query that names a value out of range; the message names the field.
class ESearchQueryError : public ESimError {
public:
    using ESimError::ESimError;
};

// Throws ESearchQueryError for a query that cannot be searched: a field out of its
// range (search/query_limits.h), with the message the JSON reader gives for it.
void ValidateQuery(const SearchQuery& query);

// The most things not owned an answer may acquire; nullopt: no limit.
std::optional<int32_t> AcquireLimit(const SearchQuery& query);

// The figures the window shows for a build.
struct BuildFigures {
    TStatus Final;                       // after the penalty
    int32_t Penalty = 0;                 // 0, or the negative shown in "(-3)"
    std::array<int32_t, 3> Distances{};  // 1W normal, power shot, power shot x2
    int32_t PP = 0;                      // character and club upgrades, from zero

    friend bool operator==(const BuildFigures&, const BuildFigures&) = default;
};

// The figures of the selection as it is shown.
BuildFigures FiguresOf(const TSimulator& sim);

// One change of an answer as data. Field: the part's name as a query frees it ("Top",
// "CharaCard1", "PowSlotUp", "Caddie", "SpecialCard", "Club", "ClubPowSlotUp", ...), or
// "Character" for the shown page. Index: the list index (-1 for none) or, of an upgrade
// count, the count; Text: as the list or the count shows it. A change of "Club" takes
// the five club upgrade counts of the current club set along to the new one; the
// "Club...SlotUp" changes are of the answer's club set.
struct SearchChange {
    std::string Field;
    int32_t FromIndex = 0;
    std::string FromText;
    int32_t ToIndex = 0;
    std::string ToText;
};

// A thing not owned that an answer holds in a free part. List: the holdings' list, a wear
// slot's key ("Top", "Ring") on the answer's page, or "CharaCard", "CaddieCard",
// "Caddie", "SpecialCard", "Club"; Index: the entry of that list; Text: as an answer
// lists it ("頭1 パワー+2 *", "キャラカード パワーS+1").
struct SearchAcquired {
    std::string List;
    int32_t Index = 0;
    std::string Text;

    friend bool operator==(const SearchAcquired&, const SearchAcquired&) = default;
};

struct SearchAnswer {
    PlannedBuild Build;
    BuildFigures Figures;
    int32_t Value = 0;    // the objective's value (for LeastPP the PP)
    int32_t Changes = 0;  // fields that differ from the current selection
    // The changes as the dialog lists them: "頭1: なし → パワー+1/S+2 *", "パワー強化 3 → 5".
    std::vector<std::string> ChangeTexts;
    std::vector<SearchChange> ChangeData;  // the same changes as data, in the same order
    std::vector<SearchAcquired> Acquired;  // what it needs that the player does not own
    // In the view of what to get next: how much better its value is than the best build
    // from what is owned alone (for LeastPP, the PP it saves); nullopt where no build from
    // what is owned meets the conditions.
    std::optional<int32_t> Gain{};
};

// One step of the trade-off curve: from PP on, the best objective value is Value,
// reached by Answer.
struct CurveStep {
    int32_t PP = 0;
    int32_t Value = 0;
    SearchAnswer Answer;
};

// When nothing meets every minimum, for each minimum asked: whether it is one of the
// fewest minimums to give up so that a build fits, and the most its figure reaches among
// the builds that meet every other condition but the minimums given up (for a minimum
// kept, at least what was asked). Reachable is nullopt, and none is given up, where even
// with every minimum given up no build fits.
struct MinimumReach {
    int Minimum = 0;  // 0..5
    int32_t Wanted = 0;
    std::optional<int32_t> Reachable;
    bool GiveUp = false;
};

struct SearchResult {
    BuildFigures Current;  // the current selection, for comparison
    int32_t CurrentValue = 0;
    std::vector<SearchAnswer> Answers;  // ranked; empty when nothing meets the conditions
    std::vector<MinimumReach> Reaches;  // only when Answers is empty, in minimum order
    std::vector<CurveStep> Curve;       // rising values at rising PP; not for LeastPP
    uint64_t Nodes = 0;                 // branches the search visited
    // Stopped before its end: Answers are the best found so far (each meets every
    // condition and shows its figures), the curve the steps found so far, and neither is
    // proved best; Reaches are left out.
    bool Cancelled = false;
    bool Proved = false;          // the walk ended: the answers, curve and reaches are the best
    PlannedBuild CurrentBuild{};  // the current selection
    // The query named holdings (not everything owned): each answer says what it acquires.
    bool WithinHoldings = false;
    // Within holdings, with "distinct": "acquired" (the view of what to get next): each
    // answer's Gain is set, and OwnedBest is the best value from what is owned alone
    // (nullopt where nothing owned meets the conditions). Both are known once the answers
    // are: not while the search runs nor after it was stopped.
    bool NextToGet = false;
    std::optional<int32_t> OwnedBest{};
};

// A face that runs the search in the background can follow it and stop it.
struct SearchControl {
    std::function<void(double done)> Progress;  // 0..1, now and then, from the calling thread
    // Asked now and then, from every thread of the search at once; true stops the search.
    std::function<bool()> Cancelled;
    // The best answers found so far, and the curve's steps found so far from its top,
    // neither proved (Proved false): from the calling thread, when they changed, first
    // about 150 ms after the start and then at most every 200 ms. Not called for a
    // search that ends sooner; the answer RunSearch returns is the last word.
    std::function<void(const SearchResult& soFar)> Found;
    int Threads = 0;  // threads the search may use; 0: one for each core (at most 8)
    // Nodes a plain walk for a best build may visit before the search goes on in steps
    // that each end fast, and that a step may visit (or as many as the walk for the best
    // value took) before it hands over to the walk over all; 0: in steps from the start,
    // each walked to its end.
    uint64_t PlainWalkNodes = 32768;
};

// Searches from the selection `current` shows. Throws ESearchQueryError for an invalid
// query, and ESimError with the window's message when the selection itself cannot be
// shown (no club set, no page for kShownCharacter).
SearchResult RunSearch(const TSimulator& current, const SearchQuery& query,
                       const SearchControl* control = nullptr);

// What a face shows under "条件をすべて満たすビルドはありません。" for a proved search
// that found no build, a line each: first what to give up (or why nothing fits), then
// for each minimum asked how far it reaches. Empty where the result has answers or was
// not proved.
std::vector<std::string> ReasonLines(const SearchResult& result);

// The objective's value of a build's figures.
int32_t ObjectiveValue(SearchObjective objective, const BuildFigures& figures);
