#pragma once

// What the player owns ("持ち物"): for each character page, the entries of each of its
// wear slots' lists; for every page alike, the character-card and caddie-card kinds
// (usable in any of their places), the caddies, the special cards and the club sets.
// Everything is owned until the player says otherwise, so a player who never records a
// holding sees nothing change; an entry "なし" is always owned. The selection may show an
// entry that is not owned: it is the player's plan, and the faces mark it.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/sim_state.h"

// The lists held alike for every page, by kind of thing.
enum class HeldKind : uint8_t { CharaCard, CaddieCard, Caddie, SpecialCard, Club };
constexpr int kHeldKindCount = 5;

// "CharaCard", "CaddieCard", "Caddie", "SpecialCard", "Club".
std::string_view HeldKindName(HeldKind kind);
// How many entries the kind's list holds (card kinds, caddies, special cards, club sets).
int32_t HeldCount(HeldKind kind);

struct THoldings {
    // Per page and slot position (the page's slot order), which entries of the slot's
    // list are NOT owned; an empty list: every entry owned.
    std::array<std::array<std::vector<bool>, kMaxWearSlots>, CharaCount> ItemsNotOwned{};
    // Per kind, which entries are NOT owned; empty: every entry owned.
    std::array<std::vector<bool>, kHeldKindCount> NotOwned{};

    friend bool operator==(const THoldings&, const THoldings&) = default;
};

// Whether the entry "なし" is the list's entry `entry` (it is always owned).
bool IsNoneEntry(int32_t chara, int slotPosition, int32_t entry);
bool IsNoneEntry(HeldKind kind, int32_t index);

// Whether the player owns the entry; an index outside the list is not owned.
bool OwnsItem(const THoldings& holdings, int32_t chara, int slotPosition, int32_t entry);
bool OwnsHeld(const THoldings& holdings, HeldKind kind, int32_t index);

// Records whether the entry is owned ("なし" stays owned; an index outside the list is
// ignored). A list owned whole again is stored empty, so that equal holdings compare
// equal however they were reached.
void SetItemOwned(THoldings& holdings, int32_t chara, int slotPosition, int32_t entry, bool owned);
void SetHeldOwned(THoldings& holdings, HeldKind kind, int32_t index, bool owned);

// Every entry of every list owned: the holdings of a player who recorded none.
bool OwnsEverything(const THoldings& holdings);

// How many entries of a page's slot list there are (the catalogue's list).
int32_t ItemCount(int32_t chara, int slotPosition);
