// The query's holdings ("owned"), its limit on what an answer acquires ("acquire") and
// its rule for which builds are one answer ("distinct"): read as written, refused with
// the member named.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "search/holdings_text.h"
#include "search/search.h"
#include "search/search_json.h"
#include "tests/support/random_holdings.h"

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

// Catches the query dropping or misreading "owned", "acquire" or "distinct", and a wrong
// default limit: within recorded holdings an answer acquires nothing unless told otherwise.
TEST(HoldingsQuery, OwnedAcquireAndDistinctReadAsWritten) {
    std::mt19937 rng(5);
    for (int round = 0; round < 40; ++round) {
        const THoldings h = RandomHoldings(rng);
        const SearchQuery q = QueryFromJson("{\"owned\": " + HoldingsJson(h) + "}").Query;
        EXPECT_EQ(q.Owned == h, true);
        EXPECT_EQ(AcquireLimit(q), OwnsEverything(h) ? std::nullopt : std::optional<int32_t>(0));
    }
    // Holdings that name every entry of a list record nothing: no limit by default.
    for (const auto& [text, limit] : std::vector<std::pair<std::string, std::optional<int32_t>>>{
             {"{}", std::nullopt},
             {R"({"owned": {"Caddie": [0]}, "acquire": null})", std::nullopt},
             {R"({"owned": {"Caddie": [0]}, "acquire": 2})", 2},
             {R"({"acquire": 1})", 1},
             {R"({"owned": {"CaddieCard": [0, 1, 2, 3, 4]}})", std::nullopt}}) {
        EXPECT_EQ(AcquireLimit(QueryFromJson(text).Query), limit) << text;
    }
    EXPECT_EQ(QueryFromJson("{}").Query.Distinct, SearchDistinct::Figures);
    EXPECT_EQ(QueryFromJson(R"({"distinct": "acquired"})").Query.Distinct,
              SearchDistinct::Acquired);
}

// Catches a refusal that does not name the member: the holdings' own place (the whole, a
// kind, a page) after "owned", and the limit and the rule.
TEST(HoldingsQuery, BadHoldingsAreRefusedNamingTheMember) {
    for (const auto& [text, field] : std::vector<std::pair<std::string, std::string>>{
             {R"({"owned": []})", "owned"},
             {R"({"owned": {"Caddie": [1, 1]}})", "owned.Caddie"},
             {R"({"owned": {"items": {"10": {}}}})", "owned.items.10"},
             {R"({"acquire": -1})", "acquire"},
             {R"({"acquire": 43})", "acquire"},
             {R"({"acquire": "1"})", "acquire"},
             {R"({"distinct": "figure"})", "distinct"},
             {R"({"distinct": null})", "distinct"}}) {
        // The path before the reason, or its parent with the last key in the reason.
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

}  // namespace
