#include "search/search_parts.h"

#include <array>

#include "characters/roster.h"

namespace {

struct PartDef {
    std::string_view Name;
    std::string_view Caption;  // empty for a wear slot: its row caption
    PartGroup Group;
};

constexpr std::string_view kStatCaptions[5] = {"パワー", "コントロール", "正確度", "スピン",
                                               "カーブ"};

constexpr std::array<PartDef, kSearchPartCount> MakeParts() {
    constexpr std::string_view kWearNames[kWearPartCount] = {
        "Top",   "Pants", "TopPants", "Waist", "Shoes", "Hand",   "Head",  "Head1",
        "Head2", "Face",  "Face1",    "Face2", "Face3", "Hoho",   "Hoho2", "Mouth",
        "Arm",   "Key",   "Gun",      "Ear",   "Back",  "Shippo", "Acce",  "Ring"};
    constexpr std::string_view kStatKeys[5][2] = {{"PowSlotUp", "ClubPowSlotUp"},
                                                  {"CtrlSlotUp", "ClubCtrlSlotUp"},
                                                  {"ExaSlotUp", "ClubExaSlotUp"},
                                                  {"SpinSlotUp", "ClubSpinSlotUp"},
                                                  {"CurSlotUp", "ClubCurSlotUp"}};
    std::array<PartDef, kSearchPartCount> parts{};
    for (int i = 0; i < kWearPartCount; ++i) {
        parts[i] = {kWearNames[i], {}, PartGroup::Wear};
    }
    parts[kPartCharaCard1] = {"CharaCard1", "キャラカード1", PartGroup::Cards};
    parts[kPartCharaCard1 + 1] = {"CharaCard2", "キャラカード2", PartGroup::Cards};
    parts[kPartCharaCard1 + 2] = {"CharaCard3", "キャラカード3", PartGroup::Cards};
    parts[kPartCaddieCard1] = {"CaddieCard1", "キャディカード1", PartGroup::Cards};
    parts[kPartCaddieCard1 + 1] = {"CaddieCard2", "キャディカード2", PartGroup::Cards};
    parts[kPartCaddie] = {"Caddie", "キャディ", PartGroup::Others};
    parts[kPartSpecialCard] = {"SpecialCard", "スペシャルカード", PartGroup::Others};
    parts[kPartClub] = {"Club", "クラブ", PartGroup::Others};
    for (int s = 0; s < 5; ++s) {
        parts[kPartSlotUp + s] = {kStatKeys[s][0], kStatCaptions[s], PartGroup::SlotUp};
        parts[kPartClubSlotUp + s] = {kStatKeys[s][1], kStatCaptions[s], PartGroup::ClubSlotUp};
    }
    return parts;
}

constexpr std::array<PartDef, kSearchPartCount> kParts = MakeParts();

constexpr std::string_view kGroupCaptions[kPartGroupCount] = {"装備", "カード", "キャディ等",
                                                              "キャラ強化", "クラブ強化"};

bool HasSlot(const TCharaDef& def, int part) {
    for (const TWearSlot slot : def.Slots) {
        if (static_cast<int>(slot) == part) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string_view PartGroupCaption(PartGroup group) {
    return kGroupCaptions[static_cast<int>(group)];
}

std::string_view SearchPartName(int part) {
    return part >= 0 && part < kSearchPartCount ? kParts[static_cast<size_t>(part)].Name
                                                : std::string_view{};
}

int SearchPartByName(std::string_view name) {
    for (int i = 0; i < kSearchPartCount; ++i) {
        if (kParts[static_cast<size_t>(i)].Name == name) {
            return i;
        }
    }
    return -1;
}

PartGroup SearchPartGroup(int part) {
    return kParts[static_cast<size_t>(part)].Group;
}

bool PartShownFor(int part, int32_t chara) {
    if (part >= kWearPartCount) {
        return true;
    }
    if (chara >= 0 && chara < CharaCount) {
        return HasSlot(CharaDef(chara), part);
    }
    for (const TCharaDef& def : Roster()) {
        if (HasSlot(def, part)) {
            return true;
        }
    }
    return false;
}

std::string PartOwners(int part) {
    std::string names;
    for (const TCharaDef& def : Roster()) {
        if (HasSlot(def, part)) {
            names.append(names.empty() ? "" : "、").append(def.Caption);
        }
    }
    return names;
}

std::string SearchPartCaption(int part, int32_t chara) {
    if (part >= kWearPartCount) {
        return std::string(kParts[static_cast<size_t>(part)].Caption);
    }
    const std::string_view caption = WearSlotCaption(static_cast<TWearSlot>(part));
    std::string text(caption);
    if (chara >= 0 && chara < CharaCount) {
        return text;
    }
    // Every kind is shown: another kind of the same caption makes both say whose they are.
    for (int other = 0; other < kWearPartCount; ++other) {
        if (other != part && PartShownFor(other, -1) &&
            WearSlotCaption(static_cast<TWearSlot>(other)) == caption) {
            return text + " (" + PartOwners(part) + ")";
        }
    }
    return text;
}
