// The answer as the faces show it: the build, its figures and the changes it asks for.

#include "characters/cards.h"
#include "characters/catalogue.h"
#include "characters/roster.h"
#include "clubs/caddies.h"
#include "clubs/clubs.h"
#include "search/search_model.h"
#include "search/solver/stage_model.h"

namespace {

constexpr std::string_view kCountNames[kStatCount] = {"パワー", "コントロール", "正確度", "スピン",
                                                      "カーブ"};

std::string ListText(std::span<const std::string_view> texts, int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= texts.size()) {
        return "(選択なし)";
    }
    return std::string(texts[static_cast<size_t>(index)]);
}

std::string Change(std::string_view what, const std::string& from, const std::string& to) {
    return std::string(what) + ": " + from + " → " + to;
}

// The selection `base` with the build `f` of one character shown.
PlannedBuild Planned(const PlannedBuild& base, const BuildFields& f) {
    const int32_t c = f[kFieldPage];
    PlannedBuild b = base;
    b.TabIndex = c;
    TCharaState& chara = b.Chara[c];
    for (int k = 0; k < static_cast<int>(CharaDef(c).Slots.size()); ++k) {
        chara.Items[k] = f[kFieldItem + k];
    }
    chara.CharaCard1 = f[kFieldCharaCard];
    chara.CharaCard2 = f[kFieldCharaCard + 1];
    chara.CharaCard3 = f[kFieldCharaCard + 2];
    chara.CaddieCard1 = f[kFieldCaddieCard];
    chara.CaddieCard2 = f[kFieldCaddieCard + 1];
    for (int i = 0; i < kStatCount; ++i) {
        SlotUpField(chara, i) = f[kFieldCount + i];
        StatField(b.ClubSlotUps[f[kFieldClub]], i) = f[kFieldClubCount + i];
    }
    b.Caddie = f[kFieldCaddie];
    b.SpecialCard = f[kFieldSpecial];
    b.Club = f[kFieldClub];
    return b;
}

// The changes from `was` to `f` as the dialog lists them, in field order.
std::vector<std::string> ChangeTexts(const BuildFields& was, const BuildFields& f) {
    const int32_t c = f[kFieldPage];
    const TCharaDef& def = CharaDef(c);
    const int slotCount = static_cast<int>(def.Slots.size());
    std::vector<std::string> t;
    std::vector<std::string_view> captions;
    for (const TCharaDef& d : Roster()) {
        captions.push_back(d.Caption);
    }
    if (f[kFieldPage] != was[kFieldPage]) {
        t.push_back(Change("キャラ", ListText(captions, was[kFieldPage]),
                           ListText(captions, f[kFieldPage])));
    }
    for (int k = 0; k < slotCount; ++k) {
        if (f[kFieldItem + k] != was[kFieldItem + k]) {
            std::vector<std::string_view> texts;
            for (const TEquipEntry& e : EquipList(c, k)) {
                texts.push_back(e.Text);
            }
            t.push_back(Change(WearSlotCaption(def.Slots[k]), ListText(texts, was[kFieldItem + k]),
                               ListText(texts, f[kFieldItem + k])));
        }
    }
    for (int i = 0; i < 3; ++i) {
        if (f[kFieldCharaCard + i] != was[kFieldCharaCard + i]) {
            t.push_back(Change("キャラカード" + std::to_string(i + 1),
                               ListText(kCardKindTexts, was[kFieldCharaCard + i]),
                               ListText(kCardKindTexts, f[kFieldCharaCard + i])));
        }
    }
    for (int i = 0; i < 2; ++i) {
        if (f[kFieldCaddieCard + i] != was[kFieldCaddieCard + i]) {
            t.push_back(Change("キャディカード" + std::to_string(i + 1),
                               ListText(kCaddieCardKindTexts, was[kFieldCaddieCard + i]),
                               ListText(kCaddieCardKindTexts, f[kFieldCaddieCard + i])));
        }
    }
    for (int i = 0; i < kStatCount; ++i) {
        if (f[kFieldCount + i] != was[kFieldCount + i]) {
            t.push_back(std::string(kCountNames[i]) + "強化 " +
                        std::to_string(was[kFieldCount + i]) + " → " +
                        std::to_string(f[kFieldCount + i]));
        }
    }
    std::vector<std::string_view> caddies;
    for (const CaddieDef& d : Caddies()) {
        caddies.push_back(d.Name);
    }
    if (f[kFieldCaddie] != was[kFieldCaddie]) {
        t.push_back(Change("キャディ", ListText(caddies, was[kFieldCaddie]),
                           ListText(caddies, f[kFieldCaddie])));
    }
    if (f[kFieldSpecial] != was[kFieldSpecial]) {
        t.push_back(Change("スペシャルカード", ListText(kSpecialCardTexts, was[kFieldSpecial]),
                           ListText(kSpecialCardTexts, f[kFieldSpecial])));
    }
    std::vector<std::string_view> clubs;
    for (const ClubSet& set : ClubSets()) {
        clubs.push_back(set.Caption);
    }
    if (f[kFieldClub] != was[kFieldClub]) {
        t.push_back(
            Change("クラブ", ListText(clubs, was[kFieldClub]), ListText(clubs, f[kFieldClub])));
    }
    for (int i = 0; i < kStatCount; ++i) {
        if (f[kFieldClubCount + i] != was[kFieldClubCount + i]) {
            t.push_back("クラブ" + std::string(kCountNames[i]) + "強化 " +
                        std::to_string(was[kFieldClubCount + i]) + " → " +
                        std::to_string(f[kFieldClubCount + i]));
        }
    }
    return t;
}

