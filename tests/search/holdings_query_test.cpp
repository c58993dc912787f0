// The query's holdings ("owned"), its limit on what an answer acquires ("acquire") and
// its rule for which builds are one answer ("distinct"): read as written, refused with
// the member named, and through kestrel-cli as in the process.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <sstream>
#include <string>

#include "characters/roster.h"
#include "search/holdings_text.h"
#include "search/search.h"
#include "search/search_json.h"
#include "simulator/build_code.h"
#include "simulator/simulator.h"

namespace {

std::string Refusal(std::string_view text) {
    try {
        QueryFromJson(text);
    } catch (const ESearchQueryError& error) {
        return error.what();
    }
    ADD_FAILURE() << "read: " << text;
    return {};
}

// Holdings drawn at random, each list owned whole, not named, or in part, and the same
// written as "owned" names them: what the reader makes of the text is those holdings.
TEST(HoldingsQuery, OwnedReadsBackAsWritten) {
    std::mt19937 rng(5);
    const auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    for (int round = 0; round < 40; ++round) {
        THoldings h;
        std::ostringstream json;
        // A list: left out (owned whole), or its owned entries named ("なし" now and then).
        const auto list = [&](int32_t count, auto&& isNone, auto&& set, const std::string& key,
                              bool& first) {
            if (pick(3) == 0) {
                return;
            }
            json << (first ? "" : ", ") << '"' << key << "\": [";
            first = false;
            bool firstEntry = true;
            for (int32_t e = 0; e < count; ++e) {
                const bool owned = pick(2) == 0;
                set(e, owned);
                if (owned || (isNone(e) && pick(2) == 0)) {  // "なし" named or not
                    json << (firstEntry ? "" : ", ") << e;
                    firstEntry = false;
                }
            }
            json << ']';
        };
        json << '{';
        bool first = true;
        json << "\"items\": {";
        for (int32_t c = 0; c < CharaCount; ++c) {
            json << (c > 0 ? ", " : "") << '"' << c << "\": {";
            bool firstSlot = true;
            const auto& slots = CharaDef(c).Slots;
            for (int p = 0; p < static_cast<int>(slots.size()); ++p) {
                list(
                    ItemCount(c, p), [&](int32_t e) { return IsNoneEntry(c, p, e); },
                    [&](int32_t e, bool owned) { SetItemOwned(h, c, p, e, owned); },
                    std::string(SearchPartName(static_cast<int>(slots[static_cast<size_t>(p)]))),
                    firstSlot);
            }
            json << '}';
        }
        json << '}';
        first = false;
        for (int k = 0; k < kHeldKindCount; ++k) {
            const auto kind = static_cast<HeldKind>(k);
            list(
                HeldCount(kind), [&](int32_t e) { return IsNoneEntry(kind, e); },
                [&](int32_t e, bool owned) { SetHeldOwned(h, kind, e, owned); },
                std::string(HeldKindName(kind)), first);
        }
        json << '}';
        EXPECT_EQ(HoldingsFromJson(json.str()) == h, true) << json.str();
        const SearchQuery q = QueryFromJson("{\"owned\": " + json.str() + "}").Query;
        EXPECT_EQ(q.Owned == h, true);
        // Not told otherwise, a query within recorded holdings acquires nothing.
        EXPECT_EQ(AcquireLimit(q), OwnsEverything(h) ? std::nullopt : std::optional<int32_t>(0));
    }
}

TEST(HoldingsQuery, AcquireAndDistinctAsWritten) {
    const auto read = [](const std::string& text) { return QueryFromJson(text).Query; };
    EXPECT_EQ(AcquireLimit(read("{}")), std::nullopt);
    EXPECT_EQ(AcquireLimit(read(R"({"owned": {"Caddie": [0]}, "acquire": null})")), std::nullopt);
    EXPECT_EQ(AcquireLimit(read(R"({"owned": {"Caddie": [0]}, "acquire": 2})")), 2);
    EXPECT_EQ(AcquireLimit(read(R"({"acquire": 1})")), 1);
    // Holdings that name every entry of a list record nothing: no limit by default.
    EXPECT_EQ(AcquireLimit(read(R"({"owned": {"CaddieCard": [0, 1, 2, 3, 4]}})")), std::nullopt);
    EXPECT_EQ(read("{}").Distinct, SearchDistinct::Figures);
    EXPECT_EQ(read(R"({"distinct": "acquired"})").Distinct, SearchDistinct::Acquired);
}

TEST(HoldingsQuery, BadHoldingsAreRefusedNamingTheMember) {
    // A page without a slot of that kind: the first wear-slot kind page 0 lacks.
    int missing = 0;
    while (SlotPosition(0, static_cast<TWearSlot>(missing))) {
        ++missing;
    }
    const std::string absent(SearchPartName(missing));
    for (const auto& [text, field] : std::vector<std::pair<std::string, std::string>>{
             {R"({"owned": []})", "owned"},
             {R"({"owned": {"Car": []}})", "owned.Car"},
             {R"({"owned": {"Caddie": 3}})", "owned.Caddie"},
             {R"({"owned": {"Caddie": [1, 1]}})", "owned.Caddie"},
             {R"({"owned": {"Caddie": [-1]}})", "owned.Caddie"},
             {R"({"owned": {"Club": [99999]}})", "owned.Club"},
             {R"({"owned": {"SpecialCard": [1.5]}})", "owned.SpecialCard"},
             {R"({"owned": {"items": []}})", "owned.items"},
             {R"({"owned": {"items": {"10": {}}}})", "owned.items.10"},
             {R"({"owned": {"items": {"01": {}}}})", "owned.items.01"},
             {R"({"owned": {"items": {"3": []}}})", "owned.items.3"},
             {R"({"owned": {"items": {"3": {"Hat": [0]}}}})", "owned.items.3.Hat"},
             {R"({"owned": {"items": {"3": {"CharaCard1": [0]}}}})", "owned.items.3.CharaCard1"},
             {R"({"owned": {"items": {"0": {")" + absent + R"(": [0]}}}})",
              "owned.items.0." + absent},
             {R"({"owned": {"items": {"0": {"Shoes": [0, 500]}}}})", "owned.items.0.Shoes"},
             {R"({"acquire": -1})", "acquire"},
             {R"({"acquire": 43})", "acquire"},
             {R"({"acquire": "1"})", "acquire"},
             {R"({"distinct": "figure"})", "distinct"},
             {R"({"distinct": null})", "distinct"}}) {
        // The member is named: as the path before the reason, or as the last key of the
        // path and named again in the reason ("owned.items": "10" は…).
        const std::string message = Refusal(text);
        const size_t dot = field.rfind('.');
        const std::string parent = dot == std::string::npos ? field : field.substr(0, dot);
        const std::string last = field.substr(dot == std::string::npos ? 0 : dot + 1);
        EXPECT_TRUE(message.rfind("\"" + field + "\": ", 0) == 0 ||
                    (message.rfind("\"" + parent + "\": ", 0) == 0 &&
                     message.find("\"" + last + "\"", parent.size() + 4) != std::string::npos))
            << text << " → " << message;
    }
    // Holdings made in code with a list of another length are refused by every search.
    SearchQuery q;
    q.Owned.NotOwned[static_cast<size_t>(HeldKind::Caddie)].assign(2, true);
    EXPECT_THROW(ValidateQuery(q), ESearchQueryError);
}

// kestrel-cli reads the holdings, the limit and the rule of the query and prints what
// each answer acquires, as the search in the process answers; bad holdings exit 2 with
// the member named.
TEST(HoldingsQuery, TheCommandLineSearchesWithinHoldings) {
    const std::string query =
        R"({"build": "B5RIIAAAAAAAAAIE_v", "free": ["Ring", "SpecialCard", "Caddie", "CharaCard1", "CharaCard2"],)"
        R"( "objective": "sum", "results": 4, "owned": {"SpecialCard": [0, 1, 2], "Caddie": [0],)"
        R"( "CharaCard": [0, 1], "items": {"4": {"Ring": [0, 1]}}}, "acquire": 1, "distinct": "acquired"})";
    const auto run = [](const std::string& text, int& status) {
        char path[] = "/tmp/kestrel-holdings-XXXXXX";
        const int fd = mkstemp(path);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        close(fd);
        const std::string command = std::string("'") + KESTREL_CLI + "' search '" + path + "' 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        std::string out;
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            out.append(buffer, n);
        }
        const int raw = pclose(pipe);
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        std::remove(path);
        return out;
    };
    // The answer without the count of branches, which the threads' sharing varies.
    const auto withoutNodes = [](const std::string& json) {
        std::istringstream lines(json);
        std::string out;
        for (std::string line; std::getline(lines, line);) {
            if (line.find("\"nodes\"") == std::string::npos) {
                out += line + "\n";
            }
        }
        return out;
    };
    int status = -1;
    const std::string out = run(query, status);
    EXPECT_EQ(status, 0) << out;
    const JsonQuery q = QueryFromJson(query);
    TSimulator sim;
    ShowBuild(sim, DecodeBuild(*q.Build));
    const SearchResult result = RunSearch(sim, q.Query);
    ASSERT_EQ(result.Answers.size(), 4u);
    for (const SearchAnswer& a : result.Answers) {
        EXPECT_LE(a.Acquired.size(), 1u);
    }
    EXPECT_EQ(withoutNodes(out), withoutNodes(ResultJson(result) + "\n"));
    EXPECT_NE(out.find("\"acquired\": [\"キャディ "), std::string::npos) << out;

    const std::string bad =
        run(R"({"build": "B5RIIAAAAAAAAAIE_v", "owned": {"Caddie": [0, 0]}})", status);
    EXPECT_EQ(status, 2);
    EXPECT_NE(bad.find("\"owned.Caddie\": "), std::string::npos) << bad;
}

}  // namespace
