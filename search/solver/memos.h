#pragma once

// The walk's two memos, per stage:
// - Seen: two ways to the same sums at the same stage lead to builds with the same
//   figures; only the way with fewer changes (then lower indices) can give an answer.
// - Crowded: when several answers are asked for, as many earlier ways as answers, apart
//   from each other in a figure no rest of the build can make equal, leave every later
//   way to the same sums out of the answers.
// Where a limit on what a build acquires binds, ways alike differ also by how many things
// not owned they acquired; where answers differ by what they acquire, by which things.
// Both forget nothing but stop learning once this thread's tables hold its share of the
// memory: a way not remembered is only walked again, never lost.

#include "search/solver/memo.h"
#include "search/solver/query_reads.h"
#include "search/solver/stage_model.h"

namespace solver {

class Memos {
public:
    // Empties the thread's tables for a new walk.
    Memos(Scratch& scratch, size_t memoBytes, const CharaModel& m, const SearchQuery& q,
          const Reads& reads);

    bool Seen(size_t s, const Node& node);
    bool Crowded(size_t s, const Node& node);

private:
    bool Remembers(size_t bytes);
    void KeyAcquired(MemoKey& key, const Node& node, bool named, const BuildFields* things) const;

    Scratch& scratch_;
    size_t memoBytes_;
    const CharaModel& m_;
    const SearchQuery& q_;
    const Reads& reads_;
};

}  // namespace solver
