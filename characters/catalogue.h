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

constexpr int kEquipListCount = 136;
constexpr int kEquipEntryCount = 1030;

// The list of the slot at position `slotPosition` of character `chara`'s slot order;
// empty when there is no such character or position.
std::span<const TEquipEntry> EquipList(int32_t chara, int slotPosition);
// The list of slot kind `slot` of character `chara`; empty when the character has none.
std::span<const TEquipEntry> EquipList(int32_t chara, TWearSlot slot);
// Entry `index` of that list, or nullptr when the index selects no entry (this
// includes -1, a list without a selection).
const TEquipEntry* EquipEntry(int32_t chara, int slotPosition, int32_t index);

// All lists of character `chara` (0..9) in its slot order, for passes over every slot.
std::span<const std::span<const TEquipEntry>> EquipLists(int32_t chara);

// Entry `index` of `list`, or nullptr when the index selects no entry.
inline const TEquipEntry* EntryAt(std::span<const TEquipEntry> list, int32_t index) {
    return static_cast<uint32_t>(index) < list.size() ? &list[static_cast<uint32_t>(index)]
                                                      : nullptr;
}
