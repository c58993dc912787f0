#include "search/search_model.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <numeric>
#include <span>
#include <thread>
#include <type_traits>

#include "characters/cards.h"
#include "characters/catalogue.h"
#include "characters/roster.h"
#include "clubs/caddies.h"
#include "clubs/clubs.h"
#include "engine/levels.h"
#include "search/upgrade_prices.h"

namespace {

using upgrade_prices::kNoLimit;
using upgrade_prices::MinCost;
using upgrade_prices::MostBought;
using upgrade_prices::Units;
constexpr int32_t kUnreachable = std::numeric_limits<int32_t>::min() / 4;
constexpr int kMaxStageFields = 8;
// Neighbouring wear slots are joined into one stage while their options multiply to
// at most this many: fewer, fuller stages with their equal sums merged.
constexpr size_t kJoinedOptions = 512;
// Branches shared by the threads: at least this many per thread, at most kMostShared.
constexpr size_t kShared = 64;
constexpr size_t kMostShared = size_t{1} << 20;
// What the memos of one search may hold, all threads together.
constexpr size_t kMemoBytes = size_t{96} << 20;

using Five = std::array<int32_t, kStatCount>;

Five FiveOf(const TStatus& s) {
    return {s.Pow, s.Ctrl, s.Exa, s.Spin, s.Cur};
}

int32_t CeilHalf(int32_t x) {
    return x >= 0 ? (x + 1) / 2 : -((-x) / 2);
}

// A ranks before B: objective, fewer PP, fewer changes, lower indices.
bool RanksBefore(const FoundBuild& a, const FoundBuild& b) {
    if (a.Rank != b.Rank) {
        return a.Rank > b.Rank;
    }
    if (a.Figures.PP != b.Figures.PP) {
        return a.Figures.PP < b.Figures.PP;
    }
    if (a.Changes != b.Changes) {
        return a.Changes < b.Changes;
    }
    return a.Fields < b.Fields;
}

struct Cancelled {};

}  // namespace

struct SearchModel::Option {
    Five St{};  // status points (for the club set also its kept counts)
    Five Sl{};  // slot limits
    int32_t Ring = 0;
    int32_t Yard = 0;
    int32_t Py = 0;
    int32_t Club = -1;
    int32_t KeptPP = 0;  // PP of the club counts a club set keeps
    int32_t Changes = 0;
    std::array<int32_t, kMaxStageFields> Values{};

    // Everything a figure can depend on; options equal in it are one option.
    auto Effect() const { return std::tuple(St, Sl, Ring, Yard, Py, Club, KeptPP); }
};

struct SearchModel::Stage {
    std::vector<int> Fields;  // in rising field order
    std::vector<Option> Options;
};

// What the bound reads of the stages from s on, made once per character and kind of
// query (objective and which minimums), since a search asks many queries of one kind.
struct SearchModel::TailCache {
    struct Tail {
        Five St{};
        Five Sl{};
        int32_t RingYard = 0;
        int32_t Py = 0;
        int32_t Changes = 0;
        auto Key() const { return std::tie(St, Sl, RingYard, Py, Changes); }
    };

    struct Group {
        Tail Delta;
        std::vector<uint32_t> Members;  // in the walk's order
    };

    std::vector<std::vector<Tail>> Tails;  // by stage; empty where too many
    // By stage, the kept sums in clusters of a few alike, and those in clusters of a few
    // clusters: what every respect of a cluster reaches at best (the most of each status,
    // limit and bonus, the fewest changes, the power alike), and where its members lie in
    // the level below (Members: the kept sums' places in Tails).
    struct Cluster {
        Tail Best;
        uint32_t Begin = 0;
        uint32_t End = 0;
        int32_t Score = 0;  // for the groups: the most a member adds to the objective
    };
    std::vector<std::vector<Cluster>> Clusters;
    std::vector<std::vector<Cluster>> Supers;
    std::vector<std::vector<uint32_t>> Members;
    // By stage, the groups in clusters alike, the most they add to the objective first;
    // GroupMembers: the groups' places in Groups.
    std::vector<std::vector<Cluster>> GroupClusters;
    std::vector<std::vector<uint32_t>> GroupMembers;
    std::vector<std::vector<Group>> Groups;  // by stage; empty where not made
    // By stage: the groups by what they add to the objective, most first, where the
    // objective is one status or the sum; empty elsewhere.
    std::vector<std::vector<std::pair<int32_t, uint32_t>>> ByScore;
};

struct SearchModel::CharaModel {
    struct Bounds {
        Five StMax{}, StMin{}, SlMax{}, SlMin{};
        Five JointMax{};  // the most of status plus slot limit, option by option
        int32_t RingMax = 0, YardMax = 0, PyMax = 0;
        // For the status sum, option by option: the most of the five statuses together
        // plus the slot limits of the stats in a set (bit i: stat i), and the same
        // without power over the sets of the other four (index: bits 1..4 shifted down).
        std::array<int32_t, 1 << kStatCount> SumMax{};
        std::array<int32_t, 1 << (kStatCount - 1)> SumMaxNoPow{};
    };

    int32_t Chara = 0;
    std::vector<Stage> Stages;
    std::vector<Bounds> Rest;  // what stages s.. can still add; Rest[Stages.size()] is zero
    Five Base{};
    BuildFields Current{};
    int32_t PageChanges = 0;
    std::array<bool, kStatCount> CountFree{};
    std::array<bool, kStatCount> ClubCountFree{};
    int32_t KeptCountPP = 0;
    int32_t LevelBonus = 0;
    bool LimitsRise = true;     // no option lowers a slot limit
    bool NeverNegative = true;  // no build has a status below 0 before the penalty
    int32_t Limit = 0;

    // For the least number of changes a branch still needs: what the stages from s on
    // give when each keeps its current choice, and what changing one can add at most
    // (sorted, largest first). Dimensions: the five statuses, 2 x power + distance
    // bonus, the same with the power-shot bonus, the status sum.
    static constexpr int kDims = 8;
    struct Gains {
        std::array<int32_t, kDims> Kept{};
        int32_t KeptPow = 0;  // power when kept, for what must come down
        std::array<std::vector<int32_t>, kDims> Up;
        std::vector<int32_t> PowDown;
        int32_t MustChange = 0;  // stages whose current choice is not among their options
    };
    std::vector<Gains> RestGains;

    // By objective and the minimums asked for.
    mutable std::map<std::pair<int, int>, std::unique_ptr<TailCache>> TailCaches;
};

