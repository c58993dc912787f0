#include "engine/status.h"

#include "engine/checked.h"

TStatus operator+(const TStatus& a, const TStatus& b) {
    TStatus r;
    r.Pow = CheckedAdd(a.Pow, b.Pow);
    r.Ctrl = CheckedAdd(a.Ctrl, b.Ctrl);
    r.Exa = CheckedAdd(a.Exa, b.Exa);
    r.Spin = CheckedAdd(a.Spin, b.Spin);
    r.Cur = CheckedAdd(a.Cur, b.Cur);
    return r;
}

TStatus& operator+=(TStatus& a, const TStatus& b) {
    a = a + b;
    return a;
}

namespace {
int32_t UpgradeTerm(int32_t n, int32_t w) {
    const int32_t nw = CheckedMul(n, w);
    const int32_t next = CheckedAdd(n, 1);
    return CheckedMul(nw, next);
}
}  // namespace

int32_t UpgradeCostPP(int32_t Pow, int32_t Ctrl, int32_t Exa, int32_t Spin, int32_t Cur) {
    int32_t total = UpgradeTerm(Pow, kUpgradeWeight[0]);
    total = CheckedAdd(total, UpgradeTerm(Ctrl, kUpgradeWeight[1]));
    total = CheckedAdd(total, UpgradeTerm(Exa, kUpgradeWeight[2]));
    total = CheckedAdd(total, UpgradeTerm(Spin, kUpgradeWeight[3]));
    total = CheckedAdd(total, UpgradeTerm(Cur, kUpgradeWeight[4]));
    return total;
}

int32_t UpgradeCostPP(const TStatus& c) {
    return UpgradeCostPP(c.Pow, c.Ctrl, c.Exa, c.Spin, c.Cur);
}

int32_t NextUpgradePrice(int stat, int32_t n) {
    return CheckedMul(CheckedAdd(n, 1), CheckedMul(2, kUpgradeWeight[stat]));
}
