#include "simulator/persistence.h"

#include "characters/cards.h"
#include "characters/catalogue.h"
#include "characters/roster.h"
#include "clubs/caddies.h"
#include "clubs/club_upgrades.h"
#include "clubs/clubs.h"
#include "engine/checked.h"
#include "engine/levels.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"
#include "simulator/load_texts.h"

// Each operation reads the settings text once into a IniFile, works on that copy and,
// when it writes, puts the text back once at the end. A write that fails therefore
// changes nothing in the store, so counts and their SavedPP baselines always belong
// together.

namespace {

SettingsLayout RosterLayout() {
    SettingsLayout layout;
    for (int32_t c = 0; c < CharaCount; ++c) {
        const TCharaDef& def = CharaDef(c);
        CharaSection& section = layout.Charas[c];
        section.Name = def.Name;
        for (size_t p = 0; p < def.Slots.size(); ++p) {
            section.SlotKeys.push_back(WearSlotKey(def.Slots[p]));
            section.SlotListSizes.push_back(
                static_cast<int32_t>(EquipList(c, static_cast<int>(p)).size()));
        }
        section.RingPosition = SlotPosition(c, TWearSlot::Ring).value_or(-1);
    }
    layout.LevelCount = kLevelCount;
    layout.CardKindCount = kCardKindCount;
    layout.CaddieCardKindCount = kCaddieCardKindCount;
    layout.CaddieCount = kCaddieCount;
    layout.SpecialCardCount = kSpecialCardCount;
    return layout;
}

const SettingsKeys& Keys() {
    static const SettingsKeys keys(RosterLayout());
    return keys;
}

// The club counts go into the spinners with the same 16-bit check as the character
// spinners.
void SetClubSpinner(SpinnerModel& spinner, int32_t value) {
    if (value < -32768 || value > 32767) {
        throw ERangeError();
    }
    spinner.SetPosition(value);
}

}  // namespace

void FormCreate(TSimulator& sim, SettingsStore& store) {
    TDisplay& d = sim.Display;
    d.HintPauseMs = kHintPauseMs;
    d.HintHidePauseMs = kHintHidePauseMs;
    for (int i = 0; i < kStatCount; ++i) {
        d.StatCaptionHint[i] = kStatCaptionHints[i];
    }
    d.SaveButtonHint = kSaveButtonHint;
    d.FullTuneHint = kFullTuneHint;

    FillCharaCardLists(sim);
    FillCaddieCardLists(sim);
    sim.State.TabIndex = 0;

    {
        const IniFile ini(store);
        Keys().Read(ini, sim.State, sim.Window);
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

void Button1Click(TSimulator& sim, SettingsStore& store) {
    {
        IniFile ini(store);
        Keys().WriteSelection(ini, sim.State, sim.Window);
        // The spinners hold the selected club's newest counts.
        ComboBox2DropDown(sim);
        Keys().WriteClubSections(ini, sim.State);
        ini.UpdateFile();
    }
    FormCreate(sim, store);
}

void FormClose(TSimulator& sim, SettingsStore& store) {
    IniFile ini(store);
    Keys().WriteOnClose(ini, sim.State, sim.Window);
    ini.UpdateFile();
}

std::string SavedPart(std::string_view text) {
    MemoryStore store("saved part", std::string(text));
    IniFile ini(store);
    Keys().WriteOnClose(ini, TSimState{}, WindowPosition{});
    return ini.Text();
}

void FormCreate(TSimulator& sim, const std::string& path) {
    FileStore store(path);
    FormCreate(sim, store);
}

void Button1Click(TSimulator& sim, const std::string& path) {
    FileStore store(path);
    Button1Click(sim, store);
}

void FormClose(TSimulator& sim, const std::string& path) {
    FileStore store(path);
    FormClose(sim, store);
}
