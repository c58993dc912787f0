#pragma once

#include <array>
#include <cstdint>

#include "characters/roster.h"

// One character's selection. Items holds one entry index per wear slot in the
// character's slot order (0 = "なし", -1 = no selection); positions past the
// character's slot count are unused.
struct TCharaState {
    std::array<int32_t, kMaxWearSlots> Items{};
    int32_t CharaCard1 = 0;
    int32_t CharaCard2 = 0;
    int32_t CharaCard3 = 0;
    int32_t CaddieCard1 = 0;
    int32_t CaddieCard2 = 0;
    int32_t PowSlotUp = 0;
    int32_t CtrlSlotUp = 0;
    int32_t ExaSlotUp = 0;
    int32_t SpinSlotUp = 0;
    int32_t CurSlotUp = 0;

    friend bool operator==(const TCharaState&, const TCharaState&) = default;
};

// The five slot-up spinner positions as one record.
inline TStatus SlotUpCounts(const TCharaState& c) {
    return MakeStatus(c.PowSlotUp, c.CtrlSlotUp, c.ExaSlotUp, c.SpinSlotUp, c.CurSlotUp);
}

// Spinner position of stat i (0 = Pow .. 4 = Cur).
inline int32_t& SlotUpField(TCharaState& c, int i) {
    switch (i) {
        case 0: return c.PowSlotUp;
        case 1: return c.CtrlSlotUp;
        case 2: return c.ExaSlotUp;
        case 3: return c.SpinSlotUp;
        default: return c.CurSlotUp;
    }
}

// The character spinners have fixed ranges: power 0..30, the other four 0..20.
constexpr int32_t CharaSpinnerMax(int stat) { return stat == 0 ? 30 : 20; }
