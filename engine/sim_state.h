#pragma once

#include <array>
#include <cstdint>

#include "characters/chara_state.h"
#include "characters/roster.h"
#include "engine/status.h"

constexpr int32_t kClubCount = 42;

// A spinner as the user steps it: the position always lies within 0..Max, and a
// new Max below the position lowers the position with it.
struct TSpinner {
    int32_t Position = 0;
    int32_t Max = 10;

    void SetPosition(int32_t p) { Position = p < 0 ? 0 : (p > Max ? Max : p); }
    void SetMax(int32_t m) {
        Max = m;
        if (Position > Max) {
            Position = Max;
        }
    }
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
    std::array<TSpinner, kStatCount> ClubSpinners{};  // UpDown_Club1..5, the live counts
    int32_t Caddie = 0;
    int32_t SpecialCard = 0;
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
};
