#include "tests/simulator/settings_fixture.h"

// Without a file everything starts at its default: position (0, 0), the first page,
// "なし" everywhere, no upgrades, club 0.
TEST_F(SettingsTest, FirstStartWithoutFile) {
    sim.State.Chara[4].Items[2] = 3;
    sim.State.Club = 9;
    sim.Window = {50, 60};
    Load();
    const TSimState fresh{};
    EXPECT_EQ(sim.State.Chara, fresh.Chara);
    EXPECT_EQ(sim.State.SavedPP, fresh.SavedPP);
    EXPECT_EQ(sim.State.Club, 0);
    EXPECT_EQ(sim.State.TabIndex, 0);
    EXPECT_EQ(sim.Window.Left, 0);
    EXPECT_EQ(sim.Window.Top, 0);
    EXPECT_EQ(sim.Display.HintPauseMs, 50);
    EXPECT_EQ(sim.Display.HintHidePauseMs, 3000);
    EXPECT_TRUE(sim.Display.SaveButtonHint.starts_with("現在の設定を保存します。\r"));
    EXPECT_EQ(sim.Display.Pages[9].CharaCardItems[2].size(), 15u);
    EXPECT_EQ(sim.Display.Pages[9].CaddieCardItems[1].size(), 5u);
    EXPECT_FALSE(std::filesystem::exists(path));  // the load never writes
}

// A save followed by a load gives back the whole selection, with every baseline equal
// to the price of the counts saved beside it.
TEST_F(SettingsTest, SaveThenLoadReproducesTheSelection) {
    Load();
    MakeVariedSelection(sim);
    TSimState expected = sim.State;
    for (int k = 0; k < kStatCount; ++k) {
        StatField(expected.ClubSlotUps[20], k) = sim.State.ClubSpinners[k].Position;
    }
    const WindowPosition window = sim.Window;
    Save();

    TSimulator fresh;
    FormCreate(fresh, path);
    for (TSimulator* s : {&sim, &fresh}) {
        EXPECT_EQ(s->State.Level, expected.Level);
        EXPECT_EQ(s->State.TabIndex, expected.TabIndex);
        EXPECT_EQ(s->State.Chara, expected.Chara);
        EXPECT_EQ(s->State.Caddie, expected.Caddie);
        EXPECT_EQ(s->State.SpecialCard, expected.SpecialCard);
        EXPECT_EQ(s->State.Club, expected.Club);
        EXPECT_EQ(s->State.ClubSlotUps, expected.ClubSlotUps);
        for (int k = 0; k < kStatCount; ++k) {
            EXPECT_EQ(s->State.ClubSpinners[k].Position, StatField(expected.ClubSlotUps[20], k));
        }
        EXPECT_EQ(s->Window.Left, window.Left);
        EXPECT_EQ(s->Window.Top, window.Top);
        for (int32_t c = 0; c < CharaCount; ++c) {
            EXPECT_EQ(s->State.SavedPP[c], UpgradeCostPP(SlotUpCounts(expected.Chara[c])));
        }
        for (int32_t i = 0; i < kClubCount; ++i) {
            EXPECT_EQ(s->State.ClubSavedPP[i], UpgradeCostPP(expected.ClubSlotUps[i]));
        }
    }
    // The file itself: each SavedPP is the price of the five counts in its section.
    const IniFile ini(path);
    std::vector<std::string> sections;
    for (const TCharaDef& def : Roster()) {
        sections.emplace_back(def.Name);
    }
    for (int i = 0; i < kClubCount; ++i) {
        sections.push_back("Club" + std::to_string(i));
    }
    for (const std::string& section : sections) {
        TStatus counts;
        for (int k = 0; k < kStatCount; ++k) {
            StatField(counts, k) = ini.ReadInteger(section, kSlotUpKeys[k], -1);
        }
        EXPECT_EQ(ini.ReadInteger(section, "SavedPP", -1), UpgradeCostPP(counts)) << section;
    }
}

// Right after a save every PP-since-save label and the grand total read "0 PP", on
// every page and for the club, while the full-cost labels keep their values.
TEST_F(SettingsTest, SaveMakesTheSavedStateTheBaseline) {
    Load();
    MakeVariedSelection(sim);
    std::array<std::string, CharaCount> fullCost;
    for (int32_t c = 0; c < CharaCount; ++c) {
        sim.State.TabIndex = c;
        StatusCalculate(sim);
        fullCost[c] = sim.Display.Pages[c].PPTotalText;
        EXPECT_NE(sim.Display.Pages[c].PPNeededText, "0 PP");
    }
    const std::string clubFullCost = sim.Display.ClubPPTotalText;
    EXPECT_NE(clubFullCost, "(0 PP)");
    Save();
    for (int32_t c = 0; c < CharaCount; ++c) {
        sim.State.TabIndex = c;
        StatusCalculate(sim);
        EXPECT_EQ(sim.Display.Pages[c].PPNeededText, "0 PP") << c;
        EXPECT_EQ(sim.Display.Pages[c].PPTotalText, fullCost[c]) << c;
        EXPECT_EQ(sim.Display.ClubPPNeededText, "0 PP");
        EXPECT_EQ(sim.Display.ClubPPTotalText, clubFullCost);
        EXPECT_EQ(sim.Display.TotalPPText, "0 PP");
    }
}

