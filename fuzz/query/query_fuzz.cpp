// libFuzzer target: arbitrary bytes as a search query in JSON, read and solved as the
// command line does it: the query's "build" shown over empty settings (without one, the
// selection of empty settings), then the search. Every input ends in an answer or in a
// clear ESimError (ESearchQueryError for the query, EBuildCodeError for its code); any
// other exception aborts. An answer must keep the search's promises that are cheap to
// check: at most the asked number of builds, ranked, each on the asked character's page,
// changing nothing but the free parts of that page's character, meeting the minimums,
// the penalty rule and the budget, and showing through the real chain exactly its
// figures and its value; and it must write as JSON.
//
// Each input has to stay fast (well under a second under the sanitizers), and a query
// with every part free is the slowest kind there is, so the query is narrowed before the
// search, deterministically, where it would otherwise be slow:
// - at most kMaxFreeParts parts stay free: past that many, the free parts of lowest index
//   become kept, as the current selection has them, until kMaxFreeParts are left (the
//   club and the upgrade counts are the last in index order, so they stay free longest);
// - with "any" character at most kMaxFreePartsAny parts stay free, the same way;
// - at most kMaxResults builds are asked for.
// What the reader accepts is fuzzed whole; only the search sees the narrowed query.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "characters/roster.h"
#include "engine/errors.h"
#include "search/search.h"
#include "search/search_json.h"
#include "settings/settings_store.h"
#include "simulator/build_code.h"
#include "simulator/persistence.h"
#include "simulator/simulator.h"

