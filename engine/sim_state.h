#pragma once

#include <array>
#include <cstdint>

#include "engine/status.h"

// Sizes of the fixed tables that the selection is made of.
constexpr int32_t CharaCount = 10;
constexpr int kMaxWearSlots = 15;  // the most slots any one character has
constexpr int32_t kClubCount = 42;

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

// Spinner position of stat i (0 = Pow .. 4 = Cur; any other i names Cur).
inline int32_t& SlotUpField(TCharaState& c, int i) {
    constexpr int32_t TCharaState::*kFields[kStatCount] = {
        &TCharaState::PowSlotUp, &TCharaState::CtrlSlotUp, &TCharaState::ExaSlotUp,
        &TCharaState::SpinSlotUp, &TCharaState::CurSlotUp};
    return c.*kFields[StatIndex(i)];
}

// The character spinners have fixed ranges: power 0..30, the other four 0..20.
constexpr int32_t CharaSpinnerMax(int stat) {
    return stat == 0 ? 30 : 20;
}

// A spinner as the user steps it: the position always lies within 0..Max, and a
// new Max below the position lowers the position with it.
struct SpinnerModel {
    int32_t Position = 0;
    int32_t Max = 10;

    void SetPosition(int32_t p) { Position = p < 0 ? 0 : (p > Max ? Max : p); }
    void SetMax(int32_t m) {
        Max = m;
        if (Position > Max) {
            Position = Max;
        }
    }

    friend bool operator==(const SpinnerModel&, const SpinnerModel&) = default;
};

// The complete selection: one source of truth for every list index and spinner.
// An index of -1 means that the list shows no selection.
struct TSimState {
    int32_t Level = 0;
    int32_t TabIndex = 0;
    std::array<TCharaState, CharaCount> Chara{};
    std::array<int32_t, CharaCount> SavedPP{};
    int32_t Club = 0;
    std::array<TStatus, kClubCount> ClubSlotUps{};
    std::array<int32_t, kClubCount> ClubSavedPP{};
    std::array<SpinnerModel, kStatCount> ClubSpinners{};  // UpDown_Club1..5, the live counts
    int32_t Caddie = 0;
    int32_t SpecialCard = 0;

    friend bool operator==(const TSimState&, const TSimState&) = default;
};

// What one wear slot is worth: status points and extra upgrade slots.
struct TEquipBonus {
    TStatus StatusBonus;
    TStatus SlotBonus;

    friend bool operator==(const TEquipBonus&, const TEquipBonus&) = default;
};

// What the steps leave each other. Never reset: a step that writes nothing leaves the
// previous run's values (zero before the first run).
struct TSimResults {
    int32_t Level = 0;
    TStatus CharaBaseStatus;
    TStatus EquipStatus;
    TStatus SlotLimit;
    TStatus SlotUp;
    int32_t CharaPPTotal = 0;
    int32_t CharaPPNeeded = 0;
    int32_t RingDistance = 0;
    int32_t CaddieCardYard = 0;
    int32_t CaddieCardPowerYards = 0;
    TStatus CaddieStatus;
    TStatus ClubBaseStatus;
    TStatus ClubSlotLimit;
    TStatus ClubSlotUp;
    TStatus SpecialCardStatus;
    TStatus CharaTotal;
    TStatus StatusSum;
    TStatus FinalStatus;

    // Run-time records of the equipment pass: per character and slot position, and
    // the combined body record of the characters whose body slots combine.
    std::array<std::array<TEquipBonus, kMaxWearSlots>, CharaCount> SlotRecords{};
    std::array<TEquipBonus, CharaCount> BodyBonus{};

    friend bool operator==(const TSimResults&, const TSimResults&) = default;
};
