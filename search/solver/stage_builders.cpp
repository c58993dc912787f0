// One builder per kind of stage: the options of each, merged where they add the same.

#include <algorithm>
#include <map>

#include "characters/calc_chara.h"
#include "characters/cards.h"
#include "characters/catalogue.h"
#include "characters/roster.h"
#include "clubs/caddies.h"
#include "clubs/clubs.h"
#include "engine/levels.h"
#include "search/solver/stage_model.h"

namespace solver {

namespace {

// Neighbouring wear slots are joined into one stage while their options multiply to
// at most this many: fewer, fuller stages with their equal sums merged.
constexpr size_t kJoinedOptions = 512;

// One option per distinct effect (and, where it matters, per count or set of things
// acquired): the one with fewer changes, then lower indices.
std::vector<Option> Merged(const std::vector<Option>& options, const Acquisitions& acq,
                           std::span<const int> fields) {
    using Key = std::tuple<decltype(options.front().Effect()), int32_t,
                           std::array<int32_t, kMaxStageFields>>;
    std::map<Key, Option> best;
    for (const auto& o : options) {
        Key key{o.Effect(), acq.Rule == AcquireRule::Counted ? o.Acquired : 0, {}};
        if (acq.Rule == AcquireRule::Named) {
            AcquiredBy(acq, fields, std::span(o.Values).first(fields.size()),
                       std::span(std::get<2>(key)).first(fields.size()));
        }
        auto [it, fresh] = best.try_emplace(key, o);
        if (!fresh &&
            std::tie(o.Changes, o.Values) < std::tie(it->second.Changes, it->second.Values)) {
            it->second = o;
        }
    }
    std::vector<Option> out;
    for (auto& [key, o] : best) {
        out.push_back(o);
    }
    // The current choice first: builds with few changes are found early and bound the rest.
    std::stable_sort(out.begin(), out.end(),
                     [](const auto& a, const auto& b) { return a.Changes < b.Changes; });
    return out;
}

// The values a part may take: every index of its list when free, else the current one.
// A current value the list does not have stays possible: it is "no change".
std::vector<int32_t> Choices(bool free, int32_t current, int32_t count) {
    std::vector<int32_t> values;
    if (free) {
        for (int32_t i = 0; i < count; ++i) {
            values.push_back(i);
        }
        if (current < 0 || current >= count) {
            values.push_back(current);
        }
    } else {
        values.push_back(current);
    }
    return values;
}

using Free = std::array<bool, kSearchPartCount>;

// What the builders read: the selection, the chain's last run of it, the free parts and
// what they may acquire.
struct Source {
    const PlannedBuild& Base;
    const TSimResults& Was;
    const Free& Parts;
    int32_t Chara;
    const Acquisitions& Acq;
    const TCharaState& State() const { return Base.Chara[Chara]; }

