#include "search/search_model.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <thread>

#include "characters/roster.h"
#include "clubs/clubs.h"
#include "search/solver/ranking.h"
#include "search/solver/tail_sums.h"
#include "search/solver/walk.h"
#include "search/solver/work_sharing.h"

using namespace solver;

namespace {

// What the memos of one search may hold, all threads together.
constexpr size_t kMemoBytes = size_t{96} << 20;

// The characters a query searches.
std::vector<int32_t> CharactersOf(const SearchQuery& query, int32_t shown) {
    std::vector<int32_t> characters;
    if (query.Character == kAnyCharacter) {
        for (int32_t c = 0; c < CharaCount; ++c) {
            characters.push_back(c);
        }
    } else if (query.Character == kShownCharacter) {
        if (shown < 0) {
            throw ESearchQueryError(
                "表示中のキャラがありません: \"character\" でキャラを指定してください");
        }
        characters.push_back(shown);
    } else {
        characters.push_back(query.Character);
    }
    return characters;
}

}  // namespace

SearchModel::~SearchModel() = default;

SearchModel::SearchModel(const TSimulator& current, const SearchQuery& query, size_t threads)
    : base_(BuildOf(current.State)) {
    const std::vector<int32_t> characters = CharactersOf(query, base_.TabIndex);
    if (!query.Free[kPartClub] && (base_.Club < 0 || base_.Club >= kClubCount)) {
        throw ERangeError();  // the kept selection has no club set, as showing it reports
    }
    charas_.resize(characters.size());
    EachOnThreads(characters.size(), threads, [&](size_t k) {
        charas_[k] = MakeCharaModel(base_, current.Results, query, characters[k]);
    });
}

const CharaModel& SearchModel::ModelOf(int32_t chara) const {
    for (const CharaModel& m : charas_) {
        if (m.Chara == chara) {
            return m;
        }
    }
    throw ESimError("探索していないキャラです");
}

std::vector<const TailCache*> SearchModel::TailsFor(const SearchQuery& query, size_t threads) {
    int mins = 0;
    for (int i = 0; i < kMinimumCount; ++i) {
        mins |= query.Min[i] ? 1 << i : 0;
    }
    std::vector<const TailCache*> tails;
    std::vector<std::pair<size_t, TailCache*>> missing;  // character model, its slot
    for (size_t c = 0; c < charas_.size(); ++c) {
        auto& slot = tails_[{c, static_cast<int>(query.Objective), mins, query.NoPenalty}];
        if (!slot) {
            slot = std::make_unique<TailCache>();
            missing.push_back({c, slot.get()});
        }
        tails.push_back(slot.get());
    }
    EachOnThreads(missing.size(), threads, [&](size_t k) {
        const auto [c, slot] = missing[k];
        *slot = MakeTailCache(charas_[c], query, ReadsOf(charas_[c], query));
    });
    return tails;
}

namespace {

// One thread's part of a solve: every character in turn, its own walk and then what the
// other threads hand over.
struct ThreadPart {
    const std::vector<CharaModel>& Charas;
    const std::vector<Reads>& ReadsBy;
    const std::vector<const TailCache*>& Tails;
    const PlannedBuild& Base;
    const SearchQuery& Query;
    SharedAnswers& Answers;
    SharedWork& Work;
    const SearchControl* Control;
    double From;
    double Share;  // of the progress, per character

    void Run(size_t t, Scratch& scratch, std::atomic<uint64_t>& nodes) const {
        for (size_t c = 0; c < Charas.size(); ++c) {
            Walk walk(Charas[c], Base, Query, ReadsBy[c], *Tails[c], Answers, Work, c, Control,
                      scratch);
            const double from = From + Share * static_cast<double>(c);
            try {
                walk.Run([&](double done) {
                    if (t == 0 && Control != nullptr && Control->Progress) {
                        Control->Progress(from + Share * done);
                    }
                });
                HelpWith(Work, c, [&walk](const Task& task) { walk.WalkHanded(task); });
            } catch (...) {
                nodes += walk.Nodes();
                throw;
            }
            nodes += walk.Nodes();
        }
    }
};

}  // namespace

