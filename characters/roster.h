#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "engine/sim_state.h"
#include "engine/status.h"

// The 24 kinds of wear slot. A member's name is its settings key and the suffix of
// the slot's list widget (ComboBox_<Name><Key>).
enum class TWearSlot : uint8_t {
    Top,
    Pants,
    TopPants,
    Waist,
    Shoes,
    Hand,
    Head,
    Head1,
    Head2,
    Face,
    Face1,
    Face2,
    Face3,
    Hoho,
    Hoho2,
    Mouth,
    Arm,
    Key,
    Gun,
    Ear,
    Back,
    Shippo,
    Acce,
    Ring,
};

constexpr int kWearSlotKinds = 24;

// Settings key of a slot kind ("Top", "Pants", ...).
std::string_view WearSlotKey(TWearSlot slot);
// Caption of the slot's row on a page ("上", "下", ...).
std::string_view WearSlotCaption(TWearSlot slot);

// How the body slots Top, Pants, TopPants (and Waist) combine.
enum class OutfitKind : uint8_t { OutfitSplit, OutfitCombined, OutfitWithWaist };

struct TCharaDef {
    int32_t Index;
    std::string_view Name;     // section name in the settings file, part of widget names
    std::string_view Caption;  // tab caption
    TStatus CharaBaseStatus;
    OutfitKind OutfitRule;
    std::span<const TWearSlot> Slots;     // slot order: Items, settings keys, evaluation
    std::span<const TWearSlot> PageRows;  // the same slots in their top-to-bottom page order
    // Hint of the slot's caption label, or empty; indexed like Slots.
    std::span<const std::string_view> CaptionHints;
    std::string_view CardGroupName;  // gb<Name>Card, except the last page
};

const TCharaDef& CharaDef(int32_t index);  // index 0..9
std::span<const TCharaDef> Roster();

// Position of slot kind `slot` in character `chara`'s slot order, or nullopt when the
// character has no such slot.
std::optional<int> SlotPosition(int32_t chara, TWearSlot slot);

// Hints of the body-slot lists that explain the outfit rule.
constexpr std::string_view kSeparatesHint = "上と下をなしにすると、上下が選択できます。";
constexpr std::string_view kOutfitHint = "上下をなしにすると、上と下が選択できます。";
constexpr std::string_view kWaistHint = "上下が選択されているときのみ使用できます。";
