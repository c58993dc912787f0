#pragma once

#include <cstdint>

// The five-value record that carries status points, slot limits and upgrade counts
// alike, always in the order power, control, accuracy, spin, curve.
struct TStatus {
    int32_t Pow = 0;
    int32_t Ctrl = 0;
    int32_t Exa = 0;
    int32_t Spin = 0;
    int32_t Cur = 0;

    friend bool operator==(const TStatus&, const TStatus&) = default;
};

constexpr int kStatCount = 5;

constexpr TStatus MakeStatus(int32_t Pow, int32_t Ctrl, int32_t Exa, int32_t Spin, int32_t Cur) {
    return TStatus{Pow, Ctrl, Exa, Spin, Cur};
}

// Field i (0 = Pow .. 4 = Cur) of a record; any other i names Cur.
constexpr int32_t TStatus::*kStatFields[kStatCount] = {&TStatus::Pow, &TStatus::Ctrl, &TStatus::Exa,
                                                       &TStatus::Spin, &TStatus::Cur};
constexpr int StatIndex(int i) {
    return i >= 0 && i < kStatCount ? i : kStatCount - 1;
}
constexpr int32_t& StatField(TStatus& s, int i) {
    return s.*kStatFields[StatIndex(i)];
}
constexpr int32_t StatField(const TStatus& s, int i) {
    return s.*kStatFields[StatIndex(i)];
}

// Component-wise sum, each addition overflow-checked (Pow first, Cur last).
TStatus operator+(const TStatus& a, const TStatus& b);
TStatus& operator+=(TStatus& a, const TStatus& b);

// Weights of the price formula: n upgrades of a stat cost w * n * (n + 1) PP.
constexpr int32_t kUpgradeWeight[kStatCount] = {1050, 850, 1200, 950, 950};

// PP that buying the five upgrade counts from zero costs. Each term is computed as
// (n * w) * (n + 1) and the terms are summed from Pow to Cur, every step checked.
int32_t UpgradeCostPP(int32_t Pow, int32_t Ctrl, int32_t Exa, int32_t Spin, int32_t Cur);
int32_t UpgradeCostPP(const TStatus& counts);

// Price of raising stat i from count n to n + 1, as the spinner hints show it.
int32_t NextUpgradePrice(int stat, int32_t n);
