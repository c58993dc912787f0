#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "form/form.h"
#include "settings/settings_store.h"
#include "simulator/persistence.h"
#include "tests/support/random_selection.h"
#include "web/app/web_face.h"
#include "web_face_support.h"

namespace {

// Settings files as a save writes them, each of another random selection.
std::vector<std::string> RandomFiles(std::mt19937& rng, int count) {
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) {
        TSimulator sim;
        RandomSelection(rng, sim);
        MemoryStore file("file");
        Button1Click(sim, file);
        files.push_back(file.Text());
    }
    return files;
}

}  // namespace

// Two tabs over one store against a model of what each last loaded or saved: a save or
// import asks exactly when the other saved since, and writes nothing before the answer.
TEST(WebFaceTabs, ImportAndSaveOverAnotherTabsSaveAskFirst) {
    std::mt19937 rng(4242);
    const std::vector<std::string> files = RandomFiles(rng, 6);
    const std::string broken = "[Character]\r\nLevel=5\r\n[Bastian]\r\nPowSlotUp=40000\r\n";
    const int level = FindWidget(MainForm(), "ComboBox1");
    const int save = FindWidget(MainForm(), "Button1");
    MemoryStore store("kestrel-simulator.ini", files[0]);
    std::array<WebFace, 2> tabs{WebFace(store), WebFace(store)};
    std::array<std::string, 2> own;
    for (int t = 0; t < 2; ++t) {
        ASSERT_FALSE(HasErrors(tabs[t].Start("")));
        own[t] = SavedPart(store.Text());
    }
    int asked = 0;
    int kept = 0;
    std::string trail;
    for (int step = 0; step < 300; ++step) {
        const int t = std::uniform_int_distribution<int>(0, 1)(rng);
        const int roll = std::uniform_int_distribution<int>(0, 9)(rng);
        const bool overwrite = std::uniform_int_distribution<int>(0, 1)(rng) == 1;
        WebFace& tab = tabs[t];
        const std::string before = store.Text();
        const bool stale = SavedPart(before) != own[t];
        trail += ' ' + std::to_string(t) + ':' + std::to_string(roll) + (overwrite ? 'y' : 'n');
        SCOPED_TRACE(trail);
        if (roll < 3) {
            tab.Pick(level, std::uniform_int_distribution<int>(0, 13)(rng));
            ASSERT_EQ(store.Text(), before);
            continue;
        }
        if (roll == 3) {
            tab.Close();
            ASSERT_EQ(SavedPart(store.Text()), SavedPart(before));
            continue;
        }
        if (roll == 4) {
            const std::string answer = tab.Import(broken);
            EXPECT_TRUE(HasErrors(answer));
            EXPECT_FALSE(Asks(answer, "importOver"));
            ASSERT_EQ(store.Text(), before);
            own[t] = SavedPart(before);  // loaded again
            continue;
        }
        const bool import = roll >= 7;
        const std::string& file =
            files[std::uniform_int_distribution<size_t>(0, files.size() - 1)(rng)];
        const std::string answer = import ? tab.Import(file) : tab.Click(save);
        ASSERT_EQ(Asks(answer, import ? "importOver" : "overwrite"), stale);
        ASSERT_FALSE(HasErrors(answer));
        if (stale) {
            ++asked;
            ASSERT_EQ(store.Text(), before) << "written before the user chose";
            if (!overwrite) {
                ++kept;
                continue;
            }
            ASSERT_FALSE(HasErrors(import ? tab.ImportOver(file) : tab.SaveOver()));
        }
        if (import) {
            ASSERT_EQ(store.Text(), file);
        }
        own[t] = SavedPart(store.Text());
        // Its own write asks nothing the next time.
        ASSERT_FALSE(Asks(tab.Click(save), "overwrite"));
        own[t] = SavedPart(store.Text());
    }
    EXPECT_GE(asked, 20);
    EXPECT_GE(kept, 10);
}
