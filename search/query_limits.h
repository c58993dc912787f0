#pragma once

// The limits of every field of a search query, stated once. The JSON reader, the check
// that every search makes of its query (ValidateQuery), the window's controls and the
// page (through the core) all take a field's range and the words of its refusal from
// here, so that what one face accepts, every face accepts, and refuses alike.

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "engine/sim_state.h"

struct QueryLimit {
    int32_t Low = 0;
    int32_t High = 0;
    // What follows `"field": ` when a value is out of the range or no integer.
    std::string_view Refusal;

    constexpr bool Holds(int64_t value) const { return value >= Low && value <= High; }
};

// A minimum on a final status or on the 1W normal distance: far beyond what any build
// reaches, and small enough that the search adds minimums to its sums without overflow.
inline constexpr QueryLimit kMinimumLimit{0, 1'000'000, "0 から 1000000 の整数を指定してください"};
// The most PP of the upgrades, counted from zero; a query without one has no limit.
inline constexpr QueryLimit kBudgetLimit{
    0, std::numeric_limits<int32_t>::max(),
    "0 以上の整数 (2147483647 まで) か null を指定してください"};
// How many ranked answers.
inline constexpr QueryLimit kResultsLimit{1, 50, "1 から 50 の整数を指定してください"};
// How many things not owned an answer may acquire: at most one per part; a query without
// a limit says null.
inline constexpr QueryLimit kAcquireLimit{0, 42, "0 から 42 の整数か null を指定してください"};
// A character by its page; besides these, the shown one or any of them.
inline constexpr QueryLimit kCharacterLimit{
    0, CharaCount - 1, "0 から 9 の整数か \"shown\" または \"any\" を指定してください"};

// The refusal as every face words it: `"budget": 0 以上の整数 …`, `"min.pow": …`.
std::string QueryRefusal(std::string_view field, const QueryLimit& limit);
