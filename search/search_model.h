#pragma once

// The inside of the build search: the query turned into stages of options per character,
// and the bounded depth-first walk over them. RunSearch (search.h) is its only user.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <tuple>
#include <vector>

#include "search/search.h"

// The 34 fields of a build of one character, in the order in which "the lowest list
// indices" compares them.
constexpr int kFieldPage = 0;
constexpr int kFieldItem = 1;  // 1..15: the wear slots in slot order
constexpr int kFieldCharaCard = 16;
constexpr int kFieldCaddieCard = 19;
constexpr int kFieldCount = 21;  // 21..25: the five character counts
constexpr int kFieldCaddie = 26;
constexpr int kFieldSpecial = 27;
constexpr int kFieldClub = 28;
constexpr int kFieldClubCount = 29;  // 29..33
constexpr int kBuildFieldCount = 34;
using BuildFields = std::array<int32_t, kBuildFieldCount>;

struct FoundBuild {
    BuildFields Fields{};
    BuildFigures Figures;
    int32_t Value = 0;  // ObjectiveValue of the figures
    int32_t Rank = 0;   // what the ranking maximises first: Value, or -PP for LeastPP
    int32_t Changes = 0;
    // Where answers differ by what they acquire: which things (solver::AcquiredKey).
    BuildFields Acquired{};
};

struct SearchOutcome {
    // The best query.Results builds of distinct figures, ranked; when cancelled, the best
    // found so far.
    std::vector<FoundBuild> Builds;
    uint64_t Nodes = 0;
    bool Cancelled = false;
    bool OutOfNodes = false;  // stopped at its node limit, not cancelled
};

// Where a walk stops short: after about Nodes nodes over the threads (0: never); with
// OneWindow, the excesses of power walked in one window, a quick first try without the
// windows' cost.
struct WalkCap {
    uint64_t Nodes = 0;
    bool OneWindow = false;
};

// The value (the rank, for least PP) and PP that no build passes.
struct Ceiling {
    int32_t Rank = 0;
    int32_t PP = 0;
};

namespace solver {
struct CharaModel;
struct TailCache;
struct Scratch;
}  // namespace solver

class SearchModel {
public:
    // Throws ESimError when the selection cannot be searched from (no page for the
    // shown character, no club set while the club set is kept). The characters' models
    // are made on up to `threads` threads.
    SearchModel(const TSimulator& current, const SearchQuery& query, size_t threads = 1);
    ~SearchModel();

    // Solves `query`, a query ValidateQuery accepts (the same character and free parts as
    // the constructor's, other minimums, objective or number of results allowed): its
    // minimums are held within the query's limits, where no sum of the walk overflows.
    // Progress is reported from `progressFrom` over `progressSpan`.
    //
    // `seeds`, ranked, of distinct figures and at most as many as asked for, are builds
    // known to meet every condition of `query`: the walk starts with them as its answers,
    // which leaves the answers as they are and bounds the walk from its first branch.
    // With a `floor`, the walk leaves every build ranking after it: its answers are the
    // best only where there are as many as asked for.
    //
    // A `ceiling`, known from an earlier walk, is what no build meeting the conditions
    // passes: none has a greater value, nor this value for fewer PP. The bounds then never
    // hope for more.
    //
    // `found`, where given, is told the walk's answers so far (ranked, not proved) now and
    // then, from the calling thread, whenever they changed since it was last told.
    //
    // With `valueOnly`, only the best value counts: the answer reaches it, but among the
    // builds of that value it need not rank first. With a `cap`, a walk that would visit
    // more nodes (about, over the threads) stops there with what it found.
    using FoundSoFar = std::function<void(std::span<const FoundBuild>)>;
    SearchOutcome Solve(const SearchQuery& query, const SearchControl* control, double progressFrom,
                        double progressSpan, std::span<const FoundBuild> seeds = {},
                        const FoundBuild* floor = nullptr,
                        std::optional<Ceiling> ceiling = std::nullopt,
                        const FoundSoFar* found = nullptr, bool valueOnly = false,
                        WalkCap cap = {});

    // The best of the builds one free count below `from` that meet every condition of
    // `query` (Ranked, one result), with the figures `current` shows for it; none when
    // no such build meets them.
    std::optional<FoundBuild> CountBelow(const TSimulator& current, const FoundBuild& from,
                                         const SearchQuery& query) const;

    // The answer as the faces show it: the build, its figures and its changes.
    SearchAnswer Answer(const FoundBuild& found, SearchObjective objective) const;

private:
    // Windows of power's excess over the limit beyond which they widen.
    static constexpr int32_t kExcessWindowsUpTo = 24;
    std::vector<std::pair<int32_t, int32_t>> ExcessWindows(const SearchQuery& q) const;
    // A walk over the builds whose excess of power over the limit lies in `excess`.
    SearchOutcome SolveWindow(const SearchQuery& query, const SearchControl* control,
                              double progressFrom, double progressSpan,
                              std::span<const FoundBuild> seeds, const FoundBuild* floor,
                              std::optional<Ceiling> ceiling, const FoundSoFar* found,
                              bool valueOnly, uint64_t nodeLimit,
                              std::pair<int32_t, int32_t> excess);
    const solver::CharaModel& ModelOf(int32_t chara) const;
    // The kept sums of every character model for the kind of `query`, made on first use
    // on up to `threads` threads.
    std::vector<const solver::TailCache*> TailsFor(const SearchQuery& query, size_t threads);

    PlannedBuild base_;
    std::vector<solver::CharaModel> charas_;
    // By character model, objective, minimums asked for and whether a penalty is allowed:
    // a search asks many queries of one kind.
    std::map<std::tuple<size_t, int, int, bool>, std::unique_ptr<solver::TailCache>> tails_;
    std::vector<std::unique_ptr<solver::Scratch>> scratch_;  // the walks' memory, by thread
};
