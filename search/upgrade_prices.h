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
struct Units {
    Five Chara{};
    Five Club{};

    // How many units cost at most `price` each, and what they cost together.
    template <int i = 0>
    void Upto(int64_t price, int64_t& count, int64_t& cost) const {
        if constexpr (i < kStatCount) {
            constexpr int64_t w = kUpgradeWeight[i];
            const int64_t k = price / (2 * w);
            const int64_t a = std::min<int64_t>(Chara[i], k);
            const int64_t b = std::min<int64_t>(Club[i], k);
            count += a + b;
            cost += w * (a * (a + 1) + b * (b + 1));
            Upto<i + 1>(price, count, cost);
        }
    }
    std::pair<int64_t, int64_t> Upto(int64_t price) const {
        int64_t count = 0;
        int64_t cost = 0;
        Upto<0>(price, count, cost);
        return {count, cost};
    }
    int64_t TopPrice() const {
        int64_t top = 0;
        for (int i = 0; i < kStatCount; ++i) {
            top = std::max<int64_t>(top,
                                    2 * int64_t{kUpgradeWeight[i]} * std::max(Chara[i], Club[i]));
        }
        return top;
    }
    // At most how many units `money` buys.
    int64_t Most(int64_t money) const {
        if (money < 0) {
            return 0;
        }
        int64_t lo = 0;  // units up to this price are affordable
        int64_t hi = std::min(TopPrice(), money) + 1;
        if (Upto(hi).second <= money) {
            return Upto(hi).first;
        }
        while (hi - lo > 1) {
            const int64_t mid = lo + (hi - lo) / 2;
            (Upto(mid).second <= money ? lo : hi) = mid;
        }
        const auto [count, cost] = Upto(lo);
        return count + (money - cost) / (lo + 1);  // the rest cost more than lo each
    }
    // The least PP that n units cost; -1 when there are fewer.
    int64_t Cheapest(int64_t n) const {
        if (n <= 0) {
            return 0;
        }
        int64_t lo = 0;  // fewer than n units cost at most lo each
        int64_t hi = TopPrice();
        if (Upto(hi).first < n) {
            return -1;
        }
        while (hi - lo > 1) {
            const int64_t mid = lo + (hi - lo) / 2;
            (Upto(mid).first >= n ? hi : lo) = mid;
        }
        const auto [count, cost] = Upto(hi - 1);
        return cost + (n - count) * hi;
    }
};

}  // namespace upgrade_prices