    // Counts what option o acquires in `fields`; false where that passes the limit.
    bool Within(std::span<const int> fields, Option& o) const {
        std::array<int32_t, kMaxStageFields> key{};
        const AcquiredSum sum = AcquiredBy(Acq, fields, std::span(o.Values).first(fields.size()),
                                           std::span(key).first(fields.size()));
        o.Acquired = sum.Count;
        return !Acq.Most || sum.Count <= *Acq.Most;
    }
    std::vector<Option> Merged(const std::vector<Option>& options,
                               std::span<const int> fields) const {
        return solver::Merged(options, Acq, fields);
    }
};

// The club set, with the counts it keeps.
Stage ClubStage(const Source& src, const CharaModel& m) {
    const int32_t cur = src.Base.Club;
    const Five curCounts =
        cur >= 0 && cur < kClubCount ? FiveOf(src.Base.ClubSlotUps[cur]) : Five{};
    Stage stage;
    stage.Fields = {kFieldClub};
    for (const int32_t k : Choices(src.Parts[kPartClub], cur, kClubCount)) {
        if (k < 0 || k >= kClubCount) {
            continue;  // a free club set is always one of the list
        }
        const ClubSet& set = ClubSets()[k];
        Option o;
        o.St = FiveOf(set.ClubBaseStatus);
        o.Club = k;
        o.Changes = k != cur ? 1 : 0;
        for (int i = 0; i < kStatCount; ++i) {
            if (!m.ClubCountFree[i]) {
                const int32_t v = std::clamp(StatField(src.Base.ClubSlotUps[k], i), 0,
                                             std::max(0, StatField(set.ClubSlotLimit, i)));
                o.St[i] += v;
                o.KeptPP += kUpgradeWeight[i] * v * (v + 1);
                o.Changes += v != curCounts[i] ? 1 : 0;
            }
        }
        o.Values[0] = k;
        if (src.Within(stage.Fields, o)) {
            stage.Options.push_back(o);
        }
    }
    return stage;
}

// The caddie and the special card.
Stage CaddieStage(const Source& src) {
    const PlannedBuild& base = src.Base;
    Stage stage;
    stage.Fields = {kFieldCaddie, kFieldSpecial};
    std::vector<Option> options;
    for (const int32_t cd : Choices(src.Parts[kPartCaddie], base.Caddie, kCaddieCount)) {
        const Five caddie = cd >= 0 && cd < kCaddieCount ? FiveOf(Caddies()[cd].Effect)
                                                         : FiveOf(src.Was.CaddieStatus);
        for (const int32_t sp :
             Choices(src.Parts[kPartSpecialCard], base.SpecialCard, kSpecialCardCount)) {
            Option o;
            o.St = caddie;
            AddFive(o.St, sp >= 0 && sp < kSpecialCardCount ? FiveOf(SpecialCardStatus(sp))
                                                            : FiveOf(src.Was.SpecialCardStatus));
            o.Changes = (cd != base.Caddie) + (sp != base.SpecialCard);
            o.Values[0] = cd;
            o.Values[1] = sp;
            if (src.Within(stage.Fields, o)) {
                options.push_back(o);
            }
        }
    }
    stage.Options = src.Merged(options, stage.Fields);
    return stage;
}

// The two caddie cards.
Stage CaddieCardStage(const Source& src) {
    const TCharaState& chara = src.State();
    Stage stage;
    stage.Fields = {kFieldCaddieCard, kFieldCaddieCard + 1};
    std::vector<Option> options;
    for (const int32_t a :
         Choices(src.Parts[kPartCaddieCard1], chara.CaddieCard1, kCaddieCardKindCount)) {
        for (const int32_t b :
             Choices(src.Parts[kPartCaddieCard1 + 1], chara.CaddieCard2, kCaddieCardKindCount)) {
            const CaddieCardEffect e = EvalCaddieCards(a, b);
            Option o;
            o.Yard = e.CaddieCardYard;
            o.Py = e.CaddieCardPowerYards;
            o.Changes = (a != chara.CaddieCard1) + (b != chara.CaddieCard2);
            o.Values[0] = a;
            o.Values[1] = b;
            if (src.Within(stage.Fields, o)) {
                options.push_back(o);
            }
        }
    }
    stage.Options = src.Merged(options, stage.Fields);
    return stage;
}

// The three character cards.
Stage CharaCardStage(const Source& src) {
    const TCharaState& chara = src.State();
    const std::array<int32_t, 3> was = {chara.CharaCard1, chara.CharaCard2, chara.CharaCard3};
    Stage stage;
    stage.Fields = {kFieldCharaCard, kFieldCharaCard + 1, kFieldCharaCard + 2};
    std::vector<Option> options;
    for (const int32_t a : Choices(src.Parts[kPartCharaCard1], was[0], kCardKindCount)) {
        for (const int32_t b : Choices(src.Parts[kPartCharaCard1 + 1], was[1], kCardKindCount)) {
            for (const int32_t d :
                 Choices(src.Parts[kPartCharaCard1 + 2], was[2], kCardKindCount)) {
                Option o;
                o.Sl = FiveOf(CombineCharaCards(a, b, d));
                o.Changes = (a != was[0]) + (b != was[1]) + (d != was[2]);
                o.Values[0] = a;
                o.Values[1] = b;
                o.Values[2] = d;
                if (src.Within(stage.Fields, o)) {
                    options.push_back(o);
                }
            }
        }
    }
    stage.Options = src.Merged(options, stage.Fields);
    return stage;
}

// The body slots of character c (separates, a one-piece outfit, a waist piece where it
// counts), in slot order.
std::vector<int> BodySlots(int32_t c) {
    std::vector<int> body;
    for (const TWearSlot slot : {TWearSlot::Top, TWearSlot::Pants, TWearSlot::TopPants}) {
        body.push_back(SlotPosition(c, slot).value_or(-1));
    }
    if (const int waist = SlotPosition(c, TWearSlot::Waist).value_or(-1); waist >= 0) {
        body.push_back(waist);
    }
    std::sort(body.begin(), body.end());
    return body;
}

// The body: every choice of its slots the window allows, each adding what the outfit
// rule credits.
Stage BodyStage(const Source& src, const std::vector<int>& body) {
    const int32_t c = src.Chara;
    const TCharaState& chara = src.State();
    const TCharaDef& def = CharaDef(c);
    const int top = SlotPosition(c, TWearSlot::Top).value_or(-1);
    const int pants = SlotPosition(c, TWearSlot::Pants).value_or(-1);
    const int outfit = SlotPosition(c, TWearSlot::TopPants).value_or(-1);
    Stage stage;
    std::vector<std::vector<int32_t>> choices;
    for (const int k : body) {
        stage.Fields.push_back(kFieldItem + k);
        choices.push_back(Choices(src.Parts[static_cast<int>(def.Slots[k])], chara.Items[k],
                                  static_cast<int32_t>(EquipList(c, k).size())));
    }
    std::vector<Option> options;
    std::vector<size_t> at(body.size(), 0);
    for (bool more = true; more;) {
        std::array<int32_t, kMaxWearSlots> items = chara.Items;
        bool same = true;
        for (size_t j = 0; j < body.size(); ++j) {
            items[body[j]] = choices[j][at[j]];
            same = same && items[body[j]] == chara.Items[body[j]];
        }
        const bool outfitChosen = items[outfit] != 0;
        const bool separatesChosen = items[top] != 0 || items[pants] != 0;
        // The window never lets an outfit and separates be picked together; a
        // selection that already holds both keeps them while nothing changes.
        if (same || !(outfitChosen && separatesChosen)) {
            // The records as the equipment pass leaves them: a slot without an entry
            // keeps the record of the last run.
            auto records = src.Was.SlotRecords[c];
            TakeSlotRecords(c, items, records);
            const TEquipBonus sum = BodyTotal(c, items, records);
            Option o;
            o.St = FiveOf(sum.StatusBonus);
            o.Sl = FiveOf(sum.SlotBonus);
            for (size_t j = 0; j < body.size(); ++j) {
                o.Values[j] = items[body[j]];
                o.Changes += items[body[j]] != chara.Items[body[j]] ? 1 : 0;
            }
            if (src.Within(stage.Fields, o)) {
                options.push_back(o);
            }
        }
        more = false;
        for (size_t j = body.size(); j-- > 0;) {
            if (++at[j] < choices[j].size()) {
                more = true;
                break;
            }
            at[j] = 0;
        }
    }
    stage.Options = src.Merged(options, stage.Fields);
    return stage;
}

// The other wear slots, neighbours joined while their options stay few.
void WearStages(const Source& src, const std::vector<int>& body, std::vector<Stage>& stages) {
    const int32_t c = src.Chara;
    const TCharaState& chara = src.State();
    const TCharaDef& def = CharaDef(c);
    Stage stage;
    std::vector<Option> options(1);
    const auto close = [&] {
        if (!stage.Fields.empty()) {
            stage.Options = src.Merged(options, stage.Fields);
            stages.push_back(std::move(stage));
        }
        stage = Stage{};
        options.assign(1, Option{});
    };
    for (int k = 0; k < static_cast<int>(def.Slots.size()); ++k) {
        if (std::find(body.begin(), body.end(), k) != body.end()) {
            continue;
        }
        const auto slot = def.Slots[k];
        const auto list = EquipList(c, k);
        const auto values = Choices(src.Parts[static_cast<int>(slot)], chara.Items[k],
                                    static_cast<int32_t>(list.size()));
        if (options.size() * values.size() > kJoinedOptions ||
            stage.Fields.size() == kMaxStageFields) {
            close();
        }
        const size_t j = stage.Fields.size();
        stage.Fields.push_back(kFieldItem + k);
        std::vector<Option> joined;
        for (const Option& before : options) {
            for (const int32_t v : values) {
                Option o = before;
                const TEquipEntry* e = EntryAt(list, v);
                const TEquipBonus b = e != nullptr ? e->Bonus : src.Was.SlotRecords[c][k];
                AddFive(o.St, FiveOf(b.StatusBonus));
                AddFive(o.Sl, FiveOf(b.SlotBonus));
                if (slot == TWearSlot::Ring && e != nullptr) {
                    o.Ring += e->DistanceBonus;
                }
                o.Changes += v != chara.Items[k] ? 1 : 0;
                o.Values[j] = v;
                if (src.Within(stage.Fields, o)) {
                    joined.push_back(o);
                }
            }
        }
        options = src.Merged(joined, stage.Fields);
    }
    close();
}

// The fields of the current selection, and which counts are free.
void TakeCurrent(const Source& src, CharaModel& m) {
    const PlannedBuild& base = src.Base;
    const TCharaState& chara = src.State();
    const int32_t club = base.Club;
    const Five clubCounts =
        club >= 0 && club < kClubCount ? FiveOf(base.ClubSlotUps[club]) : Five{};
    BuildFields& cur = m.Current;
    cur[kFieldPage] = base.TabIndex;
    for (int k = 0; k < static_cast<int>(CharaDef(src.Chara).Slots.size()); ++k) {
        cur[kFieldItem + k] = chara.Items[k];
    }
    cur[kFieldCharaCard] = chara.CharaCard1;
    cur[kFieldCharaCard + 1] = chara.CharaCard2;
    cur[kFieldCharaCard + 2] = chara.CharaCard3;
    cur[kFieldCaddieCard] = chara.CaddieCard1;
    cur[kFieldCaddieCard + 1] = chara.CaddieCard2;
    const TStatus counts = SlotUpCounts(chara);
    for (int i = 0; i < kStatCount; ++i) {
        cur[kFieldCount + i] = StatField(counts, i);
        cur[kFieldClubCount + i] = clubCounts[i];
        m.CountFree[i] = src.Parts[kPartSlotUp + i];
        m.ClubCountFree[i] = src.Parts[kPartClubSlotUp + i];
        if (!m.CountFree[i]) {
            const int32_t n = StatField(counts, i);
            m.KeptCountPP += kUpgradeWeight[i] * n * (n + 1);
        }
    }
    cur[kFieldCaddie] = base.Caddie;
    cur[kFieldSpecial] = base.SpecialCard;
    cur[kFieldClub] = club;
}

}  // namespace

CharaModel MakeCharaModel(const PlannedBuild& base, const TSimResults& was,
                          const SearchQuery& query, int32_t c) {
    CharaModel m;
    m.Acq = AcquisitionsOf(query, c);
    const Source src{base, was, query.Free, c, m.Acq};
    m.Chara = c;
    m.Base = FiveOf(CharaDef(c).CharaBaseStatus);
    m.PageChanges = c != base.TabIndex ? 1 : 0;
    m.Limit = PowerLimit(base.Level);
    m.LevelBonus = PowerSlotBonus(IsLevel(base.Level) ? base.Level : was.Level);
    TakeCurrent(src, m);
    m.Stages.push_back(ClubStage(src, m));
    m.Stages.push_back(CaddieStage(src));
    m.Stages.push_back(CaddieCardStage(src));
    m.Stages.push_back(CharaCardStage(src));
    const std::vector<int> body = BodySlots(c);
    m.Stages.push_back(BodyStage(src, body));
    WearStages(src, body, m.Stages);
    // A stage left without an option (every choice the window allows acquires more than
    // the query lets) leaves the character no build: no stage has one, and the walk ends
    // at its root.
    if (std::any_of(m.Stages.begin(), m.Stages.end(),
                    [](const Stage& stage) { return stage.Options.empty(); })) {
        for (Stage& stage : m.Stages) {
            stage.Options.clear();
        }
    }
    MeasureReach(m);
    return m;
}

}  // namespace solver
