// The page's native side of the holdings: its storage beside the settings, other tabs,
// damaged storage, and the dialog's answers.

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <random>
#include <string>

#include "settings/settings_store.h"
#include "simulator/holdings_file.h"
#include "simulator/holdings_json.h"
#include "tests/support/random_holdings.h"
#include "web/app/web_face.h"
#include "web_face_support.h"

namespace {

const std::string kMark = "（未所持）";
// A row of a list whose rows never change (the first wear slot's second entry).
const std::string kMarkedRowUnmarked = "\"正確度S+2 *\"";

bool Kept(const std::string& answer) {
    return answer.find("\"kept\":true") != std::string::npos;
}

// The settings, the holdings and the damaged holdings' keys of one browser.
struct Storage {
    MemoryStore Settings{"kestrel-simulator.ini"};
    MemoryStore Holdings{"kestrel-simulator-holdings.json"};
    MemoryStore Damaged{"kestrel-simulator-holdings.json.damaged"};
};

}  // namespace

// Two tabs at random against a model of what each dialog opened over: a keep asks exactly
// when another tab kept other holdings since, writing nothing before the answer; a tab
// back in front takes up what is stored; the settings' bytes never change.
TEST(WebFaceHoldings, KeepOverAnotherTabsKeepAsksFirstAndFrontTakesItUp) {
    std::mt19937 rng(2718);
    Storage storage;
    storage.Settings.SetText("[Character]\r\nLevel=3\r\n");
    std::array<WebFace, 2> tabs{WebFace(storage.Settings, storage.Holdings, storage.Damaged),
                                WebFace(storage.Settings, storage.Holdings, storage.Damaged)};
    for (WebFace& tab : tabs) {
        ASSERT_FALSE(HasErrors(tab.Start("")));
    }
    const std::string settings = storage.Settings.Text();
    // The stored text each tab's open dialog opened over; none: the dialog is closed.
    std::array<std::optional<std::string>, 2> opened;
    int asked = 0;
    for (int step = 0; step < 200; ++step) {
        const int t = std::uniform_int_distribution<int>(0, 1)(rng);
        const int roll = std::uniform_int_distribution<int>(0, 3)(rng);
        WebFace& tab = tabs[static_cast<size_t>(t)];
        const std::string before = storage.Holdings.Text();
        SCOPED_TRACE("step " + std::to_string(step));
        if (roll == 0) {
            tab.Front();
            ASSERT_EQ(tab.Holdings(), before.empty() ? "{}" : before.substr(0, before.size() - 1));
        } else if (roll == 1 || !opened[static_cast<size_t>(t)]) {
            EXPECT_NE(tab.OpenHoldings().find("\"holdings\":" + tab.Holdings()), std::string::npos);
            opened[static_cast<size_t>(t)] = before;
        } else {
            const THoldings holdings = RandomHoldings(rng);
            const std::string json = HoldingsJson(holdings);
            const std::string answer = tab.KeepHoldings(json);
            const bool stale =
                before != opened[static_cast<size_t>(t)] && before != HoldingsFileText(holdings);
            ASSERT_EQ(Asks(answer, "holdingsOverwrite"), stale);
            ASSERT_FALSE(HasErrors(answer));
            if (stale) {
                ++asked;
                ASSERT_EQ(storage.Holdings.Text(), before) << "written before the user chose";
                if (roll == 2) {
                    continue;
                }
                ASSERT_TRUE(Kept(tab.KeepHoldingsOver(json)));
            }
            ASSERT_EQ(storage.Holdings.Text(), HoldingsFileText(holdings));
            ASSERT_EQ(tab.Holdings(), json);
            opened[static_cast<size_t>(t)].reset();
        }
        ASSERT_EQ(storage.Settings.Text(), settings);
    }
    EXPECT_GE(asked, 15);
}

