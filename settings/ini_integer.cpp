#include <cstdint>

#include "settings/ini_file.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

std::optional<int32_t> ParseIniInteger(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with('$')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    constexpr int64_t kLimit = int64_t{INT32_MAX} + 1;  // the magnitude of INT32_MIN
    int64_t magnitude = 0;
    for (char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0 || digit >= base) {
            return std::nullopt;
        }
        magnitude = magnitude * base + digit;
        if (magnitude > kLimit) {
            return std::nullopt;
        }
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}
