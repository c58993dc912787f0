#include "characters/roster.h"

namespace {
// The tables keep their hand-made columns.
// clang-format off

using enum TWearSlot;

constexpr std::array<std::string_view, kWearSlotKinds> kKeys = {
    "Top",   "Pants", "TopPants", "Waist", "Shoes", "Hand",  "Head", "Head1",
    "Head2", "Face",  "Face1",    "Face2", "Face3", "Hoho",  "Hoho2", "Mouth",
    "Arm",   "Key",   "Gun",      "Ear",   "Back",  "Shippo", "Acce", "Ring"};

constexpr std::array<std::string_view, kWearSlotKinds> kCaptions = {
    "上",  "下",  "上下", "腰",  "靴", "手",  "頭", "頭1", "頭2", "顔", "顔1",  "顔2",
    "口",  "頬",  "頬2",  "口",  "腕", "鍵",  "銃", "耳",  "背",  "尾", "装飾", "指輪"};

// Slot order and page row order of each character, with the caption hints.
constexpr TWearSlot kBastianSlots[] = {Top,  Pants, TopPants, Shoes, Hand,   Head1, Head2,
                                       Face, Hoho,  Ear,      Back,  Shippo, Acce,  Ring};
constexpr std::string_view kBastianHints[] = {
    "", "", "", "", "", "帽子", "ヘッドホン", "サングラス", "頬紅・チーク", "", "", "しっぽ",
    "ボード", ""};

constexpr TWearSlot kNoemiSlots[] = {Top,  Pants, TopPants, Waist, Shoes,  Hand, Head,
                                     Face, Hoho,  Ear,      Back,  Shippo, Acce, Ring};
constexpr std::string_view kNoemiHints[] = {
    "", "", "", "", "", "", "帽子等", "サングラス等", "頬紅・チーク", "", "", "しっぽ",
    "イヤリング(傘)", ""};

constexpr TWearSlot kTatsuroSlots[] = {Top,   Pants, TopPants, Shoes, Hand, Head, Face1, Face2,
                                       Face3, Hoho,  Gun,      Ear,   Back, Shippo, Ring};
constexpr TWearSlot kTatsuroRows[] = {Top,   Pants, TopPants, Shoes, Hand, Head, Face1, Face2,
                                      Hoho,  Face3, Gun,      Ear,   Back, Shippo, Ring};
constexpr std::string_view kTatsuroHints[] = {
    "", "", "", "", "", "帽子", "サングラス等", "ひげ", "パイプ", "頬紅・チーク", "", "", "",
    "しっぽ", ""};

constexpr TWearSlot kRosalindSlots[] = {Top,   Pants, TopPants, Shoes, Head,   Face, Hand,
                                        Hoho,  Hoho2, Ear,      Back,  Shippo, Acce, Ring};
constexpr TWearSlot kRosalindRows[] = {Top,   Pants, TopPants, Shoes, Head,   Face, Hoho,
                                       Hoho2, Hand,  Ear,      Back,  Shippo, Acce, Ring};
constexpr std::string_view kRosalindHints[] = {
    "", "", "", "", "帽子等", "サングラス等", "", "刺青(タトゥー)", "頬紅(チーク)", "", "",
    "しっぽ", "ヘリコプター", ""};

constexpr TWearSlot kGordoSlots[] = {Top,  Pants, TopPants, Shoes, Hand, Head, Face,  Hoho,
                                     Mouth, Arm,  Key,      Ear,   Back, Shippo, Ring};
constexpr std::string_view kGordoHints[] = {
    "", "", "", "", "", "ヘルメット等", "サングラス", "頬紅・チーク", "ひげ", "", "", "", "",
    "しっぽ", ""};

constexpr TWearSlot kPinoSlots[] = {Top,  Pants, TopPants, Waist, Shoes, Hand, Head1, Head2,
                                    Face, Hoho,  Ear,      Back,  Shippo, Acce, Ring};
constexpr std::string_view kPinoHints[] = {
    "", "", "", "", "", "", "帽子・ヘアバンド", "リボン", "サングラス", "頬紅・チーク", "",
    "", "しっぽ", "爆弾", ""};

constexpr TWearSlot kLilouSlots[] = {Top,  Pants, TopPants, Shoes, Hand,   Head, Head2,
                                     Face, Hoho,  Ear,      Back,  Shippo, Acce, Ring};
constexpr std::string_view kLilouHints[] = {
    "", "", "", "", "", "帽子", "ヘアピン", "サングラス", "頬紅・チーク", "", "", "しっぽ",
    "イヤリング(羽)", ""};

constexpr TWearSlot kCorvinSlots[] = {Top,  Pants, TopPants, Shoes, Hand,   Head, Face,
                                      Hoho, Arm,   Ear,      Back,  Shippo, Acce, Ring};
constexpr std::string_view kCorvinHints[] = {
    "", "", "", "", "", "", "サングラス", "頬紅・チーク", "", "", "", "しっぽ",
    "イヤリング(ドラゴン)", ""};

constexpr TWearSlot kYsoldeSlots[] = {Top,  Pants, TopPants, Shoes, Hand,   Head,
                                      Face, Hoho,  Ear,      Back,  Shippo, Ring};
constexpr std::string_view kYsoldeHints[] = {
    "", "", "", "", "", "", "眼鏡・サングラス", "頬紅・チーク", "", "", "しっぽ", ""};

constexpr TWearSlot kWrenSlots[] = {Top, Pants, TopPants, Shoes, Hand, Head, Hoho, Back, Ring};
constexpr std::string_view kWrenHints[] = {"", "", "", "", "", "", "頬紅・チーク", "", ""};

using enum OutfitKind;

const TCharaDef kRoster[CharaCount] = {
    {0, "Bastian", "バスチ", MakeStatus(9, 11, 6, 2, 2), OutfitSplit, kBastianSlots,
     kBastianSlots, kBastianHints, "gbBastianCard"},
    {1, "Noemi", "ノエミ", MakeStatus(9, 11, 6, 2, 2), OutfitWithWaist, kNoemiSlots, kNoemiSlots,
     kNoemiHints, "gbNoemiCard"},
    {2, "Tatsuro", "タツロウ", MakeStatus(11, 8, 5, 5, 2), OutfitSplit, kTatsuroSlots,
     kTatsuroRows, kTatsuroHints, "gbTatsuroCard"},
    {3, "Rosalind", "ロザリ", MakeStatus(10, 9, 6, 2, 6), OutfitCombined, kRosalindSlots,
     kRosalindRows, kRosalindHints, "gbRosalindCard"},
    {4, "Gordo", "ゴルド", MakeStatus(12, 10, 6, 1, 1), OutfitSplit, kGordoSlots, kGordoSlots,
     kGordoHints, "gbGordoCard"},
    {5, "Pino", "ピノ", MakeStatus(10, 11, 4, 3, 1), OutfitWithWaist, kPinoSlots, kPinoSlots,
     kPinoHints, "gbPinoCard"},
    {6, "Lilou", "リルー", MakeStatus(11, 10, 9, 2, 4), OutfitCombined, kLilouSlots, kLilouSlots,
     kLilouHints, "gbLilouCard"},
    {7, "Corvin", "コルビ", MakeStatus(12, 11, 8, 3, 3), OutfitCombined, kCorvinSlots,
     kCorvinSlots, kCorvinHints, "gbCorvinCard"},
    {8, "Ysolde", "イゾルデ", MakeStatus(10, 11, 9, 2, 3), OutfitCombined, kYsoldeSlots,
     kYsoldeSlots, kYsoldeHints, "gbYsoldeCard"},
    {9, "Wren", "レン", MakeStatus(12, 11, 7, 3, 2), OutfitCombined, kWrenSlots, kWrenSlots,
     kWrenHints, "GroupBox24"},
};

// clang-format on
}  // namespace

std::string_view WearSlotKey(TWearSlot slot) {
    return kKeys[static_cast<int>(slot)];
}
std::string_view WearSlotCaption(TWearSlot slot) {
    return kCaptions[static_cast<int>(slot)];
}

const TCharaDef& CharaDef(int32_t index) {
    return kRoster[index];
}
std::span<const TCharaDef> Roster() {
    return kRoster;
}

std::optional<int> SlotPosition(int32_t chara, TWearSlot slot) {
    const auto& slots = kRoster[chara].Slots;
    for (size_t i = 0; i < slots.size(); ++i) {
        if (slots[i] == slot) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}