namespace {

// One option per distinct effect: the one with fewer changes, then lower indices.
std::vector<SearchModel::Option> Merged(const std::vector<SearchModel::Option>& options) {
    std::map<decltype(options.front().Effect()), SearchModel::Option> best;
    for (const auto& o : options) {
        auto [it, fresh] = best.try_emplace(o.Effect(), o);
        if (!fresh &&
            std::tie(o.Changes, o.Values) < std::tie(it->second.Changes, it->second.Values)) {
            it->second = o;
        }
    }
    std::vector<SearchModel::Option> out;
    for (auto& [effect, o] : best) {
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

void AddFive(Five& a, const Five& b) {
    for (int i = 0; i < kStatCount; ++i) {
        a[i] += b[i];
    }
}

}  // namespace

SearchModel::~SearchModel() = default;

SearchModel::SearchModel(const TSimulator& current, const SearchQuery& query)
    : base_(BuildOf(current.State)) {
    std::vector<int32_t> characters;
    if (query.Character == kAnyCharacter) {
        for (int32_t c = 0; c < CharaCount; ++c) {
            characters.push_back(c);
        }
    } else if (query.Character == kShownCharacter) {
        if (base_.TabIndex < 0) {
            throw ESearchQueryError(
                "表示中のキャラがありません: \"character\" でキャラを指定してください");
        }
        characters.push_back(base_.TabIndex);
    } else {
        characters.push_back(query.Character);
    }
    const auto& free = query.Free;
    const TSimResults& was = current.Results;
    const int32_t curClub = base_.Club;
    if (!free[kPartClub] && (curClub < 0 || curClub >= kClubCount)) {
        throw ERangeError();  // the kept selection has no club set, as showing it reports
    }
    const Five curClubCounts =
        curClub >= 0 && curClub < kClubCount ? FiveOf(base_.ClubSlotUps[curClub]) : Five{};

    for (const int32_t c : characters) {
        CharaModel m;
        m.Chara = c;
        const TCharaDef& def = CharaDef(c);
        const TCharaState& chara = base_.Chara[c];
        const int slotCount = static_cast<int>(def.Slots.size());
        m.Base = FiveOf(def.CharaBaseStatus);
        m.PageChanges = c != base_.TabIndex ? 1 : 0;
        m.Limit = PowerLimit(base_.Level);
        m.LevelBonus = PowerSlotBonus(IsLevel(base_.Level) ? base_.Level : was.Level);

        BuildFields& cur = m.Current;
        cur[kFieldPage] = base_.TabIndex;
        for (int k = 0; k < slotCount; ++k) {
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
            cur[kFieldClubCount + i] = curClubCounts[i];
            m.CountFree[i] = free[kPartSlotUp + i];
            m.ClubCountFree[i] = free[kPartClubSlotUp + i];
            if (!m.CountFree[i]) {
                const int32_t n = StatField(counts, i);
                m.KeptCountPP += kUpgradeWeight[i] * n * (n + 1);
            }
        }
        cur[kFieldCaddie] = base_.Caddie;
        cur[kFieldSpecial] = base_.SpecialCard;
        cur[kFieldClub] = curClub;

        // The club set, with the counts it keeps.
        {
            Stage stage;
            stage.Fields = {kFieldClub};
            for (const int32_t k : Choices(free[kPartClub], curClub, kClubCount)) {
                if (k < 0 || k >= kClubCount) {
                    continue;  // a free club set is always one of the list
                }
                const ClubSet& set = ClubSets()[k];
                Option o;
                o.St = FiveOf(set.ClubBaseStatus);
                o.Club = k;
                o.Changes = k != curClub ? 1 : 0;
                for (int i = 0; i < kStatCount; ++i) {
                    if (!m.ClubCountFree[i]) {
                        const int32_t v = std::clamp(StatField(base_.ClubSlotUps[k], i), 0,
                                                     std::max(0, StatField(set.ClubSlotLimit, i)));
                        o.St[i] += v;
                        o.KeptPP += kUpgradeWeight[i] * v * (v + 1);
                        o.Changes += v != curClubCounts[i] ? 1 : 0;
                    }
                }
                o.Values[0] = k;
                stage.Options.push_back(o);
            }
            m.Stages.push_back(std::move(stage));
        }

        // The caddie and the special card.
        {
            Stage stage;
            stage.Fields = {kFieldCaddie, kFieldSpecial};
            std::vector<Option> options;
            for (const int32_t cd : Choices(free[kPartCaddie], base_.Caddie, kCaddieCount)) {
                const Five caddie = cd >= 0 && cd < kCaddieCount ? FiveOf(Caddies()[cd].Effect)
                                                                 : FiveOf(was.CaddieStatus);
                for (const int32_t sp :
                     Choices(free[kPartSpecialCard], base_.SpecialCard, kSpecialCardCount)) {
                    Option o;
                    o.St = caddie;
                    AddFive(o.St, sp >= 0 && sp < kSpecialCardCount
                                      ? FiveOf(SpecialCardStatus(sp))
                                      : FiveOf(was.SpecialCardStatus));
                    o.Changes = (cd != base_.Caddie) + (sp != base_.SpecialCard);
                    o.Values[0] = cd;
                    o.Values[1] = sp;
                    options.push_back(o);
                }
            }
            stage.Options = Merged(options);
            m.Stages.push_back(std::move(stage));
        }

        // The two caddie cards.
        {
            Stage stage;
            stage.Fields = {kFieldCaddieCard, kFieldCaddieCard + 1};
            std::vector<Option> options;
            for (const int32_t a :
                 Choices(free[kPartCaddieCard1], chara.CaddieCard1, kCaddieCardKindCount)) {
                for (const int32_t b :
                     Choices(free[kPartCaddieCard1 + 1], chara.CaddieCard2, kCaddieCardKindCount)) {
                    const CaddieCardEffect e = EvalCaddieCards(a, b);
                    Option o;
                    o.Yard = e.CaddieCardYard;
                    o.Py = e.CaddieCardPowerYards;
                    o.Changes = (a != chara.CaddieCard1) + (b != chara.CaddieCard2);
                    o.Values[0] = a;
                    o.Values[1] = b;
                    options.push_back(o);
                }
            }
            stage.Options = Merged(options);
            m.Stages.push_back(std::move(stage));
        }

        // The three character cards.
        {
            Stage stage;
            stage.Fields = {kFieldCharaCard, kFieldCharaCard + 1, kFieldCharaCard + 2};
            std::vector<Option> options;
            for (const int32_t a :
                 Choices(free[kPartCharaCard1], chara.CharaCard1, kCardKindCount)) {
                for (const int32_t b :
                     Choices(free[kPartCharaCard1 + 1], chara.CharaCard2, kCardKindCount)) {
                    for (const int32_t d :
                         Choices(free[kPartCharaCard1 + 2], chara.CharaCard3, kCardKindCount)) {
                        Option o;
                        o.Sl = FiveOf(CombineCharaCards(a, b, d));
                        o.Changes = (a != chara.CharaCard1) + (b != chara.CharaCard2) +
                                    (d != chara.CharaCard3);
                        o.Values[0] = a;
                        o.Values[1] = b;
                        o.Values[2] = d;
                        options.push_back(o);
                    }
                }
            }
            stage.Options = Merged(options);
            m.Stages.push_back(std::move(stage));
        }

        // The body: separates, or a one-piece outfit (with a waist piece where it counts).
        const int top = SlotPosition(c, TWearSlot::Top).value_or(-1);
        const int pants = SlotPosition(c, TWearSlot::Pants).value_or(-1);
        const int outfit = SlotPosition(c, TWearSlot::TopPants).value_or(-1);
        const int waist = SlotPosition(c, TWearSlot::Waist).value_or(-1);
        std::vector<int> body = {top, pants, outfit};
        if (waist >= 0) {
            body.push_back(waist);
        }
        std::sort(body.begin(), body.end());
        {
            Stage stage;
            for (const int k : body) {
                stage.Fields.push_back(kFieldItem + k);
            }
            std::vector<std::vector<int32_t>> choices;
            for (const int k : body) {
                const auto slot = static_cast<int>(def.Slots[k]);
                choices.push_back(Choices(free[slot], chara.Items[k],
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
                    // The records as the equipment pass leaves them; a slot without an
                    // entry keeps the record of the last run.
                    auto records = was.SlotRecords[c];
                    const bool split = def.OutfitRule == OutfitKind::OutfitSplit;
                    for (const int k : body) {
                        const TEquipEntry* e = EquipEntry(c, k, items[k]);
                        if (e != nullptr && !(split && k == outfit)) {
                            records[k] = e->Bonus;
                        }
                    }
                    TEquipBonus sum;
                    const TEquipEntry* worn = EquipEntry(c, outfit, items[outfit]);
                    const auto add = [&sum](const TEquipBonus& b) {
                        sum.StatusBonus += b.StatusBonus;
                        sum.SlotBonus += b.SlotBonus;
                    };
                    if (split) {
                        if (outfitChosen && worn != nullptr) {
                            // Its power part stands on Top, its control part on Pants.
                            const TEquipBonus& w = worn->Bonus;
                            add(TEquipBonus{MakeStatus(w.StatusBonus.Pow, 0, 0, 0, 0),
                                            MakeStatus(w.SlotBonus.Pow, 0, 0, 0, 0)});
                            add(TEquipBonus{MakeStatus(0, w.StatusBonus.Ctrl, 0, 0, 0),
                                            MakeStatus(0, w.SlotBonus.Ctrl, 0, 0, 0)});
                        } else if (outfitChosen || separatesChosen) {
                            add(records[top]);
                            add(records[pants]);
                        }
                    } else if (outfitChosen) {
                        if (def.OutfitRule == OutfitKind::OutfitWithWaist && worn != nullptr &&
                            worn->CoversWaist) {
                            add(worn->Bonus);
                        } else {
                            add(records[outfit]);
                            if (def.OutfitRule == OutfitKind::OutfitWithWaist) {
                                add(records[waist]);
                            }
                        }
                    } else if (separatesChosen) {
                        add(records[top]);
                        add(records[pants]);
                    }
                    Option o;
                    o.St = FiveOf(sum.StatusBonus);
                    o.Sl = FiveOf(sum.SlotBonus);
                    for (size_t j = 0; j < body.size(); ++j) {
                        o.Values[j] = items[body[j]];
                        o.Changes += items[body[j]] != chara.Items[body[j]] ? 1 : 0;
                    }
                    options.push_back(o);
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
            stage.Options = Merged(options);
            m.Stages.push_back(std::move(stage));
        }

        // The other wear slots, neighbours joined while their options stay few.
        {
            Stage stage;
            std::vector<Option> options(1);
            const auto close = [&] {
                if (!stage.Fields.empty()) {
                    stage.Options = Merged(options);
                    m.Stages.push_back(std::move(stage));
                }
                stage = Stage{};
                options.assign(1, Option{});
            };
            for (int k = 0; k < slotCount; ++k) {
                if (std::find(body.begin(), body.end(), k) != body.end()) {
                    continue;
                }
                const auto slot = def.Slots[k];
                const auto list = EquipList(c, k);
                const auto values = Choices(free[static_cast<int>(slot)], chara.Items[k],
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
                        const TEquipBonus b = e != nullptr ? e->Bonus : was.SlotRecords[c][k];
                        AddFive(o.St, FiveOf(b.StatusBonus));
                        AddFive(o.Sl, FiveOf(b.SlotBonus));
                        if (slot == TWearSlot::Ring && e != nullptr) {
                            o.Ring += e->DistanceBonus;
                        }
                        o.Changes += v != chara.Items[k] ? 1 : 0;
                        o.Values[j] = v;
                        joined.push_back(o);
                    }
                }
                options = Merged(joined);
            }
            close();
        }

        // What the stages from s on can still add.
        m.Rest.resize(m.Stages.size() + 1);
        for (size_t s = m.Stages.size(); s-- > 0;) {
            CharaModel::Bounds b = m.Rest[s + 1];
            CharaModel::Bounds most;
            CharaModel::Bounds least;
            bool first = true;
            for (const Option& o : m.Stages[s].Options) {
                for (int i = 0; i < kStatCount; ++i) {
                    most.StMax[i] = first ? o.St[i] : std::max(most.StMax[i], o.St[i]);
                    most.JointMax[i] =
                        first ? o.St[i] + o.Sl[i] : std::max(most.JointMax[i], o.St[i] + o.Sl[i]);
                    least.StMin[i] = first ? o.St[i] : std::min(least.StMin[i], o.St[i]);
                    most.SlMax[i] = first ? o.Sl[i] : std::max(most.SlMax[i], o.Sl[i]);
                    least.SlMin[i] = first ? o.Sl[i] : std::min(least.SlMin[i], o.Sl[i]);
                }
                int32_t sum = 0;
                for (int i = 0; i < kStatCount; ++i) {
                    sum += o.St[i];
                    m.LimitsRise = m.LimitsRise && o.Sl[i] >= 0;
                }
                for (size_t set = 0; set < most.SumMax.size(); ++set) {
                    int32_t v = sum;
                    for (int i = 0; i < kStatCount; ++i) {
                        v += (set >> i & 1) != 0 ? o.Sl[i] : 0;
                    }
                    most.SumMax[set] = first ? v : std::max(most.SumMax[set], v);
                    if ((set & 1) == 0) {
                        const size_t k = set >> 1;
                        most.SumMaxNoPow[k] =
                            first ? v - o.St[0] : std::max(most.SumMaxNoPow[k], v - o.St[0]);
                    }
                }
                most.RingMax = first ? o.Ring : std::max(most.RingMax, o.Ring);
                most.YardMax = first ? o.Yard : std::max(most.YardMax, o.Yard);
                most.PyMax = first ? o.Py : std::max(most.PyMax, o.Py);
                first = false;
            }
            AddFive(b.StMax, most.StMax);
            AddFive(b.JointMax, most.JointMax);
            AddFive(b.StMin, least.StMin);
            AddFive(b.SlMax, most.SlMax);
            AddFive(b.SlMin, least.SlMin);
            for (size_t set = 0; set < b.SumMax.size(); ++set) {
                b.SumMax[set] += most.SumMax[set];
            }
            for (size_t k = 0; k < b.SumMaxNoPow.size(); ++k) {
                b.SumMaxNoPow[k] += most.SumMaxNoPow[k];
            }
            b.RingMax += most.RingMax;
            b.YardMax += most.YardMax;
            b.PyMax += most.PyMax;
            m.Rest[s] = b;
        }
        for (int i = 0; i < kStatCount; ++i) {
            m.NeverNegative = m.NeverNegative && m.Base[i] + m.Rest[0].StMin[i] >= 0;
        }
        m.RestGains.resize(m.Stages.size() + 1);
        for (size_t s = m.Stages.size(); s-- > 0;) {
            CharaModel::Gains g = m.RestGains[s + 1];
            const auto& options = m.Stages[s].Options;
            const auto dim = [](const Option& o, int d) {
                switch (d) {
                    case 5:
                        return 2 * o.St[0] + o.Ring + o.Yard;
                    case 6:
                        return 2 * o.St[0] + o.Ring + o.Yard + o.Py;
                    case 7:
                        return o.St[0] + o.St[1] + o.St[2] + o.St[3] + o.St[4];
                    default:
                        return o.St[d];
                }
            };
            const Option* kept = options.front().Changes == 0 ? &options.front() : nullptr;
            g.MustChange += kept == nullptr ? 1 : 0;
            // A joined stage can take several changes for its largest gain. Its gain with
            // at most k changes is bounded by the least concave function above it, whose
            // steps fall: one entry per change, so that the largest entries of all stages
            // bound what any number of changes can gain.
            int32_t most = 1;
            for (const Option& o : options) {
                most = std::max(most, o.Changes);
            }
            const auto add = [&](std::vector<int32_t>& to, const auto& gain) {
                if (kept == nullptr) {
                    to.push_back(0);  // the stage's change is counted on its own
                    return;
                }
                std::vector<int32_t> best(static_cast<size_t>(most) + 1, 0);
                for (const Option& o : options) {
                    auto& b = best[static_cast<size_t>(o.Changes)];
                    b = std::max(b, gain(o));
                }
                for (size_t k = 1; k < best.size(); ++k) {
                    best[k] = std::max(best[k], best[k - 1]);
                }
                // The upper concave hull from 0, its slopes over each single change.
                size_t from = 0;
                while (from + 1 < best.size()) {
                    size_t next = from + 1;
                    for (size_t k = from + 2; k < best.size(); ++k) {
                        if (int64_t{best[k] - best[from]} * static_cast<int64_t>(next - from) >
                            int64_t{best[next] - best[from]} * static_cast<int64_t>(k - from)) {
                            next = k;
                        }
                    }
                    const int32_t rise = best[next] - best[from];
                    const auto steps = static_cast<int32_t>(next - from);
                    for (int32_t k = 0; k < steps; ++k) {
                        // Rounded up, the largest first: the steps still add to the rise.
                        to.push_back(rise / steps + (k < rise % steps ? 1 : 0));
                    }
                    from = next;
                }
            };
            for (int d = 0; d < CharaModel::kDims; ++d) {
                int32_t top = dim(options.front(), d);
                for (const Option& o : options) {
                    top = std::max(top, dim(o, d));
                }
                const int32_t here = kept != nullptr ? dim(*kept, d) : top;
                g.Kept[d] += here;
                add(g.Up[d], [&](const Option& o) { return dim(o, d) - here; });
                std::sort(g.Up[d].rbegin(), g.Up[d].rend());
            }
            int32_t least = options.front().St[0];
            for (const Option& o : options) {
                least = std::min(least, o.St[0]);
            }
            const int32_t here = kept != nullptr ? kept->St[0] : least;
            g.KeptPow += here;
            add(g.PowDown, [&](const Option& o) { return here - o.St[0]; });
            std::sort(g.PowDown.rbegin(), g.PowDown.rend());
            m.RestGains[s] = std::move(g);
        }
        charas_.push_back(std::move(m));
    }
}

namespace {

// The walk's place: what the chosen options add up to.
struct Node {
    Five St{};
    Five Sl{};
    int32_t Ring = 0;
    int32_t Yard = 0;
    int32_t Py = 0;
    int32_t Club = -1;
    int32_t PP = 0;
    int32_t Changes = 0;
    int UpDone = 0;     // counts of stats 0..UpDone-1 are chosen
    uint32_t Path = 0;  // which branch of the stage where the threads share the work
    // The fields of stages 0..Known-1 are chosen. A node that stands for several builds
    // (a group of options, the sums of the stages after it) keeps its parent's fields
    // and Known: its own list indices are not known.
    uint32_t Known = 0;
    BuildFields Fields{};
};

// The memos' keys and what they keep.
constexpr size_t kKeyWords = 13;
using Key = std::array<int32_t, kKeyWords>;
struct KeyHash {
    size_t operator()(const Key& k) const {
        uint64_t h = 1469598103934665603ull;
        for (const int32_t v : k) {
            h = (h ^ static_cast<uint32_t>(v)) * 1099511628211ull;
        }
        return static_cast<size_t>(h ^ (h >> 29));
    }
};
struct Way {
    int32_t Changes;
    BuildFields Fields;
};
// Keys to values, in one array probed in line: the memos' tables, looked up at
// nearly every branch.
template <class Value>
class Table {
public:
    Value* Find(const Key& key) {
        if (slots_.empty()) {
            return nullptr;
        }
        const uint64_t h = Hash(key);
        for (size_t i = h & mask_;; i = (i + 1) & mask_) {
            const Slot& slot = slots_[i];
            if (slot.Hash == 0) {
                return nullptr;
            }
            if (slot.Hash == h && At(slot.At).first == key) {
                return &At(slot.At).second;
            }
        }
    }
    // `key` must not be in the table.
    Value& Insert(const Key& key, Value value) {
        if ((size_ + 1) * 2 > slots_.size()) {
            Grow();
        }
        if (size_ == blocks_.size() * kBlock) {
            blocks_.push_back(std::make_unique<Entry[]>(kBlock));
        }
        Place(Hash(key), static_cast<uint32_t>(size_));
        Entry& entry = At(size_++);
        entry.first = key;
        entry.second = std::move(value);
        return entry.second;
    }
    size_t Size() const { return size_; }
    // The bytes the next Insert takes beyond what the table holds: a block of entries
    // where the last is full, a larger index where it would be over half full.
    size_t Growth() const {
        size_t bytes = size_ == blocks_.size() * kBlock ? kBlock * sizeof(Entry) : 0;
        if ((size_ + 1) * 2 > slots_.size()) {
            bytes += (std::max<size_t>(64, slots_.size() * 2) - slots_.size()) * sizeof(Slot);
        }
        return bytes;
    }
    // Memory an entry's value holds beside the table, counted until the table is emptied.
    void HoldsBeside(size_t bytes) { beside_ += bytes; }
    // Empty, keeping its entries' memory for the next walk; the index only where the
    // last walk filled it well, so that emptying never costs much more than filling.
    // Values that hold memory of their own let it go. Returns the bytes given back.
    size_t Clear() {
        size_t freed = beside_;
        if (size_ * 8 >= slots_.size()) {
            std::fill(slots_.begin(), slots_.end(), Slot{});
        } else {
            freed += slots_.size() * sizeof(Slot);
            slots_ = {};
            mask_ = 0;
        }
        if constexpr (!std::is_trivially_destructible_v<Value>) {
            for (size_t k = 0; k < size_; ++k) {
                At(k).second = Value{};
            }
        }
        beside_ = 0;
        size_ = 0;
        return freed;
    }

private:
    using Entry = std::pair<Key, Value>;
    // Entries in blocks that never move: growing copies nothing and touches no more
    // memory than it keeps.
    static constexpr size_t kBlock = 512;
    struct Slot {
        uint64_t Hash = 0;  // 0: empty
        uint32_t At = 0;
    };
    static uint64_t Hash(const Key& key) { return KeyHash{}(key) | 1; }
    Entry& At(size_t k) { return blocks_[k / kBlock][k % kBlock]; }
    void Place(uint64_t h, uint32_t at) {
        size_t i = h & mask_;
        while (slots_[i].Hash != 0) {
            i = (i + 1) & mask_;
        }
        slots_[i] = {h, at};
    }
    void Grow() {
        const size_t n = std::max<size_t>(64, slots_.size() * 2);
        slots_.assign(n, Slot{});
        mask_ = n - 1;
        for (size_t k = 0; k < size_; ++k) {
            Place(Hash(At(k).first), static_cast<uint32_t>(k));
        }
    }
    std::vector<Slot> slots_;
    std::vector<std::unique_ptr<Entry[]>> blocks_;
    size_t size_ = 0;
    size_t mask_ = 0;
    size_t beside_ = 0;
};
// Control and accuracy (without a penalty), spin, curve, ring and yard, power yards.
using Apart = std::array<int32_t, 6>;
struct Crowd {
    Apart Figures;
    int32_t Changes;
    BuildFields Fields;
};

}  // namespace

// The memos' tables, kept from one walk to the next of a search: emptied, not freed.
struct SearchModel::Scratch {
    std::vector<Table<Way>> Seen;
    std::vector<Table<std::vector<Crowd>>> Crowds;
    size_t Held = 0;  // the bytes all these tables hold, kept from walk to walk
};

namespace {

// Children of one node that a thread hands to another: the node, its stage and the
// options still to descend through.
struct Task {
    size_t Stage = 0;
    Node From;
    std::vector<uint32_t> Options;
};

// What the threads of one solve share. Each thread walks the whole tree down to the
// stage where the work is shared; there it takes every branch no thread has taken yet,
// and walks below it alone. A thread left without a branch waits for work: a thread
// still walking hands it the later half of the children it has yet to walk at its
// shallowest node below that stage. The threads go on to the next character together.
// The answers are kept once for all: a thread bounds its walk by a copy, taken again
// whenever another thread has changed them.
struct Shared {
    std::mutex Lock;
    std::vector<FoundBuild> Answers;   // under Lock
    std::atomic<uint64_t> Version{0};  // raised with every change of Answers
    // Told the answers now and then from the calling thread (Caller), when they changed
    // since the version last told (Told, the calling thread's alone).
    const SearchModel::FoundSoFar* Found = nullptr;
    std::thread::id Caller;
    uint64_t Told = 0;
    size_t MemoBytes = 0;           // what each thread's memos may hold
    std::atomic<bool> Stop{false};  // a thread was cancelled or failed
    // By character: the stage where the branches are shared, and one flag per branch.
    std::vector<size_t> ShareStage;
    std::vector<std::unique_ptr<std::atomic<bool>[]>> Taken;
    const FoundBuild* Floor = nullptr;  // builds ranking after it are left
    std::optional<Ceiling> Top;         // what no build passes
    // The work handed over, under TaskLock.
    std::mutex TaskLock;
    std::condition_variable TaskReady;
    // By character: a thread done with one character may still wait for its work while
    // another hands over work of the next.
    std::vector<std::vector<Task>> Tasks;
    std::vector<size_t> Busy;                     // by character: threads still walking it
    std::unique_ptr<std::atomic<int>[]> Waiting;  // threads waiting for work
};

class Walk {
public:
    using Tail = SearchModel::TailCache::Tail;
    using Group = SearchModel::TailCache::Group;

    Walk(const SearchModel::CharaModel& m, const PlannedBuild& build, const SearchQuery& q,
         Shared& shared, size_t chara, const SearchControl* control, SearchModel::Scratch& scratch)
        : held_(scratch.Held),
          seen_(scratch.Seen),
          crowd_(scratch.Crowds),
          m_(m),
          build_(build),
          q_(q),
          shared_(shared),
          shareStage_(shared.ShareStage[chara]),
          chara_(chara),
          taken_(shared.Taken[chara].get()),
          floor_(shared.Floor),
          top_(shared.Top),
          handsOver_(shared.Taken[chara] != nullptr),
          control_(control) {
        Pull();
        // The options most promising for the query first, so that good builds are found
        // early and bound the rest; among equals the current choice first.
        for (auto& table : seen_) {
            held_ -= table.Clear();
        }
        for (auto& table : crowd_) {
            held_ -= table.Clear();
        }
        order_.resize(m.Stages.size());
        for (size_t st = 0; st < m.Stages.size(); ++st) {
            const auto& options = m.Stages[st].Options;
            std::vector<int64_t> score(options.size());
            for (size_t i = 0; i < options.size(); ++i) {
                score[i] = Promise(options[i]);
                order_[st].push_back(static_cast<uint32_t>(i));
            }
            std::stable_sort(order_[st].begin(), order_[st].end(), [&](uint32_t a, uint32_t b) {
                if (score[a] != score[b]) {
                    return score[a] > score[b];
                }
                return options[a].Changes < options[b].Changes;
            });
        }
        // Beyond these, more slot limit raises no count: free counts stop at the
        // spinner's end, kept counts at their position.
        for (int i = 0; i < kStatCount; ++i) {
            const int32_t bonus = i == 0 ? m.LevelBonus : 0;
            const int32_t top = m.CountFree[i] ? CharaSpinnerMax(i) : m.Current[kFieldCount + i];
            slotCap_[i] = std::max(0, top - bonus);
        }
        open_.assign(m.Stages.size(), {});
        frames_.assign(m.Stages.size(), {});
        BuildTails();
        // The fields the stages before s have chosen; the page is chosen from the start.
        decided_.assign(m.Stages.size() + 1, {});
        decided_[0][kFieldPage] = true;
        for (size_t st = 0; st < m.Stages.size(); ++st) {
            decided_[st + 1] = decided_[st];
            for (const int f : m.Stages[st].Fields) {
                decided_[st + 1][static_cast<size_t>(f)] = true;
            }
        }
    }

    // Runs the walk; `progress` is told the share of the first stage done.
    template <class Progress>
    void Run(Progress&& progress) {
        Node root;
        root.St = m_.Base;
        root.PP = m_.KeptCountPP;
        root.Changes = m_.PageChanges;
        root.Fields = m_.Current;
        root.Fields[kFieldPage] = m_.Chara;
        const auto& options = m_.Stages[0].Options;
        std::vector<uint32_t> order = order_[0];
        if (cache_->Tails.size() > 1 && !cache_->Tails[1].empty() &&
            cache_->Tails[1].size() * options.size() <= kRootEstimates) {
            // The club sets in the order of the best their builds can give.
            std::vector<std::pair<int32_t, int32_t>> estimate(options.size(), {kUnreachable, 0});
            for (size_t i = 0; i < options.size(); ++i) {
                Node child = root;
                AddFive(child.St, options[i].St);
                child.Club = options[i].Club;
                child.PP += options[i].KeptPP;
                child.Changes += options[i].Changes;
                TailEstimate(1, child, estimate[i]);
            }
            std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
                return std::pair(-estimate[a].first, estimate[a].second) <
                       std::pair(-estimate[b].first, estimate[b].second);
            });
        }
        for (size_t i = 0; i < options.size(); ++i) {
            Descend(0, root, options[order[i]]);
            progress(static_cast<double>(i + 1) / static_cast<double>(options.size()));
        }
    }

    uint64_t Nodes() const { return nodes_; }

private:
    // `tailsTried`: the child's kept sums were already weighed, against the answers as
    // they still stand.
    void Descend(size_t s, const Node& node, const SearchModel::Option& o,
                 bool tailsTried = false) {
        Node child = node;
        const SearchModel::Stage& stage = m_.Stages[s];
        if (s < shareStage_) {
            child.Path = node.Path * static_cast<uint32_t>(stage.Options.size()) +
                         static_cast<uint32_t>(&o - stage.Options.data());
        }
        AddFive(child.St, o.St);
        AddFive(child.Sl, o.Sl);
        child.Ring += o.Ring;
        child.Yard += o.Yard;
        child.Py += o.Py;
        if (o.Club >= 0) {
            child.Club = o.Club;
        }
        child.PP += o.KeptPP;
        child.Changes += o.Changes;
        for (size_t j = 0; j < stage.Fields.size(); ++j) {
            child.Fields[stage.Fields[j]] = o.Values[j];
        }
        child.Known = static_cast<uint32_t>(s + 1);
        Visit(s + 1, child, tailsTried);
    }

    void Visit(size_t s, const Node& node, bool tailsTried = false) {
        if ((++nodes_ & 4095) == 0) {
            Poll();
        }
        if (shared_.Version.load(std::memory_order_acquire) != version_) {
            Pull();
        }
        if (Hopeless(s, node) || (!tailsTried && TailsHopeless(s, node)) || Seen(s, node) ||
            Crowded(s, node)) {
            return;
        }
        if (s == shareStage_ && taken_[node.Path].exchange(true, std::memory_order_relaxed)) {
            return;  // another thread walks this branch
        }
        if (s < m_.Stages.size() && s < cache_->Groups.size() && !cache_->Groups[s].empty()) {
            // The groups that can still give an answer, the best estimate first.
            auto& open = open_[s];
            open.clear();
            const auto test = [&](size_t k) {
                std::pair<int32_t, int32_t> estimate{};
                if (!GroupHopeless(s, node, cache_->Groups[s][k].Delta, &estimate)) {
                    open.push_back({-estimate.first, estimate.second, static_cast<int32_t>(k)});
                }
            };
            // The groups by what they add, most first: once even the most a child could
            // reach falls short of the last answer, so does every later group. A cluster
            // of groups hopeless with its best is hopeless with each of them.
            const auto room = ScoreRoom(s, node);
            const bool scored = room && !cache_->ByScore[s].empty();
            const int32_t bar = scored ? Last()->Rank : 0;
            const auto& groups = cache_->Groups[s];
            const auto& members = cache_->GroupMembers[s];
            std::pair<int32_t, int32_t> unused{};
            for (const auto& cluster : cache_->GroupClusters[s]) {
                if (scored && *room + cluster.Score < bar) {
                    break;
                }
                if (cluster.End - cluster.Begin > 1 &&
                    Hopeless(s + 1, Through(node, cluster.Best), &unused)) {
                    continue;
                }
                for (uint32_t n = cluster.Begin; n < cluster.End; ++n) {
                    const uint32_t k = members[n];
                    if (!scored || *room + Score(groups[k].Delta) >= bar) {
                        test(k);
                    }
                }
            }
            std::sort(open.begin(), open.end());
            // Where the test weighed every kept sum after this stage, a child need not
            // weigh them again while no answer has changed since.
            const uint64_t tested = answersChanged_;
            const size_t tails = s + 1 < cache_->Tails.size() ? cache_->Tails[s + 1].size() : 0;
            const bool sharp = tails > 0 && cache_->Groups[s].size() * tails <= kSharpEstimates;
            Frame& frame = Enter(s, node, open.size(), true);
            for (; frame.At < frame.End; ++frame.At) {
                Hand();
                for (const uint32_t i : Children(s, frame.At, true)) {
                    Descend(s, node, m_.Stages[s].Options[i], sharp && answersChanged_ == tested);
                }
            }
            frame.Open = false;
        } else if (s < m_.Stages.size()) {
            Frame& frame = Enter(s, node, order_[s].size(), false);
            for (; frame.At < frame.End; ++frame.At) {
                Hand();
                Descend(s, node, m_.Stages[s].Options[order_[s][frame.At]]);
            }
            frame.Open = false;
        } else {
            Counts(node);
        }
    }

    // The counts of stat i that can be chosen, cheapest first: a character count up to
    // `uTop` (its limit and the spinner's end, or as kept) with a club count. Of two pairs
    // that add as much for as many PP, which give the same figures below, only the one
    // with fewer changes, then the lower character count, is kept.
    // Rows: character count, club count, status added, PP, changes.
    using Pair = std::array<int32_t, 5>;
    const std::vector<Pair>& Pairs(int i, int32_t club, int32_t uTop, int32_t limit) {
        // A kept count adds what its limit lets it; a free one never passes its limit.
        const int32_t keptAdds = m_.CountFree[i] ? 0 : std::min(m_.Current[kFieldCount + i], limit);
        auto& cached = pairs_[{i, club, uTop, keptAdds}];
        if (cached.first) {
            return cached.second;
        }
        const int32_t here = m_.Current[kFieldCount + i];
        const int32_t hereClub = m_.Current[kFieldClubCount + i];
        const int32_t uLow = m_.CountFree[i] ? 0 : here;
        const int32_t clubTop = std::max(0, StatField(ClubSets()[club].ClubSlotLimit, i));
        const int32_t kept = std::clamp(StatField(build_.ClubSlotUps[club], i), 0, clubTop);
        const int32_t vTop = m_.ClubCountFree[i] ? clubTop : kept;
        const int32_t vLow = m_.ClubCountFree[i] ? 0 : kept;
        std::map<std::pair<int32_t, int32_t>, Pair> best;
        for (int32_t u = uLow; u <= uTop; ++u) {
            for (int32_t v = vLow; v <= vTop; ++v) {
                const int32_t added = std::min(u, limit) + (m_.ClubCountFree[i] ? v : 0);
                int32_t pp = 0;
                if (m_.CountFree[i]) {
                    pp += kUpgradeWeight[i] * u * (u + 1);
                }
                if (m_.ClubCountFree[i]) {
                    pp += kUpgradeWeight[i] * v * (v + 1);
                }
                const int32_t changes =
                    (u != here ? 1 : 0) + (m_.ClubCountFree[i] && v != hereClub ? 1 : 0);
                const Pair row{u, v, added, pp, changes};
                const auto [it, fresh] = best.try_emplace({added, pp}, row);
                if (!fresh && std::pair(changes, u) < std::pair(it->second[4], it->second[0])) {
                    it->second = row;
                }
            }
        }
        auto& pairs = cached.second;
        // With one answer asked for, of the pairs that add as much only the cheapest can
        // be in it: the same build with that pair ranks before.
        const bool cheapestOnly = q_.Results == 1;
        for (const auto& [effect, row] : best) {
            if (!cheapestOnly || pairs.empty() || pairs.back()[2] != row[2]) {
                pairs.push_back(row);
            }
        }
        // Try the likely best first: more of a stat the objective wants, else less.
        const bool wanted = Wanted(i);
        std::sort(pairs.begin(), pairs.end(), [wanted](const Pair& a, const Pair& b) {
            if (a[3] != b[3]) {
                return a[3] < b[3];
            }
            return wanted ? a[2] > b[2] : a[2] < b[2];
        });
        cached.first = true;
        return pairs;
    }

    // The counts of stat node.UpDone, then the next; the build is whole after the fifth.
    void Counts(const Node& node) {
        const int i = node.UpDone;
        if (i == kStatCount) {
            Offer(node);
            return;
        }
        const int32_t limit = node.Sl[i] + (i == 0 ? m_.LevelBonus : 0);
        const int32_t here = m_.Current[kFieldCount + i];
        const int32_t uTop = m_.CountFree[i] ? std::min(CharaSpinnerMax(i), limit) : here;
        const auto& pairs = Pairs(i, node.Club, uTop, limit);
        // A status neither the objective nor a minimum reads only costs its PP (power,
        // where they do not read it, can only bring a penalty besides): once a pair
        // leaves the branch hopeless, every dearer pair does (the pairs come cheapest
        // first, and of equal PP the one adding less).
        const bool onlyCosts = !wanted_[i] || (i == 0 && powCosts_);
        int32_t dearer = std::numeric_limits<int32_t>::max();
        // No pair may cost more than the budget leaves, nor, where no build passes the
        // last answer's value, more than its PP leave.
        int64_t most = q_.Budget ? int64_t{*q_.Budget} : std::numeric_limits<int64_t>::max();
        if (const FoundBuild* last = Last(); last != nullptr && top_ && last->Rank >= top_->Rank) {
            most = std::min<int64_t>(most, last->Figures.PP);
        }
        if (most != std::numeric_limits<int64_t>::max()) {
            dearer = static_cast<int32_t>(std::clamp<int64_t>(most - node.PP, -1, dearer));
        }
        for (const auto& [u, v, added, pp, changes] : pairs) {
            if (pp > dearer) {
                break;
            }
            Node child = node;
            child.St[i] += added;
            child.PP += pp;
            child.Changes += changes;
            child.Fields[kFieldCount + i] = u;
            child.Fields[kFieldClubCount + i] = v;
            child.UpDone = i + 1;
            if ((++nodes_ & 4095) == 0) {
                Poll();
            }
            if (!Hopeless(m_.Stages.size(), child)) {
                Counts(child);
            } else if (onlyCosts) {
                dearer = std::min(dearer, pp);
            }
        }
    }

    // Two ways to the same sums at the same stage lead to builds with the same figures;
    // only the way with fewer changes (then lower indices) can give an answer, so the
    // other is left. Slot limits count only up to where they stop raising a count.
    bool Seen(size_t s, const Node& node) {
        if (s >= seen_.size()) {
            seen_.resize(s + 1);
        }
        Key key{};
        size_t k = 0;
        if (q_.Results == 1) {
            // Only the best build is asked for: sums alike in all that decides its value,
            // PP and the counts it can still take reach the same builds' worth.
            const Five st = Projected(node.St);
            for (int i = 0; i < kStatCount; ++i) {
                key[k++] = st[i];
                key[k++] = std::min(node.Sl[i], cap_[i]);
            }
            key[k++] = (distance_ ? node.Ring + node.Yard : 0) + (py_ ? node.Py * 4096 : 0);
        } else {
            for (int i = 0; i < kStatCount; ++i) {
                key[k++] = node.St[i];
                key[k++] = std::min(node.Sl[i], slotCap_[i]);
            }
            key[k++] = node.Ring + node.Yard * 64 + node.Py * 4096;
        }
        key[k++] = node.Club;
        key[k++] = node.PP;
        auto& table = seen_[s];
        Way* const way = table.Find(key);
        if (way == nullptr) {
            if (Remembers(table.Growth())) {
                table.Insert(key, Way{node.Changes, node.Fields});
            }
            return false;
        }
        if (std::tie(way->Changes, way->Fields) <= std::tie(node.Changes, node.Fields)) {
            return true;
        }
        *way = Way{node.Changes, node.Fields};
        return false;
    }

    // What the stages from s on can add together, reduced to what the bound reads: the
    // statuses the query asks for, power exactly, slot limits up to where they stop
    // mattering, the distance bonuses where a distance counts, and the changes. Of these
    // sums only the ones no other beats in every respect are kept. The bound at the
    // build's end is antitone in each kept respect, so a branch is hopeless when it is
    // hopeless with every kept sum added: the rest of the stages bounded together, not
    // each on its own.

    void BuildTails() {
        // Threads of one solve build their walks at once; the sums are kept for all.
        static std::mutex building;
        std::lock_guard<std::mutex> lock(building);
        const auto objective = static_cast<int>(q_.Objective);
        distance_ = q_.Objective == SearchObjective::Distance ||
                    q_.Objective == SearchObjective::PowerDistance ||
                    q_.Min[kMinDistance].has_value();
        py_ = q_.Objective == SearchObjective::PowerDistance;
        // The statuses whose highest value the objective's bound reads.
        for (int i = 0; i < kStatCount; ++i) {
            reads_[i] = q_.Objective == SearchObjective::Sum || (i == 0 && objective <= 2) ||
                        objective - 2 == i;
        }
        powCosts_ = objective >= 3 && q_.Objective != SearchObjective::Sum && !q_.Min[0] &&
                    !q_.Min[kMinDistance];
        // For the status sum, the statuses without a minimum that no penalty can touch
        // count only together: their sum stands in the first of them.
        pool_ = -1;
        for (int i = 1; i < kStatCount; ++i) {
            pooled_[i] = q_.Objective == SearchObjective::Sum && m_.NeverNegative &&
                         !q_.Min[i].has_value() && (i >= 3 || q_.NoPenalty);
            if (pooled_[i] && pool_ < 0) {
                pool_ = i;
            }
        }
        for (int i = 0; i < kStatCount; ++i) {
            wanted_[i] = i == 0 || q_.Objective == SearchObjective::Sum || objective - 2 == i ||
                         q_.Min[i].has_value();
            const int32_t bonus = i == 0 ? m_.LevelBonus : 0;
            const bool asked = q_.Objective == SearchObjective::Sum || objective - 2 == i ||
                               q_.Min[i].has_value() || (i == 0 && distance_);
            if (asked || !m_.CountFree[i]) {
                cap_[i] = slotCap_[i];
            } else {
                // Only whether the count as it stands still fits: changing it is a change.
                cap_[i] = std::clamp(m_.Current[kFieldCount + i] - bonus, 0, slotCap_[i]);
            }
        }
        const bool exactPowLimit = !m_.CountFree[0];
        int mins = 0;
        for (int i = 0; i < kMinimumCount; ++i) {
            mins |= q_.Min[i] ? 1 << i : 0;
        }
        auto& slot = m_.TailCaches[{static_cast<int>(q_.Objective), mins}];
        if (slot) {
            cache_ = slot.get();
            return;
        }
        slot = std::make_unique<SearchModel::TailCache>();
        cache_ = slot.get();
        auto& c = *slot;
        const bool distance = distance_;
        const bool py = py_;
        const auto& cap = cap_;
        for (size_t s = 1; s < m_.Stages.size(); ++s) {
            for (const auto& o : m_.Stages[s].Options) {
                for (int i = 0; i < kStatCount; ++i) {
                    if (o.Sl[i] < 0) {
                        return;  // limits that fall would make a capped sum too low
                    }
                }
            }
        }
        // Options alike in every respect the bound reads: one test tells for all of them.
        c.Groups.assign(m_.Stages.size(), {});
        for (size_t s = 1; s < m_.Stages.size(); ++s) {
            const auto& options = m_.Stages[s].Options;
            std::map<std::tuple<Five, Five, int32_t, int32_t, int32_t>, size_t> at;
            for (const uint32_t k : order_[s]) {
                const auto& o = options[k];
                Tail d;
                d.St = Projected(o.St);
                for (int i = 0; i < kStatCount; ++i) {
                    d.Sl[i] = std::min(cap[i], o.Sl[i]);
                }
                d.RingYard = distance ? o.Ring + o.Yard : 0;
                d.Py = py ? o.Py : 0;
                d.Changes = o.Changes;
                const auto [it, fresh] = at.try_emplace(
                    std::tuple(d.St, d.Sl, d.RingYard, d.Py, d.Changes), c.Groups[s].size());
                if (fresh) {
                    c.Groups[s].push_back(Group{d, {}});
                }
                c.Groups[s][it->second].Members.push_back(k);
            }
        }
        c.ByScore.assign(m_.Stages.size(), {});
        if (q_.Objective == SearchObjective::Sum || (objective >= 3 && objective <= 6)) {
            for (size_t s = 1; s < m_.Stages.size(); ++s) {
                for (size_t k = 0; k < c.Groups[s].size(); ++k) {
                    const Five& st = c.Groups[s][k].Delta.St;
                    const int32_t score = q_.Objective == SearchObjective::Sum
                                              ? st[0] + st[1] + st[2] + st[3] + st[4]
                                              : st[static_cast<size_t>(objective - 2)];
                    c.ByScore[s].push_back({score, static_cast<uint32_t>(k)});
                }
                std::stable_sort(c.ByScore[s].begin(), c.ByScore[s].end(),
                                 [](const auto& a, const auto& b) { return a.first > b.first; });
            }
        }
        // The groups in clusters alike: the same power (and a kept power count's same
        // limit), neighbours by what they add to the objective.
        const auto bucket = [&](const Tail& t) {
            return std::pair(t.St[0], exactPowLimit ? t.Sl[0] : 0);
        };
        c.GroupClusters.assign(m_.Stages.size(), {});
        c.GroupMembers.assign(m_.Stages.size(), {});
        for (size_t s = 1; s < m_.Stages.size(); ++s) {
            const auto& groups = c.Groups[s];
            std::vector<int32_t> score(groups.size());
            for (const auto& [v, k] : c.ByScore[s]) {
                score[k] = v;
            }
            auto& members = c.GroupMembers[s];
            members.resize(groups.size());
            std::iota(members.begin(), members.end(), 0u);
            std::stable_sort(members.begin(), members.end(), [&](uint32_t a, uint32_t b) {
                if (bucket(groups[a].Delta) != bucket(groups[b].Delta)) {
                    return bucket(groups[a].Delta) < bucket(groups[b].Delta);
                }
                return score[a] > score[b];
            });
            auto& clusters = c.GroupClusters[s];
            clusters = Gather(
                members.size(), [&](uint32_t k) -> const Tail& { return groups[members[k]].Delta; },
                bucket);
            for (auto& cluster : clusters) {
                cluster.Score = score[members[cluster.Begin]];
            }
            std::stable_sort(clusters.begin(), clusters.end(),
                             [](const auto& a, const auto& b) { return a.Score > b.Score; });
        }
        // a beats b: power (and a kept power count's limit) alike, nothing less, fewer
        // changes or as many.
        const auto beats = [&](const Tail& a, const Tail& b) {
            if (a.St[0] != b.St[0] || (exactPowLimit && a.Sl[0] != b.Sl[0]) ||
                a.Changes > b.Changes || a.RingYard < b.RingYard || a.Py < b.Py) {
                return false;
            }
            for (int i = 0; i < kStatCount; ++i) {
                if ((i > 0 && a.St[i] < b.St[i]) || a.Sl[i] < b.Sl[i]) {
                    return false;
                }
            }
            return true;
        };
        c.Tails.assign(m_.Stages.size() + 1, {});
        std::vector<Tail> after(1);
        std::vector<Tail> all;
        // Per sum: its power, a kept power count's limit, minus its weight, a hash of the
        // whole and its place in `all`.
        std::vector<std::tuple<int32_t, int32_t, int64_t, uint64_t, uint32_t>> by;
        for (size_t s = m_.Stages.size(); s-- > 1;) {
            if (after.size() * c.Groups[s].size() > kTailSums * 4) {
                return;  // far too many to reduce here
            }
            all.clear();
            all.reserve(after.size() * c.Groups[s].size());
            // A group's sum stands for all its options: the limits are not negative, so
            // capping a part first caps the whole alike.
            for (const Group& g : c.Groups[s]) {
                const Tail& o = g.Delta;
                for (const Tail& t : after) {
                    Tail n;
                    for (int i = 0; i < kStatCount; ++i) {
                        n.St[i] = t.St[i] + o.St[i];
                        n.Sl[i] = std::min(cap[i], t.Sl[i] + o.Sl[i]);
                    }
                    n.RingYard = t.RingYard + o.RingYard;
                    n.Py = t.Py + o.Py;
                    n.Changes = t.Changes + o.Changes;
                    all.push_back(n);
                }
            }
            // Only sums of the same power (and a kept power count's same limit) can beat
            // each other: each such bucket is reduced on its own, likely winners first so
            // that most sums are beaten by an early keeper. A sum that beats another weighs
            // more, so every sum meets the ones that could beat it before it; equal sums
            // lie together.
            const auto weight = [](const Tail& t) {
                int64_t w = t.RingYard + t.Py - 8 * t.Changes;
                for (int i = 0; i < kStatCount; ++i) {
                    w += (i > 0 ? t.St[i] : 0) + t.Sl[i];
                }
                return w;
            };
            const auto hash = [](const Tail& t) {
                uint64_t h = 1469598103934665603ull;
                const auto mix = [&h](int32_t v) {
                    h = (h ^ static_cast<uint32_t>(v)) * 1099511628211ull;
                };
                for (int i = 0; i < kStatCount; ++i) {
                    mix(t.St[i]);
                    mix(t.Sl[i]);
                }
                mix(t.RingYard);
                mix(t.Py);
                mix(t.Changes);
                return h;
            };
            by.clear();
            by.reserve(all.size());
            for (size_t k = 0; k < all.size(); ++k) {
                by.emplace_back(all[k].St[0], exactPowLimit ? all[k].Sl[0] : 0, -weight(all[k]),
                                hash(all[k]), static_cast<uint32_t>(k));
            }
            std::sort(by.begin(), by.end());
            const auto same = [&](size_t k) {
                return k > 0 && std::get<3>(by[k]) == std::get<3>(by[k - 1]) &&
                       all[std::get<4>(by[k])].Key() == all[std::get<4>(by[k - 1])].Key();
            };
            size_t distinct = 0;
            for (size_t k = 0; k < by.size(); ++k) {
                distinct += same(k) ? 0 : 1;
            }
            if (distinct > kTailSums) {
                return;  // too many to reduce here
            }
            // The most kept sums any test tries here: a branch's own test, the groups of
            // the stage before weighed against each, or the club sets at the root.
            const size_t before = s >= 2 ? c.Groups[s - 1].size() : m_.Stages[0].Options.size();
            const size_t most = std::min(
                kTailLimit, std::max(kTailTries, (s >= 2 ? kSharpEstimates : kRootEstimates) /
                                                     std::max<size_t>(1, before)));
            std::vector<Tail> kept;
            size_t bucket = 0;  // where the kept sums of the current bucket start
            for (size_t k = 0; k < by.size(); ++k) {
                if (same(k)) {
                    continue;
                }
                if (k > 0 && (std::get<0>(by[k]) != std::get<0>(by[k - 1]) ||
                              std::get<1>(by[k]) != std::get<1>(by[k - 1]))) {
                    bucket = kept.size();
                }
                const Tail& t = all[std::get<4>(by[k])];
                if (std::none_of(kept.begin() + static_cast<std::ptrdiff_t>(bucket), kept.end(),
                                 [&](const Tail& keeper) { return beats(keeper, t); })) {
                    kept.push_back(t);
                    if (kept.size() > most) {
                        return;  // too many to try at every branch: the box bound alone
                    }
                }
            }
            // The heaviest first across the buckets: a branch that is not hopeless is
            // most often shown so by one of them.
            std::stable_sort(kept.begin(), kept.end(),
                             [&](const Tail& a, const Tail& b) { return weight(a) > weight(b); });
            c.Tails[s] = kept;
            Cluster(c, s, exactPowLimit, weight);
            after = std::move(kept);
        }
    }

    // Consecutive runs of at most kClusterSize of `count` sums (part(k)) of one bucket,
    // each with what its members reach at best.
    template <class Part, class Bucket>
    static std::vector<SearchModel::TailCache::Cluster> Gather(size_t count, Part&& part,
                                                               Bucket&& bucket) {
        std::vector<SearchModel::TailCache::Cluster> out;
        for (uint32_t k = 0; k < count; ++k) {
            const Tail& t = part(k);
            if (out.empty() || out.back().End - out.back().Begin >= kClusterSize ||
                bucket(out.back().Best) != bucket(t)) {
                out.push_back({t, k, k});
            }
            auto& best = out.back().Best;
            for (int i = 0; i < kStatCount; ++i) {
                best.St[i] = std::max(best.St[i], t.St[i]);
                best.Sl[i] = std::max(best.Sl[i], t.Sl[i]);
            }
            best.RingYard = std::max(best.RingYard, t.RingYard);
            best.Py = std::max(best.Py, t.Py);
            best.Changes = std::min(best.Changes, t.Changes);
            out.back().End = k + 1;
        }
        return out;
    }

    // Gathers the kept sums of stage s into clusters of sums alike: the same power (and a
    // kept power count's same limit), neighbours by weight; and those into clusters alike.
    // A branch hopeless with a cluster's best in every respect is hopeless with each of
    // its sums.
    template <class Weight>
    static void Cluster(SearchModel::TailCache& c, size_t s, bool exactPowLimit, Weight&& weight) {
        using Cluster = SearchModel::TailCache::Cluster;
        c.Clusters.resize(c.Tails.size());
        c.Supers.resize(c.Tails.size());
        c.Members.resize(c.Tails.size());
        const auto& tails = c.Tails[s];
        auto& members = c.Members[s];
        members.resize(tails.size());
        std::iota(members.begin(), members.end(), 0u);
        const auto bucket = [&](const Tail& t) {
            return std::pair(t.St[0], exactPowLimit ? t.Sl[0] : 0);
        };
        std::stable_sort(members.begin(), members.end(), [&](uint32_t a, uint32_t b) {
            if (bucket(tails[a]) != bucket(tails[b])) {
                return bucket(tails[a]) < bucket(tails[b]);
            }
            return weight(tails[a]) > weight(tails[b]);
        });
        c.Clusters[s] = Gather(
            members.size(), [&](uint32_t k) -> const Tail& { return tails[members[k]]; }, bucket);
        const auto& clusters = c.Clusters[s];
        c.Supers[s] = Gather(
            clusters.size(), [&](uint32_t k) -> const Tail& { return clusters[k].Best; }, bucket);
        std::stable_sort(
            c.Supers[s].begin(), c.Supers[s].end(),
            [&](const Cluster& a, const Cluster& b) { return weight(a.Best) > weight(b.Best); });
    }

    // Calls `visit` with the place in Tails of every kept sum of stage s not shown hopeless
    // by its clusters' best (`hopeless`), until `visit` returns true; true when it did.
    template <class Hopeless, class Visit>
    bool ClusteredTails(size_t s, Hopeless&& hopeless, Visit&& visit) const {
        const auto& members = cache_->Members[s];
        const auto& clusters = cache_->Clusters[s];
        for (const auto& super : cache_->Supers[s]) {
            if (super.End - super.Begin > 1 && hopeless(super.Best)) {
                continue;
            }
            for (uint32_t c = super.Begin; c < super.End; ++c) {
                const auto& cluster = clusters[c];
                if (cluster.End - cluster.Begin > 1 && hopeless(cluster.Best)) {
                    continue;
                }
                for (uint32_t n = cluster.Begin; n < cluster.End; ++n) {
                    if (visit(members[n])) {
                        return true;
                    }
                }
            }
        }
        return false;
    }

    // Whether a child of `node` through options adding `d` at stage s can still give an
    // answer, told without making the child.
    // A child of `node` through options adding `d`, as far as the bound reads it.
    static Node Through(const Node& node, const Tail& d) {
        Node child;
        child.Known = node.Known;
        child.Fields = node.Fields;
        child.Club = node.Club;
        child.PP = node.PP;
        for (int i = 0; i < kStatCount; ++i) {
            child.St[i] = node.St[i] + d.St[i];
            child.Sl[i] = node.Sl[i] + d.Sl[i];
        }
        child.Ring = node.Ring + node.Yard + d.RingYard;
        child.Py = node.Py + d.Py;
        child.Changes = node.Changes + d.Changes;
        return child;
    }

    // What a group adds to the objective of one status or the sum.
    int32_t Score(const Tail& d) const {
        const Five& st = d.St;
        return q_.Objective == SearchObjective::Sum
                   ? st[0] + st[1] + st[2] + st[3] + st[4]
                   : st[static_cast<size_t>(static_cast<int>(q_.Objective) - 2)];
    }

    bool GroupHopeless(size_t s, const Node& node, const Tail& d,
                       std::pair<int32_t, int32_t>* estimate) const {
        const Node child = Through(node, d);
        if (Hopeless(s + 1, child, estimate)) {
            return true;
        }
        // Where the groups and the kept sums are few enough to weigh every pair, the
        // sharper estimate both leaves more groups and orders the rest.
        const size_t tails = s + 1 < cache_->Tails.size() ? cache_->Tails[s + 1].size() : 0;
        if (tails > 0 && cache_->Groups[s].size() * tails <= kSharpEstimates) {
            return !TailEstimate(s + 1, child, *estimate);
        }
        return false;
    }

    // The best estimate over the kept sums of stages s..: the value first, then the PP.
    // False when every sum leaves the branch hopeless.
    bool TailEstimate(size_t s, const Node& node, std::pair<int32_t, int32_t>& estimate) const {
        Node end;
        end.Known = node.Known;
        end.Fields = node.Fields;
        end.Club = node.Club;
        end.PP = node.PP;
        const auto hopeless = [&](const Tail& t, std::pair<int32_t, int32_t>* e) {
            for (int i = 0; i < kStatCount; ++i) {
                end.St[i] = node.St[i] + t.St[i];
                end.Sl[i] = node.Sl[i] + t.Sl[i];
            }
            end.Ring = node.Ring + node.Yard + t.RingYard;
            end.Py = node.Py + t.Py;
            end.Changes = node.Changes + t.Changes;
            return Hopeless(m_.Stages.size(), end, e);
        };
        bool any = false;
        const auto& tails = cache_->Tails[s];
        ClusteredTails(
            s, [&](const Tail& t) { return hopeless(t, nullptr); },
            [&](uint32_t k) {
                std::pair<int32_t, int32_t> e{};
                if (!hopeless(tails[k], &e)) {
                    if (!any || e.first > estimate.first ||
                        (e.first == estimate.first && e.second < estimate.second)) {
                        estimate = e;
                    }
                    any = true;
                }
                return false;
            });
        return any;
    }

    bool TailsHopeless(size_t s, const Node& node) {
        if (s >= cache_->Tails.size() || cache_->Tails[s].empty() ||
            cache_->Tails[s].size() > kTailTries) {
            return false;  // none, or too many to try at every branch
        }
        const auto& tails = cache_->Tails[s];
        if (lastHope_.size() < cache_->Tails.size()) {
            lastHope_.assign(cache_->Tails.size(), 0);
        }
        // The sum that last left a branch of this stage a hope first: neighbouring
        // branches are mostly kept by the same one.
        size_t& last = lastHope_[s];
        Node end;
        end.Known = node.Known;
        end.Fields = node.Fields;
        end.Club = node.Club;
        end.PP = node.PP;
        const auto hopeless = [&](const Tail& t) {
            for (int i = 0; i < kStatCount; ++i) {
                end.St[i] = node.St[i] + t.St[i];
                end.Sl[i] = node.Sl[i] + t.Sl[i];
            }
            end.Ring = node.Ring + node.Yard + t.RingYard;
            end.Py = node.Py + t.Py;
            end.Changes = node.Changes + t.Changes;
            return Hopeless(m_.Stages.size(), end);
        };
        if (last < tails.size() && !hopeless(tails[last])) {
            return false;
        }
        return !ClusteredTails(s, hopeless, [&](uint32_t k) {
            if (k != last && !hopeless(tails[k])) {
                last = k;
                return true;
            }
            return false;
        });
    }

    // When several answers are asked for, ways alike in all that decides the value, the PP
    // and the counts still possible reach, with any rest of the build, builds of the same
    // value and PP. If as many earlier ways as answers, each apart from the others in a
    // spin, curve or distance figure, or without a penalty in control or accuracy (which
    // no rest of the build can make equal), came
    // with fewer changes or lower indices, every build through this way ranks after as
    // many builds of different figures, and none of it can be an answer.
    bool Crowded(size_t s, const Node& node) {
        if (q_.Results == 1) {
            return false;
        }
        if (s >= crowd_.size()) {
            crowd_.resize(s + 1);
        }
        Key key{};
        size_t k = 0;
        const Five st = Projected(node.St);
        for (int i = 0; i < kStatCount; ++i) {
            key[k++] = st[i];
            key[k++] = std::min(node.Sl[i], slotCap_[i]);
        }
        key[k++] = (distance_ ? node.Ring + node.Yard : 0) + (py_ ? node.Py * 4096 : 0);
        key[k++] = node.Club;
        key[k++] = node.PP;
        // Without a penalty, control and accuracy show as they are summed.
        const Apart apart{q_.NoPenalty ? node.St[1] : 0,
                          q_.NoPenalty ? node.St[2] : 0,
                          node.St[3],
                          node.St[4],
                          node.Ring + node.Yard,
                          node.Py};
        auto& table = crowd_[s];
        std::vector<Crowd>* found = table.Find(key);
        if (found == nullptr) {
            // Each entry keeps at most one way more than the answers asked for.
            const size_t beside = (static_cast<size_t>(q_.Results) + 1) * sizeof(Crowd);
            if (!Remembers(table.Growth() + beside)) {
                return false;
            }
            found = &table.Insert(key, {});
            found->reserve(static_cast<size_t>(q_.Results) + 1);
            table.HoldsBeside(beside);
        }
        auto& ways = *found;  // at most Results, apart from each other, best first
        const auto before = [](const Crowd& a, int32_t changes, const BuildFields& fields) {
            return std::tie(a.Changes, a.Fields) < std::tie(changes, fields);
        };
        const auto limit = static_cast<size_t>(q_.Results);
        if (ways.size() == limit && before(ways.back(), node.Changes, node.Fields)) {
            return true;
        }
        const auto same = std::find_if(ways.begin(), ways.end(),
                                       [&apart](const Crowd& c) { return c.Figures == apart; });
        if (same != ways.end()) {
            if (before(*same, node.Changes, node.Fields)) {
                return false;
            }
            ways.erase(same);
        }
        const auto at = std::find_if(ways.begin(), ways.end(), [&](const Crowd& c) {
            return !before(c, node.Changes, node.Fields);
        });
        ways.insert(at, Crowd{apart, node.Changes, node.Fields});
        if (ways.size() > limit) {
            ways.pop_back();
        }
        return false;
    }

    // The statuses as the bound reads them: the ones it asks for, the pooled ones as
    // their sum.
    Five Projected(const Five& st) const {
        Five p{};
        for (int i = 0; i < kStatCount; ++i) {
            if (pooled_[i]) {
                p[static_cast<size_t>(pool_)] += st[i];
            } else if (wanted_[i]) {
                p[i] = st[i];
            }
        }
        return p;
    }

    int64_t Promise(const SearchModel::Option& o) const {
        const auto& st = o.St;
        int64_t score = 0;
        switch (q_.Objective) {
            case SearchObjective::Distance:
                score = 2 * st[0] + o.Ring + o.Yard;
                break;
            case SearchObjective::PowerDistance:
                score = 2 * st[0] + o.Ring + o.Yard + o.Py;
                break;
            case SearchObjective::Sum:
                score = st[0] + st[1] + st[2] + st[3] + st[4];
                break;
            case SearchObjective::LeastPP:
                break;
            default:
                score = st[static_cast<int>(q_.Objective) - 2];
        }
        score *= 16;
        for (int i = 0; i < kStatCount; ++i) {
            if (q_.Min[i]) {
                score += 4 * st[i];
            }
        }
        return score;
    }

    bool Wanted(int i) const {
        switch (q_.Objective) {
            case SearchObjective::Distance:
            case SearchObjective::PowerDistance:
            case SearchObjective::Pow:
                return i == 0;
            case SearchObjective::Sum:
                return true;
            case SearchObjective::LeastPP:
                return false;
            default:
                return i == static_cast<int>(q_.Objective) - 2;
        }
    }

    // True when no build below `node` (stages s.. still open) can meet the conditions or
    // rank before what is already kept.
    bool Hopeless(size_t s, const Node& node,
                  std::pair<int32_t, int32_t>* estimate = nullptr) const {
        if (node.Club < 0) {
            return false;
        }
        const auto& rest = m_.Rest[s];
        const int32_t limit = m_.Limit;
        const TStatus& clubLimit = ClubSets()[node.Club].ClubSlotLimit;
        Five lo{}, hi{}, cu{}, cv{}, spin{};
        for (int i = 0; i < kStatCount; ++i) {
            lo[i] = node.St[i] + rest.StMin[i];
            hi[i] = node.St[i] + rest.StMax[i];
            if (i < node.UpDone) {
                continue;
            }
            const int32_t bonus = i == 0 ? m_.LevelBonus : 0;
            const int32_t limitLo = node.Sl[i] + rest.SlMin[i] + bonus;
            const int32_t limitHi = node.Sl[i] + rest.SlMax[i] + bonus;
            const int32_t here = m_.Current[kFieldCount + i];
            // A count adds at most its limit, and status and limit come from the same
            // options: what the rest adds to both together bounds both.
            const int32_t room = node.Sl[i] + bonus + rest.JointMax[i] - rest.StMax[i];
            if (m_.CountFree[i]) {
                spin[i] = std::max(0, std::min(CharaSpinnerMax(i), limitHi));
                cu[i] = std::max(0, std::min(spin[i], room));
            } else {
                lo[i] += std::min(here, limitLo);
                hi[i] += std::max(0, std::min({here, limitHi, room}));
            }
            if (m_.ClubCountFree[i]) {
                cv[i] = std::max(0, StatField(clubLimit, i));
            }
        }
        const int32_t ringYard = node.Ring + node.Yard + rest.RingMax + rest.YardMax;
        const int32_t py = node.Py + rest.PyMax;
        if (q_.NoPenalty && lo[0] > limit) {
            return true;
        }
        const int32_t excessLo = std::max(0, lo[0] - limit);

        // What every status must reach: the minimums, and the last kept answer's value.
        Five need;
        need.fill(kUnreachable);
        const auto require = [&need](int i, int32_t v) { need[i] = std::max(need[i], v); };
        for (int i = 0; i < kStatCount; ++i) {
            if (q_.Min[i]) {
                if (i == 1 || i == 2) {
                    if (*q_.Min[i] > 0) {
                        require(i, *q_.Min[i] + excessLo);
                    }
                } else {
                    require(i, *q_.Min[i]);
                }
            }
        }
        if (q_.Min[kMinDistance]) {
            require(0, 15 + CeilHalf(*q_.Min[kMinDistance] - 230 - ringYard));
        }
        const FoundBuild* const last = Last();
        const bool full = last != nullptr;
        if (full) {
            const int32_t bar = last->Rank;
            switch (q_.Objective) {
                case SearchObjective::Distance:
                    require(0, 15 + CeilHalf(bar - 230 - ringYard));
                    break;
                case SearchObjective::PowerDistance:
                    require(0, 15 + CeilHalf(bar - 240 - ringYard - py));
                    break;
                case SearchObjective::Pow:
                case SearchObjective::Spin:
                case SearchObjective::Cur:
                    require(static_cast<int>(q_.Objective) - 2, bar);
                    break;
                case SearchObjective::Ctrl:
                case SearchObjective::Exa:
                    if (bar > 0) {
                        require(static_cast<int>(q_.Objective) - 2, bar + excessLo);
                    }
                    break;
                default:
                    break;
            }
        }
        if (q_.NoPenalty && need[0] > limit) {
            return true;
        }
        int32_t ppLow = node.PP;
        Five short_{}, cost{};
        for (int i = 0; i < kStatCount; ++i) {
            short_[i] = std::max(0, need[i] - hi[i]);
            cost[i] = MinCost(i, short_[i], cu[i], cv[i]);
            if (cost[i] == kNoLimit) {
                return true;
            }
            ppLow += cost[i];
        }
        if (q_.Budget && ppLow > *q_.Budget) {
            return true;
        }
        // What the budget buys of each status on its own; the status sum bounds what it
        // buys of all together instead.
        const bool together = q_.Objective == SearchObjective::Sum && m_.NeverNegative;
        for (int i = 0; i < kStatCount; ++i) {
            if (q_.Budget && !together && reads_[i]) {
                hi[i] += MostBought(i, short_[i], *q_.Budget - ppLow, cu[i], cv[i]);
            } else {
                hi[i] += cu[i] + cv[i];  // or not read below
            }
        }
        const int32_t powHi = q_.NoPenalty ? std::min(hi[0], limit) : hi[0];
        const int32_t powLo = lo[0];
        int32_t best = 0;
        switch (q_.Objective) {
            case SearchObjective::Distance:
                best = (powHi - 15) * 2 + 230 + ringYard;
                break;
            case SearchObjective::PowerDistance:
                best = (powHi - 15) * 2 + 240 + ringYard + py;
                break;
            case SearchObjective::Pow:
                best = powHi;
                break;
            case SearchObjective::Ctrl:
            case SearchObjective::Exa:
                best = std::max(0, hi[static_cast<int>(q_.Objective) - 2] - excessLo);
                break;
            case SearchObjective::Spin:
            case SearchObjective::Cur:
                best = hi[static_cast<int>(q_.Objective) - 2];
                break;
            case SearchObjective::Sum: {
                // Power beyond the limit costs control and accuracy, so the sum is
                // greatest at an end of power's range or where a penalty term bottoms out.
                best = kUnreachable;
                for (int32_t p : {powLo, powHi, limit, limit + hi[1], limit + hi[2]}) {
                    p = std::clamp(p, powLo, std::max(powLo, powHi));
                    const int32_t e = std::max(0, p - limit);
                    best = std::max(
                        best, p + std::max(0, hi[1] - e) + std::max(0, hi[2] - e) + hi[3] + hi[4]);
                }
                if (!m_.NeverNegative) {
                    break;  // a status below 0 shows as 0 after a penalty: not a plain sum
                }
                const auto [sharper, ppNeed] =
                    SumBound(s, node, cu, spin, cv, powHi, full ? last->Rank : kUnreachable);
                if (sharper < best) {
                    best = sharper;
                }
                if (ppNeed > ppLow) {
                    ppLow = ppNeed;
                    if (q_.Budget && ppLow > *q_.Budget) {
                        return true;
                    }
                }
                break;
            }
            case SearchObjective::LeastPP:
                best = -ppLow;
                break;
        }
        if (estimate != nullptr) {
            *estimate = {best, ppLow};
        }
        if (full) {
            if (top_ && best >= top_->Rank) {
                // Nothing passes the known best: at best a branch ties with it.
                best = top_->Rank;
                ppLow = std::max(ppLow, top_->PP);
            }
            if (best != last->Rank) {
                return best < last->Rank;
            }
            if (ppLow != last->Figures.PP) {
                return ppLow > last->Figures.PP;
            }
            const int32_t changes =
                node.Changes + ChangesNeeded(s, node, spin, cv, excessLo, last->Rank,
                                             last->Figures.PP, last->Changes - node.Changes);
            if (changes != last->Changes) {
                return changes > last->Changes;
            }
            return LexAfter(node, last->Fields);
        }
        return false;
    }

    // Once the answers are full, for an objective of one status or the sum: the most a
    // child of `node` through any group of stage s can reach beyond what the group adds
    // to the objective: what the later stages add at most, every count at its top (within
    // the budget). None where no such bound holds.
    std::optional<int64_t> ScoreRoom(size_t s, const Node& node) const {
        if (Last() == nullptr || node.Club < 0) {
            return std::nullopt;
        }
        const auto& rest = m_.Rest[s + 1];
        const TStatus& clubLimit = ClubSets()[node.Club].ClubSlotLimit;
        const bool budget = q_.Budget.has_value();
        const int64_t money = budget ? int64_t{*q_.Budget} - node.PP : 0;
        Units units;
        int64_t kept = 0;
        int64_t free = 0;
        const auto counts = [&](int i) {
            units.Club[i] = m_.ClubCountFree[i] ? std::max(0, StatField(clubLimit, i)) : 0;
            if (m_.CountFree[i]) {
                units.Chara[i] = CharaSpinnerMax(i);
            } else {
                kept += std::max(0, m_.Current[kFieldCount + i]);
            }
            free += units.Chara[i] + units.Club[i];
        };
        if (q_.Objective == SearchObjective::Sum) {
            if (!q_.NoPenalty && !m_.NeverNegative) {
                return std::nullopt;  // a penalty can raise a status below 0 to 0
            }
            int64_t total = rest.SumMax[0];
            for (int i = 0; i < kStatCount; ++i) {
                total += node.St[i];
                counts(i);
            }
            return total + kept + (budget ? std::min(free, Most(units, money)) : free);
        }
        const int i = static_cast<int>(q_.Objective) - 2;
        if (i < 1 || i >= kStatCount || ((i == 1 || i == 2) && Last()->Rank <= 0)) {
            return std::nullopt;  // control and accuracy never show below 0
        }
        counts(i);
        int64_t bought = free;
        if (budget) {
            bought = money < 0 ? 0
                               : MostBought(i, 0, static_cast<int32_t>(money), units.Chara[i],
                                            units.Club[i]);
        }
        return int64_t{node.St[i]} + rest.StMax[i] + kept + bought;
    }

    // The status sum bounded over the options together rather than stat by stat: what
    // the stages from s on add to the five statuses at once, with each open count adding
    // at most its slot limit or at most its top, whichever the stage maxima make less;
    // with a budget, at most the units of upgrade it buys. Also the least PP a build
    // reaching `bar` needs: the units beyond what the statuses and kept counts give.
    //
    // The units are weighed two ways, each a bound on its own, and the tighter taken:
    // - with the options' most status sum, a free character count is capped only by all
    //   it can ever take (`spin`), since an option adding less status may add more limit;
    // - with each status at its own most, a count is capped by `cu`, the room its limit
    //   leaves beside that most: an option adding d less of a status adds at most d more
    //   to its limit, so d fewer units stand for what it gives up.
    // The options' most status sum with the counts capped by `cu` is no bound: the
    // option that adds most to the sum need not leave any count that room.
    std::pair<int32_t, int32_t> SumBound(size_t s, const Node& node, const Five& cu,
                                         const Five& spin, const Five& cv, int32_t powHi,
                                         int32_t bar) const {
        const auto& rest = m_.Rest[s];
        int32_t total = 0;
        int32_t kept = 0;
        int32_t eachMost = 0;
        Five room{}, top{};
        unsigned open = 0;
        Units units;   // capped by all a count can take
        Units beside;  // capped by the room beside each status at its most
        for (int i = 0; i < kStatCount; ++i) {
            total += node.St[i];
            eachMost += rest.StMax[i];
            if (i < node.UpDone) {
                continue;
            }
            open |= 1u << i;
            const int32_t here = m_.Current[kFieldCount + i];
            room[i] = node.Sl[i] + (i == 0 ? m_.LevelBonus : 0);
            top[i] = (m_.CountFree[i] ? CharaSpinnerMax(i) : here) + cv[i];
            room[i] += cv[i];
            if (m_.CountFree[i]) {
                units.Chara[i] = spin[i];
                beside.Chara[i] = cu[i];
            } else {
                kept += std::max(0, here);
            }
            units.Club[i] = cv[i];
            beside.Club[i] = cv[i];
        }
        const std::pair<int64_t, Units> plain{int64_t{total} + kept + rest.SumMax[0], units};
        const std::pair<int64_t, Units> each{int64_t{total} + kept + eachMost, beside};
        int32_t best = std::numeric_limits<int32_t>::max();
        if (m_.LimitsRise && s == m_.Stages.size()) {
            // Nothing left to choose but counts: each adds the less of limit and top.
            best = total;
            for (int i = 0; i < kStatCount; ++i) {
                if ((open >> i & 1) != 0) {
                    best += std::min(room[i], top[i]);
                }
            }
            if (q_.NoPenalty) {
                int32_t b = std::min(powHi, m_.Limit) + total - node.St[0];
                for (int i = 1; i < kStatCount; ++i) {
                    if ((open >> i & 1) != 0) {
                        b += std::min(room[i], top[i]);
                    }
                }
                best = std::min(best, b);
            }
        } else if (m_.LimitsRise) {
            // Before the counts every count is open: the least over the sets of the stats
            // whose limit binds, with what those limits add over the tops summed set by set.
            std::array<int32_t, 1 << kStatCount> over{};
            int32_t tops = 0;
            for (int i = 0; i < kStatCount; ++i) {
                tops += top[i];
            }
            int32_t least = rest.SumMax[0];
            for (unsigned set = 1; set < over.size(); ++set) {
                const int i = std::countr_zero(set);
                over[set] = over[set & (set - 1)] + room[i] - top[i];
                least = std::min(least, rest.SumMax[set] + over[set]);
            }
            best = total + tops + least;
            if (q_.NoPenalty) {
                // Power stops at the limit; the other four bounded alike.
                int32_t leastNoPow = rest.SumMaxNoPow[0];
                for (unsigned set = 1; set < rest.SumMaxNoPow.size(); ++set) {
                    leastNoPow = std::min(leastNoPow, rest.SumMaxNoPow[set] + over[set << 1]);
                }
                best = std::min(best, std::min(powHi, m_.Limit) + total - node.St[0] + tops -
                                          top[0] + leastNoPow);
            }
        }
        if (q_.Budget) {
            const int64_t money = int64_t{*q_.Budget} - node.PP;
            const int64_t most = std::min(plain.first + Most(plain.second, money),
                                          each.first + Most(each.second, money));
            best = static_cast<int32_t>(std::min<int64_t>(best, most));
        }
        int32_t ppNeed = 0;
        // Only a budget or a tie reads the PP a build reaching the bar needs.
        if (bar != kUnreachable && (q_.Budget || best <= bar)) {
            int64_t cost = 0;
            for (const auto& [from, caps] : {plain, each}) {
                if (bar > from && cost >= 0) {
                    const int64_t c = Cheapest(caps, bar - from);
                    cost = c < 0 ? -1 : std::max(cost, c);
                }
            }
            ppNeed = cost < 0 ? std::numeric_limits<int32_t>::max()
                              : static_cast<int32_t>(std::min<int64_t>(node.PP + cost, kNoLimit));
        }
        return {best, ppNeed};
    }

    // Units::Most and Units::Cheapest, remembered: the walk asks them of few distinct
    // counts many times.
    struct Remembered {
        uint64_t Caps = 0;  // 0: empty
        int64_t Arg = 0;
        int64_t Value = 0;
    };
    template <class Answer>
    int64_t Remember(std::vector<Remembered>& table, const Units& units, int64_t arg,
                     Answer&& answer) const {
        uint64_t caps = 1;
        for (int i = 0; i < kStatCount; ++i) {
            if (units.Chara[i] >= 64 || units.Club[i] >= 64) {
                return answer();
            }
            caps = caps << 6 | static_cast<uint64_t>(units.Chara[i]);
            caps = caps << 6 | static_cast<uint64_t>(units.Club[i]);
        }
        const uint64_t h =
            (caps ^ static_cast<uint64_t>(arg) * 0xC2B2AE3D27D4EB4Full) * 0x9E3779B97F4A7C15ull;
        if (table.empty()) {
            table.resize(size_t{1} << kRememberedBits);
        }
        Remembered& slot = table[h >> (64 - kRememberedBits)];
        if (slot.Caps != caps || slot.Arg != arg) {
            slot = {caps, arg, answer()};
        }
        return slot.Value;
    }
    int64_t Cheapest(const Units& units, int64_t n) const {
        return Remember(cheapest_, units, n, [&] { return units.Cheapest(n); });
    }
    int64_t Most(const Units& units, int64_t money) const {
        return Remember(most_, units, money, [&] { return units.Most(money); });
    }

    // True when every build below `node` has larger list indices than `fields`: the
    // first field where they differ is already chosen, and so is every field before it.
    bool LexAfter(const Node& node, const BuildFields& fields) const {
        const auto& decided = decided_[std::min<size_t>(node.Known, decided_.size() - 1)];
        for (int k = 0; k < kBuildFieldCount; ++k) {
            bool chosen = decided[static_cast<size_t>(k)];
            if (k >= kFieldCount && k < kFieldCount + kStatCount) {
                chosen = !m_.CountFree[k - kFieldCount] || k - kFieldCount < node.UpDone;
            } else if (k >= kFieldClubCount) {
                chosen = k - kFieldClubCount < node.UpDone;
            }
            if (!chosen) {
                return false;
            }
            if (node.Fields[k] != fields[k]) {
                return node.Fields[k] > fields[k];
            }
        }
        return true;  // the very same build
    }

    // The fewest free count fields still open below `node` that must change so that the
    // counts add `units` of each stat within `money` PP; 1000 when no change does it. A
    // field as it stands adds its count and costs its price; a changed one adds what it
    // is given, the two of a stat as evenly as their caps (`cu`, `cv`) allow.
    int32_t CountChanges(const Node& node, const Five& cu, const Five& cv, const Five& units,
                         int32_t money) const {
        constexpr int64_t kNever = std::numeric_limits<int64_t>::max() / 4;
        // The least PP by number of fields changed, over the stats weighed so far.
        std::array<int64_t, 2 * kStatCount + 1> least;
        least.fill(kNever);
        least[0] = 0;
        int fields = 0;
        for (int i = node.UpDone; i < kStatCount; ++i) {
            const bool freeU = m_.CountFree[i];
            const bool freeV = m_.ClubCountFree[i];
            if (!freeU && !freeV) {
                if (units[i] > 0) {
                    return 1000;
                }
                continue;
            }
            const int64_t w = kUpgradeWeight[i];
            const int32_t r = std::max(0, units[i]);
            const int32_t hu = freeU ? m_.Current[kFieldCount + i] : 0;
            const int32_t hv = freeV ? m_.Current[kFieldClubCount + i] : 0;
            const int64_t pu = w * hu * (hu + 1);
            const int64_t pv = w * hv * (hv + 1);
            const bool standsU = hu <= cu[i];
            const bool standsV = hv <= cv[i];
            // One field bought anew to add x while the other stands.
            const auto alone = [&](int32_t x, int32_t cap) -> int64_t {
                x = std::max(0, x);
                return x <= cap ? w * x * (x + 1) : kNever;
            };
            std::array<int64_t, 3> cost{kNever, kNever, kNever};
            if (standsU && standsV && hu + hv >= r) {
                cost[0] = pu + pv;
            }
            if (freeU && standsV) {
                cost[1] = std::min(cost[1], alone(r - hv, cu[i]) + pv);
            }
            if (freeV && standsU) {
                cost[1] = std::min(cost[1], alone(r - hu, cv[i]) + pu);
            }
            if (freeU && freeV) {
                const int32_t c = MinCost(i, r, cu[i], cv[i]);
                cost[2] = c == kNoLimit ? kNever : c;
            }
            const int more = (freeU ? 1 : 0) + (freeV ? 1 : 0);
            std::array<int64_t, 2 * kStatCount + 1> next;
            next.fill(kNever);
            for (int k = 0; k <= fields; ++k) {
                if (least[static_cast<size_t>(k)] >= kNever) {
                    continue;
                }
                for (int c = 0; c <= more; ++c) {
                    auto& to = next[static_cast<size_t>(k + c)];
                    to = std::min(to, least[static_cast<size_t>(k)] + cost[static_cast<size_t>(c)]);
                }
            }
            least = next;
            fields += more;
        }
        for (int k = 0; k <= fields; ++k) {
            if (least[static_cast<size_t>(k)] <= money) {
                return k;
            }
        }
        return 1000;
    }

    // The fewest changes a build below `node` still needs to tie with the last kept
    // answer (value `bar`, `ppBar` PP) and meet the conditions: n changes of the open
    // stages, each condition gaining at most its n largest gains per change, and the
    // count fields that must change to buy the rest of every condition at once within
    // the PP left (a count as it stands costs its price). The least total over n.
    // Past `most` changes the count is only known to be more.
    int32_t ChangesNeeded(size_t s, const Node& node, const Five& cu, const Five& cv,
                          int32_t excessLo, int32_t bar, int32_t ppBar, int32_t most) const {
        const auto& g = m_.RestGains[s];
        const auto fewest = [](int32_t gap, std::span<const int32_t> sorted) {
            int32_t n = 0;
            for (size_t a = 0; gap > 0; ++a, ++n) {
                if (a == sorted.size() || sorted[a] <= 0) {
                    return 1000;  // out of reach: more than any build changes
                }
                gap -= sorted[a];
            }
            return n;
        };

        // What the counts can give within the PP left, and what kept counts give.
        Five kept{}, up{}, keptLow{};
        const int32_t money = ppBar - node.PP;
        for (int i = node.UpDone; i < kStatCount; ++i) {
            const int32_t here = m_.Current[kFieldCount + i];
            const int32_t bonus = i == 0 ? m_.LevelBonus : 0;
            if (!m_.CountFree[i]) {
                const int32_t limitLo = node.Sl[i] + m_.Rest[s].SlMin[i] + bonus;
                const int32_t limitHi = node.Sl[i] + m_.Rest[s].SlMax[i] + bonus;
                kept[i] = std::max(0, std::min(here, limitHi));
                keptLow[i] = std::max(0, std::min(here, limitLo));
            }
        }
        // What the counts can give within the PP left, asked only of the statuses a
        // condition reads.
        std::array<bool, kStatCount> bought{};
        const auto buy = [&](int i) {
            if (!bought[i]) {
                bought[i] = true;
                up[i] =
                    kept[i] +
                    (money >= 0 && i >= node.UpDone ? MostBought(i, 0, money, cu[i], cv[i]) : 0);
            }
        };
        // What dimension d reaches with the stages as they stand and the counts adding
        // `add`.
        const auto valueWith = [&](int d, const Five& add) {
            const Five& st = node.St;
            int32_t v = 0;
            switch (d) {
                case 5:
                    v = 2 * (st[0] + add[0]) + node.Ring + node.Yard;
                    break;
                case 6:
                    v = 2 * (st[0] + add[0]) + node.Ring + node.Yard + node.Py;
                    break;
                case 7:
                    for (int i = 0; i < kStatCount; ++i) {
                        v += st[i] + add[i];
                    }
                    break;
                default:
                    v = st[d] + add[d];
            }
            return v + g.Kept[d];
        };
        int32_t stages = 0;
        std::array<int32_t, SearchModel::CharaModel::kDims> target;
        target.fill(kUnreachable);
        const auto reach = [&](int d, int32_t t) {
            target[d] = std::max(target[d], t);
            for (int i = 0; i < kStatCount; ++i) {
                if (i == d || (i == 0 && (d == 5 || d == 6)) || d == 7) {
                    buy(i);
                }
            }
            stages = std::max(stages, fewest(t - valueWith(d, up), g.Up[d]));
        };
        switch (q_.Objective) {
            case SearchObjective::Distance:
                reach(5, bar - 200);
                break;
            case SearchObjective::PowerDistance:
                reach(6, bar - 210);
                break;
            case SearchObjective::Pow:
            case SearchObjective::Spin:
            case SearchObjective::Cur:
                reach(static_cast<int>(q_.Objective) - 2, bar);
                break;
            case SearchObjective::Ctrl:
            case SearchObjective::Exa:
                if (bar > 0) {
                    reach(static_cast<int>(q_.Objective) - 2, bar + excessLo);
                }
                break;
            case SearchObjective::Sum:
                reach(7, bar);
                break;
            case SearchObjective::LeastPP:
                break;
        }
        for (int i = 0; i < kStatCount; ++i) {
            if (q_.Min[i] && (*q_.Min[i] > 0 || (i != 1 && i != 2))) {
                reach(i, *q_.Min[i] + (i == 1 || i == 2 ? excessLo : 0));
            }
        }
        if (q_.Min[kMinDistance]) {
            reach(5, *q_.Min[kMinDistance] - 200);
        }
        if (q_.NoPenalty) {
            stages =
                std::max(stages, fewest(node.St[0] + g.KeptPow + keptLow[0] - m_.Limit, g.PowDown));
        }
        if (stages >= 1000 || money < 0) {
            return 1000;
        }
        // Each condition alone may take every PP left for its counts; together they share
        // them. With n stage changes, each dimension gains at most its n largest gains,
        // and the counts must buy the rest of every condition at once: the fewest count
        // fields changed that do it within the PP left.
        const size_t open = g.Up[0].size();
        std::array<int32_t, SearchModel::CharaModel::kDims> gained{};
        int32_t fewestTotal = 1000;
        // Totals below `below` are only compared with it, so the first one found will do.
        const int32_t below = most - g.MustChange;
        for (size_t n = 0;
             n <= open && static_cast<int32_t>(n) < fewestTotal && static_cast<int32_t>(n) <= below;
             ++n) {
            if (n >= static_cast<size_t>(stages)) {
                Five units{};
                for (int d = 0; d < SearchModel::CharaModel::kDims; ++d) {
                    if (target[d] == kUnreachable) {
                        continue;
                    }
                    const int32_t gap = target[d] - valueWith(d, kept) - gained[d];
                    if (d < kStatCount) {
                        units[d] = std::max(units[d], gap);
                    } else if (d < 7) {
                        units[0] = std::max(units[0], CeilHalf(gap));
                    }
                }
                bool fits = true;
                if (target[7] != kUnreachable) {
                    Units free;
                    free.Chara = cu;
                    free.Club = cv;
                    const int64_t all =
                        Cheapest(free, int64_t{target[7]} - valueWith(7, kept) - gained[7]);
                    fits = all >= 0 && all <= money;
                }
                const int32_t counts = fits ? CountChanges(node, cu, cv, units, money) : 1000;
                fewestTotal = std::min(fewestTotal, static_cast<int32_t>(n) + counts);
                if (fewestTotal < below) {
                    break;
                }
            }
            if (n < open) {
                for (int d = 0; d < SearchModel::CharaModel::kDims; ++d) {
                    gained[d] += std::max(0, g.Up[d][n]);
                }
            }
        }
        return g.MustChange + fewestTotal;
    }

    // A whole build: its figures, the conditions, and its place among those kept.
    void Offer(const Node& node) {
        FoundBuild b;
        b.Fields = node.Fields;
        b.Changes = node.Changes;
        const Five& s = node.St;
        const int32_t limit = m_.Limit;
        BuildFigures& f = b.Figures;
        f.Final = MakeStatus(s[0], s[1], s[2], s[3], s[4]);
        if (s[0] > limit) {
            const int32_t e = s[0] - limit;
            f.Final.Ctrl = std::max(0, s[1] - e);
            f.Final.Exa = std::max(0, s[2] - e);
            f.Penalty = limit - s[0];
            if (q_.NoPenalty) {
                return;
            }
        }
        const int32_t d = (s[0] - 15) * 2 + 230 + node.Ring + node.Yard;
        f.Distances = {d, d + node.Py + 10, d + node.Py + 20};
        f.PP = node.PP;
        for (int i = 0; i < kStatCount; ++i) {
            if (q_.Min[i] && StatField(f.Final, i) < *q_.Min[i]) {
                return;
            }
        }
        if (q_.Min[kMinDistance] && d < *q_.Min[kMinDistance]) {
            return;
        }
        if (q_.Budget && f.PP > *q_.Budget) {
            return;
        }
        b.Value = ObjectiveValue(q_.Objective, f);
        b.Rank = q_.Objective == SearchObjective::LeastPP ? -f.PP : b.Value;
        Rank(b);
    }

    // The last of the answers once there are as many as asked for; else the floor, if any.
    const FoundBuild* Last() const {
        if (found_.size() >= static_cast<size_t>(q_.Results)) {
            return &found_.back();
        }
        return floor_;
    }

    // A node's loop over its children, by stage, where a thread can hand some of them
    // over: At is the child walked, End where this thread stops.
    struct Frame {
        bool Open = false;
        size_t At = 0;
        size_t End = 0;
        const Node* From = nullptr;
        bool Grouped = false;  // the children by the open groups, else one by one
    };

    // The options of the g-th child of a stage-s loop.
    std::span<const uint32_t> Children(size_t s, size_t g, bool grouped) const {
        if (grouped) {
            return cache_->Groups[s][static_cast<size_t>(std::get<2>(open_[s][g]))].Members;
        }
        return {&order_[s][g], 1};
    }

    Frame& Enter(size_t s, const Node& node, size_t count, bool grouped) {
        Frame& frame = frames_[s];  // sized once: the loops above hold theirs
        frame.Open = handsOver_ && s >= shareStage_;
        frame.At = 0;
        frame.End = count;
        frame.From = &node;
        frame.Grouped = grouped;
        return frame;
    }

    // When a thread waits for work, the later half of the children still to walk at this
    // thread's shallowest node with at least two left after the one it walks.
    void Hand() {
        if (shared_.Waiting[chara_].load(std::memory_order_relaxed) == 0) {
            return;
        }
        for (size_t s = shareStage_; s < frames_.size(); ++s) {
            Frame& frame = frames_[s];
            if (!frame.Open || frame.End - frame.At < 3) {
                continue;
            }
            Task task;
            task.Stage = s;
            task.From = *frame.From;
            const size_t half = frame.At + 1 + (frame.End - frame.At - 1) / 2;
            for (size_t g = half; g < frame.End; ++g) {
                const auto options = Children(s, g, frame.Grouped);
                task.Options.insert(task.Options.end(), options.begin(), options.end());
            }
            std::lock_guard<std::mutex> lock(shared_.TaskLock);
            auto& tasks = shared_.Tasks[chara_];
            if (tasks.size() >= static_cast<size_t>(shared_.Waiting[chara_].load())) {
                return;  // enough handed over already
            }
            frame.End = half;
            tasks.push_back(std::move(task));
            shared_.TaskReady.notify_one();
            return;
        }
    }

public:
    // Walks what another thread handed over.
    void WalkHanded(const Task& task) {
        for (const uint32_t i : task.Options) {
            Descend(task.Stage, task.From, m_.Stages[task.Stage].Options[i]);
        }
    }

private:
    // The answers only get better, so a build that would not enter this thread's copy
    // of them would not enter them as they stand either.
    void Rank(const FoundBuild& b) {
        if (!Enters(found_, b)) {
            return;
        }
        {
            std::lock_guard<std::mutex> lock(shared_.Lock);
            if (Enters(shared_.Answers, b)) {
                auto& answers = shared_.Answers;
                std::erase_if(answers,
                              [&b](const FoundBuild& f) { return f.Figures == b.Figures; });
                answers.insert(std::upper_bound(answers.begin(), answers.end(), b, RanksBefore), b);
                if (answers.size() > static_cast<size_t>(q_.Results)) {
                    answers.pop_back();
                }
                shared_.Version.fetch_add(1, std::memory_order_release);
            }
        }
        Pull();
    }

    // Whether `b` is among the best builds of distinct figures once added to `answers`:
    // it ranks before the one of its figures there, if any, and before the last unless
    // there is room.
    bool Enters(const std::vector<FoundBuild>& answers, const FoundBuild& b) const {
        if (floor_ != nullptr && RanksBefore(*floor_, b)) {
            return false;  // past the floor: no answer of this walk
        }
        for (const FoundBuild& f : answers) {
            if (f.Figures == b.Figures) {
                return RanksBefore(b, f);
            }
        }
        return std::upper_bound(answers.begin(), answers.end(), b, RanksBefore) - answers.begin() <
               q_.Results;
    }

    // The answers as the threads have left them.
    void Pull() {
        std::lock_guard<std::mutex> lock(shared_.Lock);
        found_ = shared_.Answers;
        version_ = shared_.Version.load(std::memory_order_relaxed);
        ++answersChanged_;
    }

    void Poll() {
        if (shared_.Stop.load(std::memory_order_relaxed) ||
            (control_ != nullptr && control_->Cancelled && control_->Cancelled())) {
            shared_.Stop.store(true, std::memory_order_relaxed);
            throw Cancelled{};
        }
        if (shared_.Found != nullptr && std::this_thread::get_id() == shared_.Caller &&
            shared_.Version.load(std::memory_order_acquire) != shared_.Told) {
            std::vector<FoundBuild> answers;
            {
                std::lock_guard<std::mutex> lock(shared_.Lock);
                answers = shared_.Answers;
                shared_.Told = shared_.Version.load(std::memory_order_relaxed);
            }
            (*shared_.Found)(answers);
        }
    }

    // The memos forget nothing but stop learning once the tables of this thread hold its
    // share of the memory (what they keep from walk to walk counted too): a way not
    // remembered is only walked again, never lost.
    bool Remembers(size_t bytes) {
        if (held_ + bytes > shared_.MemoBytes) {
            return false;
        }
        held_ += bytes;
        return true;
    }
    size_t& held_;
    std::vector<Table<Way>>& seen_;
    std::vector<Table<std::vector<Crowd>>>& crowd_;
    std::vector<std::vector<uint32_t>> order_;
    Five slotCap_{};
    static constexpr size_t kTailLimit = 1024;
    static constexpr size_t kSharpEstimates = 1024;
    static constexpr size_t kTailTries = 256;
    static constexpr uint32_t kClusterSize = 8;
    static constexpr size_t kRootEstimates = 1u << 15;
    static constexpr size_t kTailSums = 1u << 16;
    const SearchModel::TailCache* cache_ = nullptr;
    // What of a sum decides the bound: the statuses asked for and power, slot limits up
    // to where they stop mattering, the distance bonuses where a distance counts.
    std::array<bool, kStatCount> wanted_{};
    std::array<bool, kStatCount> pooled_{};
    static constexpr int kRememberedBits = 12;
    mutable std::vector<Remembered> cheapest_;  // made on first use
    mutable std::vector<Remembered> most_;
    int pool_ = -1;
    bool powCosts_ = false;  // power read by neither the objective nor a minimum
    std::array<bool, kStatCount> reads_{};
    Five cap_{};
    bool distance_ = false;
    bool py_ = false;
    std::vector<std::array<bool, kBuildFieldCount>> decided_;  // by stage
    // By stat, club set, top count and what a kept count adds.
    std::map<std::array<int32_t, 4>, std::pair<bool, std::vector<Pair>>> pairs_;
    std::vector<std::vector<std::array<int32_t, 3>>> open_;  // per stage, reused
    uint64_t answersChanged_ = 0;                            // how often the kept answers changed
    std::vector<size_t> lastHope_;  // by stage: the kept sum that last found a hope

    const SearchModel::CharaModel& m_;
    const PlannedBuild& build_;  // the current selection
    const SearchQuery& q_;
    Shared& shared_;
    size_t shareStage_;
    size_t chara_;
    std::atomic<bool>* taken_;
    std::vector<FoundBuild> found_;  // this thread's copy of the answers
    std::vector<Frame> frames_;      // by stage
    const FoundBuild* floor_;
    const std::optional<Ceiling> top_;
    bool handsOver_;        // more than one thread walks
    uint64_t version_ = 0;  // the answers' version the copy was taken at
    uint64_t nodes_ = 0;
    const SearchControl* control_;
};

// As many threads as the machine runs at once, or as the caller asks; one where the
// build has none.
size_t ThreadCount(const SearchControl* control) {
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
    (void)control;
    return 1;
#else
    if (control != nullptr && control->Threads > 0) {
        return static_cast<size_t>(std::min(control->Threads, 64));
    }
    return std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
#endif
}

}  // namespace

SearchOutcome SearchModel::Solve(const SearchQuery& asked, const SearchControl* control,
                                 double progressFrom, double progressSpan,
                                 std::span<const FoundBuild> seeds, const FoundBuild* floor,
                                 std::optional<Ceiling> ceiling, const FoundSoFar* found) const {
    // A minimum far beyond any build's figures is out of reach however far beyond it
    // is: held where no sum of the walk can overflow.
    SearchQuery query = asked;
    for (auto& m : query.Min) {
        if (m) {
            m = std::clamp(*m, -1000000, 1000000);
        }
    }
    const size_t threads = ThreadCount(control);
    Shared shared;
    shared.Answers.assign(seeds.begin(), seeds.end());
    shared.Floor = floor;
    shared.Top = ceiling;
    shared.Found = found;
    shared.Caller = std::this_thread::get_id();
    shared.MemoBytes = kMemoBytes / threads;
    // The threads share the branches of the first stage where there are enough of them
    // to keep every thread busy to the end.
    for (const CharaModel& m : charas_) {
        size_t stage = std::numeric_limits<size_t>::max();
        size_t branches = 1;
        if (threads > 1) {
            for (size_t st = 0; st < m.Stages.size(); ++st) {
                const size_t more = branches * std::max<size_t>(1, m.Stages[st].Options.size());
                if (more > kMostShared) {
                    break;
                }
                stage = st + 1;
                branches = more;
                if (branches >= kShared * threads) {
                    break;
                }
            }
        }
        shared.ShareStage.push_back(stage);
        shared.Taken.push_back(stage == std::numeric_limits<size_t>::max()
                                   ? nullptr
                                   : std::make_unique<std::atomic<bool>[]>(branches));
    }
    shared.Busy.assign(charas_.size(), threads);
    shared.Tasks.resize(charas_.size());
    shared.Waiting = std::make_unique<std::atomic<int>[]>(charas_.size());
    while (scratch_.size() < threads) {
        scratch_.push_back(std::make_unique<Scratch>());
    }
    const double share = progressSpan / static_cast<double>(charas_.size());
    std::atomic<uint64_t> nodes{0};
    std::atomic<bool> cancelled{false};
    std::exception_ptr failure;
    const auto work = [&](size_t t) {
        try {
            for (size_t c = 0; c < charas_.size(); ++c) {
                Walk walk(charas_[c], base_, query, shared, c, control, *scratch_[t]);
                const double from = progressFrom + share * static_cast<double>(c);
                try {
                    walk.Run([&](double done) {
                        if (t == 0 && control != nullptr && control->Progress) {
                            control->Progress(from + share * done);
                        }
                    });
                    // Then the work other threads hand over, until every thread is done
                    // with this character.
                    std::unique_lock<std::mutex> lock(shared.TaskLock);
                    --shared.Busy[c];
                    while (!shared.Stop) {
                        if (!shared.Tasks[c].empty()) {
                            const Task task = std::move(shared.Tasks[c].back());
                            shared.Tasks[c].pop_back();
                            ++shared.Busy[c];
                            lock.unlock();
                            walk.WalkHanded(task);
                            lock.lock();
                            --shared.Busy[c];
                        } else if (shared.Busy[c] == 0) {
                            shared.TaskReady.notify_all();
                            break;
                        } else {
                            ++shared.Waiting[c];
                            shared.TaskReady.wait(lock);
                            --shared.Waiting[c];
                        }
                    }
                    if (shared.Stop) {
                        throw Cancelled{};
                    }
                } catch (...) {
                    nodes += walk.Nodes();
                    throw;
                }
                nodes += walk.Nodes();
            }
        } catch (const Cancelled&) {
            cancelled = true;
        } catch (...) {
            shared.Stop = true;
            std::lock_guard<std::mutex> lock(shared.Lock);
            failure = std::current_exception();
        }
        // Threads waiting for work stop too.
        std::lock_guard<std::mutex> lock(shared.TaskLock);
        shared.TaskReady.notify_all();
    };
    std::vector<std::thread> others;
    for (size_t t = 1; t < threads; ++t) {
        others.emplace_back(work, t);
    }
    work(0);
    for (auto& thread : others) {
        thread.join();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    SearchOutcome out;
    out.Nodes = nodes;
    out.Cancelled = cancelled;
    // A cancelled walk still hands back what it found: builds that meet every condition,
    // ranked, though better ones may lie where it did not look.
    out.Builds = std::move(shared.Answers);
    return out;
}

std::optional<FoundBuild> SearchModel::CountBelow(const TSimulator& current, const FoundBuild& from,
                                                  const SearchQuery& query) const {
    const BuildFields& f = from.Fields;
    const CharaModel* m = nullptr;
    for (const CharaModel& candidate : charas_) {
        if (candidate.Chara == f[kFieldPage]) {
            m = &candidate;
        }
    }
    if (m == nullptr) {
        return std::nullopt;
    }
    std::optional<FoundBuild> best;
    TSimulator sim = current;
    for (int i = 0; i < kStatCount; ++i) {
        for (const int field : {kFieldCount + i, kFieldClubCount + i}) {
            const bool free = field == kFieldCount + i ? query.Free[kPartSlotUp + i]
                                                       : query.Free[kPartClubSlotUp + i];
            if (!free || f[field] <= 0) {
                continue;
            }
            FoundBuild b;
            b.Fields = f;
            b.Fields[field] = f[field] - 1;
            const int32_t was = m->Current[static_cast<size_t>(field)];
            b.Changes = from.Changes - (f[field] != was ? 1 : 0) + (b.Fields[field] != was ? 1 : 0);
            try {
                ShowBuild(sim, Answer(b, query.Objective).Build);
            } catch (const ESimError&) {
                continue;  // not a build the window shows: no seed
            }
            b.Figures = FiguresOf(sim);
            const BuildFigures& g = b.Figures;
            bool meets = !(query.NoPenalty && g.Penalty < 0) &&
                         !(query.Budget && g.PP > *query.Budget) &&
                         !(query.Min[kMinDistance] && g.Distances[0] < *query.Min[kMinDistance]);
            for (int k = 0; k < kStatCount; ++k) {
                meets = meets && !(query.Min[k] && StatField(g.Final, k) < *query.Min[k]);
            }
            if (!meets) {
                continue;
            }
            b.Value = ObjectiveValue(query.Objective, g);
            b.Rank = query.Objective == SearchObjective::LeastPP ? -g.PP : b.Value;
            if (!best || RanksBefore(b, *best)) {
                best = b;
            }
        }
    }
    return best;
}

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

}  // namespace

SearchAnswer SearchModel::Answer(const FoundBuild& found, SearchObjective objective) const {
    const BuildFields& f = found.Fields;
    const int32_t c = f[kFieldPage];
    const CharaModel* m = nullptr;
    for (const CharaModel& candidate : charas_) {
        if (candidate.Chara == c) {
            m = &candidate;
        }
    }
    const BuildFields& was = m->Current;
    const TCharaDef& def = CharaDef(c);

    SearchAnswer a;
    a.Figures = found.Figures;
    a.Value = ObjectiveValue(objective, found.Figures);
    a.Changes = found.Changes;
    PlannedBuild& b = a.Build;
    b = base_;
    b.TabIndex = c;
    TCharaState& chara = b.Chara[c];
    const int slotCount = static_cast<int>(def.Slots.size());
    for (int k = 0; k < slotCount; ++k) {
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

    auto& t = a.ChangeTexts;
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
    return a;
}
