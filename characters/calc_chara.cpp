#include "characters/calc_chara.h"

#include <array>

#include "characters/cards.h"
#include "characters/catalogue.h"
#include "engine/checked.h"
#include "engine/levels.h"
#include "engine/sim_record.h"
#include "engine/text_format.h"

namespace {

// What the step needs of a character's roster row: its outfit rule, its slot count and
// the positions of its body slots and ring in its slot order (-1 where it has none).
struct SlotPositionTable {
    OutfitKind Rule = OutfitKind::OutfitSplit;
    int SlotCount = 0;
    int Top = -1;
    int Pants = -1;
    int TopPants = -1;
    int Waist = -1;
    int Ring = -1;
};

const std::array<SlotPositionTable, CharaCount>& SlotPositions() {
    static const std::array<SlotPositionTable, CharaCount> positions = [] {
        std::array<SlotPositionTable, CharaCount> p{};
        for (int c = 0; c < CharaCount; ++c) {
            p[c].Rule = CharaDef(c).OutfitRule;
            p[c].SlotCount = static_cast<int>(CharaDef(c).Slots.size());
            p[c].Top = SlotPosition(c, TWearSlot::Top).value_or(-1);
            p[c].Pants = SlotPosition(c, TWearSlot::Pants).value_or(-1);
            p[c].TopPants = SlotPosition(c, TWearSlot::TopPants).value_or(-1);
            p[c].Waist = SlotPosition(c, TWearSlot::Waist).value_or(-1);
            p[c].Ring = SlotPosition(c, TWearSlot::Ring).value_or(-1);
        }
        return p;
    }();
    return positions;
}

// Field-wise checked sums, kept inline: the passes below add many records.
[[gnu::always_inline]] inline void AddInto(TStatus& sum, const TStatus& s) {
    sum.Pow = CheckedAdd(sum.Pow, s.Pow);
    sum.Ctrl = CheckedAdd(sum.Ctrl, s.Ctrl);
    sum.Exa = CheckedAdd(sum.Exa, s.Exa);
    sum.Spin = CheckedAdd(sum.Spin, s.Spin);
    sum.Cur = CheckedAdd(sum.Cur, s.Cur);
}

TEquipBonus operator+(const TEquipBonus& a, const TEquipBonus& b) {
    TEquipBonus sum = a;
    AddInto(sum.StatusBonus, b.StatusBonus);
    AddInto(sum.SlotBonus, b.SlotBonus);
    return sum;
}

// Item index of slot position k, or 0 ("なし") for a slot the character lacks.
int32_t ItemAt(const TCharaState& chara, int k) {
    return k < 0 ? 0 : chara.Items[k];
}

// The equipment pass: every slot of every character takes the record of its
// selected entry; a slot whose index selects no entry keeps its previous record. The
// one-piece outfit of a character wearing separates is credited by the outfit rule.
void EquipmentPass(const TSimState& state, TSimResults& results) {
    for (int c = 0; c < CharaCount; ++c) {
        TakeSlotRecords(c, state.Chara[c].Items, results.SlotRecords[c]);
    }
}

void SetBodyLists(CharaPageDisplay& page, bool separates, bool outfit) {
    page.TopEnabled = separates;
    page.PantsEnabled = separates;
    page.TopPantsEnabled = outfit;
}

// Applies the outfit rule's outcome to character c's records and page.
void ApplyOutfitRule(int c, const SlotPositionTable& pos, const TCharaState& chara,
                     TSimResults& results, CharaPageDisplay& page) {
    auto& records = results.SlotRecords[c];
    const OutfitOutcome out = RuleOutfit(c, chara.Items, records);
    SetBodyLists(page, out.Separates, out.Outfit);
    if (out.Waist) {
        page.WaistEnabled = *out.Waist;
    }
    if (out.TopPants) {
        records[pos.Top] = (*out.TopPants)[0];
        records[pos.Pants] = (*out.TopPants)[1];
    }
    if (out.Body) {
        results.BodyBonus[c] = *out.Body;
    }
}

// The order in which the outfit rules visit the characters (it has no effect on the
// results: each character touches only its own lists and records).
constexpr int kOutfitRuleOrder[CharaCount] = {0, 1, 2, 4, 5, 3, 6, 7, 8, 9};

// The closing step for the active character: ring distance, cards, base status,
// equipment sum, slot limits, effective slot-ups, PP and the page's texts.
void CalcActiveChara(TSimulator& sim, int t) {
    TSimResults& r = sim.Results;
    const TCharaState& chara = sim.State.Chara[t];
    const TCharaDef& def = CharaDef(t);
    const SlotPositionTable& pos = SlotPositions()[t];
    CharaPageDisplay& page = sim.Display.Pages[t];

    const TEquipEntry* ring = EquipEntry(t, pos.Ring, ItemAt(chara, pos.Ring));
    r.RingDistance = ring != nullptr ? ring->DistanceBonus : 0;

    const TStatus cardSlots =
        CombineCharaCards(chara.CharaCard1, chara.CharaCard2, chara.CharaCard3);
    const CaddieCardEffect caddie = EvalCaddieCards(chara.CaddieCard1, chara.CaddieCard2);
    r.CaddieCardYard = caddie.CaddieCardYard;
    r.CaddieCardPowerYards = caddie.CaddieCardPowerYards;

    r.CharaBaseStatus = def.CharaBaseStatus;

    // The combined body record stands in for the body slots, except for the
    // characters whose outfit was credited to Top and Pants.
    const bool split = def.OutfitRule == OutfitKind::OutfitSplit;
    TStatus equip;
    TStatus slots;
    if (!split) {
        equip = r.BodyBonus[t].StatusBonus;
        slots = r.BodyBonus[t].SlotBonus;
    }
    const auto& records = r.SlotRecords[t];
    const int slotCount = static_cast<int>(def.Slots.size());
    for (int k = 0; k < slotCount; ++k) {
        const bool bodySlot =
            k == pos.TopPants || (!split && (k == pos.Top || k == pos.Pants || k == pos.Waist));
        if (!bodySlot) {
            AddInto(equip, records[k].StatusBonus);
            AddInto(slots, records[k].SlotBonus);
        }
    }
    AddInto(slots, cardSlots);
    r.EquipStatus = equip;
    r.SlotLimit = slots;

    // Only power has a level bonus.
    TStatus limit = r.SlotLimit;
    limit.Pow = CheckedAdd(PowerSlotBonus(r.Level), r.SlotLimit.Pow);
    for (int i = 0; i < kStatCount; ++i) {
        SetDecimalText(page.SlotLimitText[i], "/", StatField(limit, i), {});
    }

    // A spinner may stand above its limit: the statuses take the limit, the PP and
    // the hints the spinner's own position.
    const TStatus positions = SlotUpCounts(chara);
    for (int i = 0; i < kStatCount; ++i) {
        const int32_t p = StatField(positions, i);
        const int32_t l = StatField(limit, i);
        StatField(r.SlotUp, i) = p > l ? l : p;
    }

    r.CharaPPTotal = UpgradeCostPP(positions);
    r.CharaPPNeeded = CheckedSub(r.CharaPPTotal, sim.State.SavedPP[t]);
    SetDecimalText(page.PPNeededText, {}, r.CharaPPNeeded, " PP");
    SetDecimalText(page.PPTotalText, "(", r.CharaPPTotal, " PP)");

    for (int i = 0; i < kStatCount; ++i) {
        SetUpgradeHint(page.SpinnerHint[i], NextUpgradePrice(i, StatField(positions, i)));
    }
}

}  // namespace

