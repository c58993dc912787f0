#pragma once

#include <cstdint>
#include <string_view>

#include "engine/sim_state.h"
#include "engine/status.h"

// Reader of the notation in which an equipment entry's text states its value:
//
//   "なし"                                  nothing
//   part {("・" | " ") part} [" *" | "*"]   stat parts, then the marker (no value)
//   part  = stat word, then "+N", "S+N" or "+N/S+N" (status bonus, slot bonus, both)
//   stat word = "パワー" | "コントロール" | "コント" | "正確度" | "スピン" | "カーブ"
//             | "全ステータス" (all five stats)
//   "飛距離+Ny" or name "(飛距離+Ny)"      a ring that adds N yards and no records
//
// N is a decimal number without leading zeros, 1..999. Anything else is unreadable:
// the reader never guesses, so a text it cannot read is reported, not taken as zero.
struct EquipReading {
    bool Readable = false;
    TEquipBonus Bonus{};
    int32_t DistanceBonus = 0;
    bool ControlPart = false;  // a part names control ("コント" / "コントロール")
    bool Marker = false;       // the text ends in the " *" (or bare "*") marker
};

namespace equip_notation {

struct StatWord {
    std::string_view Word;
    int Stat;  // 0 = Pow .. 4 = Cur, -1 = all five
};

// Longest words first, so that "コントロール" is not read as "コント" + "ロール".
inline constexpr StatWord kStatWords[] = {
    {"コントロール", 1}, {"全ステータス", -1}, {"パワー", 0}, {"コント", 1},
    {"正確度", 2},       {"スピン", 3},        {"カーブ", 4},
};

inline constexpr std::string_view kPartSeparator = "・";
inline constexpr std::string_view kDistanceWord = "飛距離+";

// Reads N at the front of `rest`; 0 when there is none.
constexpr int32_t TakeNumber(std::string_view& rest) {
    int32_t value = 0;
    size_t digits = 0;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') {
        if (digits == 3) {
            return 0;
        }
        value = value * 10 + (rest[digits] - '0');
        ++digits;
    }
    if (digits == 0 || (digits > 1 && rest[0] == '0')) {
        return 0;
    }
    rest.remove_prefix(digits);
    return value;
}

constexpr bool TakePrefix(std::string_view& rest, std::string_view prefix) {
    if (!rest.starts_with(prefix)) {
        return false;
    }
    rest.remove_prefix(prefix.size());
    return true;
}

constexpr void AddToStat(TStatus& s, int stat, int32_t n) {
    for (int i = 0; i < kStatCount; ++i) {
        if (stat < 0 || stat == i) {
            StatField(s, i) += n;
        }
    }
}

// One stat part at the front of `rest`, added to `out`.
constexpr bool TakePart(std::string_view& rest, EquipReading& out) {
    // Found by value, not by pointer: a pointer test is not a constant expression in
    // every build (the sanitizers instrument it).
    int stat = 0;
    bool found = false;
    for (const StatWord& w : kStatWords) {
        if (rest.starts_with(w.Word)) {
            rest.remove_prefix(w.Word.size());
            stat = w.Stat;
            found = true;
            break;
        }
    }
    if (!found) {
        return false;
    }
    if (stat == 1) {
        out.ControlPart = true;
    }
    if (TakePrefix(rest, "+")) {
        const int32_t n = TakeNumber(rest);
        if (n == 0) {
            return false;
        }
        AddToStat(out.Bonus.StatusBonus, stat, n);
        if (!TakePrefix(rest, "/")) {
            return true;
        }
        // "+N/" must go on with the slot bonus.
    }
    if (TakePrefix(rest, "S+")) {
        const int32_t n = TakeNumber(rest);
        if (n == 0) {
            return false;
        }
        AddToStat(out.Bonus.SlotBonus, stat, n);
        return true;
    }
    return false;
}

// "飛距離+Ny", or a name followed by "(飛距離+Ny)".
constexpr bool ReadDistance(std::string_view text, EquipReading& out) {
    if (const size_t open = text.find('('); open != std::string_view::npos) {
        if (open == 0 || !text.ends_with(")")) {
            return false;
        }
        text.remove_prefix(open + 1);
        text.remove_suffix(1);
    }
    if (!TakePrefix(text, kDistanceWord)) {
        return false;
    }
    const int32_t yards = TakeNumber(text);
    if (yards == 0 || text != "y") {
        return false;
    }
    out.DistanceBonus = yards;
    return true;
}

}  // namespace equip_notation

constexpr EquipReading ReadEquipText(std::string_view text) {
    using namespace equip_notation;
    EquipReading out;
    if (text == "なし") {
        out.Readable = true;
        return out;
    }
    if (text.find(kDistanceWord) != std::string_view::npos) {
        out.Readable = ReadDistance(text, out);
        return out;
    }
    std::string_view rest = text;
    if (!TakePart(rest, out)) {
        return EquipReading{};
    }
    while (!rest.empty()) {
        if (rest == " *" || rest == "*") {
            out.Marker = true;
            break;
        }
        if (!TakePrefix(rest, kPartSeparator) && !TakePrefix(rest, " ")) {
            return EquipReading{};
        }
        if (!TakePart(rest, out)) {
            return EquipReading{};
        }
    }
    out.Readable = true;
    return out;
}