namespace {

constexpr int kMaxFreeParts = 8;
constexpr int kMaxFreePartsAny = 4;
constexpr int32_t kMaxResults = 5;

void Require(bool ok, const char* what, std::string_view input) {
    if (!ok) {
        std::fprintf(stderr, "%s: \"%.*s\"\n", what, static_cast<int>(input.size()), input.data());
        std::abort();
    }
}

const TSimulator& EmptySettings() {
    static const TSimulator sim = [] {
        TSimulator s;
        MemoryStore empty;
        FormCreate(s, empty);
        return s;
    }();
    return sim;
}

void Narrow(SearchQuery& query) {
    const int allowed = query.Character == kAnyCharacter ? kMaxFreePartsAny : kMaxFreeParts;
    int free = 0;
    for (const bool f : query.Free) {
        free += f ? 1 : 0;
    }
    for (int part = 0; part < kSearchPartCount && free > allowed; ++part) {
        if (query.Free[static_cast<size_t>(part)]) {
            query.Free[static_cast<size_t>(part)] = false;
            --free;
        }
    }
    if (query.Results > kMaxResults) {
        query.Results = kMaxResults;
    }
}

bool IsFree(const SearchQuery& query, int part) {
    return query.Free[static_cast<size_t>(part)];
}

// The answer changes only the free parts of its page's character and of the club;
// everything else is the current selection's.
bool KeepsKeptParts(const SearchQuery& query, const PlannedBuild& now, const PlannedBuild& b) {
    const int32_t page = b.TabIndex;
    if (page < 0 || page >= CharaCount) {
        return false;
    }
    for (int32_t c = 0; c < CharaCount; ++c) {
        if (c != page && b.Chara[c] != now.Chara[c]) {
            return false;
        }
    }
    const TCharaState& was = now.Chara[page];
    const TCharaState& is = b.Chara[page];
    const auto& slots = CharaDef(page).Slots;
    for (size_t p = 0; p < slots.size(); ++p) {
        if (!IsFree(query, static_cast<int>(slots[p])) && is.Items[p] != was.Items[p]) {
            return false;
        }
    }
    const int32_t cards[] = {is.CharaCard1, is.CharaCard2, is.CharaCard3, is.CaddieCard1,
                             is.CaddieCard2};
    const int32_t cardsWere[] = {was.CharaCard1, was.CharaCard2, was.CharaCard3, was.CaddieCard1,
                                 was.CaddieCard2};
    for (int k = 0; k < 5; ++k) {
        if (!IsFree(query, kPartCharaCard1 + k) && cards[k] != cardsWere[k]) {
            return false;
        }
    }
    for (int k = 0; k < kStatCount; ++k) {
        if (!IsFree(query, kPartSlotUp + k) &&
            StatField(SlotUpCounts(is), k) != StatField(SlotUpCounts(was), k)) {
            return false;
        }
    }
    if ((!IsFree(query, kPartCaddie) && b.Caddie != now.Caddie) ||
        (!IsFree(query, kPartSpecialCard) && b.SpecialCard != now.SpecialCard) ||
        (!IsFree(query, kPartClub) && b.Club != now.Club) || b.Level != now.Level) {
        return false;
    }
    for (int32_t i = 0; i < kClubCount; ++i) {
        for (int k = 0; k < kStatCount; ++k) {
            const bool mayChange = i == b.Club && IsFree(query, kPartClubSlotUp + k);
            if (!mayChange && StatField(b.ClubSlotUps[i], k) != StatField(now.ClubSlotUps[i], k)) {
                return false;
            }
        }
    }
    return true;
}

// The figures and value of every answer, shown through the real chain, are its own; the
// answers are ranked and meet every condition of the query.
void CheckAnswers(const TSimulator& current, const SearchQuery& query, const SearchResult& result,
                  std::string_view input) {
    Require(static_cast<int32_t>(result.Answers.size()) <= query.Results, "too many answers",
            input);
    const bool leastPP = query.Objective == SearchObjective::LeastPP;
    const PlannedBuild now = BuildOf(current.State);
    for (size_t i = 0; i < result.Answers.size(); ++i) {
        const SearchAnswer& answer = result.Answers[i];
        const int32_t page = answer.Build.TabIndex;
        Require(query.Character == kAnyCharacter ||
                    page == (query.Character == kShownCharacter ? now.TabIndex : query.Character),
                "an answer is on another page", input);
        Require(KeepsKeptParts(query, now, answer.Build), "an answer changes a kept part", input);
        TSimulator shown = current;
        ShowBuild(shown, answer.Build);
        Require(FiguresOf(shown) == answer.Figures, "an answer shows other figures", input);
        Require(ObjectiveValue(query.Objective, answer.Figures) == answer.Value,
                "an answer's value is not its objective's", input);
        const BuildFigures& f = answer.Figures;
        const int32_t reached[kMinimumCount] = {f.Final.Pow,  f.Final.Ctrl, f.Final.Exa,
                                                f.Final.Spin, f.Final.Cur,  f.Distances[0]};
        for (int m = 0; m < kMinimumCount; ++m) {
            const auto& wanted = query.Min[static_cast<size_t>(m)];
            Require(!wanted || reached[m] >= *wanted, "an answer misses a minimum", input);
        }
        Require(!query.NoPenalty || f.Penalty == 0, "an answer has a power penalty", input);
        Require(!query.Budget || f.PP <= *query.Budget, "an answer is over the budget", input);
        if (i > 0) {
            const int32_t before = result.Answers[i - 1].Value;
            Require(leastPP ? before <= answer.Value : before >= answer.Value,
                    "the answers are not ranked", input);
        }
    }
    Require(!leastPP || result.Curve.empty(), "a least-PP answer has a curve", input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    JsonQuery read;
    try {
        read = QueryFromJson(text);
    } catch (const ESearchQueryError&) {
        return 0;
    }
    SearchQuery& query = read.Query;
    Narrow(query);

    TSimulator current = EmptySettings();
    SearchResult result;
    try {
        if (read.Build) {
            ShowBuild(current, DecodeBuild(*read.Build));
        }
        result = RunSearch(current, query);
    } catch (const ESimError&) {
        return 0;  // the query's code cannot be read or shown, or the query is refused
    }
    CheckAnswers(current, query, result, text);
    ResultJson(result);
    return 0;
}
