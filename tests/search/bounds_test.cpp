// Each bound of the walk against brute force on small random stage sets: a branch a bound
// leaves holds no build that meets the conditions and ranks before the answer it was
// weighed against, and the kept sums of the later stages cover every way through them.
// The builds are made here from the options as plain sums, without the solver's code.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>
#include <vector>

#include "clubs/clubs.h"
#include "search/solver/bound.h"
#include "search/solver/tail_sums.h"

namespace {

using namespace solver;

struct Built {
    FoundBuild Build;
    bool Meets = false;
    size_t Through = 0;  // the option of stage `Probe` it goes through
};

// A character of a few stages of a few options, on a random club set, with at most two
// free counts so that every build can be listed.
CharaModel RandomModel(std::mt19937& rng) {
    const auto pick = [&rng](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    CharaModel m;
    m.Base = {pick(5, 12), pick(5, 12), pick(3, 8), pick(0, 4), pick(0, 4)};
    m.Limit = pick(14, 24);
    m.LevelBonus = pick(0, 3);
    m.PageChanges = pick(0, 1);
    const int freeCounts = pick(0, 2);
    for (int k = 0; k < freeCounts; ++k) {
        const int i = pick(0, 4);
        (pick(0, 1) == 0 ? m.CountFree : m.ClubCountFree)[i] = true;
    }
    for (int i = 0; i < kStatCount; ++i) {
        m.Current[kFieldCount + i] = pick(0, 4);
        m.Current[kFieldClubCount + i] = pick(0, 2);
        if (!m.CountFree[i]) {
            const int32_t n = m.Current[kFieldCount + i];
            m.KeptCountPP += kUpgradeWeight[i] * n * (n + 1);
        }
    }
    const bool falling = pick(0, 4) == 0;  // now and then a limit that falls
    const int stages = pick(2, 4);
    for (int s = 0; s < stages; ++s) {
        Stage stage;
        stage.Fields = {s == 0 ? kFieldClub : kFieldItem + s};
        const int options = s == 0 ? pick(1, 2) : pick(2, 4);
        for (int k = 0; k < options; ++k) {
            Option o;
            for (int i = 0; i < kStatCount; ++i) {
                o.St[i] = pick(-1, 4);
                o.Sl[i] = pick(falling ? -1 : 0, 3);
            }
            if (s == 0) {
                o.Club = pick(0, kClubCount - 1);
                o.KeptPP = pick(0, 3) * 500;
            } else {
                o.Ring = pick(0, 2);
                o.Yard = pick(0, 3);
                o.Py = pick(0, 2);
            }
            o.Changes = k == 0 ? 0 : pick(1, 2);
            o.Values[0] = k;
            stage.Options.push_back(o);
        }
        m.Stages.push_back(stage);
    }
    MeasureReach(m);
    return m;
}

SearchQuery RandomQuery(std::mt19937& rng) {
    const auto pick = [&rng](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    SearchQuery q;
    // The status sum most often: its bound weighs the statuses and counts together.
    q.Objective = pick(0, 2) == 0 ? SearchObjective::Sum
                                  : static_cast<SearchObjective>(pick(0, kObjectiveCount - 1));
    for (int i = 0; i < kStatCount; ++i) {
        if (pick(0, 3) == 0) {
            q.Min[i] = pick(0, 24);
        }
    }
    if (pick(0, 4) == 0) {
        q.Min[kMinDistance] = pick(240, 275);
    }
    q.NoPenalty = pick(0, 2) != 0;
    if (pick(0, 1) == 0) {
        q.Budget = pick(0, 60) * 1000;
    }
    q.Results = 1;
    return q;
}

// Every build below the first `known` stages as `path` chose them: each choice of the
// later options and of every count.
std::vector<Built> Builds(const CharaModel& m, const SearchQuery& q, std::vector<size_t> path,
                          size_t probe) {
    std::vector<Built> out;
    if (path.size() < m.Stages.size()) {
        for (size_t k = 0; k < m.Stages[path.size()].Options.size(); ++k) {
            path.push_back(k);
            auto more = Builds(m, q, path, probe);
            out.insert(out.end(), more.begin(), more.end());
            path.pop_back();
        }
        return out;
    }
    Five st = m.Base, sl{};
    int32_t ring = 0, pp = m.KeptCountPP, changes = m.PageChanges, club = 0;
    BuildFields fields = m.Current;
    fields[kFieldPage] = m.Chara;
    for (size_t s = 0; s < path.size(); ++s) {
        const Option& o = m.Stages[s].Options[path[s]];
        for (int i = 0; i < kStatCount; ++i) {
            st[i] += o.St[i];
            sl[i] += o.Sl[i];
        }
        ring += o.Ring + o.Yard;
        club = o.Club >= 0 ? o.Club : club;
        pp += o.KeptPP;
        changes += o.Changes;
        fields[m.Stages[s].Fields[0]] = o.Values[0];
    }
    int32_t py = 0;
    for (size_t s = 1; s < path.size(); ++s) {
        py += m.Stages[s].Options[path[s]].Py;
    }
    // Every count: the free ones at every position, the kept ones as they stand.
    std::vector<std::array<int32_t, 2 * kStatCount>> counts(1);
    for (int i = 0; i < kStatCount; ++i) {
        const int32_t uTop = m.CountFree[i] ? CharaSpinnerMax(i) : m.Current[kFieldCount + i];
        const int32_t vTop = std::max(0, StatField(ClubSets()[club].ClubSlotLimit, i));
        std::vector<std::array<int32_t, 2 * kStatCount>> next;
        for (const auto& c : counts) {
            for (int32_t u = m.CountFree[i] ? 0 : uTop; u <= uTop; ++u) {
                for (int32_t v = 0; v <= (m.ClubCountFree[i] ? vTop : 0); ++v) {
                    auto n = c;
                    n[i] = u;
                    n[kStatCount + i] = v;
                    next.push_back(n);
                }
            }
        }
        counts = std::move(next);
    }
    for (const auto& c : counts) {
        Built b;
        b.Through = probe < path.size() ? path[probe] : 0;
        FoundBuild& f = b.Build;
        f.Fields = fields;
        f.Changes = changes;
        std::array<int32_t, kStatCount> s = st;
        int32_t cost = pp;
        for (int i = 0; i < kStatCount; ++i) {
            const int32_t u = c[i], v = c[kStatCount + i];
            const int32_t limit = sl[i] + (i == 0 ? m.LevelBonus : 0);
            s[i] += std::min(u, limit) + (m.ClubCountFree[i] ? v : 0);
            cost += (m.CountFree[i] ? kUpgradeWeight[i] * u * (u + 1) : 0) +
                    (m.ClubCountFree[i] ? kUpgradeWeight[i] * v * (v + 1) : 0);
            f.Changes += (u != m.Current[kFieldCount + i] ? 1 : 0) +
                         (m.ClubCountFree[i] && v != m.Current[kFieldClubCount + i] ? 1 : 0);
            f.Fields[kFieldCount + i] = u;
            f.Fields[kFieldClubCount + i] = m.ClubCountFree[i] ? v : m.Current[kFieldClubCount + i];
        }
        BuildFigures& g = f.Figures;
        const int32_t excess = std::max(0, s[0] - m.Limit);
        g.Final = excess > 0 ? MakeStatus(s[0], std::max(0, s[1] - excess),
                                          std::max(0, s[2] - excess), s[3], s[4])
                             : MakeStatus(s[0], s[1], s[2], s[3], s[4]);
        g.Penalty = excess > 0 ? -excess : 0;
        const int32_t d = (s[0] - 15) * 2 + 230 + ring;
        g.Distances = {d, d + py + 10, d + py + 20};
        g.PP = cost;
        b.Meets = !(q.NoPenalty && excess > 0) && !(q.Budget && cost > *q.Budget) &&
                  !(q.Min[kMinDistance] && d < *q.Min[kMinDistance]);
        for (int i = 0; i < kStatCount; ++i) {
            b.Meets = b.Meets && !(q.Min[i] && StatField(g.Final, i) < *q.Min[i]);
        }
        f.Value = ObjectiveValue(q.Objective, g);
        f.Rank = q.Objective == SearchObjective::LeastPP ? -g.PP : f.Value;
        out.push_back(b);
    }
    return out;
}

bool Before(const FoundBuild& a, const FoundBuild& b) {
    return std::tuple(-a.Rank, a.Figures.PP, a.Changes, a.Fields) <
           std::tuple(-b.Rank, b.Figures.PP, b.Changes, b.Fields);
}

// The walk's node after the options of `path` (no counts chosen).
Node NodeOf(const CharaModel& m, const std::vector<size_t>& path) {
    Node node;
    node.St = m.Base;
    node.PP = m.KeptCountPP;
    node.Changes = m.PageChanges;
    node.Fields = m.Current;
    node.Fields[kFieldPage] = m.Chara;
    for (size_t s = 0; s < path.size(); ++s) {
        const Option& o = m.Stages[s].Options[path[s]];
        AddFive(node.St, o.St);
        AddFive(node.Sl, o.Sl);
        node.Ring += o.Ring;
        node.Yard += o.Yard;
        node.Py += o.Py;
        node.Club = o.Club >= 0 ? o.Club : node.Club;
        node.PP += o.KeptPP;
        node.Changes += o.Changes;
        node.Fields[m.Stages[s].Fields[0]] = o.Values[0];
    }
    node.Known = static_cast<uint32_t>(path.size());
    return node;
}

TEST(Bounds, NeverLeaveABranchHoldingAnAnswer) {
    std::mt19937 rng(2812);
    int cut = 0;
    for (int round = 0; round < 1500; ++round) {
        const CharaModel m = RandomModel(rng);
        const SearchQuery q = RandomQuery(rng);
        const std::vector<Built> all = Builds(m, q, {}, 0);
        std::vector<FoundBuild> valid;
        for (const Built& b : all) {
            if (b.Meets) {
                valid.push_back(b.Build);
            }
        }
        std::sort(valid.begin(), valid.end(), Before);
        // The bar: no answer yet, or a valid build, with the best as the ceiling or not.
        SharedAnswers answers;
        if (!valid.empty() && round % 4 != 0) {
            answers.Answers = {valid[std::uniform_int_distribution<size_t>(
                0, std::min<size_t>(valid.size() - 1, 6))(rng)]};
        }
        if (!valid.empty() && round % 3 == 0) {
            answers.Top = Ceiling{valid.front().Rank, valid.front().Figures.PP};
        }
        const AnswerPool pool(answers, 1);
        Reads reads = ReadsOf(m, q);
        // Where a penalty is allowed, the walk may hold one window of excesses: a branch
        // must keep every build within it.
        if (!q.NoPenalty && round % 2 == 1) {
            reads.ExcessFrom = std::uniform_int_distribution<int32_t>(0, 6)(rng);
            reads.ExcessTo = round % 4 == 1 ? reads.ExcessFrom : reads.ExcessTo;
        }
        const auto within = [&reads](const FoundBuild& f) {
            return -f.Figures.Penalty >= reads.ExcessFrom && -f.Figures.Penalty <= reads.ExcessTo;
        };
        Scratch scratch;
        const Bound bound(m, q, reads, pool, scratch);
        // Every branch: each prefix of options.
        std::vector<std::vector<size_t>> paths;
        std::vector<std::vector<size_t>> level{{}};
        for (size_t s = 0; s < m.Stages.size(); ++s) {
            std::vector<std::vector<size_t>> next;
            for (const auto& p : level) {
                for (size_t k = 0; k < m.Stages[s].Options.size(); ++k) {
                    next.push_back(p);
                    next.back().push_back(k);
                }
            }
            paths.insert(paths.end(), next.begin(), next.end());
            level = std::move(next);
        }
        for (const auto& path : paths) {
            if (!bound.Hopeless(path.size(), NodeOf(m, path))) {
                continue;
            }
            ++cut;
            for (const Built& b : Builds(m, q, path, 0)) {
                ASSERT_FALSE(b.Meets && within(b.Build) &&
                             (answers.Answers.empty() || Before(b.Build, answers.Answers.front())))
                    << "round " << round << ": a cut branch holds an answer";
            }
        }
    }
    EXPECT_GT(cut, 1000);  // the bounds were put to work
}

TEST(Bounds, ScoreRoomHoldsEveryBuildThroughAStage) {
    std::mt19937 rng(2813);
    int weighed = 0;
    for (int round = 0; round < 300; ++round) {
        const CharaModel m = RandomModel(rng);
        SearchQuery q = RandomQuery(rng);
        q.Objective = static_cast<SearchObjective>(std::uniform_int_distribution<int>(3, 7)(rng));
        SharedAnswers answers;
        answers.Answers.push_back(FoundBuild{});  // a bar: the room is weighed against one
        answers.Answers.back().Rank = 1;
        const AnswerPool pool(answers, 1);
        const Reads reads = ReadsOf(m, q);
        Scratch scratch;
        const Bound bound(m, q, reads, pool, scratch);
        const size_t probe = 1;
        std::vector<size_t> path{0};
        const auto room = bound.ScoreRoom(probe, NodeOf(m, path));
        if (!room) {
            continue;
        }
        ++weighed;
        for (const Built& b : Builds(m, q, path, probe)) {
            if (q.Budget && b.Build.Figures.PP > *q.Budget) {
                continue;
            }
            const Option& o = m.Stages[probe].Options[b.Through];
            EXPECT_LE(b.Build.Value, *room + ScoreOf(q.Objective, reads.Projected(o.St)))
                << "round " << round;
        }
    }
    EXPECT_GT(weighed, 100);
}

TEST(Bounds, KeptSumsCoverEveryWayThroughTheLaterStages) {
    std::mt19937 rng(2814);
    int covered = 0;
    for (int round = 0; round < 300; ++round) {
        const CharaModel m = RandomModel(rng);
        const SearchQuery q = RandomQuery(rng);
        const Reads reads = ReadsOf(m, q);
        const TailCache cache = MakeTailCache(m, q, reads);
        for (size_t s = 1; s < cache.Tails.size(); ++s) {
            if (cache.Tails[s].empty()) {
                continue;
            }
            // Every way through stages s.., reduced as the bounds read it.
            std::vector<Tail> ways(1);
            for (size_t t = s; t < m.Stages.size(); ++t) {
                std::vector<Tail> next;
                for (const Tail& w : ways) {
                    for (const Option& o : m.Stages[t].Options) {
                        Tail n = w;
                        const Five st = reads.Projected(o.St);
                        for (int i = 0; i < kStatCount; ++i) {
                            n.St[i] += st[i];
                            n.Sl[i] = std::min(reads.Cap[i], n.Sl[i] + o.Sl[i]);
                        }
                        n.RingYard += reads.Distance ? o.Ring + o.Yard : 0;
                        n.Py += reads.PowerYards ? o.Py : 0;
                        n.Changes += o.Changes;
                        next.push_back(n);
                    }
                }
                ways = std::move(next);
            }
            for (const Tail& w : ways) {
                ++covered;
                const bool exactPowLimit = !m.CountFree[0];
                EXPECT_TRUE(std::any_of(
                    cache.Tails[s].begin(), cache.Tails[s].end(),
                    [&](const Tail& t) {
                        bool covers = t.St[0] == w.St[0] && t.Changes <= w.Changes &&
                                      t.RingYard >= w.RingYard && t.Py >= w.Py &&
                                      (!exactPowLimit || t.Sl[0] == w.Sl[0]);
                        for (int i = 0; i < kStatCount; ++i) {
                            covers = covers && (i == 0 || t.St[i] >= w.St[i]) && t.Sl[i] >= w.Sl[i];
                        }
                        return covers;
                    }))
                    << "round " << round << ", stage " << s << ": a way no kept sum covers";
            }
        }
    }
    EXPECT_GT(covered, 1000);
}

}  // namespace
