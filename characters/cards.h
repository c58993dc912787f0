#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/status.h"

struct TSimulator;

// Character cards raise slot limits; caddie cards add 1W yards; the special card
// adds one status point. Tables, list fillers and the special card step.
constexpr int32_t kCardKindCount = 15;
constexpr int32_t kCaddieCardKindCount = 5;
constexpr int32_t kSpecialCardCount = 6;

extern const std::array<std::string_view, kCardKindCount> kCardKindTexts;
extern const std::array<std::string_view, kCaddieCardKindCount> kCaddieCardKindTexts;
extern const std::array<std::string_view, kSpecialCardCount> kSpecialCardTexts;

// Slot bonus of a character-card kind; any kind outside 0..14 gives the zero record.
TStatus CardKindStatus(int32_t kind);
// Sum of the three cards' slot bonuses, overflow-checked.
TStatus CombineCharaCards(int32_t kind1, int32_t kind2, int32_t kind3);

struct CaddieCardEffect {
    int32_t CaddieCardYard = 0;        // 1 when either card is "飛距離+1y"
    int32_t CaddieCardPowerYards = 0;  // the largest power-shot bonus: 0, 2, 4 or 6
};
CaddieCardEffect EvalCaddieCards(int32_t kind1, int32_t kind2);

// Refill the card lists of every page with the card texts and select "なし" in each.
void FillCharaCardLists(TSimulator& sim);
void FillCaddieCardLists(TSimulator& sim);

// Special card table lookup; an index outside 0..5 leaves SpecialCardStatus as it was.
void CalcSpecialCard(TSimulator& sim);
// Row of the special card table; any index outside 0..5 gives the zero record.
TStatus SpecialCardStatus(int32_t index);