// What the build `f` acquires under `acq`, in field order, a card kind once.
std::vector<SearchAcquired> AcquiredOf(const solver::Acquisitions& acq, const BuildFields& f) {
    const int32_t c = f[kFieldPage];
    const TCharaDef& def = CharaDef(c);
    std::vector<SearchAcquired> out;
    const auto add = [&](int field, std::string list, std::string caption, std::string_view text) {
        const int32_t v = f[static_cast<size_t>(field)];
        if (!acq.Counts(field, v)) {
            return;
        }
        for (const SearchAcquired& a : out) {
            if (a.List == list && a.Index == v) {
                return;  // a card kind in a second place
            }
        }
        out.push_back({std::move(list), v, caption + " " + std::string(text)});
    };
    for (int k = 0; k < static_cast<int>(def.Slots.size()); ++k) {
        const int32_t v = f[kFieldItem + k];
        const auto list = EquipList(c, k);
        if (v >= 0 && static_cast<size_t>(v) < list.size()) {
            add(kFieldItem + k, std::string(SearchPartName(static_cast<int>(def.Slots[k]))),
                std::string(WearSlotCaption(def.Slots[k])), list[static_cast<size_t>(v)].Text);
        }
    }
    // Texts of list entries within range only; an entry outside its list acquires nothing.
    const auto text = [](std::span<const std::string_view> texts, int32_t v) {
        return v >= 0 && static_cast<size_t>(v) < texts.size() ? texts[static_cast<size_t>(v)]
                                                               : std::string_view();
    };
    for (int i = 0; i < 3; ++i) {
        add(kFieldCharaCard + i, "CharaCard", "キャラカード",
            text(kCardKindTexts, f[kFieldCharaCard + i]));
    }
    for (int i = 0; i < 2; ++i) {
        add(kFieldCaddieCard + i, "CaddieCard", "キャディカード",
            text(kCaddieCardKindTexts, f[kFieldCaddieCard + i]));
    }
    if (acq.Counts(kFieldCaddie, f[kFieldCaddie])) {
        add(kFieldCaddie, "Caddie", "キャディ", Caddies()[f[kFieldCaddie]].Name);
    }
    add(kFieldSpecial, "SpecialCard", "スペシャルカード",
        text(kSpecialCardTexts, f[kFieldSpecial]));
    if (acq.Counts(kFieldClub, f[kFieldClub])) {
        add(kFieldClub, "Club", "クラブ", ClubSets()[f[kFieldClub]].Caption);
    }
    return out;
}

}  // namespace

SearchAnswer SearchModel::Answer(const FoundBuild& found, SearchObjective objective) const {
    SearchAnswer a;
    a.Figures = found.Figures;
    a.Value = ObjectiveValue(objective, found.Figures);
    a.Changes = found.Changes;
    a.Build = Planned(base_, found.Fields);
    const solver::CharaModel& m = ModelOf(found.Fields[kFieldPage]);
    a.ChangeTexts = ChangeTexts(m.Current, found.Fields);
    a.Acquired = AcquiredOf(m.Acq, found.Fields);
    return a;
}
