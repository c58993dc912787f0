#include "simulator/holdings.h"

#include <algorithm>

#include "characters/cards.h"
#include "characters/catalogue.h"
#include "characters/roster.h"
#include "clubs/caddies.h"

namespace {

constexpr std::string_view kKindNames[kHeldKindCount] = {"CharaCard", "CaddieCard", "Caddie",
                                                         "SpecialCard", "Club"};

bool Flag(const std::vector<bool>& notOwned, int32_t index, int32_t count) {
    if (index < 0 || index >= count) {
        return false;
    }
    return notOwned.empty() || !notOwned[static_cast<size_t>(index)];
}

void Set(std::vector<bool>& notOwned, int32_t index, int32_t count, bool owned) {
    if (index < 0 || index >= count) {
        return;
    }
    if (notOwned.empty()) {
        if (owned) {
            return;
        }
        notOwned.assign(static_cast<size_t>(count), false);
    }
    notOwned[static_cast<size_t>(index)] = !owned;
    if (std::none_of(notOwned.begin(), notOwned.end(), [](bool b) { return b; })) {
        notOwned.clear();
    }
}

bool SlotExists(int32_t chara, int slotPosition) {
    return chara >= 0 && chara < CharaCount && slotPosition >= 0 &&
           slotPosition < static_cast<int>(CharaDef(chara).Slots.size());
}

}  // namespace

std::string_view HeldKindName(HeldKind kind) {
    return kKindNames[static_cast<int>(kind)];
}

int32_t HeldCount(HeldKind kind) {
    switch (kind) {
        case HeldKind::CharaCard:
            return kCardKindCount;
        case HeldKind::CaddieCard:
            return kCaddieCardKindCount;
        case HeldKind::Caddie:
            return kCaddieCount;
        case HeldKind::SpecialCard:
            return kSpecialCardCount;
        case HeldKind::Club:
            return kClubCount;
    }
    return 0;
}

int32_t ItemCount(int32_t chara, int slotPosition) {
    return SlotExists(chara, slotPosition)
               ? static_cast<int32_t>(EquipList(chara, slotPosition).size())
               : 0;
}

bool IsNoneEntry(int32_t chara, int slotPosition, int32_t entry) {
    return entry == 0 && SlotExists(chara, slotPosition) &&
           EquipList(chara, slotPosition)[0].Text == "なし";
}

bool IsNoneEntry(HeldKind kind, int32_t index) {
    // Every kind's list but the club sets begins with "なし".
    return index == 0 && kind != HeldKind::Club;
}

bool OwnsItem(const THoldings& holdings, int32_t chara, int slotPosition, int32_t entry) {
    if (!SlotExists(chara, slotPosition)) {
        return false;
    }
    return IsNoneEntry(chara, slotPosition, entry) ||
           Flag(holdings
                    .ItemsNotOwned[static_cast<size_t>(chara)][static_cast<size_t>(slotPosition)],
                entry, ItemCount(chara, slotPosition));
}

bool OwnsHeld(const THoldings& holdings, HeldKind kind, int32_t index) {
    return (IsNoneEntry(kind, index) && index < HeldCount(kind)) ||
           Flag(holdings.NotOwned[static_cast<size_t>(kind)], index, HeldCount(kind));
}

void SetItemOwned(THoldings& holdings, int32_t chara, int slotPosition, int32_t entry, bool owned) {
    if (!SlotExists(chara, slotPosition) || IsNoneEntry(chara, slotPosition, entry)) {
        return;
    }
    Set(holdings.ItemsNotOwned[static_cast<size_t>(chara)][static_cast<size_t>(slotPosition)],
        entry, ItemCount(chara, slotPosition), owned);
}

void SetHeldOwned(THoldings& holdings, HeldKind kind, int32_t index, bool owned) {
    if (IsNoneEntry(kind, index)) {
        return;
    }
    Set(holdings.NotOwned[static_cast<size_t>(kind)], index, HeldCount(kind), owned);
}

bool OwnsEverything(const THoldings& holdings) {
    return holdings == THoldings{};
}
