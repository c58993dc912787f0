#include <gtest/gtest.h>

#include <random>

#include "engine/errors.h"
#include "settings/settings_store.h"
#include "simulator/persistence.h"
#include "tests/settings/temp_folder.h"
#include "tests/support/random_selection.h"
#include "tests/support/sim_print.h"

// The operations over a text in memory write what they write into a file, byte for
// byte, and load it back the same: the browser's storage relies on it.
TEST(SettingsStores, MemoryAndFileHoldTheSameTextAfterEveryOperation) {
    std::mt19937 rng(20261209);
    TempFolder folder;
    const std::string path = folder.File("kestrel.ini");
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::string start = round % 3 == 0 ? std::string() : ReadBytes(path);
        WriteBytes(path, start + "[Mine]\nKeep=1\n");
        MemoryStore memory("memory", ReadBytes(path));

        TSimulator viaFile;
        RandomSelection(rng, viaFile);
        viaFile.Window = {round, -round};
        TSimulator viaMemory = viaFile;
        if (round % 2 == 0) {
            Button1Click(viaFile, path);
            Button1Click(viaMemory, memory);
        } else {
            FormClose(viaFile, path);
            FormClose(viaMemory, memory);
            FormCreate(viaFile, path);
            FormCreate(viaMemory, memory);
        }
        ASSERT_EQ(memory.Text(), ReadBytes(path));
        EXPECT_EQ(viaMemory, viaFile);
    }
}

// A store that refuses the write names itself, keeps its text, and a save that could
// not write does not load again, so the selection and its baselines stay as they were.
TEST(SettingsStores, RefusedWriteKeepsTheTextAndReportsTheStore) {
    std::mt19937 rng(7);
    MemoryStore store("browser.ini");
    TSimulator sim;
    RandomSelection(rng, sim);
    Button1Click(sim, store);
    const std::string saved = store.Text();
    ASSERT_EQ(store.Writes(), 1);

    RandomSelection(rng, sim);
    const TSimulator before = sim;
    store.RefuseWrites(true);
    try {
        Button1Click(sim, store);
        FAIL() << "the save reported success";
    } catch (const EWriteError& e) {
        EXPECT_STREQ(e.what(), "browser.ini に書き込めません");
    }
    EXPECT_EQ(store.Text(), saved);
    EXPECT_EQ(sim.State.SavedPP, before.State.SavedPP);
    EXPECT_EQ(sim.Display, before.Display);
    EXPECT_THROW(FormClose(sim, store), EWriteError);
    EXPECT_EQ(store.Text(), saved);
    EXPECT_EQ(store.Writes(), 1);
}

namespace {

// The selection a load reads from `text`, apart from what a close writes (the page; the
// window position is no part of the selection).
TSimState LoadedApartFromClose(const std::string& text) {
    MemoryStore store("loaded", text);
    TSimulator sim;
    FormCreate(sim, store);
    sim.State.TabIndex = 0;
    return sim.State;
}

}  // namespace

// The saved part keeps everything a load reads except the page and the window position,
// stays the same through any close, and tells saves of different selections apart: a
// tab that compares it sees another tab's saves and not its closes.
TEST(SettingsStores, SavedPartSeesSavesAndNotCloses) {
    std::mt19937 rng(19);
    std::uniform_int_distribution<int32_t> position(-2000, 2000);
    MemoryStore store("browser.ini");
    int closesThatChangedTheText = 0;
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        TSimulator user;
        RandomSelection(rng, user);
        user.Window = {position(rng), position(rng)};
        if (round % 4 == 3) {
            FormClose(user, store);
        } else {
            Button1Click(user, store);
        }
        const std::string text = store.Text();
        const std::string part = SavedPart(text);
        EXPECT_EQ(LoadedApartFromClose(part), LoadedApartFromClose(text));

        TSimulator other;
        RandomSelection(rng, other);
        other.Window = {position(rng), position(rng)};
        MemoryStore closed("closed", text);
        FormClose(other, closed);
        closesThatChangedTheText += closed.Text() != text ? 1 : 0;
        EXPECT_EQ(SavedPart(closed.Text()), part);

        MemoryStore saved("saved", closed.Text());
        Button1Click(other, saved);
        const bool sameSelection = LoadedApartFromClose(saved.Text()) == LoadedApartFromClose(text);
        EXPECT_EQ(SavedPart(saved.Text()) == part, sameSelection);
    }
    EXPECT_GT(closesThatChangedTheText, 30);
}
