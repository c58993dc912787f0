#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <utility>
#include <vector>

#include "characters/catalogue.h"
#include "characters/roster.h"
#include "clubs/club_upgrades.h"
#include "engine/errors.h"
#include "simulator/simulator.h"
#include "settings/ini_file.h"
#include "settings/settings_path.h"
#include "simulator/persistence.h"
#include "tests/settings/temp_folder.h"

namespace {

constexpr const char* kSlotUpKeys[] = {"PowSlotUp", "CtrlSlotUp", "ExaSlotUp", "SpinSlotUp",
                                       "CurSlotUp"};

int32_t& Item(TSimulator& sim, int32_t c, TWearSlot slot) {
    return sim.State.Chara[c].Items[static_cast<size_t>(SlotPosition(c, slot).value_or(0))];
}

// The (section, key) pairs of a file in the order they stand.
std::vector<std::pair<std::string, std::string>> Keys(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> keys;
    std::string section;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(start, end - start);
        if (line.starts_with('[')) {
            section = line.substr(1, line.find(']') - 1);
        } else if (const size_t eq = line.find('='); eq != std::string::npos) {
            keys.emplace_back(section, line.substr(0, eq));
        }
        start = end + 1;
    }
    return keys;
}

// A selection that uses every part of the state, different for every character and club.
void MakeVariedSelection(TSimulator& sim) {
    TSimState& s = sim.State;
    s.Level = 7;
    s.TabIndex = 3;
    s.Caddie = 4;
    s.SpecialCard = 2;
    for (int32_t c = 0; c < CharaCount; ++c) {
        TCharaState& chara = s.Chara[c];
        const auto slots = CharaDef(c).Slots;
        for (size_t p = 0; p < slots.size(); ++p) {
            const auto size = static_cast<int32_t>(EquipList(c, static_cast<int>(p)).size());
            chara.Items[p] = (c + static_cast<int32_t>(p) * 3) % size;
        }
        chara.Items[1] = -1;  // one list without a selection per character
        chara.CharaCard1 = c + 1;
        chara.CharaCard2 = 14 - c;
        chara.CharaCard3 = c % 3;
        chara.CaddieCard1 = c % 5;
        chara.CaddieCard2 = (c + 2) % 5;
        chara.PowSlotUp = 3 * c;
        chara.CtrlSlotUp = c;
        chara.ExaSlotUp = 20 - c;
        chara.SpinSlotUp = c % 4;
        chara.CurSlotUp = 2;
        s.SavedPP[c] = 1000 * c + 7;  // stale baselines: the save replaces them
    }
    for (int32_t i = 0; i < kClubCount; ++i) {
        s.ClubSlotUps[i] = MakeStatus(i % 3, i % 2, 0, 1, i % 4 == 0 ? 1 : 0);
        s.ClubSavedPP[i] = 5;
    }
    // Club 20 becomes the selected one; its spinners then move past what the table holds.
    s.Club = 20;
    ClubChange(sim);
    s.ClubSpinners[0].SetPosition(3);
    s.ClubSpinners[1].SetPosition(7);
    s.ClubSpinners[4].SetPosition(2);
    StatusCalculate(sim);
    sim.Window = {123, -45};
}

// A running window over a settings file in a folder of its own.
class SettingsTest : public ::testing::Test {
protected:
    void Load() { FormCreate(sim, path); }
    void Save() { Button1Click(sim, path); }
    void Close() { FormClose(sim, path); }
    void WriteFile(const std::string& text) { WriteBytes(path, text); }
    std::string FileText() const { return ReadBytes(path); }
    int32_t FileValue(const char* section, const char* key) const {
        return TIniFile(path).ReadInteger(section, key, -999);
    }

    TempFolder folder;
    std::string path = folder.File("kestrel.ini");
    TSimulator sim;
};

}  // namespace

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
    const TWindowPosition window = sim.Window;
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
    const TIniFile ini(path);
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
