#pragma once

// Goals for the build search drawn at random over everything a player can ask, as JSON
// queries that carry their own starting selection ("build"): a random level and
// selection (wear items, cards, caddie, special card, club set and counts, each list now
// and then left at none, the body slots as the outfit rule allows), every part free,
// every objective, the shown character, a named one or "any", zero to five minimums on
// the statuses and the 1W distance drawn near and past what the selection shows, the
// penalty allowed in about one goal in five, a budget in about half, 1 to 50 answers.
// The same seed gives the same goals, natively and for the page's benchmark. The goals
// may also come within random holdings of the player's (GoalsWithinHoldings).

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

// Random holdings as a query's "owned": of each list (every page's wear slots, the card
// kinds, caddies, special cards and club sets) a third to two thirds of its entries,
// drawn at random, owned ("なし" is owned besides).
inline std::string RandomOwned(std::mt19937& rng) {
    const auto owned = [&rng](int32_t count) {
        std::vector<int32_t> all(static_cast<size_t>(count));
        for (int32_t e = 0; e < count; ++e) {
            all[static_cast<size_t>(e)] = e;
        }
        std::shuffle(all.begin(), all.end(), rng);
        const int32_t lo = (count + 2) / 3;
        const int32_t n =
            std::uniform_int_distribution<int32_t>(lo, std::max(lo, count * 2 / 3))(rng);
        all.resize(static_cast<size_t>(std::min(n, count)));
        std::sort(all.begin(), all.end());
        std::string list = "[";
        for (size_t k = 0; k < all.size(); ++k) {
            list += k > 0 ? ", " : "";
            list += std::to_string(all[k]);
        }
        list += "]";
        return list;
    };
    std::string json = "{\"items\": {";
    for (int32_t c = 0; c < CharaCount; ++c) {
        json += c > 0 ? ", \"" : "\"";
        json += std::to_string(c);
        json += "\": {";
        const auto& slots = CharaDef(c).Slots;
        for (size_t p = 0; p < slots.size(); ++p) {
            json += p > 0 ? ", \"" : "\"";
            json += SearchPartName(static_cast<int>(slots[p]));
            json += "\": ";
            json += owned(static_cast<int32_t>(EquipList(c, static_cast<int>(p)).size()));
        }
        json += "}";
    }
    json += "}";
    for (const auto& [kind, count] : {std::pair{"CharaCard", kCardKindCount},
                                      {"CaddieCard", kCaddieCardKindCount},
                                      {"Caddie", kCaddieCount},
                                      {"SpecialCard", kSpecialCardCount},
                                      {"Club", kClubCount}}) {
        json += ", \"";
        json += kind;
        json += "\": ";
        json += owned(count);
    }
    return json + "}";
}

// The fields of a query within random holdings: "owned", and a random limit on what an
// answer acquires (0, 1, 2, none, or left to its default) and, in one query of three,
// answers told apart by what they acquire.
inline std::string HoldingsFields(std::mt19937& rng) {
    std::string json = "\"owned\": ";
    json += RandomOwned(rng);
    const int32_t acquire = std::uniform_int_distribution<int32_t>(0, 4)(rng);
    if (acquire < 3) {
        json += ", \"acquire\": ";
        json += std::to_string(acquire);
    } else if (acquire == 3) {
        json += ", \"acquire\": null";
    }
    if (std::uniform_int_distribution<int32_t>(0, 2)(rng) == 0) {
        json += ", \"distinct\": \"acquired\"";
    }
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

// The same goals, each within random holdings of its own (HoldingsFields), drawn after
// the goals so that the goals stay those of Goals(seed, count).
inline std::vector<std::string> GoalsWithinHoldings(unsigned seed, int count) {
    std::vector<std::string> goals = Goals(seed, count);
    std::mt19937 rng(seed ^ 0x5EEDu);
    for (std::string& goal : goals) {
        goal.pop_back();  // the closing brace
        goal += ", ";
        goal += HoldingsFields(rng);
        goal += "}";
    }
    return goals;
}

}  // namespace random_goals
