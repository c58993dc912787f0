#pragma once

#include <gtest/gtest.h>

#include "characters/roster.h"
#include "simulator/simulator.h"

// Character indices in roster order.
enum Chara : int32_t {
    Bastian,
    Noemi,
    Tatsuro,
    Rosalind,
    Gordo,
    Pino,
    Lilou,
    Corvin,
    Ysolde,
    Wren
};

// The item index of slot kind `slot` of character `c`.
inline int32_t& Item(TSimulator& sim, int32_t c, TWearSlot slot) {
    const auto k = SlotPosition(c, slot);
    EXPECT_TRUE(k.has_value());
    return sim.State.Chara[c].Items[k.value_or(0)];
}

// The run-time record of slot kind `slot` of character `c`.
inline const TEquipBonus& Record(const TSimulator& sim, int32_t c, TWearSlot slot) {
    const auto k = SlotPosition(c, slot);
    EXPECT_TRUE(k.has_value());
    return sim.Results.SlotRecords[c][k.value_or(0)];
}

inline TEquipBonus Bonus(TStatus status, TStatus slots) {
    return TEquipBonus{status, slots};
}
