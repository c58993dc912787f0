#pragma once

#include <cstdint>
#include <string_view>

#include "engine/checked.h"

// The 14 player levels. Both per-level values follow from the index: the power limit
// is index + 20 and the power slot bonus is the index itself.
constexpr int32_t kLevelCount = 14;

constexpr std::string_view kLevelNames[kLevelCount] = {
    "ルーキー",       "ビギナー",
    "ジュニア",       "シニア",
    "アマチュア",     "セミプロ",
    "プロ",           "ナショナルプロ",
    "ワールドプロ",   "マスター",
    "トップマスター", "ワールドマスター",
    "レジェンド",     "インフィニティレジェンド"};

constexpr bool IsLevel(int32_t index) {
    return index >= 0 && index < kLevelCount;
}

// The final step takes the limit straight from the selection, so an unselected
// level (-1) gives 19.
inline int32_t PowerLimit(int32_t levelIndex) {
    return CheckedAdd(levelIndex, 20);
}
// The power slot bonus, added to the power slot limit of the active character.
inline int32_t PowerSlotBonus(int32_t levelIndex) {
    return levelIndex;
}
