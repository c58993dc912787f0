#pragma once

#include <cstdint>

#include "engine/errors.h"

// Signed 32-bit arithmetic that raises EIntOverflow instead of wrapping.
inline int32_t CheckedAdd(int32_t a, int32_t b) {
    int32_t r;
    if (__builtin_add_overflow(a, b, &r)) {
        throw EIntOverflow();
    }
    return r;
}

inline int32_t CheckedSub(int32_t a, int32_t b) {
    int32_t r;
    if (__builtin_sub_overflow(a, b, &r)) {
        throw EIntOverflow();
    }
    return r;
}

inline int32_t CheckedMul(int32_t a, int32_t b) {
    int32_t r;
    if (__builtin_mul_overflow(a, b, &r)) {
        throw EIntOverflow();
    }
    return r;
}

// Index check of the fixed-size per-club tables.
inline void CheckRange(int32_t index, int32_t low, int32_t high) {
    if (index < low || index > high) {
        throw ERangeError();
    }
}
