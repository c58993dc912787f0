// The search dialog's description: its texts take their figures, its part captions tell
// parts apart, and the page's JSON of it carries every control as described. Its numbers'
// limits are held to the reader's in query_json_test.

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "search/dialog_form.h"
#include "tests/support/json_member.h"

TEST(SearchDialogDescription, TextsTakeTheirFiguresAndNamesAreUnique) {
    std::set<std::string> names;
    for (const DialogControl& c : SearchDialogForm().Controls) {
        EXPECT_TRUE(names.insert(c.Name).second) << c.Name;
    }
    std::set<std::string_view> keys;
    for (int t = 0; t < kDialogTextCount; ++t) {
        const auto id = static_cast<DialogTextId>(t);
        EXPECT_TRUE(keys.insert(DialogTextKey(id)).second);
        EXPECT_EQ(DialogText(id, {"α", "β", "γ"}).find('{'), std::string::npos);
    }
    EXPECT_EQ(DialogText(DialogTextId::Proved, {"3", "1,204", "0.25"}),
              "候補 3 件 (1,204 ノード, 0.25 秒) 最適を確認済み");
    std::mt19937_64 random(5);
    for (int i = 0; i < 2000; ++i) {
        const uint64_t value = random() >> (random() % 64);
        const std::string grouped = GroupedDigits(value);
        std::string digits;
        for (size_t at = 0; at < grouped.size(); ++at) {
            if (grouped[at] == ',') {
                EXPECT_EQ((grouped.size() - at) % 4, 0u) << grouped;
            } else {
                digits += grouped[at];
            }
        }
        EXPECT_EQ(digits, std::to_string(value));
        EXPECT_NE(grouped.front(), ',');
    }
}

// With every character, no two wear parts share a caption; for one character each part
// is its row's caption.
TEST(SearchDialogDescription, PartCaptionsTellPartsApart) {
    std::set<std::string> any;
    int shown = 0;
    for (int part = 0; part < kWearPartCount; ++part) {
        if (PartShownFor(part, -1)) {
            ++shown;
            any.insert(SearchPartCaption(part, -1));
        }
    }
    EXPECT_EQ(static_cast<int>(any.size()), shown);
    for (int part = 0; part < kSearchPartCount; ++part) {
        EXPECT_EQ(SearchPartByName(SearchPartName(part)), part);
    }
}

// The page builds its dialog from this JSON alone: a control lost or altered on the way
// would differ from the window's without any face's test seeing it.
TEST(SearchDialogDescription, ThePagesJsonCarriesEveryControl) {
    const SearchDialogDef& def = SearchDialogForm();
    const json::Value page = json::Parse(SearchDialogJson(0, {}));
    const auto texts = [](const json::Value& array) {
        std::vector<std::string> out;
        for (const json::Value& item : array.Items) {
            out.push_back(item.Text);
        }
        return out;
    };
    EXPECT_EQ(Member(page, "title").Text, def.Title);
    EXPECT_EQ(texts(Member(page, "columns")), def.Columns);
    const std::vector<json::Value>& controls = Member(page, "controls").Items;
    ASSERT_EQ(controls.size(), def.Controls.size());
    for (size_t i = 0; i < controls.size(); ++i) {
        const DialogControl& c = def.Controls[i];
        const json::Value& j = controls[i];
        SCOPED_TRACE(c.Name);
        const std::vector<std::string> strings = {c.Name,  c.Caption, c.Hint,  c.AccessibleName,
                                                  c.Field, c.Suffix,  c.Switch};
        const std::vector<std::string> read = {
            Member(j, "name").Text,           Member(j, "caption").Text, Member(j, "hint").Text,
            Member(j, "accessibleName").Text, Member(j, "field").Text,   Member(j, "suffix").Text,
            Member(j, "switch").Text};
        EXPECT_EQ(read, strings);
        EXPECT_EQ(texts(Member(j, "choices")), c.Choices);
        EXPECT_EQ(texts(Member(j, "values")), c.Values);
        EXPECT_EQ(Member(j, "initial").Int, c.Initial);
        EXPECT_EQ(Member(j, "step").Int, c.Step);
        EXPECT_EQ(Member(j, "group").Int, static_cast<int>(c.Group));
        EXPECT_EQ(Member(j, "default").Flag, c.Default);
        const json::Value& limit = Member(j, "limit");
        ASSERT_EQ(limit.Type != json::Value::Kind::Null, c.Limit.has_value());
        if (c.Limit) {
            EXPECT_EQ(Member(limit, "low").Int, c.Limit->Low);
            EXPECT_EQ(Member(limit, "high").Int, c.Limit->High);
            EXPECT_EQ(Member(limit, "refusal").Text, QueryRefusal(c.Field, *c.Limit));
        }
    }
}
