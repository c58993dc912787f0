#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "engine/sim_state.h"

struct TSimulator;

// The first step of every chain: accepts the level, runs the equipment pass and the outfit
// rules over all ten characters, then computes the active character's base status,
// equipment sum, slot limits, effective slot-ups, PP and ring distance.
void CalcChara(TSimulator& sim);

// The equipment pass for character c: every slot takes the record of its selected entry; a
// slot whose index selects no entry keeps its previous record. The one-piece outfit of a
// character whose outfit is credited to Top and Pants keeps its record apart.
void TakeSlotRecords(int c, const std::array<int32_t, kMaxWearSlots>& items,
                     std::array<TEquipBonus, kMaxWearSlots>& records);

// What the outfit rule makes of character c's body slots, from its list indices and its
// records as the equipment pass leaves them.
struct OutfitOutcome {
    bool Separates = true;      // the Top and Pants lists are enabled
    bool Outfit = true;         // the one-piece outfit's list is enabled
    std::optional<bool> Waist;  // the waist list, where the rule decides it
    // Where the outfit is credited to Top and Pants: their records, where the rule
    // writes them. Elsewhere: the body's record, which stands in for the body slots.
    std::optional<std::array<TEquipBonus, 2>> TopPants;
    std::optional<TEquipBonus> Body;
};
OutfitOutcome RuleOutfit(int c, const std::array<int32_t, kMaxWearSlots>& items,
                         const std::array<TEquipBonus, kMaxWearSlots>& records);

// What the body slots of character c add on its page after the outfit rule, from its list
// indices and its records as the equipment pass leaves them.
TEquipBonus BodyTotal(int c, const std::array<int32_t, kMaxWearSlots>& items,
                      std::array<TEquipBonus, kMaxWearSlots> records);
