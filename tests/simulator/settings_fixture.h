#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <utility>
#include <vector>

#include "characters/catalogue.h"
#include "characters/roster.h"
#include "clubs/club_upgrades.h"
#include "engine/errors.h"
#include "settings/ini_file.h"
#include "settings/settings_path.h"
#include "simulator/persistence.h"
#include "simulator/simulator.h"
#include "tests/settings/temp_folder.h"
#include "tests/support/sim_print.h"

constexpr const char* kSlotUpKeys[] = {"PowSlotUp", "CtrlSlotUp", "ExaSlotUp", "SpinSlotUp",
                                       "CurSlotUp"};

inline int32_t& Item(TSimulator& sim, int32_t c, TWearSlot slot) {
    return sim.State.Chara[c].Items[static_cast<size_t>(SlotPosition(c, slot).value_or(0))];
}

// The (section, key) pairs of a file in the order they stand.
inline std::vector<std::pair<std::string, std::string>> Keys(const std::string& text) {
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
inline void MakeVariedSelection(TSimulator& sim) {
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
        return IniFile(path).ReadInteger(section, key, -999);
    }

    TempFolder folder;
    std::string path = folder.File("kestrel.ini");
    TSimulator sim;
};
