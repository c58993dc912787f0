#pragma once

// Goals for the build search drawn at random over everything a player can ask, as JSON
// queries that carry their own starting selection ("build"): a random level and
// selection (wear items, cards, caddie, special card, club set and counts, each list now
// and then left at none, the body slots as the outfit rule allows), every part free,
// every objective, the shown character, a named one or "any", zero to five minimums on
// the statuses and the 1W distance drawn near and past what the selection shows, the
// penalty allowed in about one goal in five, a budget in about half, 1 to 50 answers.
// The same seed gives the same goals, natively and for the page's benchmark.

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "characters/cards.h"
#include "characters/catalogue.h"
#include "characters/roster.h"
#include "clubs/caddies.h"
#include "clubs/clubs.h"
#include "engine/levels.h"
#include "search/search.h"
#include "simulator/build_code.h"
#include "simulator/simulator.h"

namespace random_goals {

// A random selection the window can hold: list indices within their lists (one in
// twelve at none), counts within their spinners, and on every page either separates or
// a one-piece outfit, never both.
inline PlannedBuild RandomBuild(std::mt19937& rng) {
    const auto upTo = [&rng](int32_t max) {
        return std::uniform_int_distribution<int32_t>(0, max)(rng);
    };
    const auto pick = [&](int32_t size) { return upTo(11) == 0 ? 0 : upTo(size - 1); };
    PlannedBuild b;
    b.Level = upTo(kLevelCount - 1);
    b.TabIndex = upTo(CharaCount - 1);
    b.Caddie = pick(kCaddieCount);
    b.SpecialCard = pick(kSpecialCardCount);
    b.Club = upTo(kClubCount - 1);
    for (int32_t c = 0; c < CharaCount; ++c) {
        TCharaState& chara = b.Chara[c];
        const auto& slots = CharaDef(c).Slots;
        for (size_t p = 0; p < slots.size(); ++p) {
            chara.Items[p] = pick(static_cast<int32_t>(EquipList(c, static_cast<int>(p)).size()));
        }
        const auto top = SlotPosition(c, TWearSlot::Top);
        const auto pants = SlotPosition(c, TWearSlot::Pants);
        const auto onePiece = SlotPosition(c, TWearSlot::TopPants);
        if (onePiece && chara.Items[*onePiece] != 0) {
            if (upTo(1) == 0) {
                chara.Items[*onePiece] = 0;
            } else {
                for (const auto& separate : {top, pants}) {
                    if (separate) {
                        chara.Items[*separate] = 0;
                    }
                }
            }
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
    for (int32_t k = 0; k < kClubCount; ++k) {
        for (int i = 0; i < kStatCount; ++i) {
            StatField(b.ClubSlotUps[k], i) = upTo(10);
        }
    }
    return b;
}

inline std::string Goal(std::mt19937& rng) {
    const auto upTo = [&rng](int32_t max) {
        return std::uniform_int_distribution<int32_t>(0, max)(rng);
    };
    const PlannedBuild build = RandomBuild(rng);
    TSimulator sim;
    ShowBuild(sim, build);
    const BuildFigures now = FiguresOf(sim);

    std::string json = "{\"build\": \"" + EncodeBuild(sim.State) + "\"";
    if (const int32_t who = upTo(7); who == 0) {
        json += ", \"character\": \"any\"";
    } else if (who == 1) {
        json += ", \"character\": " + std::to_string(upTo(CharaCount - 1));
    }
    json += ", \"objective\": \"";
    json += ObjectiveName(static_cast<SearchObjective>(upTo(kObjectiveCount - 1)));
    json += "\"";
    // Zero to five minimums, each near or past the figure the selection shows.
    std::vector<int> minimums{0, 1, 2, 3, 4, kMinDistance};
    std::shuffle(minimums.begin(), minimums.end(), rng);
    minimums.resize(static_cast<size_t>(upTo(5)));
    std::sort(minimums.begin(), minimums.end());
    if (!minimums.empty()) {
        json += ", \"min\": {";
        for (size_t k = 0; k < minimums.size(); ++k) {
            const int m = minimums[k];
            const int32_t shown = m < kMinDistance ? StatField(now.Final, m) : now.Distances[0];
            json += (k > 0 ? ", \"" : "\"") + std::string(MinimumName(m)) +
                    "\": " + std::to_string(std::max(0, shown - 5 + upTo(17)));
        }
        json += "}";
    }
    if (upTo(4) == 0) {
        json += ", \"noPenalty\": false";
    }
    if (upTo(1) == 0) {
        const int32_t budget = upTo(std::max(1, now.PP * 3 / 2)) + upTo(20000);
        json += ", \"budget\": " + std::to_string(budget);
    }
    const int32_t many = upTo(9);
    const int32_t results = many < 4 ? 1 : many < 7 ? 2 + upTo(8) : 11 + upTo(kMaxResults - 11);
    json += ", \"results\": " + std::to_string(results) + "}";
    return json;
}

// `count` goals of the seed, one JSON query each.
inline std::vector<std::string> Goals(unsigned seed, int count) {
    std::mt19937 rng(seed);
    std::vector<std::string> goals;
    for (int i = 0; i < count; ++i) {
        goals.push_back(Goal(rng));
    }
    return goals;
}

}  // namespace random_goals
