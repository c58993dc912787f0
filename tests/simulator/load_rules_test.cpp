#include <filesystem>

#include "tests/simulator/settings_fixture.h"

// The ring layout before per-character ring keys: CrimsonRing, consulted only when
// Bastian has no Ring key, gives the first seven characters' rings a default of 1.
TEST_F(SettingsTest, OlderRingLayout) {
    const auto rings = [this] {
        std::vector<int32_t> r;
        for (int32_t c = 0; c < CharaCount; ++c) {
            r.push_back(Item(sim, c, TWearSlot::Ring));
        }
        return r;
    };
    WriteFile("[Character]\nCrimsonRing=1\n[Noemi]\nRing=5\n[Corvin]\nRing=4\n");
    Load();
    EXPECT_EQ(rings(), (std::vector<int32_t>{1, 5, 1, 1, 1, 1, 1, 4, 0, 0}));

    WriteFile("[Character]\nCrimsonRing=0x1\n[Bastian]\nring=2\n");
    Load();
    EXPECT_EQ(rings(), (std::vector<int32_t>{2, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

    WriteFile("[Character]\nCrimsonRing=0\n[Bastian]\nTop=1\n");
    Load();
    EXPECT_EQ(rings(), std::vector<int32_t>(10, 0));
}

// The club layout before per-club sections: [Club]'s counts belong to the selected club,
// and only when there is no Club0 section.
TEST_F(SettingsTest, OlderClubLayout) {
    // Club set 5 allows 3, 7, 6, 2, 0 upgrades: the spinners hold the counts within that.
    WriteFile("[Club]\nClub=5\nPowSlotUp=3\nSpinSlotUp=5\nCurSlotUp=1\n");
    Load();
    for (int32_t i = 0; i < kClubCount; ++i) {
        EXPECT_EQ(sim.State.ClubSlotUps[i], i == 5 ? MakeStatus(3, 0, 0, 5, 1) : TStatus{});
    }
    EXPECT_EQ(sim.State.ClubSpinners[0].Position, 3);
    EXPECT_EQ(sim.State.ClubSpinners[3].Position, 2);
    EXPECT_EQ(sim.State.ClubSpinners[4].Position, 0);

    WriteFile("[Club]\nClub=5\nPowSlotUp=3\n[Club0]\nSavedPP=0\n");
    Load();
    EXPECT_EQ(sim.State.ClubSlotUps[5], TStatus{});
    EXPECT_EQ(sim.State.ClubSpinners[0].Position, 0);

    // An empty Club0 section does not count as one.
    WriteFile("[Club]\nClub=5\nPowSlotUp=3\n[Club0]\n");
    Load();
    EXPECT_EQ(sim.State.ClubSlotUps[5].Pow, 3);
}

// A list index outside its list leaves the list without a selection; a spinner holds
// a value within its range.
TEST_F(SettingsTest, OutOfRangeValuesAsTheWidgetsTakeThem) {
    WriteFile(
        "[Character]\nLevel=20\nTabIndex=12\n"
        "[Noemi]\nTop=9\nShoes=-1\nCharaCard2=15\nCaddieCard1=5\n"
        "PowSlotUp=31\nCtrlSlotUp=25\nExaSlotUp=-4\nSpinSlotUp=32767\nCurSlotUp=-32768\n"
        "[Caddie]\nCaddie=15\n[SpecialCard]\nSpecialCard=-2\n");
    Load();
    const TCharaState& noemi = sim.State.Chara[1];
    EXPECT_EQ(sim.State.Level, -1);
    EXPECT_EQ(sim.State.TabIndex, -1);
    EXPECT_EQ(Item(sim, 1, TWearSlot::Top), -1);
    EXPECT_EQ(Item(sim, 1, TWearSlot::Shoes), -1);
    EXPECT_EQ(noemi.CharaCard2, -1);
    EXPECT_EQ(noemi.CaddieCard1, -1);
    EXPECT_EQ(SlotUpCounts(noemi), MakeStatus(30, 20, 0, 20, 0));
    EXPECT_EQ(sim.State.Caddie, -1);
    EXPECT_EQ(sim.State.SpecialCard, -1);

    // No page active: the close writes -1.
    Close();
    EXPECT_EQ(FileValue("Character", "TabIndex"), -1);
    // The clamped count is what the next save writes, with its price as the baseline.
    Save();
    EXPECT_EQ(FileValue("Noemi", "CtrlSlotUp"), 20);
    EXPECT_EQ(FileValue("Noemi", "SavedPP"), UpgradeCostPP(30, 20, 0, 20, 0));
    EXPECT_EQ(FileValue("Character", "Level"), -1);
    EXPECT_EQ(FileValue("Noemi", "Top"), -1);
}

// A spinner value outside the 16-bit range stops the load at that key; what was
// applied before stays, nothing after it happens.
TEST_F(SettingsTest, SixteenBitOverflowStopsTheLoad) {
    WriteFile(
        "[Window]\nLeft=40\n[Bastian]\nTop=2\nPowSlotUp=7\n"
        "[Noemi]\nTop=3\nCtrlSlotUp=32768\nExaSlotUp=5\n[Tatsuro]\nTop=4\n");
    Item(sim, 2, TWearSlot::Top) = 1;
    sim.State.Chara[1].ExaSlotUp = 9;
    const std::string lastText = sim.Display.Last[0].Text;
    try {
        Load();
        FAIL() << "no error";
    } catch (const ERangeError& e) {
        EXPECT_STREQ(e.what(), "範囲チェックエラー");
    }
    EXPECT_EQ(sim.Window.Left, 40);
    EXPECT_EQ(Item(sim, 0, TWearSlot::Top), 2);
    EXPECT_EQ(sim.State.Chara[0].PowSlotUp, 7);
    EXPECT_EQ(Item(sim, 1, TWearSlot::Top), 3);
    EXPECT_EQ(sim.State.Chara[1].ExaSlotUp, 9);
    EXPECT_EQ(Item(sim, 2, TWearSlot::Top), 1);
    EXPECT_EQ(sim.Display.Last[0].Text, lastText);  // no recalculation

    WriteFile("[Gordo]\nCurSlotUp=-32769\n");
    EXPECT_THROW(Load(), ERangeError);
    WriteFile("[Club0]\nPowSlotUp=40000\n");
    EXPECT_THROW(Load(), ERangeError);  // club 0's count reaches its spinner
    WriteFile("[Club1]\nPowSlotUp=40000\n");
    EXPECT_NO_THROW(Load());  // a club that is not selected only fills the table
    EXPECT_EQ(sim.State.ClubSlotUps[1].Pow, 40000);
}

// A club index outside 0..41 leaves the club list without a selection and stops the
// load: with club sections before the club spinners are set, without them before the
// older layout's counts are read.
TEST_F(SettingsTest, ClubOutsideTheListStopsTheLoad) {
    Load();
    sim.State.ClubSpinners[1].SetPosition(1);
    const std::string total = sim.Display.TotalPPText;
    const std::string file =
        "[Character]\nLevel=5\n[Club]\nClub=42\n[Club0]\nCtrlSlotUp=0\n[Club7]\nSavedPP=70\n";
    WriteFile(file);
    EXPECT_THROW(Load(), ERangeError);
    EXPECT_EQ(sim.State.Level, 5);
    EXPECT_EQ(sim.Results.Level, 0);  // the recalculation did not run
    EXPECT_EQ(sim.State.Club, -1);
    EXPECT_EQ(sim.State.ClubSavedPP[7], 70);  // the club sections were read
    EXPECT_EQ(sim.State.ClubSpinners[1].Position, 1);
    EXPECT_EQ(sim.Display.TotalPPText, total);
    // Without a club the save cannot store the club spinners; it writes nothing at all.
    EXPECT_THROW(Save(), ERangeError);
    EXPECT_EQ(FileText(), file);

    WriteFile("[Club]\nClub=-1\nPowSlotUp=5\n[Club7]\nSavedPP=70\n");
    sim.State.ClubSavedPP[7] = 0;
    EXPECT_THROW(Load(), ERangeError);
    EXPECT_EQ(sim.State.ClubSavedPP[7], 70);
    for (const TStatus& counts : sim.State.ClubSlotUps) {
        EXPECT_EQ(counts.Pow, 0);
    }
}

// A file with only what a close writes loads every other value as 0.
TEST_F(SettingsTest, FileWithOnlyWindowAndCharacter) {
    sim.Window = {300, 200};
    sim.State.TabIndex = 6;
    Close();
    EXPECT_EQ(Keys(FileText()),
              (std::vector<std::pair<std::string, std::string>>{
                  {"Window", "Left"}, {"Window", "Top"}, {"Character", "TabIndex"}}));
    TSimulator fresh;
    FormCreate(fresh, path);
    EXPECT_EQ(fresh.Window.Left, 300);
    EXPECT_EQ(fresh.Window.Top, 200);
    EXPECT_EQ(fresh.State.TabIndex, 6);
    EXPECT_EQ(fresh.State.Level, 0);
    EXPECT_EQ(fresh.State.Chara, TSimState{}.Chara);
    EXPECT_EQ(fresh.State.ClubSlotUps, TSimState{}.ClubSlotUps);
    EXPECT_EQ(fresh.State.Club, 0);
}

// The close writes the position and the page and nothing else.
TEST_F(SettingsTest, CloseWritesOnlyPositionAndPage) {
    Load();
    MakeVariedSelection(sim);
    Save();
    const std::string saved = FileText();
    sim.State.Chara[0].PowSlotUp = 0;
    sim.State.Level = 1;
    sim.State.TabIndex = 8;
    sim.Window = {7, 8};
    Close();
    std::string expected = saved;
    for (auto [from, to] : {std::pair<std::string, std::string>{"Left=123\n", "Left=7\n"},
                            {"Top=-45\n", "Top=8\n"},
                            {"TabIndex=3\n", "TabIndex=8\n"}}) {
        expected.replace(expected.find(from), from.size(), to);
    }
    EXPECT_EQ(FileText(), expected);
    // The next start: the selection of the save, position and page of the close.
    TSimulator next;
    FormCreate(next, path);
    EXPECT_EQ(next.State.Level, 7);
    EXPECT_EQ(next.State.TabIndex, 8);
    EXPECT_EQ(next.Window.Left, 7);
}

// A failed write names the file, leaves it byte for byte, and a failed save does not
// reload, so the window keeps its selection and baselines.
TEST_F(SettingsTest, FailedSaveChangesNeitherFileNorWindow) {
    Load();
    MakeVariedSelection(sim);
    Save();
    const std::string saved = FileText();
    sim.State.Chara[5].PowSlotUp = 30;
    sim.State.SavedPP[5] = 4242;
    StatusCalculate(sim);
    const TSimState before = sim.State;
    const std::string neededText = sim.Display.Pages[3].PPNeededText;

    // The file may grow no further than a few bytes: the write fails part of the way.
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limits{};
    getrlimit(RLIMIT_FSIZE, &limits);
    rlimit small = limits;
    small.rlim_cur = 512;
    setrlimit(RLIMIT_FSIZE, &small);
    std::string message;
    try {
        Save();
    } catch (const EWriteError& e) {
        message = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &limits);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(message, path + " に書き込めません");
    EXPECT_EQ(FileText(), saved);
    EXPECT_EQ(folder.EntryCount(), 1u);
    EXPECT_EQ(sim.State.Chara, before.Chara);
    EXPECT_EQ(sim.State.SavedPP, before.SavedPP);
    EXPECT_EQ(sim.State.ClubSavedPP, before.ClubSavedPP);
    EXPECT_EQ(sim.Display.Pages[3].PPNeededText, neededText);
}

TEST_F(SettingsTest, FailedCloseNamesTheFile) {
    const std::string inMissingFolder = folder.File("gone/kestrel.ini");
    try {
        FormClose(sim, inMissingFolder);
        FAIL() << "no error";
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.what(), inMissingFolder + " に書き込めません");
    }
    std::filesystem::create_directory(path);  // a folder where the file should be
    EXPECT_THROW(Close(), EWriteError);
    EXPECT_THROW(Save(), EWriteError);
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

// The file named after the running program takes a close and gives it back.
TEST(SettingsDefaultPath, OperationsUseTheProgramsSettingsFile) {
    const std::string path = SettingsFilePath();
    ASSERT_FALSE(std::filesystem::exists(path)) << "a settings file is already there";
    TSimulator sim;
    sim.Window = {11, 22};
    FormClose(sim, path);
    TSimulator next;
    FormCreate(next, path);
    std::filesystem::remove(path);
    EXPECT_EQ(next.Window.Left, 11);
    EXPECT_EQ(next.Window.Top, 22);
}
