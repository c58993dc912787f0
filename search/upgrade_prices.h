#pragma once

// What upgrades cost, asked at nearly every branch of the search's walk: all inline. A count of
// stat i at n has cost kUpgradeWeight[i] x n(n + 1) PP, so its k-th step costs 2 x
// kUpgradeWeight[i] x k: every step dearer than the one before. A stat has two counts, the
// character's and the club set's, each with a cap. Buying the cheapest steps first is therefore the
// cheapest way to any number of them, and a number of steps of one stat is cheapest split as evenly
// as the caps allow. The search bounds what a budget buys and what an amount costs with these;
// nothing here knows of builds.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "engine/status.h"

namespace upgrade_prices {

constexpr int32_t kNoLimit = std::numeric_limits<int32_t>::max();
using Five = std::array<int32_t, kStatCount>;

// The cheapest way to buy r more upgrades of stat i from a character count of at most cu
// and a club count of at most cv, both from zero: as evenly as the caps allow. kNoLimit
// when r cannot be bought.
inline int32_t MinCost(int i, int32_t r, int32_t cu, int32_t cv) {
    if (r <= 0) {
        return 0;
    }
    if (r > cu + cv) {
        return kNoLimit;
    }
    int32_t u = r / 2;
    int32_t v = r - u;
    if (v > cv) {
        v = cv;
        u = r - v;
    } else if (u > cu) {
        u = cu;
        v = r - u;
    }
    return kUpgradeWeight[i] * (u * (u + 1) + v * (v + 1));
}

// The largest t >= 0 with t(t + 1) <= q, for q >= 0.
inline int64_t LargestTriangle(int64_t q) {
    auto t = static_cast<int64_t>((std::sqrt(4.0 * static_cast<double>(q) + 1.0) - 1.0) / 2.0);
    while (t > 0 && t * (t + 1) > q) {
        --t;
    }
    while ((t + 1) * (t + 2) <= q) {
        ++t;
    }
    return t;
}

// The most upgrades of stat i, beyond `base` (already bought the cheapest way), that
// `money` more PP buy, from the same counts as MinCost's; at least `base`.
inline int32_t MostBought(int i, int32_t base, int32_t money, int32_t cu, int32_t cv) {
    if (base >= cu + cv) {
        return base;
    }
    const int64_t total = int64_t{MinCost(i, base, cu, cv)} + money;
    if (total < 0) {
        return base;
    }
    const int64_t q = total / kUpgradeWeight[i];  // the most u(u + 1) + v(v + 1) paid for
    const int64_t c = std::min(cu, cv);
    const int64_t wide = std::max(cu, cv);
    int64_t r = 0;
    if (2 * c * (c + 1) <= q) {
        r = c + std::min(wide, LargestTriangle(q - c * (c + 1)));
    } else {
        // 2k counts cost 2k(k + 1), 2k + 1 counts 2(k + 1)^2.
        const int64_t k = LargestTriangle(q / 2);
        r = std::min(2 * c, 2 * k + (2 * (k + 1) * (k + 1) <= q ? 1 : 0));
    }
    return static_cast<int32_t>(std::max<int64_t>(base, std::min<int64_t>(r, cu + cv)));
}

// The free counts of the stats as units of one upgrade each: the k-th upgrade of a count
// of stat i costs 2 * kUpgradeWeight[i] * k PP, so buying the cheapest units first is
// the cheapest way to any number of them. Per stat, a character count of at most
// Chara[i] and a club count of at most Club[i].
//
// Both questions come down to a price: the one at which the units bought cheapest first
// reach an amount or spend a budget. A first guess lets each count buy continuously
// (P / (2 w) units of stat i at price P, up to its cap): it reaches an amount or spends a
// budget no later than the true counts, and at most one unit step of each stat earlier.
// From just below the guess, a walk steps from price to price where a count gains a unit:
// a few steps, where a search over all prices took seventeen, each summing every stat.
// The guess only saves steps: the walk checks the price it starts from.
struct Units {
    Five Chara{};
    Five Club{};

    // At most how many units `money` buys.
    int64_t Most(int64_t money) const {
        if (money < 0) {
            return 0;
        }
        Walk walk(*this);
        if (walk.AllCost <= money) {
            return walk.AllCount;
        }
        walk.StartAt(*this, Level(money, true));
        if (walk.Cost > money) {
            walk.StartAt(*this, 0);
        }
        for (;;) {
            const int64_t price = walk.NextPrice(*this);
            const int64_t added = walk.UnitsAt(*this, price);
            if (walk.Cost + added * price > money) {
                return walk.Count + (money - walk.Cost) / price;
            }
            walk.Take(price, added);
        }
    }
    // The least PP that n units cost; -1 when there are fewer.
    int64_t Cheapest(int64_t n) const {
        if (n <= 0) {
            return 0;
        }
        Walk walk(*this);
        if (walk.AllCount < n) {
            return -1;
        }
        walk.StartAt(*this, Level(n, false));
        if (walk.Count >= n) {
            walk.StartAt(*this, 0);
        }
        for (;;) {
            const int64_t price = walk.NextPrice(*this);
            const int64_t added = walk.UnitsAt(*this, price);
            if (walk.Count + added >= n) {
                return walk.Cost + (n - walk.Count) * price;
            }
            walk.Take(price, added);
        }
    }

private:
    static constexpr int64_t Step(int i) { return 2 * int64_t{kUpgradeWeight[i]}; }

