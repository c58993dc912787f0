#include "tests/search/enumeration.h"

#include <algorithm>
#include <optional>
#include <set>
#include <sstream>

#include "characters/cards.h"
#include "characters/catalogue.h"
#include "characters/roster.h"
#include "clubs/caddies.h"
#include "clubs/clubs.h"
#include "simulator/build_code.h"
#include "simulator/holdings.h"

namespace plain {

namespace {

int Number(const std::string& text) {
    std::string digits;
    for (const char c : text) {
        if (c == '-' || (c >= '0' && c <= '9')) {
            digits += c;
        }
    }
    return digits.empty() ? 0 : std::stoi(digits);
}

}  // namespace

Shown Read(const TSimulator& sim) {
    const TDisplay& d = sim.Display;
    Shown s;
    for (int i = 0; i < 5; ++i) {
        s.Final[i] = Number(d.Last[i].Text);
    }
    s.Penalty = Number(d.ControlPenalty.Text);
    s.Distance = {Number(d.DistanceNormalText), Number(d.DistancePowerText),
                  Number(d.DistancePower2Text)};
    s.PP = Number(d.Pages[sim.State.TabIndex].PPTotalText) + Number(d.ClubPPTotalText);
    return s;
}

namespace {

// The fields in the order "lowest indices" compares them.
// The character fields are those of character `chara`, which the selection holds
// whether or not its page is shown.
std::vector<int> Fields(const TSimulator& sim, int chara) {
    const TSimState& s = sim.State;
    const PlannedBuild b = BuildOf(s);
    const TCharaState& c = b.Chara[chara];
    std::vector<int> f{b.TabIndex};
    f.insert(f.end(), c.Items.begin(), c.Items.end());
    for (const int v :
         {c.CharaCard1, c.CharaCard2, c.CharaCard3, c.CaddieCard1, c.CaddieCard2, c.PowSlotUp,
          c.CtrlSlotUp, c.ExaSlotUp, c.SpinSlotUp, c.CurSlotUp, b.Caddie, b.SpecialCard, b.Club}) {
        f.push_back(v);
    }
    for (const SpinnerModel& spinner : s.ClubSpinners) {
        f.push_back(spinner.Position);
    }
    return f;
}

bool Before(const Candidate& a, const Candidate& b) {
    return std::tie(b.Rank, a.Figures.PP, a.Changes, a.Order) <
           std::tie(a.Rank, b.Figures.PP, b.Changes, b.Order);
}

int Value(SearchObjective o, const Shown& s) {
    switch (o) {
        case SearchObjective::Distance:
            return s.Distance[0];
        case SearchObjective::PowerDistance:
            return s.Distance[1];
        case SearchObjective::Sum:
            return s.Final[0] + s.Final[1] + s.Final[2] + s.Final[3] + s.Final[4];
        case SearchObjective::LeastPP:
            return s.PP;
        default:
            return s.Final[static_cast<int>(o) - 2];
    }
}

// One free part of the enumeration: where it sits in a build and the values it takes.
struct Part {
    int Id;
    std::vector<int> Values;
};

std::vector<int> Range(int count, int current) {
    std::vector<int> v;
    for (int i = 0; i < count; ++i) {
        v.push_back(i);
    }
    if (current < 0 || current >= count) {
        v.push_back(current);
    }
    return v;
}

}  // namespace

int& Slot(PlannedBuild& b, int chara, int id) {
    TCharaState& c = b.Chara[chara];
    if (id < 24) {
        return c.Items[*SlotPosition(chara, static_cast<TWearSlot>(id))];
    }
    switch (id) {
        case 24:
            return c.CharaCard1;
        case 25:
            return c.CharaCard2;
        case 26:
            return c.CharaCard3;
        case 27:
            return c.CaddieCard1;
        case 28:
            return c.CaddieCard2;
        case 29:
            return b.Caddie;
        case 30:
            return b.SpecialCard;
        case 31:
            return b.Club;
        default:
            return SlotUpField(c, id - 32);
    }
}

namespace {

// The most things not owned an answer may acquire, as the query states it.
std::optional<int> Limit(const SearchQuery& q) {
    if (q.Acquire == kAcquireAny || (q.Acquire == kAcquireUnset && q.Owned == THoldings{})) {
        return std::nullopt;
    }
    return q.Acquire == kAcquireUnset ? 0 : q.Acquire;
}

// What the free parts of build b of character c hold that `owned` lacks: each entry of
// a list once (a card kind in several places is one), entries outside their list none.
std::vector<std::pair<std::string, int>> AcquiredBy(const SearchQuery& q, const PlannedBuild& b,
                                                    int c) {
    std::set<std::pair<std::string, int>> things;
    for (int id = 0; id < 32; ++id) {
        if (!q.Free[id] || (id < 24 && !SlotPosition(c, static_cast<TWearSlot>(id)))) {
            continue;
        }
        PlannedBuild copy = b;
        const int v = Slot(copy, c, id);
        if (id < 24) {
            const int p = *SlotPosition(c, static_cast<TWearSlot>(id));
            if (v >= 0 && v < static_cast<int>(EquipList(c, p).size()) &&
                !OwnsItem(q.Owned, c, p, v)) {
                things.insert({std::string(SearchPartName(id)), v});
            }
            continue;
        }
        const HeldKind kind = id < 27   ? HeldKind::CharaCard
                              : id < 29 ? HeldKind::CaddieCard
                                        : static_cast<HeldKind>(id - 27);
        if (v >= 0 && v < HeldCount(kind) && !OwnsHeld(q.Owned, kind, v)) {
            things.insert({std::string(HeldKindName(kind)), v});
        }
    }
    return {things.begin(), things.end()};
}

}  // namespace

std::vector<Candidate> Enumerate(const TSimulator& sim, const SearchQuery& q) {
    std::vector<int> characters;
    if (q.Character == kAnyCharacter) {
        for (int c = 0; c < CharaCount; ++c) {
            characters.push_back(c);
        }
    } else {
        characters.push_back(q.Character == kShownCharacter ? sim.State.TabIndex : q.Character);
    }
    const PlannedBuild current = BuildOf(sim.State);
    std::vector<Candidate> out;
    for (const int c : characters) {
        const std::vector<int> was = Fields(sim, c);
        std::vector<Part> parts;
        for (int id = 0; id < 42; ++id) {
            if (!q.Free[id] || (id < 24 && !SlotPosition(c, static_cast<TWearSlot>(id)))) {
                continue;
            }
            PlannedBuild b = current;
            const int now = id < 37 ? Slot(b, c, id) : 0;
            if (id < 24) {
                parts.push_back(
                    {id, Range(static_cast<int>(EquipList(c, static_cast<TWearSlot>(id)).size()),
                               now)});
            } else if (id < 27) {
                parts.push_back({id, Range(kCardKindCount, now)});
            } else if (id < 29) {
                parts.push_back({id, Range(kCaddieCardKindCount, now)});
            } else if (id == 29) {
                parts.push_back({id, Range(kCaddieCount, now)});
            } else if (id == 30) {
                parts.push_back({id, Range(kSpecialCardCount, now)});
            } else if (id == 31) {
                parts.push_back({id, Range(kClubCount, 0)});
            } else if (id < 37) {
                parts.push_back({id, Range(CharaSpinnerMax(id - 32) + 1, 0)});
            } else {
                parts.push_back({id, Range(10, 0)});
            }
        }
        // The counts vary fastest. Their limits do not depend on them, so each
        // combination of the other parts is shown once to read its limits, and only
        // counts within them are tried: a count past its limit never fits.
        std::stable_partition(parts.begin(), parts.end(), [](const Part& p) { return p.Id < 32; });
        const size_t others = static_cast<size_t>(
            std::count_if(parts.begin(), parts.end(), [](const Part& p) { return p.Id < 32; }));
        const auto assemble = [&](const std::vector<size_t>& at) {
            PlannedBuild b = current;
            b.TabIndex = c;
            for (size_t j = 0; j < parts.size(); ++j) {
                const int v = parts[j].Values[at[j]];
                if (parts[j].Id < 37) {
                    Slot(b, c, parts[j].Id) = v;
                } else if (b.Club >= 0) {
                    StatField(b.ClubSlotUps[b.Club], parts[j].Id - 37) = v;
                }
            }
            return b;
        };
        const auto item = [&](const TCharaState& s, TWearSlot slot) {
            const auto p = SlotPosition(c, slot);
            return p ? s.Items[*p] : 0;
        };
        const auto outfitFits = [&](const PlannedBuild& b) {
            const TCharaState& was_c = current.Chara[c];
            const TCharaState& now_c = b.Chara[c];
            bool bodyChanged = false;
            for (const TWearSlot slot :
                 {TWearSlot::Top, TWearSlot::Pants, TWearSlot::TopPants, TWearSlot::Waist}) {
                bodyChanged = bodyChanged || item(was_c, slot) != item(now_c, slot);
            }
            const bool both =
                item(now_c, TWearSlot::TopPants) != 0 &&
                (item(now_c, TWearSlot::Top) != 0 || item(now_c, TWearSlot::Pants) != 0);
            return !(bodyChanged && both) && b.Club >= 0;
        };
        // Advances the odometer over parts [from, to); false when it wrapped.
        const auto advance = [&](std::vector<size_t>& at, size_t from, size_t to,
                                 const std::vector<int>& top) {
            for (size_t j = to; j-- > from;) {
                if (++at[j] < parts[j].Values.size() && parts[j].Values[at[j]] <= top[j]) {
                    return true;
                }
                at[j] = 0;
            }
            return false;
        };
        const std::vector<int> noTop(parts.size(), 1 << 30);
        std::vector<size_t> at(parts.size(), 0);
        do {
            std::fill(at.begin() + static_cast<long>(others), at.end(), 0);
            PlannedBuild b = assemble(at);
            if (!outfitFits(b)) {
                continue;
            }
            TSimulator limits = sim;
            ShowBuild(limits, b);
            std::vector<int> top = noTop;
            for (size_t j = others; j < parts.size(); ++j) {
                const int id = parts[j].Id;
                top[j] = id < 37 ? Number(limits.Display.Pages[c].SlotLimitText[id - 32])
                                 : limits.State.ClubSpinners[id - 37].Max;
            }
            if (std::any_of(top.begin() + static_cast<long>(others), top.end(),
                            [](int t) { return t < 0; })) {
                continue;  // not even a count of 0 fits
            }
            do {
                b = assemble(at);
                TSimulator shown = sim;
                ShowBuild(shown, b);
                Candidate k;
                k.Build = b;
                k.Figures = Read(shown);
                const int limit = sim.State.Level + 20;
                bool meets = !(q.NoPenalty && k.Figures.Final[0] > limit);
                for (int m = 0; m < 5; ++m) {
                    meets = meets && (!q.Min[m] || k.Figures.Final[m] >= *q.Min[m]);
                }
                meets = meets && (!q.Min[5] || k.Figures.Distance[0] >= *q.Min[5]);
                meets = meets && (!q.Budget || k.Figures.PP <= *q.Budget);
                k.Acquired = AcquiredBy(q, b, c);
                meets = meets && (!Limit(q) || static_cast<int>(k.Acquired.size()) <= *Limit(q));
                if (meets) {
                    k.Value = Value(q.Objective, k.Figures);
                    k.Rank = q.Objective == SearchObjective::LeastPP ? -k.Figures.PP : k.Value;
                    k.Order = Fields(shown, c);
                    for (size_t f = 0; f < was.size(); ++f) {
                        k.Changes += k.Order[f] != was[f] ? 1 : 0;
                    }
                    out.push_back(k);
                }
            } while (advance(at, others, parts.size(), top));
        } while (advance(at, 0, others, noTop));
    }
    return out;
}

std::vector<Candidate> Best(std::vector<Candidate> all, int n, SearchDistinct distinct) {
    std::sort(all.begin(), all.end(), Before);
    std::vector<Candidate> top;
    const auto same = [distinct](const Candidate& a, const Candidate& b) {
        return distinct == SearchDistinct::Figures ? a.Figures == b.Figures
                                                   : a.Acquired == b.Acquired;
    };
    for (const Candidate& k : all) {
        if (static_cast<int>(top.size()) == n) {
            break;
        }
        if (std::none_of(top.begin(), top.end(), [&](const Candidate& t) { return same(t, k); })) {
            top.push_back(k);
        }
    }
    return top;
}

Shown AsShown(const BuildFigures& f) {
    Shown s;
    s.Final = {f.Final.Pow, f.Final.Ctrl, f.Final.Exa, f.Final.Spin, f.Final.Cur};
    s.Penalty = f.Penalty;
    s.Distance = {f.Distances[0], f.Distances[1], f.Distances[2]};
    s.PP = f.PP;
    return s;
}

SearchQuery RandomQuery(std::mt19937& rng, const TSimulator& sim) {
    auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    SearchQuery q;
    q.Free.fill(false);
    q.Character = pick(6) == 0 ? pick(CharaCount) : kShownCharacter;
    const int c = q.Character == kShownCharacter ? sim.State.TabIndex : q.Character;
    long size = 1;
    const auto sizeOf = [c](int id) -> long {
        if (id < 24) {
            const auto p = SlotPosition(c, static_cast<TWearSlot>(id));
            return p ? static_cast<long>(EquipList(c, *p).size()) + 1 : 1;
        }
        constexpr long kSizes[] = {16, 16, 16, 6,  6,  16, 7,  42, 31,
                                   21, 21, 21, 21, 11, 11, 11, 11, 11};
        return kSizes[id - 24];
    };
    for (int tries = 0; tries < 12; ++tries) {
        const int id = pick(42);
        if (!q.Free[id] && size * sizeOf(id) <= 4000) {
            q.Free[id] = true;
            size *= sizeOf(id);
        }
    }
    // The body slots together now and then, to reach the outfit rule.
    if (pick(4) == 0) {
        for (const int id : {0, 1, 2, 3}) {
            q.Free[id] = true;
        }
    }
    q.Objective = static_cast<SearchObjective>(pick(kObjectiveCount));
    q.NoPenalty = pick(3) != 0;
    if (pick(3) == 0) {
        // Half the budgets buy exactly some count of one status and no more, drawn from
        // the same number so that the queries are otherwise those drawn before.
        const int drawn = pick(60000);
        const int stat = drawn % kStatCount;
        const int count = 1 + drawn / kStatCount % 7;
        q.Budget = drawn % 2 == 0 ? drawn : kUpgradeWeight[stat] * count * (count + 1);
    }
    const BuildFigures now = FiguresOf(sim);
    for (int m = 0; m < kMinimumCount; ++m) {
        if (pick(7) == 0) {
            const int base = m < 5 ? StatField(now.Final, m) : now.Distances[0];
            q.Min[m] = std::max(0, base - 3 + pick(8));
        }
    }
    q.Results = 1 + pick(12);
    return q;
}

std::string Describe(const SearchQuery& q) {
    std::ostringstream s;
    s << "objective " << ObjectiveName(q.Objective) << " character " << q.Character << " free";
    for (int i = 0; i < kSearchPartCount; ++i) {
        if (q.Free[i]) {
            s << ' ' << SearchPartName(i);
        }
    }
    for (int m = 0; m < kMinimumCount; ++m) {
        if (q.Min[m]) {
            s << " min " << MinimumName(m) << '=' << *q.Min[m];
        }
    }
    if (q.NoPenalty) {
        s << " noPenalty";
    }
    if (q.Budget) {
        s << " budget " << *q.Budget;
    }
    s << " results " << q.Results;
    if (!(q.Owned == THoldings{})) {
        s << " within holdings, acquire " << q.Acquire << " distinct " << DistinctName(q.Distinct);
    }
    return s.str();
}

}  // namespace plain
