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

// The changes of an answer, as the dialog lists them and as data.
struct ChangeList {
    std::vector<std::string> Texts;
    std::vector<SearchChange> Data;

    // A list's entry: "caption: from → to".
    void Entry(std::string_view field, std::string_view caption,
               std::span<const std::string_view> texts, int32_t from, int32_t to) {
        if (from != to) {
            Data.push_back(
                {std::string(field), from, ListText(texts, from), to, ListText(texts, to)});
            Texts.push_back(std::string(caption) + ": " + Data.back().FromText + " → " +
                            Data.back().ToText);
        }
    }
    // An upgrade count: "caption from → to".
    void Count(std::string_view field, const std::string& caption, int32_t from, int32_t to) {
        if (from != to) {
            Data.push_back(
                {std::string(field), from, std::to_string(from), to, std::to_string(to)});
            Texts.push_back(caption + " " + Data.back().FromText + " → " + Data.back().ToText);
        }
    }
};

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
ChangeList Changes(const BuildFields& was, const BuildFields& f) {
    const int32_t c = f[kFieldPage];
    const TCharaDef& def = CharaDef(c);
    ChangeList t;
    std::vector<std::string_view> captions;
    for (const TCharaDef& d : Roster()) {
        captions.push_back(d.Caption);
    }
    t.Entry("Character", "キャラ", captions, was[kFieldPage], f[kFieldPage]);
    for (int k = 0; k < static_cast<int>(def.Slots.size()); ++k) {
        std::vector<std::string_view> texts;
        for (const TEquipEntry& e : EquipList(c, k)) {
            texts.push_back(e.Text);
        }
        t.Entry(SearchPartName(static_cast<int>(def.Slots[k])), WearSlotCaption(def.Slots[k]),
                texts, was[kFieldItem + k], f[kFieldItem + k]);
    }
    for (int i = 0; i < 3; ++i) {
        t.Entry(SearchPartName(kPartCharaCard1 + i), "キャラカード" + std::to_string(i + 1),
                kCardKindTexts, was[kFieldCharaCard + i], f[kFieldCharaCard + i]);
    }
    for (int i = 0; i < 2; ++i) {
        t.Entry(SearchPartName(kPartCaddieCard1 + i), "キャディカード" + std::to_string(i + 1),
                kCaddieCardKindTexts, was[kFieldCaddieCard + i], f[kFieldCaddieCard + i]);
    }
    for (int i = 0; i < kStatCount; ++i) {
        t.Count(SearchPartName(kPartSlotUp + i), std::string(kCountNames[i]) + "強化",
                was[kFieldCount + i], f[kFieldCount + i]);
    }
    std::vector<std::string_view> caddies;
    for (const CaddieDef& d : Caddies()) {
        caddies.push_back(d.Name);
    }
    t.Entry("Caddie", "キャディ", caddies, was[kFieldCaddie], f[kFieldCaddie]);
    t.Entry("SpecialCard", "スペシャルカード", kSpecialCardTexts, was[kFieldSpecial],
            f[kFieldSpecial]);
    std::vector<std::string_view> clubs;
    for (const ClubSet& set : ClubSets()) {
        clubs.push_back(set.Caption);
    }
    t.Entry("Club", "クラブ", clubs, was[kFieldClub], f[kFieldClub]);
    for (int i = 0; i < kStatCount; ++i) {
        t.Count(SearchPartName(kPartClubSlotUp + i),
                "クラブ" + std::string(kCountNames[i]) + "強化", was[kFieldClubCount + i],
                f[kFieldClubCount + i]);
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
    ChangeList changes = Changes(m.Current, found.Fields);
    a.ChangeTexts = std::move(changes.Texts);
    a.ChangeData = std::move(changes.Data);
    a.Acquired = AcquiredOf(m.Acq, found.Fields);
    return a;
}
