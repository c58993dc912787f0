#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

// Writes prefix + decimal(value) + suffix into out, reusing out's buffer, so a
// recalculation that rewrites its texts does not allocate once the texts exist.
inline void SetDecimalText(std::string& out, std::string_view prefix, int32_t value,
                           std::string_view suffix) {
    char digits[12];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.clear();
    out.append(prefix);
    out.append(digits, end);
    out.append(suffix);
}

inline void SetDecimalText(std::string& out, int32_t value) {
    SetDecimalText(out, {}, value, {});
}

// The upgrade spinner hint: "次上げるのに", CR, two spaces, the price, " PP".
inline void SetUpgradeHint(std::string& out, int32_t price) {
    SetDecimalText(out, "次上げるのに\r  ", price, " PP");
}
