#pragma once

// The game's formulas of the figures a build shows: the window's chain shows them and
// the build search weighs builds by them, both through these. Checked: a figure out of
// the 32-bit range raises EIntOverflow, as every sum of the chain does.

#include <cstdint>

#include "engine/checked.h"

// The 1W normal distance: kDriveYards at power kDrivePower, kYardsPerPower more for every
// point of power beyond, plus the ring's and the caddie cards' yards.
constexpr int32_t kDrivePower = 15;
constexpr int32_t kDriveYards = 230;
constexpr int32_t kYardsPerPower = 2;

inline int32_t DriveDistance(int32_t pow, int32_t ringYards, int32_t cardYards) {
    const int32_t base =
        CheckedAdd(CheckedMul(CheckedSub(pow, kDrivePower), kYardsPerPower), kDriveYards);
    return CheckedAdd(CheckedAdd(base, ringYards), cardYards);
}

// The power shot (shot 1) and the power shot x2 (shot 2): the normal distance, the caddie
// cards' power-shot yards, and 10 yards a shot.
inline int32_t PowerShotDistance(int32_t drive, int32_t powerYards, int32_t shot) {
    return CheckedAdd(CheckedAdd(drive, powerYards), CheckedMul(10, shot));
}

// The least power whose 1W normal distance with `yards` of ring and cards reaches
// `distance` (not checked: the search's bounds ask it of figures far within range).
constexpr int32_t PowerForDistance(int32_t distance, int32_t yards) {
    const int32_t over = distance - kDriveYards - yards;  // in yards, beyond power 15
    return kDrivePower + (over >= 0 ? (over + 1) / kYardsPerPower : -((-over) / kYardsPerPower));
}

// Power beyond the level's limit lowers control and accuracy by as much, never below 0;
// the window shows the shortfall (limit - power) beside them.
inline int32_t PowerExcess(int32_t pow, int32_t limit) {
    return pow > limit ? CheckedSub(pow, limit) : 0;
}
inline int32_t AfterPenalty(int32_t status, int32_t excess) {
    const int32_t v = CheckedSub(status, excess);
    return v < 0 ? 0 : v;
}
