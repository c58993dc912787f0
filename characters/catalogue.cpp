#include "characters/catalogue.h"

#include <array>
#include <stdexcept>

#include "characters/catalogue_texts.h"
#include "characters/equip_notation.h"

namespace {

using catalogue_texts::kCharaLists;

struct ListRange {
    int16_t First = 0;
    int16_t Size = 0;
    TWearSlot Slot = TWearSlot::Top;
};

struct Catalogue {
    std::array<TEquipEntry, kEquipEntryCount> Entries{};
    std::array<std::array<ListRange, kMaxWearSlots>, CharaCount> Lists{};
    std::array<int, CharaCount> ListCount{};
};

// Not constexpr on purpose: reaching one of these while the catalogue is built at
// compile time stops the build, so an entry text the notation reader cannot read (or a
// list that does not begin with "なし") never becomes a zero entry.
[[noreturn]] void UnreadableEquipmentText() {
    throw std::logic_error("unreadable equipment text");
}
[[noreturn]] void MalformedEquipmentList() {
    throw std::logic_error("malformed equipment list");
}

constexpr bool HasWaistList(std::span<const catalogue_texts::ListTexts> lists) {
    for (const auto& list : lists) {
        if (list.Slot == TWearSlot::Waist) {
            return true;
        }
    }
    return false;
}

consteval Catalogue BuildCatalogue() {
    Catalogue cat;
    int next = 0;
    int listTotal = 0;
    for (int c = 0; c < CharaCount; ++c) {
        const auto lists = kCharaLists[c];
        if (lists.size() > kMaxWearSlots) {
            MalformedEquipmentList();
        }
        // Only a character who can wear a waist piece has outfits that cover the waist.
        const bool waistRule = HasWaistList(lists);
        cat.ListCount[c] = static_cast<int>(lists.size());
        for (size_t k = 0; k < lists.size(); ++k) {
            const auto& list = lists[k];
            if (list.Texts.empty() || list.Texts[0] != "なし") {
                MalformedEquipmentList();
            }
            cat.Lists[c][k] = {static_cast<int16_t>(next), static_cast<int16_t>(list.Texts.size()),
                               list.Slot};
            for (const std::string_view text : list.Texts) {
                const EquipReading r = ReadEquipText(text);
                if (!r.Readable) {
                    UnreadableEquipmentText();
                }
                const bool coversWaist =
                    waistRule && list.Slot == TWearSlot::TopPants && r.ControlPart;
                cat.Entries[next] = {text, r.Bonus, r.DistanceBonus, coversWaist};
                ++next;
            }
            ++listTotal;
        }
    }
    if (next != kEquipEntryCount || listTotal != kEquipListCount) {
        MalformedEquipmentList();
    }
    return cat;
}

constexpr Catalogue kCatalogue = BuildCatalogue();

// Each character's lists as spans into the entries, in slot order.
constexpr auto kListSpans = [] {
    std::array<std::array<std::span<const TEquipEntry>, kMaxWearSlots>, CharaCount> spans{};
    for (int c = 0; c < CharaCount; ++c) {
        for (int k = 0; k < kCatalogue.ListCount[c]; ++k) {
            const ListRange& r = kCatalogue.Lists[c][k];
            spans[c][k] = std::span<const TEquipEntry>(kCatalogue.Entries).subspan(r.First, r.Size);
        }
    }
    return spans;
}();

}  // namespace

std::span<const std::span<const TEquipEntry>> EquipLists(int32_t chara) {
    if (chara < 0 || chara >= CharaCount) {
        return {};
    }
    return std::span(kListSpans[chara]).first(kCatalogue.ListCount[chara]);
}

std::span<const TEquipEntry> EquipList(int32_t chara, int slotPosition) {
    const auto lists = EquipLists(chara);
    if (slotPosition < 0 || static_cast<size_t>(slotPosition) >= lists.size()) {
        return {};
    }
    return lists[slotPosition];
}

std::span<const TEquipEntry> EquipList(int32_t chara, TWearSlot slot) {
    if (chara < 0 || chara >= CharaCount) {
        return {};
    }
    for (int k = 0; k < kCatalogue.ListCount[chara]; ++k) {
        if (kCatalogue.Lists[chara][k].Slot == slot) {
            return EquipList(chara, k);
        }
    }
    return {};
}

const TEquipEntry* EquipEntry(int32_t chara, int slotPosition, int32_t index) {
    return EntryAt(EquipList(chara, slotPosition), index);
}
