// The holdings as JSON and as a code: read back as written, damage refused or read as
// holdings the writer makes, every fault refused with where it stands.

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "characters/roster.h"
#include "search/holdings_text.h"
#include "simulator/build_code.h"
#include "simulator/holdings_code.h"
#include "tests/support/random_holdings.h"

namespace {

constexpr std::string_view kLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

// A text with one random change: a letter replaced, removed, added, or the text cut.
std::string Damaged(std::string text, std::mt19937& random, std::string_view alphabet) {
    const auto below = [&random](size_t n) {
        return std::uniform_int_distribution<size_t>(0, n - 1)(random);
    };
    const char letter = alphabet[below(alphabet.size())];
    switch (below(4)) {
        case 0:
            text[below(text.size())] = letter;
            break;
        case 1:
            text.erase(below(text.size()), 1);
            break;
        case 2:
            text.insert(below(text.size() + 1), 1, letter);
            break;
        default:
            text.resize(below(text.size()));
            break;
    }
    return text;
}

}  // namespace

// Catches a writer and a reader that disagree, letters outside the code's alphabet, a
// reader that lets through what the writer cannot make (an entry out of range, a "なし"
// not owned, a list owned whole but recorded) and a weak check.
TEST(HoldingsText, RandomHoldingsReadBackAndDamageIsRefusedOrReadAsWritten) {
    std::mt19937 random(3030);
    EXPECT_EQ(HoldingsJson(THoldings{}), "{}");
    EXPECT_LE(EncodeHoldings(THoldings{}).size(), 40u);
    int readCodes = 0;  // damaged, and read all the same
    int refusedTexts = 0;
    for (int round = 0; round < 3000; ++round) {
        const THoldings holdings = RandomHoldings(random);
        const std::string json = HoldingsJson(holdings);
        const std::string code = EncodeHoldings(holdings);
        ASSERT_EQ(HoldingsFromJson(json), holdings) << json;
        ASSERT_EQ(DecodeHoldings(" " + code + "\n"), holdings) << code;
        ASSERT_EQ(code.find_first_not_of(kLetters), std::string::npos);
        const std::string damaged = Damaged(code, random, kLetters);
        try {
            EXPECT_EQ(EncodeHoldings(DecodeHoldings(damaged)), damaged);
            readCodes += damaged != code;
        } catch (const EHoldingsError&) {
        }
        try {
            const THoldings read = HoldingsFromJson(Damaged(json, random, "0123456789,[]{}\":-a"));
            EXPECT_EQ(HoldingsFromJson(HoldingsJson(read)), read);
        } catch (const EHoldingsError&) {
            ++refusedTexts;
        }
    }
    // A 24-bit check lets next to no damaged code through.
    EXPECT_LE(readCodes, 1);
    EXPECT_GT(refusedTexts, 1000);
}

// Each refusal's exact words and where it stands; codes of no holdings named as such.
TEST(HoldingsText, EveryFaultIsRefusedWithWhereItStands) {
    const std::string top = std::string(WearSlotKey(CharaDef(0).Slots[0]));
    const std::string topCount = std::to_string(ItemCount(0, 0));
    int absent = 0;  // a wear-slot kind page 0 lacks
    while (SlotPosition(0, static_cast<TWearSlot>(absent))) {
        ++absent;
    }
    const std::string absentKey(WearSlotKey(static_cast<TWearSlot>(absent)));
    const auto json = [](std::string_view text) { HoldingsFromJson(text); };
    const auto code = [](std::string_view text) { DecodeHoldings(text); };
    const struct {
        std::function<void(std::string_view)> Read;
        std::string Text;
        std::string Message;
    } cases[] = {
        {json, "[]", "持ち物: オブジェクトではありません"},
        {json, "{\"Hat\":[]}", "持ち物: \"Hat\" は持ち物の項目ではありません"},
        {json, "{\"items\":[]}", "items: オブジェクトではありません"},
        {json, "{\"items\":{\"10\":{}}}", "items: \"10\" はページの番号"},
        {json, "{\"items\":{\"01\":{}}}", "items: \"01\" はページの番号"},
        {json, "{\"items\":{\"0\":[]}}", "items.0: オブジェクトではありません"},
        {json, "{\"items\":{\"0\":{\"Nose\":[]}}}", "items.0: \"Nose\" は"},
        {json, "{\"items\":{\"0\":{\"CharaCard1\":[]}}}", "items.0: \"CharaCard1\" は"},
        {json, "{\"items\":{\"0\":{\"" + absentKey + "\":[]}}}",
         "items.0: \"" + absentKey + "\" は"},
        {json, "{\"items\":{\"0\":{\"" + top + "\":3}}}",
         "items.0." + top + ": 番号の配列ではありません"},
        {json, "{\"items\":{\"0\":{\"" + top + "\":[" + topCount + "]}}}",
         "items.0." + top + ": 番号 " + topCount + " は一覧にありません (0〜" +
             std::to_string(ItemCount(0, 0) - 1) + ")"},
        {json, "{\"Caddie\":[-1]}", "Caddie: 番号 -1 は一覧にありません"},
        {json, "{\"Club\":[1,2,1]}", "Club: 番号 1 が2回書かれています"},
        {json, "{\"Club\":[1,2.5]}", "Club: 2 番目が整数ではありません"},
        {json, "{\"Club\":[\"1\"]}", "Club: 1 番目が整数ではありません"},
        {json, "{\"Club\":[99999999999999999999]}", "Club: 1 番目が整数ではありません"},
        {json, "{\"Club\":[],\"Club\":[]}", "持ち物: "},
        {json, "{\"Club\":[]", "持ち物: "},
        {json, "", "持ち物: "},
        {code, " \u3000\n", std::string(kNoHoldingsCode)},
        // A build code passes the check, but is of another kind.
        {code, EncodeBuild(PlannedBuild{}), std::string(kHoldingsCodeUnknownVersion)},
        {code, "h", std::string(kHoldingsCodeDamaged)},
        {code, "持ち物", std::string(kHoldingsCodeDamaged)},
    };
    for (const auto& c : cases) {
        try {
            c.Read(c.Text);
            ADD_FAILURE() << c.Text << " was read";
        } catch (const EHoldingsError& error) {
            EXPECT_TRUE(std::string(error.what()).starts_with(c.Message))
                << c.Text << " -> " << error.what();
        }
    }
    // "なし" is owned whether it is named or not; an empty list owns nothing else.
    const THoldings none = HoldingsFromJson("{\"Caddie\":[]}");
    EXPECT_TRUE(OwnsHeld(none, HeldKind::Caddie, 0));
    EXPECT_FALSE(OwnsHeld(none, HeldKind::Caddie, 1));
    EXPECT_EQ(HoldingsFromJson("{\"Caddie\":[0]}"), none);
    EXPECT_TRUE(OwnsEverything(HoldingsFromJson("{\"items\":{\"4\":{}}}")));
}
