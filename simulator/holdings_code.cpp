#include "simulator/holdings_code.h"

#include "characters/roster.h"
#include "simulator/code_letters.h"

// Layout: per page, per wear slot in slot order, then per kind (CharaCard, CaddieCard,
// Caddie, SpecialCard, Club): 1 flag bit (the list is not owned whole), then when set one
// bit per entry but "なし" (1: owned). The bits fill base64 letters from the top.

namespace {

using code_letters::BitReader;
using code_letters::BitWriter;

constexpr char kLayoutLetter = 'h';

[[noreturn]] void Damaged() {
    throw EHoldingsError(std::string(kHoldingsCodeDamaged));
}

// Visits every list in code order with its entry count, whether an entry is "なし",
// whether it is owned, and how to record it.
template <class Visit>
void ForEachList(Visit&& visit) {
    for (int32_t chara = 0; chara < CharaCount; ++chara) {
        for (int slot = 0; slot < static_cast<int>(CharaDef(chara).Slots.size()); ++slot) {
            visit(
                ItemCount(chara, slot), [=](int32_t e) { return IsNoneEntry(chara, slot, e); },
                [=](const THoldings& h, int32_t e) { return OwnsItem(h, chara, slot, e); },
                [=](THoldings& h, int32_t e, bool owned) {
                    SetItemOwned(h, chara, slot, e, owned);
                });
        }
    }
    for (int k = 0; k < kHeldKindCount; ++k) {
        const auto kind = static_cast<HeldKind>(k);
        visit(
            HeldCount(kind), [=](int32_t e) { return IsNoneEntry(kind, e); },
            [=](const THoldings& h, int32_t e) { return OwnsHeld(h, kind, e); },
            [=](THoldings& h, int32_t e, bool owned) { SetHeldOwned(h, kind, e, owned); });
    }
}

}  // namespace

std::string EncodeHoldings(const THoldings& holdings) {
    BitWriter out;
    ForEachList([&](int32_t count, auto isNone, auto owns, auto) {
        bool whole = true;
        for (int32_t e = 0; e < count; ++e) {
            whole = whole && owns(holdings, e);
        }
        out.PutBit(!whole);
        for (int32_t e = 0; e < count && !whole; ++e) {
            if (!isNone(e)) {
                out.PutBit(owns(holdings, e));
            }
        }
    });
    std::string code(1, kLayoutLetter);
    code += out.Finish();
    code += code_letters::CheckLetters(code);
    return code;
}

THoldings DecodeHoldings(std::string_view text) {
    const std::string_view code = code_letters::Trimmed(text);
    if (code.empty()) {
        throw EHoldingsError(std::string(kNoHoldingsCode));
    }
    if (!code_letters::Checked(code, 1)) {
        Damaged();
    }
    if (code[0] != kLayoutLetter) {
        throw EHoldingsError(std::string(kHoldingsCodeUnknownVersion));
    }
    BitReader in(code.substr(1, code.size() - 1 - code_letters::kCheckLetters), Damaged);
    THoldings holdings;
    ForEachList([&](int32_t count, auto isNone, auto owns, auto set) {
        if (!in.GetBit()) {
            return;
        }
        for (int32_t e = 0; e < count; ++e) {
            if (!isNone(e)) {
                set(holdings, e, in.GetBit());
            }
        }
        bool whole = true;
        for (int32_t e = 0; e < count; ++e) {
            whole = whole && owns(holdings, e);
        }
        if (whole) {
            Damaged();  // the encoder writes a list owned whole as one bit
        }
    });
    in.ExpectEnd();
    return holdings;
}
