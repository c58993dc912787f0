#include "search/solver/tail_sums.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <tuple>

namespace solver {

namespace {

// At most this many kept sums of a stage; clusters of at most kClusterSize. Where the sums
// to reduce are more than kPairsPerKept times the sums a stage may keep, their frontier
// nearly always proves too large (over random goals, all but 4 of about 1,200 times), and
// making it would cost the rest of the search's start many times over.
constexpr size_t kTailLimit = 1024;
constexpr size_t kPairsPerKept = 24;
constexpr uint32_t kClusterSize = 8;

// The bucket of a sum: only sums of one bucket can beat each other.
std::pair<int32_t, int32_t> BucketOf(const Tail& t, bool exactPowLimit) {
    return {t.St[0], exactPowLimit ? t.Sl[0] : 0};
}

// A sum that beats another weighs more, so that every sum meets the ones that could beat
// it before it.
int64_t WeightOf(const Tail& t) {
    int64_t w = t.RingYard + t.Py - 8 * t.Changes;
    for (int i = 0; i < kStatCount; ++i) {
        w += (i > 0 ? t.St[i] : 0) + t.Sl[i];
    }
    return w;
}

uint64_t HashOf(const Tail& t) {
    uint64_t h = 1469598103934665603ull;
    const auto mix = [&h](int32_t v) { h = (h ^ static_cast<uint32_t>(v)) * 1099511628211ull; };
    for (int i = 0; i < kStatCount; ++i) {
        mix(t.St[i]);
        mix(t.Sl[i]);
    }
    mix(t.RingYard);
    mix(t.Py);
    mix(t.Changes);
    return h;
}

// a beats b: power (and a kept power count's limit) alike, nothing less, fewer changes or
// as many.
bool Beats(const Tail& a, const Tail& b, bool exactPowLimit) {
    if (a.St[0] != b.St[0] || (exactPowLimit && a.Sl[0] != b.Sl[0]) || a.Changes > b.Changes ||
        a.RingYard < b.RingYard || a.Py < b.Py) {
        return false;
    }
    for (int i = 0; i < kStatCount; ++i) {
        if ((i > 0 && a.St[i] < b.St[i]) || a.Sl[i] < b.Sl[i]) {
            return false;
        }
    }
    return true;
}

// Consecutive runs of at most kClusterSize of `count` sums (part(k)) of one bucket, each
// with what its members reach at best.
template <class Part>
std::vector<Cluster> Gather(size_t count, Part&& part, bool exactPowLimit) {
    std::vector<Cluster> out;
    for (uint32_t k = 0; k < count; ++k) {
        const Tail& t = part(k);
        if (out.empty() || out.back().End - out.back().Begin >= kClusterSize ||
            BucketOf(out.back().Best, exactPowLimit) != BucketOf(t, exactPowLimit)) {
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

// The kept sums of stage s in clusters alike (the same bucket, neighbours by weight), and
// those in clusters alike. A branch hopeless with a cluster's best in every respect is
// hopeless with each of its sums.
void ClusterTails(TailCache& c, size_t s, bool exactPowLimit) {
    c.Clusters.resize(c.Tails.size());
    c.Supers.resize(c.Tails.size());
    c.Members.resize(c.Tails.size());
    const auto& tails = c.Tails[s];
    auto& members = c.Members[s];
    members.resize(tails.size());
    std::iota(members.begin(), members.end(), 0u);
    std::stable_sort(members.begin(), members.end(), [&](uint32_t a, uint32_t b) {
        if (BucketOf(tails[a], exactPowLimit) != BucketOf(tails[b], exactPowLimit)) {
            return BucketOf(tails[a], exactPowLimit) < BucketOf(tails[b], exactPowLimit);
        }
        return WeightOf(tails[a]) > WeightOf(tails[b]);
    });
    c.Clusters[s] = Gather(
        members.size(), [&](uint32_t k) -> const Tail& { return tails[members[k]]; },
        exactPowLimit);
    const auto& clusters = c.Clusters[s];
    c.Supers[s] = Gather(
        clusters.size(), [&](uint32_t k) -> const Tail& { return clusters[k].Best; },
        exactPowLimit);
    std::stable_sort(
        c.Supers[s].begin(), c.Supers[s].end(),
        [](const Cluster& a, const Cluster& b) { return WeightOf(a.Best) > WeightOf(b.Best); });
}

// Options alike in every respect the bound reads.
void MakeGroups(TailCache& c, const CharaModel& m, const Reads& reads) {
    c.Groups.assign(m.Stages.size(), {});
    for (size_t s = 1; s < m.Stages.size(); ++s) {
        const auto& options = m.Stages[s].Options;
        // Where a limit on what a build acquires binds, a member acquiring more might not
        // stand for one acquiring less: members acquire alike.
        std::map<std::tuple<Five, Five, int32_t, int32_t, int32_t, int32_t>, size_t> at;
        for (const uint32_t k : reads.Order[s]) {
            const auto& o = options[k];
            Tail d;
            d.St = reads.Projected(o.St);
            for (int i = 0; i < kStatCount; ++i) {
                d.Sl[i] = std::min(reads.Cap[i], o.Sl[i]);
            }
            d.RingYard = reads.Distance ? o.Ring + o.Yard : 0;
            d.Py = reads.PowerYards ? o.Py : 0;
            d.Changes = o.Changes;
            const auto [it, fresh] =
                at.try_emplace(std::tuple(d.St, d.Sl, d.RingYard, d.Py, d.Changes,
                                          m.Acq.CountMatters() ? o.Acquired : 0),
                               c.Groups[s].size());
            if (fresh) {
                c.Groups[s].push_back(Group{d, {}, k});
            }
            Group& g = c.Groups[s][it->second];
            g.Members.push_back(k);
            const Option& first = options[g.First];
            if (std::tie(o.Changes, o.Values) < std::tie(first.Changes, first.Values)) {
                g.First = k;
            }
        }
    }
}

// The groups by score, and in clusters of the same bucket, neighbours by score.
void ScoreGroups(TailCache& c, const CharaModel& m, const SearchQuery& q, bool exactPowLimit) {
    const auto objective = static_cast<int>(q.Objective);
    c.ByScore.assign(m.Stages.size(), {});
    c.GroupClusters.assign(m.Stages.size(), {});
    c.GroupMembers.assign(m.Stages.size(), {});
    for (size_t s = 1; s < m.Stages.size(); ++s) {
        const auto& groups = c.Groups[s];
        if (q.Objective == SearchObjective::Sum || (objective >= 3 && objective <= 6)) {
            for (size_t k = 0; k < groups.size(); ++k) {
                c.ByScore[s].push_back(
                    {ScoreOf(q.Objective, groups[k].Delta.St), static_cast<uint32_t>(k)});
            }
            std::stable_sort(c.ByScore[s].begin(), c.ByScore[s].end(),
                             [](const auto& a, const auto& b) { return a.first > b.first; });
        }
        std::vector<int32_t> score(groups.size());
        for (const auto& [v, k] : c.ByScore[s]) {
            score[k] = v;
        }
        auto& members = c.GroupMembers[s];
        members.resize(groups.size());
        std::iota(members.begin(), members.end(), 0u);
        const auto bucket = [&](uint32_t k) { return BucketOf(groups[k].Delta, exactPowLimit); };
        std::stable_sort(members.begin(), members.end(), [&](uint32_t a, uint32_t b) {
            return bucket(a) != bucket(b) ? bucket(a) < bucket(b) : score[a] > score[b];
        });
        auto& clusters = c.GroupClusters[s];
        clusters = Gather(
            members.size(), [&](uint32_t k) -> const Tail& { return groups[members[k]].Delta; },
            exactPowLimit);
        for (auto& cluster : clusters) {
            cluster.Score = score[members[cluster.Begin]];
        }
        std::stable_sort(clusters.begin(), clusters.end(),
                         [](const auto& a, const auto& b) { return a.Score > b.Score; });
    }
}

// Every sum of a group of stage s with a kept sum after it. A group's sum stands for all
// its options: the limits are not negative, so capping a part first caps the whole alike.
std::vector<Tail> Joined(const std::vector<Group>& groups, const std::vector<Tail>& after,
                         const Five& cap) {
    std::vector<Tail> all;
    all.reserve(after.size() * groups.size());
    for (const Group& g : groups) {
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
    return all;
}

// The sums of `all` no other beats, at most `most` of them; none where more. Only sums of
// one bucket can beat each other: each bucket is reduced on its own, likely winners first
// so that most sums are beaten by an early keeper; equal sums lie together.
std::optional<std::vector<Tail>> Frontier(const std::vector<Tail>& all, size_t most,
                                          bool exactPowLimit) {
    // Per sum, packed so that one comparison of two words orders them: its bucket, minus
    // its weight, its hash; then its place in `all`. Each figure is turned into an
    // unsigned of the same order (the sign bit flipped); a sum's figures fit 32 bits.
    struct Entry {
        uint64_t Bucket;
        uint64_t Rest;
        uint32_t At;
        bool operator<(const Entry& o) const {
            return std::tie(Bucket, Rest, At) < std::tie(o.Bucket, o.Rest, o.At);
        }
    };
    const auto ordered = [](int64_t v) { return static_cast<uint32_t>(v) ^ 0x80000000u; };
    std::vector<Entry> by;
    by.reserve(all.size());
    for (size_t k = 0; k < all.size(); ++k) {
        const auto [pow, limit] = BucketOf(all[k], exactPowLimit);
        by.push_back({uint64_t{ordered(pow)} << 32 | ordered(limit),
                      uint64_t{ordered(-WeightOf(all[k]))} << 32 | (HashOf(all[k]) >> 32),
                      static_cast<uint32_t>(k)});
    }
    std::sort(by.begin(), by.end());
    // Equal sums lie together: the same bucket, weight and hash.
    const auto same = [&](size_t k) {
        return k > 0 && by[k].Bucket == by[k - 1].Bucket && by[k].Rest == by[k - 1].Rest &&
               all[by[k].At].Key() == all[by[k - 1].At].Key();
    };
    std::vector<Tail> kept;
    size_t bucket = 0;  // where the kept sums of the current bucket start
    for (size_t k = 0; k < by.size(); ++k) {
        if (same(k)) {
            continue;
        }
        if (k > 0 && by[k].Bucket != by[k - 1].Bucket) {
            bucket = kept.size();
        }
        const Tail& t = all[by[k].At];
        if (std::none_of(kept.begin() + static_cast<std::ptrdiff_t>(bucket), kept.end(),
                         [&](const Tail& keeper) { return Beats(keeper, t, exactPowLimit); })) {
            kept.push_back(t);
            if (kept.size() > most) {
                return std::nullopt;
            }
        }
    }
    // The heaviest first across the buckets: a branch that is not hopeless is most often
    // shown so by one of them.
    std::stable_sort(kept.begin(), kept.end(),
                     [](const Tail& a, const Tail& b) { return WeightOf(a) > WeightOf(b); });
    return kept;
}

}  // namespace

int32_t ScoreOf(SearchObjective objective, const Five& st) {
    return objective == SearchObjective::Sum ? st[0] + st[1] + st[2] + st[3] + st[4]
                                             : st[static_cast<size_t>(objective) - 2];
}

TailCache MakeTailCache(const CharaModel& m, const SearchQuery& q, const Reads& reads) {
    TailCache c;
    for (size_t s = 1; s < m.Stages.size(); ++s) {
        for (const auto& o : m.Stages[s].Options) {
            for (int i = 0; i < kStatCount; ++i) {
                if (o.Sl[i] < 0) {
                    return c;  // limits that fall would make a capped sum too low
                }
            }
        }
    }
    const bool exactPowLimit = !m.CountFree[0];
    MakeGroups(c, m, reads);
    ScoreGroups(c, m, q, exactPowLimit);
    c.Tails.assign(m.Stages.size() + 1, {});
    std::vector<Tail> after(1);
    for (size_t s = m.Stages.size(); s-- > 1;) {
        // The most kept sums any test tries here: a branch's own test, the groups of the
        // stage before weighed against each, or the club sets at the root.
        const size_t before = s >= 2 ? c.Groups[s - 1].size() : m.Stages[0].Options.size();
        const size_t most =
            std::min(kTailLimit, std::max(kTailTries, (s >= 2 ? kSharpEstimates : kRootEstimates) /
                                                          std::max<size_t>(1, before)));
        if (after.size() * c.Groups[s].size() > kPairsPerKept * most) {
            return c;  // far too many to reduce here
        }
        auto kept = Frontier(Joined(c.Groups[s], after, reads.Cap), most, exactPowLimit);
        if (!kept) {
            return c;  // too many to try at every branch: the box bound alone
        }
        c.Tails[s] = *kept;
        ClusterTails(c, s, exactPowLimit);
        after = std::move(*kept);
    }
    return c;
}

}  // namespace solver
