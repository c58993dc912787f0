#pragma once

// The solver's words, in plain terms.
//
// - stage: a group of fields chosen together (the club set; the caddie with the special
//   card; the two caddie cards; the three character cards; the body slots; neighbouring
//   wear slots). The ten upgrade counts come after the last stage, stat by stat.
// - option: one choice for every field of a stage, with what it adds to the figures.
//   Options adding exactly the same are merged: the one with fewer changes (then lower
//   list indices) always ranks before the others, which can never be an answer.
// - node: the walk's place, the sums of the options chosen so far (and of the counts).
// - branch: a node with the stages after it still open.
// - bound: the most (or least) any build below a branch can reach, from what the open
//   stages can still add. A branch is hopeless, and pruned (left unwalked), when even
//   its bound cannot meet the conditions or rank before the answers kept.
// - kept sum: what the open stages add together, for one way of choosing them, reduced
//   to what a bound reads. A kept sum beaten in every respect by another is dominated
//   and dropped; the rest form the frontier of a stage.
// - memo: a table of ways already walked. A way reaching the same sums as an earlier,
//   better way (fewer changes, then lower indices) is left: it leads to the same figures,
//   ranked after. Where what a build acquires matters, the sums include how many things
//   not owned the way acquired (or which, told by the fields chosen).
// - acquired: the things not owned that a build's free parts hold (acquired.h).
// - the answers: the best builds of distinct figures found so far, shared by the
//   threads; the last of them is the bar a branch must reach.
// - floor and ceiling: what an earlier walk already knows. Builds ranking after the floor
//   are left; no build passes the ceiling.

#include <array>
#include <cstdint>
#include <limits>
#include <tuple>

#include "engine/status.h"
#include "search/search_model.h"
#include "search/upgrade_prices.h"

namespace solver {

using Five = upgrade_prices::Five;

// Below any figure a build reaches, and far enough from the least int that sums of it
// never wrap.
constexpr int32_t kUnreachable = std::numeric_limits<int32_t>::min() / 4;
constexpr int kMaxStageFields = 8;

inline Five FiveOf(const TStatus& s) {
    return {s.Pow, s.Ctrl, s.Exa, s.Spin, s.Cur};
}

inline void AddFive(Five& a, const Five& b) {
    for (int i = 0; i < kStatCount; ++i) {
        a[i] += b[i];
    }
}

inline int32_t CeilHalf(int32_t x) {
    return x >= 0 ? (x + 1) / 2 : -((-x) / 2);
}

// Thrown through a walk when its search is cancelled or another thread failed.
struct Cancelled {};

// What one choice of a stage adds.
struct Option {
    Five St{};  // status points (for the club set also its kept counts)
    Five Sl{};  // slot limits
    int32_t Ring = 0;
    int32_t Yard = 0;
    int32_t Py = 0;
    int32_t Club = -1;
    int32_t KeptPP = 0;  // PP of the club counts a club set keeps
    int32_t Changes = 0;
    int32_t Acquired = 0;  // things not owned its fields hold (search/solver/acquired.h)
    std::array<int32_t, kMaxStageFields> Values{};

    // Everything a figure can depend on; options equal in it are one option.
    auto Effect() const { return std::tuple(St, Sl, Ring, Yard, Py, Club, KeptPP); }
};

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
    int32_t Acquired = 0;  // the things not owned of the options chosen
    int UpDone = 0;        // counts of stats 0..UpDone-1 are chosen
    uint32_t Path = 0;     // which branch of the stage where the threads share the work
    // The fields of stages 0..Known-1 are chosen. A node that stands for several builds
    // (a group of options, the sums of the stages after it) keeps its parent's fields
    // and Known: its own list indices are not known.
    uint32_t Known = 0;
    BuildFields Fields{};
};

}  // namespace solver
