#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/sim_record.h"
#include "settings/ini_file.h"

// The sections and keys of the settings file and what each one holds. One table drives
// reading and writing, so both always agree on names, order and value rules.

// What the file needs to know of one character: its section, its wear slots' keys and
// the sizes of their lists, in the character's slot order.
struct CharaSection {
    std::string_view Name;
    std::vector<std::string_view> SlotKeys;
    std::vector<int32_t> SlotListSizes;
    int RingPosition = -1;  // position of the ring slot, or -1
};

// What the file needs to know of the roster and the lists; the layer that knows them
// fills it in.
struct SettingsLayout {
    std::array<CharaSection, CharaCount> Charas;
    int32_t LevelCount = 0;
    int32_t CardKindCount = 0;
    int32_t CaddieCardKindCount = 0;
    int32_t CaddieCount = 0;
    int32_t SpecialCardCount = 0;
};

// How a stored value becomes part of the selection.
enum class KeyRule : uint8_t {
    Plain,    // taken as it stands
    List,     // an index outside the list's entries reads as -1 (no selection)
    Spinner,  // outside the signed 16-bit range stops the load with a range error;
              // otherwise held within 0..Bound
};

struct SettingsKey {
    std::string Section;
    std::string_view Key;
    KeyRule Rule = KeyRule::Plain;
    int32_t Bound = 0;  // the list's size or the spinner's maximum
    int A = 0;          // which character or club, which slot or stat
    int B = 0;
    int32_t& (*Field)(TSimState&, WindowPosition&, int a, int b) = nullptr;
    // The value a save writes, when it is not the field itself (the PP baselines).
    int32_t (*Written)(const TSimState&, int a) = nullptr;
    bool WrittenOnClose = false;
};

class SettingsKeys {
public:
    explicit SettingsKeys(const SettingsLayout& layout);

    // Every value of the file into the selection and window position, in the file's
    // order, with the two older layouts: one ring key for the first seven characters,
    // and the selected club's counts in [Club] when there are no per-club sections.
    void Read(const IniFile& ini, TSimState& state, WindowPosition& window) const;
    // The whole selection and the PP baselines of its counts, in the same order: first
    // everything up to the characters' baselines, then the per-club sections (a save
    // stores the club spinners in between).
    void WriteSelection(IniFile& ini, const TSimState& state, const WindowPosition& window) const;
    void WriteClubSections(IniFile& ini, const TSimState& state) const;
    // What the close keeps: the window position and the active page.
    void WriteOnClose(IniFile& ini, const TSimState& state, const WindowPosition& window) const;

    std::span<const SettingsKey> Keys() const { return keys_; }

private:
    void ReadOlderRing(const IniFile& ini, TSimState& state) const;
    void ReadOlderClub(const IniFile& ini, TSimState& state) const;

    SettingsLayout layout_;
    std::vector<SettingsKey> keys_;
    size_t charaEnd_ = 0;   // the character sections end here; the older ring key follows
    size_t clubStart_ = 0;  // the per-club sections start here
};