// Where a penalty is allowed, the windows of excess of power over the limit a search walks
// one by one: each window's least excess lowers control and accuracy, and its most caps
// power, for every branch at once, where one walk over all excesses bounds each from the
// other end. One window per excess up to kExcessWindowsUpTo, then one for the rest; the
// power-loving objectives walk the highest excess first, so that their best answers come
// early and cut the rest.
std::vector<std::pair<int32_t, int32_t>> SearchModel::ExcessWindows(const SearchQuery& q) const {
    constexpr int32_t kAll = std::numeric_limits<int32_t>::max() / 4;
    int32_t most = 0;
    if (!q.NoPenalty) {
        int32_t clubMost = 0;
        for (const ClubSet& club : ClubSets()) {
            clubMost = std::max(clubMost, club.ClubSlotLimit.Pow);
        }
        for (const solver::CharaModel& m : charas_) {
            most = std::max(
                most, m.Base[0] + m.Rest[0].StMax[0] + CharaSpinnerMax(0) + clubMost - m.Limit);
        }
    }
    std::vector<std::pair<int32_t, int32_t>> windows;
    int32_t from = 0;
    for (; from < most && from < kExcessWindowsUpTo; ++from) {
        windows.push_back({from, from});
    }
    windows.push_back({from, kAll});
    const bool powerLoving = q.Objective == SearchObjective::Pow ||
                             q.Objective == SearchObjective::Distance ||
                             q.Objective == SearchObjective::PowerDistance;
    if (powerLoving) {
        std::reverse(windows.begin(), windows.end());
    }
    return windows;
}

SearchOutcome SearchModel::Solve(const SearchQuery& query, const SearchControl* control,
                                 double progressFrom, double progressSpan,
                                 std::span<const FoundBuild> seeds, const FoundBuild* floor,
                                 std::optional<Ceiling> ceiling, const FoundSoFar* found,
                                 bool valueOnly, WalkCap cap) {
    const uint64_t nodeLimit = cap.Nodes;
    const auto windows = !cap.OneWindow ? ExcessWindows(query)
                                        : std::vector<std::pair<int32_t, int32_t>>{
                                              {0, std::numeric_limits<int32_t>::max() / 4}};
    const double share = progressSpan / static_cast<double>(windows.size());
    SearchOutcome out;
    out.Builds.assign(seeds.begin(), seeds.end());
    for (size_t w = 0; w < windows.size(); ++w) {
        if (nodeLimit != 0 && out.Nodes >= nodeLimit) {
            out.OutOfNodes = true;
            break;
        }
        // The window without excess holds only builds without a penalty: its walk is the
        // walk of the query that allows none, with that query's bounds and memo.
        SearchQuery within = query;
        within.NoPenalty = query.NoPenalty || windows[w].second == 0;
        SearchOutcome part =
            SolveWindow(within, control, progressFrom + share * static_cast<double>(w), share,
                        out.Builds, floor, ceiling, found, valueOnly,
                        nodeLimit == 0 ? 0 : nodeLimit - out.Nodes, windows[w]);
        out.Nodes += part.Nodes;
        out.Builds = std::move(part.Builds);
        out.Cancelled = part.Cancelled;
        out.OutOfNodes = part.OutOfNodes;
        if (out.Cancelled || out.OutOfNodes) {
            break;
        }
    }
    return out;
}

