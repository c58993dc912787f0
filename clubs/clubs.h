#pragma once

struct TSimulator;

// The club-set step of every chain: the selected club set's base status and slot limits, and their
// labels.
void CalcClubSetting(TSimulator& sim);

#include <cstdint>
#include <span>
#include <string_view>

#include "engine/sim_state.h"
#include "engine/status.h"

struct ClubSet {
    std::string_view Caption;  // list text of ComboBox2
    TStatus ClubBaseStatus;
    TStatus ClubSlotLimit;
};

// The 42 club sets in list order (kClubCount).
std::span<const ClubSet> ClubSets();