// Each club set keeps its own counts through the club list and the save.
TEST_F(SettingsTest, EveryClubKeepsItsCountsThroughSaveAndRevert) {
    Load();
    TSimState& s = sim.State;
    s.Club = 20;
    ClubChange(sim);
    s.ClubSpinners[0].SetPosition(4);
    s.ClubSpinners[1].SetPosition(8);
    ComboBox2DropDown(sim);  // the list opens: club 20's counts are stored
    s.Club = 3;
    ClubChange(sim);
    s.ClubSpinners[0].SetPosition(1);  // club 3 is saved without opening the list again
    Save();
    EXPECT_EQ(FileValue("Club20", "PowSlotUp"), 4);
    EXPECT_EQ(FileValue("Club20", "CtrlSlotUp"), 8);
    EXPECT_EQ(FileValue("Club3", "PowSlotUp"), 1);
    EXPECT_EQ(FileValue("Club", "Club"), 3);
    s.ClubSpinners[0].SetPosition(0);
    Load();
    EXPECT_EQ(s.Club, 3);
    EXPECT_EQ(s.ClubSpinners[0].Position, 1);
    ComboBox2DropDown(sim);
    s.Club = 20;
    ClubChange(sim);
    EXPECT_EQ(s.ClubSpinners[0].Position, 4);
    EXPECT_EQ(s.ClubSpinners[1].Position, 8);
}

// A first save writes every section and key in the order the load reads them.
TEST_F(SettingsTest, FirstSaveOrder) {
    Load();
    Save();
    std::vector<std::pair<std::string, std::string>> expected = {
        {"Window", "Left"}, {"Window", "Top"}, {"Character", "Level"}, {"Character", "TabIndex"}};
    for (const TCharaDef& def : Roster()) {
        for (TWearSlot slot : def.Slots) {
            expected.emplace_back(def.Name, WearSlotKey(slot));
        }
        for (const char* key :
             {"CharaCard1", "CharaCard2", "CharaCard3", "CaddieCard1", "CaddieCard2", "PowSlotUp",
              "CtrlSlotUp", "ExaSlotUp", "SpinSlotUp", "CurSlotUp", "SavedPP"}) {
            expected.emplace_back(def.Name, key);
        }
    }
    expected.emplace_back("Caddie", "Caddie");
    expected.emplace_back("SpecialCard", "SpecialCard");
    expected.emplace_back("Club", "Club");
    for (int i = 0; i < kClubCount; ++i) {
        for (const char* key :
             {"PowSlotUp", "CtrlSlotUp", "ExaSlotUp", "SpinSlotUp", "CurSlotUp", "SavedPP"}) {
            expected.emplace_back("Club" + std::to_string(i), key);
        }
    }
    EXPECT_EQ(Keys(FileText()), expected);
    // A second save replaces every value in place: the same lines in the same order.
    const std::string first = FileText();
    Save();
    EXPECT_EQ(FileText(), first);
}

// What this program does not know survives a save where it stands.
TEST_F(SettingsTest, UnknownKeysAndCommentsSurviveInPlace) {
    WriteFile(
        "; settings of my main character\n"
        "[bastian]\n"
        "; chosen for the tournament\n"
        "top=2\n"
        "Note=keep me\n"
        "Pants=1\n"
        "[Extras]\n"
        "Colour=blue\n");
    Load();
    EXPECT_EQ(Item(sim, 0, TWearSlot::Top), 2);
    Item(sim, 0, TWearSlot::Top) = 3;
    Save();
    const std::string text = FileText();
    const auto keys = Keys(text);
    EXPECT_EQ(keys[0], (std::pair<std::string, std::string>{"bastian", "top"}));
    EXPECT_EQ(keys[1], (std::pair<std::string, std::string>{"bastian", "Note"}));
    EXPECT_EQ(keys[2], (std::pair<std::string, std::string>{"bastian", "Pants"}));
    EXPECT_EQ(keys[3].first, "bastian");  // the rest of Bastian's keys follow his old ones
    EXPECT_NE(text.find("; settings of my main character\n"), std::string::npos);
    EXPECT_NE(text.find("; chosen for the tournament\ntop=3\nNote=keep me\nPants=1\n"),
              std::string::npos);
    EXPECT_NE(text.find("[Extras]\nColour=blue\n"), std::string::npos);
    EXPECT_LT(text.find("[Extras]"), text.find("[Window]"));
}

// Names match without regard to case; hexadecimal values read, invalid ones default.
TEST_F(SettingsTest, CaseInsensitiveNamesAndValueRule) {
    WriteFile(
        "[CHARACTER]\nlevel=$0A\ntabindex=0x2\n"
        "[tatsuro]\nTOP=0x03\npowslotup=12\nCtrlSlotUp=abc\nExaSlotUp=\nSpinSlotUp=4294967299\n"
        "[club]\nclub=5\n[club0]\n[CLUB5]\nsavedpp=$64\n");
    Load();
    EXPECT_EQ(sim.State.Level, 10);
    EXPECT_EQ(sim.State.TabIndex, 2);
    EXPECT_EQ(Item(sim, 2, TWearSlot::Top), 3);
    EXPECT_EQ(sim.State.Chara[2].PowSlotUp, 12);
    EXPECT_EQ(sim.State.Chara[2].CtrlSlotUp, 0);
    EXPECT_EQ(sim.State.Chara[2].ExaSlotUp, 0);
    EXPECT_EQ(sim.State.Chara[2].SpinSlotUp, 0);
    EXPECT_EQ(sim.State.Club, 5);
    EXPECT_EQ(sim.State.ClubSavedPP[5], 100);
}
