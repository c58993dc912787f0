#pragma once

// What the stages from s on can add together (the kept sums), reduced to what the bounds
// read: the statuses the query asks for, power exactly, slot limits up to where they stop
// mattering, the distance bonuses where a distance counts, and the changes. Of these sums
// only the ones no other beats in every respect are kept: the frontier. The bound at the
// build's end is antitone in each kept respect, so a branch is hopeless when it is
// hopeless with every kept sum added: the rest of the stages bounded together, not each
// on its own. Made once per character and kind of query, before the walk's threads start.

#include <vector>

#include "search/solver/query_reads.h"

namespace solver {

// A sum of options as the bounds read it.
struct Tail {
    Five St{};
    Five Sl{};
    int32_t RingYard = 0;
    int32_t Py = 0;
    int32_t Changes = 0;
    auto Key() const { return std::tie(St, Sl, RingYard, Py, Changes); }
};

// Options of one stage alike in every respect the bound reads: one test tells for all.
// Its members reach the same sums, so each build through one has a twin through any other
// with the same value, PP and conditions met: where one answer is asked for, only the twin
// through the member ranking first (fewest changes, then lowest list indices) can be it.
struct Group {
    Tail Delta;
    std::vector<uint32_t> Members;  // in the walk's order
    uint32_t First = 0;             // the member ranking first
};

// A run of a few sums alike (of one bucket: the same power, and a kept power count's same
// limit): what every respect of its members reaches at best (the most of each status,
// limit and bonus, the fewest changes), and where its members lie in the level below.
struct Cluster {
    Tail Best;
    uint32_t Begin = 0;
    uint32_t End = 0;
    int32_t Score = 0;  // for the groups: the most a member adds to the objective
};

struct TailCache {
    std::vector<std::vector<Tail>> Tails;  // by stage; empty where too many
    // By stage, the kept sums in clusters (Members: the kept sums' places in Tails), and
    // those clusters in clusters of their own.
    std::vector<std::vector<Cluster>> Clusters;
    std::vector<std::vector<Cluster>> Supers;
    std::vector<std::vector<uint32_t>> Members;
    // By stage, the groups; empty where not made.
    std::vector<std::vector<Group>> Groups;
    // By stage, the groups in clusters alike, the most they add to the objective first;
    // GroupMembers: the groups' places in Groups.
    std::vector<std::vector<Cluster>> GroupClusters;
    std::vector<std::vector<uint32_t>> GroupMembers;
    // By stage: the groups by what they add to the objective, most first, where the
    // objective is one status or the sum; empty elsewhere.
    std::vector<std::vector<std::pair<int32_t, uint32_t>>> ByScore;
};

// Most kept sums the walk tries at every branch, and at most how many group and kept
// sum pairs a sharper estimate weighs, or club sets and kept sums at the root.
constexpr size_t kTailTries = 256;
constexpr size_t kSharpEstimates = 1024;
constexpr size_t kRootEstimates = 1u << 15;

TailCache MakeTailCache(const CharaModel& m, const SearchQuery& q, const Reads& reads);

// What a group adds to the objective of one status or the sum.
int32_t ScoreOf(SearchObjective objective, const Five& st);

}  // namespace solver
