#pragma once

// Plain enumeration of a reduced search query: every combination of the free parts is
// shown through the chains on a copy of the selection, its figures read off the display
// as the window shows them, and the builds ranked by the rules of the answer. Nothing
// here shares code with the search beyond the chains and the tables.

#include <array>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "search/search.h"
#include "simulator/simulator.h"

namespace plain {

// The figures as the labels show them.
struct Shown {
    std::array<int, 5> Final{};
    int Penalty = 0;
    std::array<int, 3> Distance{};
    int PP = 0;
    auto Tie() const { return std::tie(Final, Penalty, Distance, PP); }
    bool operator==(const Shown& o) const { return Tie() == o.Tie(); }
};

struct Candidate {
    PlannedBuild Build;
    Shown Figures;
    int Value = 0;
    int Rank = 0;
    int Changes = 0;
    std::vector<int> Order;
    // The things not owned its free parts hold: (list, index), a list named as in "owned".
    std::vector<std::pair<std::string, int>> Acquired;
};

// The figures the display of `sim` shows.
Shown Read(const TSimulator& sim);

// Every build the free parts make, shown on copies of `sim`, that meets the query.
std::vector<Candidate> Enumerate(const TSimulator& sim, const SearchQuery& q);

// The best n with distinct figures, or with distinct things acquired.
std::vector<Candidate> Best(std::vector<Candidate> all, int n,
                            SearchDistinct distinct = SearchDistinct::Figures);

// The entry a free part `id` (a search part below 37) of build `b` of character `chara`
// holds.
int& Slot(PlannedBuild& b, int chara, int id);

Shown AsShown(const BuildFigures& f);

// A random reduced query: a few parts free, the rest kept, so that plain enumeration
// stays within some thousands of builds.
SearchQuery RandomQuery(std::mt19937& rng, const TSimulator& sim);

// The query in one line, for a failure's message.
std::string Describe(const SearchQuery& q);

// What a query that no build meets asks of the reasons, as brute force over every set of
// its minimums found it (tests/search/give_up_test.cpp).
struct GiveUpCase {
    int Size = 0;       // the fewest minimums to give up; 0 where nothing fits at all
    bool Tied = false;  // more than one smallest set falls equally short
};

// Checks result.Reaches of a query no build meets against brute force.
GiveUpCase ExpectGiveUpAsEnumerated(const TSimulator& sim, const SearchQuery& q,
                                    const SearchResult& result, const std::string& what);

}  // namespace plain
