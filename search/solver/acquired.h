#pragma once

// What a build acquires: the entries not owned that its free fields hold, each a thing
// to get. A card kind is one thing in whichever of its places it stands; a kept field
// and an entry outside its list (a selection the list no longer has) acquire nothing.
// Every thing belongs to the fields of one stage, so an option counts its own things and
// a way's things are the sum of its options'.

#include <optional>
#include <span>
#include <vector>

#include "search/search_model.h"

namespace solver {

// How the walk weighs what a build acquires.
enum class AcquireRule : uint8_t {
    Ignored,  // nothing to tell apart: no limit, or none left once options past it are left
    Counted,  // a limit above 0: ways to the same sums differ by how many things they get
    Named,    // answers told apart by what they acquire: ways differ by which things
};

struct Acquisitions {
    // By build field, by list index: whether holding it acquires a thing; empty where
    // nothing of the field can.
    std::array<std::vector<bool>, kBuildFieldCount> Unowned{};
    std::optional<int32_t> Most;  // how many things a build may acquire; nullopt: any
    AcquireRule Rule = AcquireRule::Ignored;
    bool Any = false;  // some free field holds a thing not owned

    bool Counts(int field, int32_t value) const {
        const auto& flags = Unowned[static_cast<size_t>(field)];
        return value >= 0 && static_cast<size_t>(value) < flags.size() &&
               flags[static_cast<size_t>(value)];
    }
    // Whether ways to the same sums must differ by how many things they acquire.
    bool CountMatters() const { return Most.has_value() && *Most > 0 && Any; }
};

// The things character `chara` may acquire under `query`'s holdings, limit and rule.
Acquisitions AcquisitionsOf(const SearchQuery& query, int32_t chara);

struct AcquiredSum {
    int32_t Count = 0;
};

// The things `values` acquire in `fields` (rising field order). `key`, as long as
// `fields`, is set to what tells them apart exactly: per place the entry it acquires or
// -1, the places of one card kind holding its kinds once each, rising. Two choices of
// the same fields acquire the same things exactly when their keys are equal.
AcquiredSum AcquiredBy(const Acquisitions& a, std::span<const int> fields,
                       std::span<const int32_t> values, std::span<int32_t> key);

// The key of a whole build (every field): equal keys, the same things acquired.
BuildFields AcquiredKey(const Acquisitions& a, const BuildFields& fields);

// A hash of such a key: equal for equal keys.
uint64_t HashOf(const BuildFields& key);

}  // namespace solver
