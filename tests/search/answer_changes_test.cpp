#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "bench/random_goals.h"
#include "characters/roster.h"
#include "search/search.h"
#include "search/search_json.h"
#include "search/search_request.h"
#include "simulator/build_code.h"
#include "tests/search/enumeration.h"
#include "tests/support/json_member.h"

// Each answer's "changeData", applied to the build of "current", gives the answer's "code".

namespace {

int32_t Index(const json::Value& change, std::string_view side) {
    return static_cast<int32_t>(Member(Member(change, side), "index").Int);
}

// The field a change names in `b`: of the shown page's character, of its club set, or of
// the build; none where the shown character has no such part.
int32_t* FieldOf(PlannedBuild& b, const std::string& name) {
    const int part = SearchPartByName(name);
    if (name == "Character") {
        return &b.TabIndex;
    }
    if (part < 0 ||
        (part < kWearPartCount && !SlotPosition(b.TabIndex, static_cast<TWearSlot>(part)))) {
        return nullptr;
    }
    return part >= kPartClubSlotUp ? &StatField(b.ClubSlotUps[b.Club], part - kPartClubSlotUp)
                                   : &plain::Slot(b, b.TabIndex, part);
}

// Applies the answer's changes to `b`, checking that each starts from what `b` holds and
// that its texts are those of the listed change.
void Apply(PlannedBuild& b, const json::Value& answer) {
    const json::Value& data = Member(answer, "changeData");
    const json::Value& texts = Member(answer, "changes");
    ASSERT_EQ(data.Items.size(), texts.Items.size());
    for (size_t i = 0; i < data.Items.size(); ++i) {
        const json::Value& change = data.Items[i];
        const std::string& name = Member(change, "field").Text;
        int32_t* field = FieldOf(b, name);
        ASSERT_NE(field, nullptr) << name;
        EXPECT_EQ(*field, Index(change, "from")) << name;
        const std::string shown = Member(Member(change, "from"), "text").Text + " → " +
                                  Member(Member(change, "to"), "text").Text;
        const std::string& text = texts.Items[i].Text;
        EXPECT_EQ(text.substr(text.size() - std::min(text.size(), shown.size())), shown);
        if (name == "Club") {
            // The counts of the current club set go along to the new one.
            b.ClubSlotUps[Index(change, "to")] = b.ClubSlotUps[b.Club];
        }
        *field = Index(change, "to");
    }
}

// The goal's selection, character and objective, with a few random parts free and no
// minimums: quick searches that mostly find answers.
std::string QuickQuery(const std::string& goal, std::mt19937& rng) {
    const JsonQuery read = QueryFromJson(goal);
    const int32_t who = read.Query.Character;
    std::string query = "{\"build\": \"";
    query.append(*read.Build).append("\", \"character\": ");
    query.append(who == kAnyCharacter     ? std::string("\"any\"")
                 : who == kShownCharacter ? std::string("\"shown\"")
                                          : std::to_string(who));
    query.append(", \"objective\": \"").append(ObjectiveName(read.Query.Objective));
    query.append("\", \"noPenalty\": false, \"results\": 5, \"free\": [");
    const int wanted = who == kAnyCharacter ? 3 : 6;
    for (int n = 0; n < wanted; ++n) {
        // The club and its counts half the time, so that club changes carry counts.
        const int part = n < 2 && rng() % 2 == 0 ? kPartClub + static_cast<int>(rng() % 11)
                                                 : static_cast<int>(rng() % kSearchPartCount);
        std::string name = "\"";
        name.append(SearchPartName(part)).append("\"");
        if (query.find(name) == std::string::npos) {
            query.append(query.back() == '[' ? "" : ", ").append(name);
        }
    }
    return query.append("]}");
}

TEST(AnswerChanges, ApplyingTheChangeDataGivesTheAnswersBuild) {
    std::mt19937 rng(4);
    int answers = 0;
    for (const std::string& goal : random_goals::Goals(11, 150)) {
        const std::string query = QuickQuery(goal, rng);
        const SearchReply reply = AnswerSearchRequest(query, nullptr);
        ASSERT_TRUE(reply.Answer) << query << reply.Refusal;
        const json::Value result = json::Parse(*reply.Answer);
        const json::Value& current = Member(result, "current");
        const PlannedBuild now = DecodeBuild(Member(current, "code").Text);
        EXPECT_EQ(Member(current, "character").Int, now.TabIndex);
        std::vector<const json::Value*> all;
        for (const json::Value& answer : Member(result, "answers").Items) {
            all.push_back(&answer);
        }
        for (const json::Value& step : Member(result, "curve").Items) {
            all.push_back(&step);
        }
        for (const json::Value* answer : all) {
            PlannedBuild b = now;
            Apply(b, *answer);
            EXPECT_EQ(EncodeBuild(b), Member(*answer, "code").Text) << query;
            ++answers;
        }
    }
    EXPECT_GT(answers, 300);
}

}  // namespace