SearchOutcome SearchModel::SolveWindow(const SearchQuery& query, const SearchControl* control,
                                       double progressFrom, double progressSpan,
                                       std::span<const FoundBuild> seeds, const FoundBuild* floor,
                                       std::optional<Ceiling> ceiling, const FoundSoFar* found,
                                       bool valueOnly, uint64_t nodeLimit,
                                       std::pair<int32_t, int32_t> excess) {
    const size_t threads = ThreadCount(control);
    SharedAnswers answers;
    answers.Answers.assign(seeds.begin(), seeds.end());
    answers.Floor = floor;
    answers.Top = ceiling;
    answers.ValueOnly = valueOnly;
    answers.Found = found;
    answers.Caller = std::this_thread::get_id();
    SharedWork work;
    work.MemoBytes = kMemoBytes / threads;
    work.NodeLimit = nodeLimit / threads;
    PlanSharing(work, charas_, threads);
    // What the walks read is made before the threads start, and only read by them.
    std::vector<Reads> reads;
    for (size_t c = 0; c < charas_.size(); ++c) {
        reads.push_back(ReadsOf(charas_[c], query));
        reads.back().ExcessFrom = excess.first;
        reads.back().ExcessTo = excess.second;
    }
    const std::vector<const TailCache*> tails = TailsFor(query, threads);
    while (scratch_.size() < threads) {
        scratch_.push_back(std::make_unique<Scratch>());
    }
    const ThreadPart part{
        charas_, reads, tails,   base_,        query,
        answers, work,  control, progressFrom, progressSpan / static_cast<double>(charas_.size())};
    std::atomic<uint64_t> nodes{0};
    std::atomic<bool> cancelled{false};
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto runThread = [&](size_t t) {
        try {
            part.Run(t, *scratch_[t], nodes);
        } catch (const Cancelled&) {
            cancelled = true;
        } catch (...) {
            work.Stop = true;
            std::lock_guard<std::mutex> lock(failureLock);
            failure = std::current_exception();
        }
        // Threads waiting for work stop too.
        std::lock_guard<std::mutex> lock(work.TaskLock);
        work.TaskReady.notify_all();
    };
    std::vector<std::thread> others;
    for (size_t t = 1; t < threads; ++t) {
        others.emplace_back(runThread, t);
    }
    runThread(0);
    for (auto& thread : others) {
        thread.join();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    SearchOutcome out;
    out.Nodes = nodes;
    out.OutOfNodes = work.OutOfNodes;
    out.Cancelled = cancelled && !out.OutOfNodes;
    // A cancelled walk still hands back what it found: builds that meet every condition,
    // ranked, though better ones may lie where it did not look.
    out.Builds = std::move(answers.Answers);
    return out;
}

std::optional<FoundBuild> SearchModel::CountBelow(const TSimulator& current, const FoundBuild& from,
                                                  const SearchQuery& query) const {
    const BuildFields& f = from.Fields;
    const CharaModel* m = nullptr;
    for (const CharaModel& candidate : charas_) {
        if (candidate.Chara == f[kFieldPage]) {
            m = &candidate;
        }
    }
    if (m == nullptr) {
        return std::nullopt;
    }
    std::optional<FoundBuild> best;
    TSimulator sim = current;
    for (int i = 0; i < kStatCount; ++i) {
        for (const int field : {kFieldCount + i, kFieldClubCount + i}) {
            const bool free = field == kFieldCount + i ? query.Free[kPartSlotUp + i]
                                                       : query.Free[kPartClubSlotUp + i];
            if (!free || f[field] <= 0) {
                continue;
            }
            FoundBuild b = from;  // what it acquires too: a count acquires nothing
            b.Fields[field] = f[field] - 1;
            const int32_t was = m->Current[static_cast<size_t>(field)];
            b.Changes = from.Changes - (f[field] != was ? 1 : 0) + (b.Fields[field] != was ? 1 : 0);
            try {
                ShowBuild(sim, Answer(b, query.Objective).Build);
            } catch (const ESimError&) {
                continue;  // not a build the window shows: no seed
            }
            b.Figures = FiguresOf(sim);
            if (!MeetsConditions(query, b.Figures)) {
                continue;
            }
            b.Value = ObjectiveValue(query.Objective, b.Figures);
            b.Rank = RankOf(query.Objective, b.Figures);
            if (!best || RanksBefore(b, *best)) {
                best = b;
            }
        }
    }
    return best;
}