// Separates and a one-piece outfit exclude each other; for the characters whose
// outfit has a power and a control part, the outfit is credited to Top and Pants.
// An index counts as chosen when it is not 0, so -1 (no selection) counts too.
OutfitOutcome RuleOutfit(int c, const std::array<int32_t, kMaxWearSlots>& items,
                         const std::array<TEquipBonus, kMaxWearSlots>& records) {
    const SlotPositionTable& pos = SlotPositions()[c];
    const auto item = [&items](int k) { return k < 0 ? 0 : items[k]; };
    const int32_t outfit = item(pos.TopPants);
    const bool outfitChosen = outfit != 0;
    const bool separatesChosen = item(pos.Top) != 0 || item(pos.Pants) != 0;
    const TEquipEntry* entry = EntryAt(EquipList(c, pos.TopPants), outfit);
    OutfitOutcome out;
    out.Separates = !outfitChosen;
    out.Outfit = outfitChosen || !separatesChosen;
    switch (pos.Rule) {
        case OutfitKind::OutfitSplit:
            if (outfitChosen && entry != nullptr) {
                const TEquipBonus& b = entry->Bonus;
                out.TopPants = {TEquipBonus{MakeStatus(b.StatusBonus.Pow, 0, 0, 0, 0),
                                            MakeStatus(b.SlotBonus.Pow, 0, 0, 0, 0)},
                                TEquipBonus{MakeStatus(0, b.StatusBonus.Ctrl, 0, 0, 0),
                                            MakeStatus(0, b.SlotBonus.Ctrl, 0, 0, 0)}};
            } else if (!outfitChosen && !separatesChosen) {
                out.TopPants = {TEquipBonus{}, TEquipBonus{}};
            }
            break;
        case OutfitKind::OutfitCombined:
            out.Body = outfitChosen      ? records[pos.TopPants]
                       : separatesChosen ? records[pos.Top] + records[pos.Pants]
                                         : TEquipBonus{};
            break;
        case OutfitKind::OutfitWithWaist:
            out.Waist = outfitChosen;
            if (outfitChosen) {
                out.Body = records[pos.TopPants] + records[pos.Waist];
                // An outfit with a control part covers the waist: the waist piece
                // keeps its selection but counts for nothing.
                if (entry != nullptr && entry->CoversWaist) {
                    out.Waist = false;
                    out.Body = entry->Bonus;
                }
            } else {
                out.Body = separatesChosen ? records[pos.Top] + records[pos.Pants] : TEquipBonus{};
            }
            break;
    }
    return out;
}