    // The units bought at every price up to a level: per stat, the units' level t (every
    // unit of price at most 2 w t), and the count and cost of all of them.
    struct Walk {
        std::array<int64_t, kStatCount> T{};
        int64_t Count = 0;
        int64_t Cost = 0;
        int64_t AllCount = 0;  // every unit, and what they cost
        int64_t AllCost = 0;
        explicit Walk(const Units& u) {
            for (int i = 0; i < kStatCount; ++i) {
                const int64_t a = u.Chara[i];
                const int64_t b = u.Club[i];
                AllCount += a + b;
                AllCost += kUpgradeWeight[i] * (a * (a + 1) + b * (b + 1));
            }
        }
        void StartAt(const Units& u, int64_t price) {
            Count = 0;
            Cost = 0;
            for (int i = 0; i < kStatCount; ++i) {
                T[i] = price / Step(i);
                const int64_t a = std::min<int64_t>(u.Chara[i], T[i]);
                const int64_t b = std::min<int64_t>(u.Club[i], T[i]);
                Count += a + b;
                Cost += kUpgradeWeight[i] * (a * (a + 1) + b * (b + 1));
            }
        }
        // The next price at which a count gains a unit; only asked while one can.
        int64_t NextPrice(const Units& u) const {
            int64_t next = std::numeric_limits<int64_t>::max();
            for (int i = 0; i < kStatCount; ++i) {
                if (T[i] < std::max(u.Chara[i], u.Club[i])) {
                    next = std::min(next, (T[i] + 1) * Step(i));
                }
            }
            return next;
        }
        // The units priced `price` each, the next price.
        int64_t UnitsAt(const Units& u, int64_t price) const {
            int64_t added = 0;
            for (int i = 0; i < kStatCount; ++i) {
                if ((T[i] + 1) * Step(i) == price) {
                    added += (u.Chara[i] > T[i] ? 1 : 0) + (u.Club[i] > T[i] ? 1 : 0);
                }
            }
            return added;
        }
        // Buys the `added` units priced `price` each.
        void Take(int64_t price, int64_t added) {
            Count += added;
            Cost += added * price;
            for (int i = 0; i < kStatCount; ++i) {
                if ((T[i] + 1) * Step(i) == price) {
                    ++T[i];
                }
            }
        }
    };

    // A price just below the one at which units bought continuously reach `amount` units
    // (or, with `money`, spend `amount` PP). A count full at a lower level is full there
    // too, so the level is raised count by count from below until no more fill.
    int64_t Level(int64_t amount, bool money) const {
        // Per count: units per PP of price, PP per price squared, and the price it fills at.
        std::array<double, 2 * kStatCount> rate{}, square{}, fills{}, held{};
        int open = 0;
        for (int j = 0; j < 2 * kStatCount; ++j) {
            const int i = j / 2;
            const int32_t cap = j % 2 == 0 ? Chara[i] : Club[i];
            if (cap > 0) {
                const double w = kUpgradeWeight[i];
                rate[open] = money ? 0.5 : 1 / (2 * w);
                square[open] = money ? 1 / (4 * w) : 0;
                fills[open] = static_cast<double>(cap * Step(i));
                held[open] = money ? w * cap * (cap + 1.0) : cap;
                ++open;
            }
        }
        double level = 0;
        double heldAll = 0;
        double rateAll = 0;
        double squareAll = 0;
        for (int j = 0; j < open; ++j) {
            rateAll += rate[j];
            squareAll += square[j];
        }
        std::array<bool, 2 * kStatCount> full{};
        for (bool filled = true; filled;) {
            const double left = static_cast<double>(amount) - heldAll;
            if (rateAll <= 0 || left <= 0) {
                break;
            }
            level = money ? (std::sqrt(rateAll * rateAll + 4 * squareAll * left) - rateAll) /
                                (2 * squareAll)
                          : left / rateAll;
            filled = false;
            for (int j = 0; j < open; ++j) {
                if (!full[j] && fills[j] <= level) {
                    full[j] = true;
                    filled = true;
                    heldAll += held[j];
                    rateAll -= rate[j];
                    squareAll -= square[j];
                }
            }
        }
        return std::max<int64_t>(0, static_cast<int64_t>(level) - 1);
    }
};

}  // namespace upgrade_prices
