// The prices of upgrades against brute force: every way to split an amount over the
// counts, every count within its cap, priced one by one as the chains price them.

#include "search/upgrade_prices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

using namespace upgrade_prices;

int64_t CountCost(int stat, int64_t n) {
    return int64_t{kUpgradeWeight[stat]} * n * (n + 1);
}

// Every assignment of counts within `units`' caps: the least cost of `n` units of upgrade
// and the most units `money` buys.
struct Brute {
    int64_t Least = -1;
    int64_t Most = 0;
};

Brute Search(const Units& units, int64_t n, int64_t money) {
    Brute b;
    std::array<int32_t, 2 * kStatCount> at{};
    for (;;) {
        int64_t count = 0;
        int64_t cost = 0;
        for (int i = 0; i < kStatCount; ++i) {
            count += at[2 * i] + at[2 * i + 1];
            cost += CountCost(i, at[2 * i]) + CountCost(i, at[2 * i + 1]);
        }
        if (count == n && (b.Least < 0 || cost < b.Least)) {
            b.Least = cost;
        }
        if (cost <= money) {
            b.Most = std::max(b.Most, count);
        }
        size_t k = 0;
        for (; k < at.size(); ++k) {
            const int32_t cap = k % 2 == 0 ? units.Chara[k / 2] : units.Club[k / 2];
            if (++at[k] <= cap) {
                break;
            }
            at[k] = 0;
        }
        if (k == at.size()) {
            return b;
        }
    }
}

// The units' cheapest and most agree with brute force over random caps, amounts and
// budgets, empty caps and amounts past every cap among them.
TEST(UpgradePrices, UnitsMatchBruteForce) {
    std::mt19937 rng(5);
    const auto upTo = [&rng](int n) { return std::uniform_int_distribution<int>(0, n)(rng); };
    for (int round = 0; round < 300; ++round) {
        Units units;
        int total = 0;
        for (int i = 0; i < kStatCount; ++i) {
            // Few stats with room, so that brute force stays small.
            const bool open = upTo(2) == 0;
            units.Chara[i] = open ? upTo(4) : 0;
            units.Club[i] = open ? upTo(3) : 0;
            total += units.Chara[i] + units.Club[i];
        }
        const int64_t n = upTo(total + 1);
        const int64_t money = upTo(60000);
        const Brute b = Search(units, n, money);
        EXPECT_EQ(units.Cheapest(n), b.Least) << "round " << round << " n " << n;
        EXPECT_EQ(units.Most(money), b.Most) << "round " << round << " money " << money;
    }
}

// With caps as large as the game's, against the units' prices listed one by one and
// sorted: the cheapest n cost the n first, and money buys the longest prefix it covers.
// Amounts and budgets fall on, just beside and far from the prices where counts fill.
TEST(UpgradePrices, UnitsMatchSortedPrices) {
    std::mt19937 rng(11);
    const auto upTo = [&rng](int n) { return std::uniform_int_distribution<int>(0, n)(rng); };
    for (int round = 0; round < 3000; ++round) {
        Units units;
        std::vector<int64_t> prices;
        for (int i = 0; i < kStatCount; ++i) {
            const int cap = upTo(3) == 0 ? 0 : 40;
            units.Chara[i] = upTo(cap);
            units.Club[i] = upTo(upTo(1) == 0 ? 0 : cap / 2);
            for (int32_t k = 1; k <= std::max(units.Chara[i], units.Club[i]); ++k) {
                const int64_t price = 2 * int64_t{kUpgradeWeight[i]} * k;
                for (int copies = (k <= units.Chara[i]) + (k <= units.Club[i]); copies > 0;
                     --copies) {
                    prices.push_back(price);
                }
            }
        }
        std::sort(prices.begin(), prices.end());
        std::vector<int64_t> paid{0};
        for (const int64_t price : prices) {
            paid.push_back(paid.back() + price);
        }
        const auto n = static_cast<int64_t>(upTo(static_cast<int>(prices.size()) + 2));
        EXPECT_EQ(units.Cheapest(n), n < static_cast<int64_t>(paid.size()) ? paid[n] : -1)
            << "round " << round << " n " << n;
        const int64_t near = paid[std::min<size_t>(n, paid.size() - 1)];
        for (const int64_t money : {near - 1, near, near + 1, int64_t{upTo(5000000)}}) {
            const auto most = std::upper_bound(paid.begin(), paid.end(), money) - paid.begin() - 1;
            EXPECT_EQ(units.Most(money), std::max<int64_t>(0, most))
                << "round " << round << " money " << money;
        }
    }
}

// One stat's even split and its inverse: MinCost is the least cost of r upgrades from
// the two counts, MostBought the most that the cost of `base` plus `money` buys.
TEST(UpgradePrices, OneStatMatchesBruteForce) {
    std::mt19937 rng(6);
    const auto upTo = [&rng](int n) { return std::uniform_int_distribution<int>(0, n)(rng); };
    for (int round = 0; round < 2000; ++round) {
        const int stat = upTo(kStatCount - 1);
        const int32_t cu = upTo(30);
        const int32_t cv = upTo(10);
        const auto least = [&](int32_t r) {
            int64_t best = -1;
            for (int32_t u = 0; u <= cu; ++u) {
                const int32_t v = r - u;
                if (v >= 0 && v <= cv) {
                    const int64_t cost = CountCost(stat, u) + CountCost(stat, v);
                    best = best < 0 ? cost : std::min(best, cost);
                }
            }
            return best;
        };
        const int32_t r = upTo(cu + cv + 2);
        const int64_t want = least(r);
        EXPECT_EQ(MinCost(stat, r, cu, cv), want < 0 ? kNoLimit : want) << round;

        const int32_t base = upTo(cu + cv);
        const int32_t money = upTo(400000);
        int32_t most = base;
        for (int32_t more = base; more <= cu + cv; ++more) {
            if (least(more) <= least(base) + money) {
                most = more;
            }
        }
        EXPECT_EQ(MostBought(stat, base, money, cu, cv), most)
            << round << " base " << base << " money " << money;
    }
}

TEST(UpgradePrices, LargestTriangle) {
    for (int64_t t = 0; t < 3000; ++t) {
        for (const int64_t q : {t * (t + 1), t * (t + 1) + t, (t + 1) * (t + 2) - 1}) {
            EXPECT_EQ(LargestTriangle(q), t) << q;
        }
    }
}

}  // namespace
