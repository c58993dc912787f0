#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "characters/roster.h"
#include "engine/sim_state.h"

// One entry of a wear slot's list. Its text states its whole value; the records are
// derived from the text.
struct TEquipEntry {
    std::string_view Text;
    TEquipBonus Bonus;
    int32_t DistanceBonus = 0;  // 1W yards; only ring entries 1 and 10 have any
    bool CoversWaist = false;   // one-piece outfits of Noemi and Pino with a control part
};

// The list of the slot at position `slotPosition` of character `chara`'s slot order.
std::span<const TEquipEntry> EquipList(int32_t chara, int slotPosition);
// The list of slot kind `slot` of character `chara`; empty when the character has none.
std::span<const TEquipEntry> EquipList(int32_t chara, TWearSlot slot);
