#include "search/solver/memos.h"

#include <tuple>

namespace solver {

Memos::Memos(Scratch& scratch, size_t memoBytes, const CharaModel& m, const SearchQuery& q,
             const Reads& reads)
    : scratch_(scratch), memoBytes_(memoBytes), m_(m), q_(q), reads_(reads) {
    for (auto& table : scratch_.Seen) {
        scratch_.Held -= table.Clear();
    }
    for (auto& table : scratch_.Crowds) {
        scratch_.Held -= table.Clear();
    }
}

bool Memos::Remembers(size_t bytes) {
    if (scratch_.Held + bytes > memoBytes_) {
        return false;
    }
    scratch_.Held += bytes;
    return true;
}

// What a way acquired, as far as it tells ways apart, beside its club set in the key's
// club (a club set's index stays below 256): the count where the limit binds, and where
// answers differ by the things acquired (`named`) part of a hash of them (`things`,
// their key); a way found alike is then checked thing by thing.
void Memos::KeyAcquired(MemoKey& key, const Node& node, bool named,
                        const BuildFields* things) const {
    static_assert(kClubCount < 255);
    if (named || m_.Acq.CountMatters()) {
        key.Club += node.Acquired << 8;  // at most 42
    }
    if (named) {
        key.Club += static_cast<int32_t>(HashOf(*things) & 0x7FFF) << 16;
    }
}

// Slot limits count only up to where they stop raising a count. Where only the best build
// is asked for, sums alike in all that decides its value, PP and the counts it can still
// take reach the same builds' worth.
bool Memos::Seen(size_t s, const Node& node) {
    auto& tables = scratch_.Seen;
    if (s >= tables.size()) {
        tables.resize(s + 1);
    }
    MemoKey key;
    const bool one = q_.Results == 1;
    key.St = one ? reads_.Projected(node.St) : node.St;
    for (int i = 0; i < kStatCount; ++i) {
        key.Sl[i] = std::min(node.Sl[i], one ? reads_.MemoCap[i] : reads_.SlotCap[i]);
    }
    if (one) {
        key.Ring = reads_.Distance ? node.Ring + node.Yard : 0;
        key.Py = reads_.PowerYards ? node.Py : 0;
    } else {
        key.Ring = node.Ring;
        key.Yard = node.Yard;
        key.Py = node.Py;
    }
    key.Club = node.Club;
    key.PP = node.PP;
    // Where one answer is asked, which things a way acquired does not matter, only how many.
    const bool named = m_.Acq.Rule == AcquireRule::Named && !one;
    BuildFields things{};
    if (named) {
        things = AcquiredKey(m_.Acq, node.Fields);
    }
    KeyAcquired(key, node, named, &things);
    auto& table = tables[s];
    Way* const way = table.Find(key);
    if (way != nullptr && named && AcquiredKey(m_.Acq, way->Fields) != things) {
        return false;  // other things, alike in part of their hash: neither leaves the other
    }
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

// Ways alike in all that decides the value, the PP and the counts still possible reach,
// with any rest of the build, builds of the same value and PP. If as many earlier ways as
// answers, each apart from the others in a spin, curve or distance figure, or without a
// penalty in control or accuracy, came with fewer changes or lower indices, every build
// through this way ranks after as many builds of different figures.
bool Memos::Crowded(size_t s, const Node& node) {
    if (q_.Results == 1) {
        return false;
    }
    auto& tables = scratch_.Crowds;
    if (s >= tables.size()) {
        tables.resize(s + 1);
    }
    MemoKey key;
    key.St = reads_.Projected(node.St);
    for (int i = 0; i < kStatCount; ++i) {
        key.Sl[i] = std::min(node.Sl[i], reads_.SlotCap[i]);
    }
    key.Ring = reads_.Distance ? node.Ring + node.Yard : 0;
    key.Py = reads_.PowerYards ? node.Py : 0;
    key.Club = node.Club;
    key.PP = node.PP;
    const bool named = m_.Acq.Rule == AcquireRule::Named;
    KeyAcquired(key, node, false, nullptr);
    // Without a penalty, control and accuracy show as they are summed. Where answers
    // differ by what they acquire, ways apart are those that acquired other things (no
    // rest of the build acquires a thing of stages before it); ways whose things share a
    // hash are taken for alike, which only leaves fewer ways out.
    const uint64_t hash = named ? HashOf(AcquiredKey(m_.Acq, node.Fields)) : 0;
    const Apart apart =
        named ? Apart{static_cast<int32_t>(hash), static_cast<int32_t>(hash >> 32), 0, 0, 0, 0}
              : Apart{q_.NoPenalty ? node.St[1] : 0,
                      q_.NoPenalty ? node.St[2] : 0,
                      node.St[3],
                      node.St[4],
                      node.Ring + node.Yard,
                      node.Py};
    auto& table = tables[s];
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

}  // namespace solver
