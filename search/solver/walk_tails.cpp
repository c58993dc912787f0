// The walk's tests against the kept sums of the stages after a branch: a branch is
// hopeless when the bound at the build's end leaves it hopeless with every kept sum added.

#include "search/solver/walk.h"

namespace solver {

// A child of `node` through options adding `d`, as far as the bound reads it: the ring
// and the caddie cards' yards together, its own list indices not known.
Node Walk::Through(const Node& node, const Tail& d) {
    Node child;
    child.Known = node.Known;
    child.Fields = node.Fields;
    child.Club = node.Club;
    child.PP = node.PP;
    Add(child, node, d);
    return child;
}

// Sets the figures of `child`, a child of `node` made by Through, to those through `d`.
void Walk::Add(Node& child, const Node& node, const Tail& d) {
    for (int i = 0; i < kStatCount; ++i) {
        child.St[i] = node.St[i] + d.St[i];
        child.Sl[i] = node.Sl[i] + d.Sl[i];
    }
    child.Ring = node.Ring + node.Yard + d.RingYard;
    child.Py = node.Py + d.Py;
    child.Changes = node.Changes + d.Changes;
}

// Calls `visit` with the place in Tails of every kept sum of stage s not shown hopeless by
// its clusters' best (`hopeless`), until `visit` returns true; true when it did.
template <class Hopeless, class Each>
bool Walk::ClusteredTails(size_t s, Hopeless&& hopeless, Each&& visit) const {
    const auto& members = cache_.Members[s];
    const auto& clusters = cache_.Clusters[s];
    for (const auto& super : cache_.Supers[s]) {
        if (super.End - super.Begin > 1 && hopeless(super.Best)) {
            continue;
        }
        for (uint32_t c = super.Begin; c < super.End; ++c) {
            const auto& cluster = clusters[c];
            if (cluster.End - cluster.Begin > 1 && hopeless(cluster.Best)) {
                continue;
            }
            for (uint32_t n = cluster.Begin; n < cluster.End; ++n) {
                if (visit(members[n])) {
                    return true;
                }
            }
        }
    }
    return false;
}

// Whether a child of `node` through options adding `d` at stage s can still give an
// answer, told without making the child. Where the groups and the kept sums are few
// enough to weigh every pair, the sharper estimate both leaves more groups and orders the
// rest.
bool Walk::GroupHopeless(size_t s, const Node& node, const Tail& d,
                         std::pair<int32_t, int32_t>* estimate) const {
    const Node child = Through(node, d);
    if (bound_.Hopeless(s + 1, child, estimate)) {
        return true;
    }
    const size_t tails = s + 1 < cache_.Tails.size() ? cache_.Tails[s + 1].size() : 0;
    if (tails > 0 && cache_.Groups[s].size() * tails <= kSharpEstimates) {
        return !TailEstimate(s + 1, child, *estimate);
    }
    return false;
}

// The best estimate over the kept sums of stages s..: the value first, then the PP. False
// when every sum leaves the branch hopeless.
bool Walk::TailEstimate(size_t s, const Node& node, std::pair<int32_t, int32_t>& estimate) const {
    Node end = Through(node, Tail{});
    const auto hopeless = [&](const Tail& t, std::pair<int32_t, int32_t>* e) {
        Add(end, node, t);
        return bound_.Hopeless(m_.Stages.size(), end, e);
    };
    bool any = false;
    const auto& tails = cache_.Tails[s];
    ClusteredTails(
        s, [&](const Tail& t) { return hopeless(t, nullptr); },
        [&](uint32_t k) {
            std::pair<int32_t, int32_t> e{};
            if (!hopeless(tails[k], &e)) {
                if (!any || e.first > estimate.first ||
                    (e.first == estimate.first && e.second < estimate.second)) {
                    estimate = e;
                }
                any = true;
            }
            return false;
        });
    return any;
}

// Whether every kept sum of stages s.. leaves the branch hopeless; not asked where there
// are none, or too many to try at every branch.
bool Walk::TailsHopeless(size_t s, const Node& node) {
    if (s >= cache_.Tails.size() || cache_.Tails[s].empty() ||
        cache_.Tails[s].size() > kTailTries) {
        return false;
    }
    const auto& tails = cache_.Tails[s];
    if (lastHope_.size() < cache_.Tails.size()) {
        lastHope_.assign(cache_.Tails.size(), 0);
    }
    // The sum that last left a branch of this stage a hope first: neighbouring branches
    // are mostly kept by the same one.
    size_t& last = lastHope_[s];
    Node end = Through(node, Tail{});
    const auto hopeless = [&](const Tail& t) {
        Add(end, node, t);
        return bound_.Hopeless(m_.Stages.size(), end);
    };
    if (last < tails.size() && !hopeless(tails[last])) {
        return false;
    }
    return !ClusteredTails(s, hopeless, [&](uint32_t k) {
        if (k != last && !hopeless(tails[k])) {
            last = k;
            return true;
        }
        return false;
    });
}

}  // namespace solver
