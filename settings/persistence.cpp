#include "settings/persistence.h"

#include <array>
#include <string>
#include <string_view>

#include "characters/cards.h"
#include "characters/catalogue.h"
#include "characters/roster.h"
#include "clubs/caddies.h"
#include "clubs/club_upgrades.h"
#include "clubs/clubs.h"
#include "engine/checked.h"
#include "engine/levels.h"
#include "engine/simulator.h"
#include "settings/ini_file.h"

// Each operation reads the settings file once into a TIniFile, works on that copy and,
// when it writes, puts the file back once at the end. A write that fails therefore
// changes nothing on disk, so counts and their SavedPP baselines always belong
// together.

namespace {

constexpr std::array<std::string_view, kStatCount> kSlotUpKeys = {
    "PowSlotUp", "CtrlSlotUp", "ExaSlotUp", "SpinSlotUp", "CurSlotUp"};

// The characters whose ring the layout without per-character ring keys covered.
constexpr int32_t kCrimsonRingCharaCount = 7;

// Help texts of the final-status captions Label13 .. Label17, Button1 and the full-tune
// button; CR breaks the lines.
constexpr std::array<std::string_view, kStatCount> kStatCaptionHints = {
    "パワーが1増えるごとに、ウッドの飛距離が2y増えます。\r"
    "レベルによって決まっている値(ルーキーなら20)を超えると、\r"
    "1増えるごとにコントロールと正確度が1ずつ減ります。",
    "コントロールが大きいほど、パワーゲージの動きが遅くなります。\r"
    "(＝ケストレルを狙いやすくなります。)",
    "正確度が大きいほど、パワーゲージのピンク色の部分の幅が広くなります。\r"
    "(＝ケストレルミス時のずれが小さくなります。)",
    "スピンが大きいほど、打点を縦方向に大きくずらすことができます。\r"
    "(＝弾道の高低や、パワースピンの転がる距離に影響します。\r"
    " ハヤテバックスピンには7が最適と言われています。)",
    "カーブが大きいほど、打点を横方向に大きくずらすことができます。\r"
    "(＝フェードやドローのかかり方に影響します。)",
};
constexpr std::string_view kSaveButtonHint =
    "現在の設定を保存します。\r自分のキャラに合わせて保存しておくと便利です。";
constexpr std::string_view kFullTuneHint =
    "クラブフルチューンボタン\r(クラブの残りスロット分をすべて上げます)";

std::string ClubSection(int32_t club) {
    return "Club" + std::to_string(club);
}

// A list takes a loaded index only when it names one of its entries.
int32_t ListIndex(int32_t value, size_t listSize) {
    return value >= 0 && static_cast<size_t>(value) < listSize ? value : -1;
}

// A spinner takes a loaded value only within the signed 16-bit range, and then holds
// it within its own range.
int32_t SpinnerPosition(int32_t value, int32_t max) {
    if (value < -32768 || value > 32767) {
        throw ERangeError();
    }
    return value < 0 ? 0 : (value > max ? max : value);
}

void SetClubSpinner(TSpinner& spinner, int32_t value) {
    if (value < -32768 || value > 32767) {
        throw ERangeError();
    }
    spinner.SetPosition(value);
}

// The character sections: wear slots, cards and spinner positions, in the file's order.
void ReadCharacter(const TIniFile& ini, int32_t c, TCharaState& chara) {
    const TCharaDef& def = CharaDef(c);
    for (size_t p = 0; p < def.Slots.size(); ++p) {
        const int pos = static_cast<int>(p);
        chara.Items[p] = ListIndex(ini.ReadInteger(def.Name, WearSlotKey(def.Slots[p]), 0),
                                   EquipList(c, pos).size());
    }
    chara.CharaCard1 = ListIndex(ini.ReadInteger(def.Name, "CharaCard1", 0), kCardKindCount);
    chara.CharaCard2 = ListIndex(ini.ReadInteger(def.Name, "CharaCard2", 0), kCardKindCount);
    chara.CharaCard3 = ListIndex(ini.ReadInteger(def.Name, "CharaCard3", 0), kCardKindCount);
    chara.CaddieCard1 =
        ListIndex(ini.ReadInteger(def.Name, "CaddieCard1", 0), kCaddieCardKindCount);
    chara.CaddieCard2 =
        ListIndex(ini.ReadInteger(def.Name, "CaddieCard2", 0), kCaddieCardKindCount);
    for (int i = 0; i < kStatCount; ++i) {
        SlotUpField(chara, i) =
            SpinnerPosition(ini.ReadInteger(def.Name, kSlotUpKeys[i], 0), CharaSpinnerMax(i));
    }
}

void WriteCharacter(TIniFile& ini, int32_t c, const TCharaState& chara) {
    const TCharaDef& def = CharaDef(c);
    for (size_t p = 0; p < def.Slots.size(); ++p) {
        ini.WriteInteger(def.Name, WearSlotKey(def.Slots[p]), chara.Items[p]);
    }
    ini.WriteInteger(def.Name, "CharaCard1", chara.CharaCard1);
    ini.WriteInteger(def.Name, "CharaCard2", chara.CharaCard2);
    ini.WriteInteger(def.Name, "CharaCard3", chara.CharaCard3);
    ini.WriteInteger(def.Name, "CaddieCard1", chara.CaddieCard1);
    ini.WriteInteger(def.Name, "CaddieCard2", chara.CaddieCard2);
    for (int i = 0; i < kStatCount; ++i) {
        ini.WriteInteger(def.Name, kSlotUpKeys[i], StatField(SlotUpCounts(chara), i));
    }
}

// The older ring layout: one boolean for the first seven characters' ring.
void ReadCrimsonRing(const TIniFile& ini, TSimState& s) {
    const std::string_view ringKey = WearSlotKey(TWearSlot::Ring);
    if (ini.HasKey(CharaDef(0).Name, ringKey)) {
        return;
    }
    const int32_t def = ini.ReadBool("Character", "CrimsonRing", false) ? 1 : 0;
    for (int32_t c = 0; c < kCrimsonRingCharaCount; ++c) {
        const auto pos = SlotPosition(c, TWearSlot::Ring);
        if (!pos) {
            continue;
        }
        s.Chara[c].Items[static_cast<size_t>(*pos)] =
            ListIndex(ini.ReadInteger(CharaDef(c).Name, ringKey, def), EquipList(c, *pos).size());
    }
}

// Step 5 of the load: every value of the file, in the file's order.
void ReadSettings(const TIniFile& ini, TSimulator& sim) {
    TSimState& s = sim.State;
    sim.Window.Left = ini.ReadInteger("Window", "Left", 0);
    sim.Window.Top = ini.ReadInteger("Window", "Top", 0);
    s.Level = ListIndex(ini.ReadInteger("Character", "Level", 0), kLevelCount);
    s.TabIndex = ListIndex(ini.ReadInteger("Character", "TabIndex", 0), CharaCount);
    for (int32_t c = 0; c < CharaCount; ++c) {
        ReadCharacter(ini, c, s.Chara[c]);
    }
    ReadCrimsonRing(ini, s);
    s.Caddie = ListIndex(ini.ReadInteger("Caddie", "Caddie", 0), kCaddieCount);
    s.SpecialCard = ListIndex(ini.ReadInteger("SpecialCard", "SpecialCard", 0), kSpecialCardCount);
    s.Club = ListIndex(ini.ReadInteger("Club", "Club", 0), kClubCount);
    for (int32_t c = 0; c < CharaCount; ++c) {
        s.SavedPP[c] = ini.ReadInteger(CharaDef(c).Name, "SavedPP", 0);
    }
    for (int32_t i = 0; i < kClubCount; ++i) {
        const std::string section = ClubSection(i);
        for (int k = 0; k < kStatCount; ++k) {
            StatField(s.ClubSlotUps[i], k) = ini.ReadInteger(section, kSlotUpKeys[k], 0);
        }
        s.ClubSavedPP[i] = ini.ReadInteger(section, "SavedPP", 0);
    }
    // The older club layout kept only the selected club's counts, in [Club].
    if (!ini.HasSection(ClubSection(0))) {
        CheckRange(s.Club, 0, kClubCount - 1);
        for (int k = 0; k < kStatCount; ++k) {
            StatField(s.ClubSlotUps[s.Club], k) = ini.ReadInteger("Club", kSlotUpKeys[k], 0);
        }
    }
}

}  // namespace