void TakeSlotRecords(int c, const std::array<int32_t, kMaxWearSlots>& items,
                     std::array<TEquipBonus, kMaxWearSlots>& records) {
    const SlotPositionTable& pos = SlotPositions()[c];
    const auto lists = EquipLists(c);
    const int skipped = pos.Rule == OutfitKind::OutfitSplit ? pos.TopPants : -1;
    for (int k = 0; k < static_cast<int>(lists.size()); ++k) {
        const TEquipEntry* entry = EntryAt(lists[k], items[k]);
        if (entry != nullptr && k != skipped) {
            records[k] = entry->Bonus;
        }
    }
}

TEquipBonus BodyTotal(int c, const std::array<int32_t, kMaxWearSlots>& items,
                      std::array<TEquipBonus, kMaxWearSlots> records) {
    const SlotPositionTable& pos = SlotPositions()[c];
    const OutfitOutcome out = RuleOutfit(c, items, records);
    if (pos.Rule != OutfitKind::OutfitSplit) {
        return *out.Body;
    }
    if (out.TopPants) {
        return (*out.TopPants)[0] + (*out.TopPants)[1];
    }
    return records[pos.Top] + records[pos.Pants];
}

void CalcChara(TSimulator& sim) {
    if (IsLevel(sim.State.Level)) {
        sim.Results.Level = sim.State.Level;
    }

    EquipmentPass(sim.State, sim.Results);
    const auto& positions = SlotPositions();
    for (const int c : kOutfitRuleOrder) {
        ApplyOutfitRule(c, positions[c], sim.State.Chara[c], sim.Results, sim.Display.Pages[c]);
    }

    // Without an active page (a stored tab index outside the roster) the character
    // values of the last run with one stay in the results.
    const int32_t tab = sim.State.TabIndex;
    if (tab >= 0 && tab < CharaCount) {
        CalcActiveChara(sim, tab);
    }
}
