#include "search/upgrade_prices.h"

#include <algorithm>
#include <cmath>

namespace upgrade_prices {

int32_t MinCost(int i, int32_t r, int32_t cu, int32_t cv) {
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

int64_t LargestTriangle(int64_t q) {
    auto t = static_cast<int64_t>((std::sqrt(4.0 * static_cast<double>(q) + 1.0) - 1.0) / 2.0);
    while (t > 0 && t * (t + 1) > q) {
        --t;
    }
    while ((t + 1) * (t + 2) <= q) {
        ++t;
    }
    return t;
}

// The most upgrades of stat i, beyond `base`, that `money` more PP buy. MinCost is
// weight x (u(u + 1) + v(v + 1)) with the counts split evenly, so the answer solves a
// quadratic: evenly while both counts have room, then the one with more room alone.
int32_t MostBought(int i, int32_t base, int32_t money, int32_t cu, int32_t cv) {
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

}  // namespace upgrade_prices