// Damaged stored holdings are said and kept until a keep copies them aside; a refused
// copy or write loses nothing.
TEST(WebFaceHoldings, DamagedOrRefusedStorageLosesNothing) {
    const std::string damaged = "{\"Caddie\": [1, 1]}\n";
    Storage storage;
    storage.Holdings.SetText(damaged);
    WebFace face(storage.Settings, storage.Holdings, storage.Damaged);
    const std::string start = face.Start("");
    EXPECT_NE(start.find("kestrel-simulator-holdings.json の持ち物を読めません"), std::string::npos)
        << start;
    EXPECT_EQ(face.Holdings(), "{}");
    EXPECT_NE(face.OpenHoldings().find("\"problem\":\"kestrel-simulator-holdings.json"),
              std::string::npos);
    face.Close();
    EXPECT_EQ(storage.Holdings.Text(), damaged);

    std::mt19937 rng(31);
    const THoldings first = RandomHoldings(rng);
    storage.Damaged.RefuseWrites(true);
    EXPECT_TRUE(HasErrors(face.KeepHoldings(HoldingsJson(first))));
    EXPECT_EQ(storage.Holdings.Text(), damaged) << "replaced with no copy aside";
    EXPECT_EQ(face.Holdings(), "{}");

    storage.Damaged.RefuseWrites(false);
    EXPECT_TRUE(Kept(face.KeepHoldings(HoldingsJson(first))));
    EXPECT_EQ(storage.Damaged.Text(), damaged);
    EXPECT_EQ(storage.Holdings.Text(), HoldingsFileText(first));
    EXPECT_NE(face.OpenHoldings().find("\"problem\":\"\""), std::string::npos)
        << "the damage still reported after the keep";

    const THoldings second = RandomHoldings(rng);
    storage.Holdings.RefuseWrites(true);
    EXPECT_TRUE(HasErrors(face.KeepHoldings(HoldingsJson(second))));
    EXPECT_EQ(storage.Holdings.Text(), HoldingsFileText(first));
    EXPECT_EQ(face.Holdings(), HoldingsJson(first));
    EXPECT_EQ(storage.Damaged.Text(), damaged) << "a good text copied aside";

    // Holdings the page cannot read are refused before anything is written.
    storage.Holdings.RefuseWrites(false);
    for (const char* bad : {"", "[]", "{\"Club\": [99999]}", "{\"items\": {\"10\": {}}}"}) {
        EXPECT_TRUE(HasErrors(face.KeepHoldings(bad))) << bad;
        EXPECT_TRUE(HasErrors(face.ImportHoldings(bad))) << bad;
        EXPECT_TRUE(HasErrors(face.ReadHoldingsCode(bad))) << bad;
    }
    EXPECT_EQ(storage.Holdings.Text(), HoldingsFileText(first));
    EXPECT_TRUE(storage.Settings.Text().find("holdings") == std::string::npos);
}

// Catches an answer field or the rows' marks that do not follow the holdings (the round
// trips are the core's, the reload the two tabs').
TEST(WebFaceHoldings, AnswersCarryTheHoldingsAndRowsTheirMarks) {
    std::mt19937 rng(99);
    Storage storage;
    WebFace face(storage.Settings, storage.Holdings, storage.Damaged);
    face.Start("");
    for (int i = 0; i < 4; ++i) {
        const std::string json = HoldingsJson(RandomHoldings(rng));
        const std::string field = ",\"holdings\":" + json + ",";
        const std::string coded = face.HoldingsCode(json);
        const size_t at = coded.find("\"code\":\"") + 8;
        EXPECT_NE(face.ReadHoldingsCode(coded.substr(at, coded.find('"', at) - at)).find(field),
                  std::string::npos);
        EXPECT_NE(face.ImportHoldings(json + "\n").find(field), std::string::npos);
        const std::string kept = face.KeepHoldings(json);
        ASSERT_TRUE(Kept(kept));
        EXPECT_EQ(kept.find(kMark) != std::string::npos, json != "{}");
        const std::string owned = face.KeepHoldings("{}");
        EXPECT_EQ(owned.find(kMark), std::string::npos);
        EXPECT_NE(owned.find(kMarkedRowUnmarked), std::string::npos) << "rows left marked";
        EXPECT_EQ(face.Front().find(kMarkedRowUnmarked), std::string::npos) << "rows sent again";
    }
}
