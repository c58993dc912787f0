#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/sim_record.h"
#include "form/form.h"

// The window's lists by what they select, and the user's pick in one of them, for the
// operations that act on any list (the preview, the history's tests, the faces).

enum class ListKind : uint8_t {
    Level,        // ComboBox1
    EquipItem,    // ComboBox_<Name><Key>: Index is the slot position
    CharaCard,    // cb<Name>CharaCard1..3: Index 0..2
    CaddieCard,   // cb<Name>CaddieCard1..2: Index 0..1
    SpecialCard,  // cbSpecialCard
    Caddie,       // ComboBox3
    Club,         // ComboBox2
};

struct ListRef {
    ListKind Kind = ListKind::Level;
    int32_t Chara = -1;  // the page of a wear-slot or card list, else -1
    int32_t Index = 0;

    friend bool operator==(const ListRef&, const ListRef&) = default;
};

// The list that a list widget of the form description shows, by the widget's binding;
// nullopt for a binding of anything else.
std::optional<ListRef> ListOfBinding(const Binding& bind);

// Every list of the window: the level, each page's wear slots and cards in slot order,
// the special card, the caddie and the club set.
std::vector<ListRef> AllLists();

// How many entries the list holds now (the card lists' rows are those of the display).
int32_t EntryCount(const TSimulator& sim, ListRef list);

// The index the list shows and a pick sets.
int32_t& SelectedEntry(TSimState& state, ListRef list);
int32_t SelectedEntry(const TSimState& state, ListRef list);

// What opening the list runs: ComboBox2DropDown for the club list, nothing for the
// others.
void OpenList(TSimulator& sim, ListRef list);

// The user picks `entry`: the index is set and the list's change handler runs
// (ClubChange for the club list, ComboBox1Change for every other).
void PickEntry(TSimulator& sim, ListRef list, int32_t entry);
