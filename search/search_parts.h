#pragma once

// The parts of a build that a query frees or keeps, in one table: each part's key (the
// settings key the query names it by), its caption and the row of the dialog it stands
// in. The query's reader and writer, the solver and every face's dialog read it here.

#include <cstdint>
#include <string>
#include <string_view>

// The first 24 parts are the wear-slot kinds in TWearSlot order (a character without
// that slot ignores it); then the cards, the caddie, the special card, the club set and
// the ten upgrade counts.
constexpr int kWearPartCount = 24;
constexpr int kPartCharaCard1 = 24;   // CharaCard1..CharaCard3: 24..26
constexpr int kPartCaddieCard1 = 27;  // CaddieCard1, CaddieCard2: 27, 28
constexpr int kPartCaddie = 29;
constexpr int kPartSpecialCard = 30;
constexpr int kPartClub = 31;
constexpr int kPartSlotUp = 32;      // PowSlotUp..CurSlotUp: 32..36
constexpr int kPartClubSlotUp = 37;  // ClubPowSlotUp..ClubCurSlotUp: 37..41
constexpr int kSearchPartCount = 42;

// The rows of parts in the dialog, each under its caption.
enum class PartGroup : uint8_t { Wear, Cards, Others, SlotUp, ClubSlotUp };
constexpr int kPartGroupCount = 5;
std::string_view PartGroupCaption(PartGroup group);  // "装備", "カード", ...

// "Top", "Ring", "CharaCard1", "PowSlotUp", "ClubPowSlotUp", ...
std::string_view SearchPartName(int part);
// The part of that name, or -1.
int SearchPartByName(std::string_view name);
PartGroup SearchPartGroup(int part);

// The caption of a part as the dialog shows it for `chara` (0..9, or -1 for every
// character): a wear slot by its row caption, told apart from another kind with the
// same caption by the characters that have it ("口 (ケイ)") where several are shown.
std::string SearchPartCaption(int part, int32_t chara);

// Whether the character (-1: any of them) has the part: every part but a wear slot
// belongs to all of them.
bool PartShownFor(int part, int32_t chara);

// The characters whose pages have a wear slot of that kind, joined with "、".
std::string PartOwners(int part);
