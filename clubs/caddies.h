#pragma once

struct TSimulator;

// The caddie step of every chain: the selected caddie's effect and its text.
void CalcCaddie(TSimulator& sim);

#include <cstdint>
#include <span>
#include <string_view>

#include "engine/status.h"

constexpr int32_t kCaddieCount = 15;

struct CaddieDef {
    std::string_view Name;        // list text; entry 0 is "なし"
    TStatus Effect;               // added to the status sum
    std::string_view EffectText;  // shown in Label_CaddieEffect
};

std::span<const CaddieDef> Caddies();
