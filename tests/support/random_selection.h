#pragma once

#include <random>

#include "characters/cards.h"
#include "characters/catalogue.h"
#include "characters/roster.h"
#include "clubs/caddies.h"
#include "engine/levels.h"
#include "simulator/simulator.h"

// A random selection as the window can reach it: every list index names an entry (or
// none, now and then), every spinner stands within its range, and the club's spinners
// hold its counts within its limits. The chains have run on it.
inline void RandomSelection(std::mt19937& rng, TSimulator& sim) {
    auto pick = [&rng](int32_t size) {
        // One list in twenty shows no selection, as a load of an odd file leaves it.
        if (std::uniform_int_distribution<int>(0, 19)(rng) == 0) {
            return -1;
        }
        return std::uniform_int_distribution<int32_t>(0, size - 1)(rng);
    };
    auto upTo = [&rng](int32_t max) { return std::uniform_int_distribution<int32_t>(0, max)(rng); };
    TSimState& s = sim.State;
    s.Level = pick(kLevelCount);
    s.TabIndex = upTo(CharaCount - 1);
    s.Caddie = pick(kCaddieCount);
    s.SpecialCard = pick(kSpecialCardCount);
    for (int32_t c = 0; c < CharaCount; ++c) {
        TCharaState& chara = s.Chara[c];
        for (size_t p = 0; p < CharaDef(c).Slots.size(); ++p) {
            chara.Items[p] = pick(static_cast<int32_t>(EquipList(c, static_cast<int>(p)).size()));
        }
        chara.CharaCard1 = pick(kCardKindCount);
        chara.CharaCard2 = pick(kCardKindCount);
        chara.CharaCard3 = pick(kCardKindCount);
        chara.CaddieCard1 = pick(kCaddieCardKindCount);
        chara.CaddieCard2 = pick(kCaddieCardKindCount);
        for (int i = 0; i < kStatCount; ++i) {
            SlotUpField(chara, i) = upTo(CharaSpinnerMax(i));
        }
    }
    for (int32_t i = 0; i < kClubCount; ++i) {
        for (int k = 0; k < kStatCount; ++k) {
            StatField(s.ClubSlotUps[i], k) = upTo(10);
        }
    }
    s.Club = upTo(kClubCount - 1);
    ClubChange(sim);
}
