#include "search/solver/acquired.h"

#include <algorithm>
#include <numeric>

#include "characters/roster.h"

namespace solver {

namespace {

// The first field of a card kind's places, else the field itself: things of one class
// and entry are one thing.
int ThingClass(int field) {
    if (field >= kFieldCharaCard && field < kFieldCharaCard + 3) {
        return kFieldCharaCard;
    }
    if (field >= kFieldCaddieCard && field < kFieldCaddieCard + 2) {
        return kFieldCaddieCard;
    }
    return field;
}

// Flags of the entries not owned among `count`, or none where every one is owned.
template <class Owns>
std::vector<bool> NotOwned(int32_t count, Owns&& owns) {
    std::vector<bool> flags(static_cast<size_t>(std::max(0, count)), false);
    bool any = false;
    for (int32_t e = 0; e < count; ++e) {
        flags[static_cast<size_t>(e)] = !owns(e);
        any = any || flags[static_cast<size_t>(e)];
    }
    return any ? flags : std::vector<bool>{};
}

}  // namespace

Acquisitions AcquisitionsOf(const SearchQuery& query, int32_t chara) {
    Acquisitions a;
    a.Most = AcquireLimit(query);
    const THoldings& h = query.Owned;
    const auto held = [&](int part, int field, HeldKind kind) {
        if (query.Free[static_cast<size_t>(part)]) {
            a.Unowned[static_cast<size_t>(field)] =
                NotOwned(HeldCount(kind), [&](int32_t e) { return OwnsHeld(h, kind, e); });
        }
    };
    if (!OwnsEverything(h)) {
        for (int part = 0; part < kWearPartCount; ++part) {
            const auto position = SlotPosition(chara, static_cast<TWearSlot>(part));
            if (query.Free[static_cast<size_t>(part)] && position) {
                a.Unowned[static_cast<size_t>(kFieldItem + *position)] =
                    NotOwned(ItemCount(chara, *position),
                             [&](int32_t e) { return OwnsItem(h, chara, *position, e); });
            }
        }
        for (int i = 0; i < 3; ++i) {
            held(kPartCharaCard1 + i, kFieldCharaCard + i, HeldKind::CharaCard);
        }
        for (int i = 0; i < 2; ++i) {
            held(kPartCaddieCard1 + i, kFieldCaddieCard + i, HeldKind::CaddieCard);
        }
        held(kPartCaddie, kFieldCaddie, HeldKind::Caddie);
        held(kPartSpecialCard, kFieldSpecial, HeldKind::SpecialCard);
        held(kPartClub, kFieldClub, HeldKind::Club);
    }
    a.Any = std::any_of(a.Unowned.begin(), a.Unowned.end(),
                        [](const std::vector<bool>& f) { return !f.empty(); });
    if (query.Distinct == SearchDistinct::Acquired) {
        a.Rule = AcquireRule::Named;
    } else if (a.CountMatters()) {
        a.Rule = AcquireRule::Counted;
    }
    return a;
}

AcquiredSum AcquiredBy(const Acquisitions& a, std::span<const int> fields,
                       std::span<const int32_t> values, std::span<int32_t> key) {
    AcquiredSum sum;
    std::fill(key.begin(), key.end(), -1);
    std::array<int32_t, 3> kinds{};
    for (size_t j = 0; j < fields.size();) {
        const int thingClass = ThingClass(fields[j]);
        size_t end = j;
        size_t n = 0;
        // The kinds of the run's places, each once, rising (a run has at most three).
        for (; end < fields.size() && ThingClass(fields[end]) == thingClass; ++end) {
            const int32_t v = values[end];
            if (!a.Counts(fields[end], v) ||
                std::find(kinds.begin(), kinds.begin() + static_cast<std::ptrdiff_t>(n), v) !=
                    kinds.begin() + static_cast<std::ptrdiff_t>(n) ||
                n == kinds.size()) {
                continue;
            }
            size_t at = n++;
            for (; at > 0 && kinds[at - 1] > v; --at) {
                kinds[at] = kinds[at - 1];
            }
            kinds[at] = v;
        }
        for (size_t k = 0; k < n; ++k) {
            key[j + k] = kinds[k];
            ++sum.Count;
        }
        j = end;
    }
    return sum;
}

BuildFields AcquiredKey(const Acquisitions& a, const BuildFields& fields) {
    static const auto kAll = [] {
        std::array<int, kBuildFieldCount> all{};
        std::iota(all.begin(), all.end(), 0);
        return all;
    }();
    BuildFields key;
    AcquiredBy(a, kAll, fields, key);
    return key;
}

uint64_t HashOf(const BuildFields& key) {
    uint64_t h = 1469598103934665603ull;
    for (const int32_t v : key) {
        h = (h ^ static_cast<uint32_t>(v)) * 1099511628211ull;
    }
    return h ^ (h >> 29);
}

}  // namespace solver
