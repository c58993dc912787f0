#pragma once

#include <cstdint>
#include <vector>

#include "engine/sim_record.h"

// The window's lists by what they select, and the user's pick in one of them, for the
// operations that act on any list (the preview, the history's tests, the faces).

enum class TListKind : uint8_t {
    Level,        // ComboBox1
    EquipItem,    // ComboBox_<Name><Key>: Index is the slot position
    CharaCard,    // cb<Name>CharaCard1..3: Index 0..2
    CaddieCard,   // cb<Name>CaddieCard1..2: Index 0..1
    SpecialCard,  // cbSpecialCard
    Caddie,       // ComboBox3
    Club,         // ComboBox2
};

struct TListRef {
    TListKind Kind = TListKind::Level;
    int32_t Chara = -1;  // the page of a wear-slot or card list, else -1
    int32_t Index = 0;

    friend bool operator==(const TListRef&, const TListRef&) = default;
};

// Every list of the window: the level, each page's wear slots and cards in slot order,
// the special card, the caddie and the club set.
std::vector<TListRef> AllLists();

// How many entries the list holds now (the card lists' rows are those of the display).
int32_t EntryCount(const TSimulator& sim, TListRef list);

// The index the list shows and a pick sets.
int32_t& SelectedEntry(TSimState& state, TListRef list);
int32_t SelectedEntry(const TSimState& state, TListRef list);

// What opening the list runs: ComboBox2DropDown for the club list, nothing for the
// others.
void OpenList(TSimulator& sim, TListRef list);

// The user picks `entry`: the index is set and the list's change handler runs
// (ClubChange for the club list, ComboBox1Change for every other).
void PickEntry(TSimulator& sim, TListRef list, int32_t entry);