void FormCreate(TSimulator& sim) {
    FormCreate(sim, SettingsFilePath());
}

void FormCreate(TSimulator& sim, const std::string& iniPath) {
    TDisplay& d = sim.Display;
    d.HintPauseMs = 50;
    d.HintHidePauseMs = 3000;
    for (int i = 0; i < kStatCount; ++i) {
        d.StatCaptionHint[i] = kStatCaptionHints[i];
    }
    d.SaveButtonHint = kSaveButtonHint;
    d.FullTuneHint = kFullTuneHint;

    FillCharaCardLists(sim);
    FillCaddieCardLists(sim);
    sim.State.TabIndex = 0;

    {
        const TIniFile ini(iniPath);
        ReadSettings(ini, sim);
    }

    CalcClubSetting(sim);
    CalcClubLimit(sim);
    TSimState& s = sim.State;
    CheckRange(s.Club, 0, kClubCount - 1);
    for (int k = 0; k < kStatCount; ++k) {
        SetClubSpinner(s.ClubSpinners[k], StatField(s.ClubSlotUps[s.Club], k));
    }
    StatusCalculate(sim);
}

void Button1Click(TSimulator& sim) {
    Button1Click(sim, SettingsFilePath());
}

void Button1Click(TSimulator& sim, const std::string& iniPath) {
    TSimState& s = sim.State;
    {
        TIniFile ini(iniPath);
        ini.WriteInteger("Window", "Left", sim.Window.Left);
        ini.WriteInteger("Window", "Top", sim.Window.Top);
        ini.WriteInteger("Character", "Level", s.Level);
        ini.WriteInteger("Character", "TabIndex", s.TabIndex);
        for (int32_t c = 0; c < CharaCount; ++c) {
            WriteCharacter(ini, c, s.Chara[c]);
        }
        ini.WriteInteger("Caddie", "Caddie", s.Caddie);
        ini.WriteInteger("SpecialCard", "SpecialCard", s.SpecialCard);
        ini.WriteInteger("Club", "Club", s.Club);
        for (int32_t c = 0; c < CharaCount; ++c) {
            ini.WriteInteger(CharaDef(c).Name, "SavedPP", UpgradeCostPP(SlotUpCounts(s.Chara[c])));
        }
        // The spinners hold the selected club's newest counts.
        ComboBox2DropDown(sim);
        for (int32_t i = 0; i < kClubCount; ++i) {
            const std::string section = ClubSection(i);
            for (int k = 0; k < kStatCount; ++k) {
                ini.WriteInteger(section, kSlotUpKeys[k], StatField(s.ClubSlotUps[i], k));
            }
            ini.WriteInteger(section, "SavedPP", UpgradeCostPP(s.ClubSlotUps[i]));
        }
        ini.UpdateFile();
    }
    FormCreate(sim, iniPath);
}

void FormClose(TSimulator& sim) {
    FormClose(sim, SettingsFilePath());
}

void FormClose(TSimulator& sim, const std::string& iniPath) {
    TIniFile ini(iniPath);
    ini.WriteInteger("Window", "Left", sim.Window.Left);
    ini.WriteInteger("Window", "Top", sim.Window.Top);
    ini.WriteInteger("Character", "TabIndex", sim.State.TabIndex);
    ini.UpdateFile();
}
