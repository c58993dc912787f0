// The search dialog's description: its texts take their figures, and its part captions
// tell parts apart. Its numbers' limits are held to the reader's in query_json_test.

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "search/dialog_form.h"

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
