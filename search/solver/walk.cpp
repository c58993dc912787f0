#include "search/solver/walk.h"

#include <algorithm>
#include <limits>

#include "search/solver/ranking.h"

namespace solver {

Walk::Walk(const CharaModel& m, const PlannedBuild& build, const SearchQuery& q, const Reads& reads,
           const TailCache& tails, SharedAnswers& answers, SharedWork& work, size_t chara,
           const SearchControl* control, Scratch& scratch)
    : m_(m),
      q_(q),
      reads_(reads),
      cache_(tails),
      work_(work),
      control_(control),
      pool_(answers, q.Results, m.Acq.Rule == AcquireRule::Named),
      bound_(m, q, reads, pool_, scratch),
      memos_(scratch, work.MemoBytes, m, q, reads),
      pairs_(m, build, q),
      handing_(work, chara, m.Stages.size()),
      children_([this](size_t s, size_t g, bool grouped) { return Children(s, g, grouped); }),
      open_(m.Stages.size()),
      mostAcquired_(m.Acq.Most.value_or(std::numeric_limits<int32_t>::max())) {}

void Walk::Run(const std::function<void(double)>& progress) {
    Node root;
    root.St = m_.Base;
    root.PP = m_.KeptCountPP;
    root.Changes = m_.PageChanges;
    root.Fields = m_.Current;
    root.Fields[kFieldPage] = m_.Chara;
    const auto& options = m_.Stages[0].Options;
    std::vector<uint32_t> order = reads_.Order[0];
    if (cache_.Tails.size() > 1 && !cache_.Tails[1].empty() &&
        cache_.Tails[1].size() * options.size() <= kRootEstimates) {
        // The club sets in the order of the best their builds can give.
        std::vector<std::pair<int32_t, int32_t>> estimate(options.size(), {kUnreachable, 0});
        for (size_t i = 0; i < options.size(); ++i) {
            Node child = root;
            AddFive(child.St, options[i].St);
            child.Club = options[i].Club;
            child.PP += options[i].KeptPP;
            child.Changes += options[i].Changes;
            TailEstimate(1, child, estimate[i]);
        }
        std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
            return std::pair(-estimate[a].first, estimate[a].second) <
                   std::pair(-estimate[b].first, estimate[b].second);
        });
    }
    progress_ = &progress;
    rootShare_ = 1.0 / static_cast<double>(options.size());
    for (size_t i = 0; i < options.size(); ++i) {
        rootFrom_ = static_cast<double>(i) * rootShare_;
        Descend(0, root, options[order[i]]);
        progress(static_cast<double>(i + 1) * rootShare_);
    }
    progress_ = nullptr;
}

void Walk::WalkHanded(const Task& task) {
    for (const uint32_t i : task.Options) {
        Descend(task.Stage, task.From, m_.Stages[task.Stage].Options[i]);
    }
}

void Walk::Descend(size_t s, const Node& node, const Option& o, Weighed weighed) {
    Node child = node;
    const Stage& stage = m_.Stages[s];
    if (s < handing_.ShareStage()) {
        child.Path = node.Path * static_cast<uint32_t>(stage.Options.size()) +
                     static_cast<uint32_t>(&o - stage.Options.data());
    }
    AddFive(child.St, o.St);
    AddFive(child.Sl, o.Sl);
    child.Ring += o.Ring;
    child.Yard += o.Yard;
    child.Py += o.Py;
    if (o.Club >= 0) {
        child.Club = o.Club;
    }
    child.PP += o.KeptPP;
    child.Changes += o.Changes;
    child.Acquired += o.Acquired;
    if (child.Acquired > mostAcquired_) {
        return;  // acquires more things not owned than the query lets it
    }
    for (size_t j = 0; j < stage.Fields.size(); ++j) {
        child.Fields[stage.Fields[j]] = o.Values[j];
    }
    child.Known = static_cast<uint32_t>(s + 1);
    // The group's bound weighed the child without the PP of the counts its club set keeps.
    weighed.Bound = weighed.Bound && o.KeptPP == 0;
    Visit(s + 1, child, weighed);
}

void Walk::Visit(size_t s, const Node& node, Weighed weighed) {
    Tick();
    pool_.Refresh();
    // A way the memo already leaves costs a lookup, where weighing the kept sums costs a
    // bound each: the memo comes first, and remembers the ways the kept sums then leave
    // too, as their twins are met again and again.
    if ((!weighed.Bound && bound_.Hopeless(s, node)) || memos_.Seen(s, node) ||
        (!weighed.Tails && TailsHopeless(s, node)) || memos_.Crowded(s, node)) {
        return;
    }
    if (s == handing_.ShareStage() && handing_.TakenElsewhere(node.Path)) {
        return;  // another thread walks this branch
    }
    if (s < m_.Stages.size() && s < cache_.Groups.size() && !cache_.Groups[s].empty()) {
        VisitGroups(s, node);
    } else if (s < m_.Stages.size()) {
        VisitOptions(s, node);
    } else {
        Counts(node);
    }
}

// The groups that can still give an answer, the best estimate first, into open_[s]. The
// groups come by what they add, most first: once even the most a child could reach falls
// short of the last answer, so does every later group. A cluster of groups hopeless with
// its best is hopeless with each of them.
void Walk::OpenGroups(size_t s, const Node& node) {
    auto& open = open_[s];
    open.clear();
    const auto room = bound_.ScoreRoom(s, node);
    const bool scored = room && !cache_.ByScore[s].empty();
    const int32_t bar = scored ? pool_.Last()->Rank : 0;
    const auto& groups = cache_.Groups[s];
    const auto& members = cache_.GroupMembers[s];
    std::pair<int32_t, int32_t> unused{};
    for (const auto& cluster : cache_.GroupClusters[s]) {
        if (scored && *room + cluster.Score < bar) {
            break;
        }
        if (cluster.End - cluster.Begin > 1 &&
            bound_.Hopeless(s + 1, Through(node, cluster.Best), &unused)) {
            continue;
        }
        for (uint32_t n = cluster.Begin; n < cluster.End; ++n) {
            const uint32_t k = members[n];
            if (scored && *room + ScoreOf(q_.Objective, groups[k].Delta.St) < bar) {
                continue;
            }
            std::pair<int32_t, int32_t> estimate{};
            if (!GroupHopeless(s, node, groups[k].Delta, &estimate)) {
                open.push_back({-estimate.first, estimate.second, static_cast<int32_t>(k)});
            }
        }
    }
    std::sort(open.begin(), open.end());
}

void Walk::VisitGroups(size_t s, const Node& node) {
    OpenGroups(s, node);
    // Where the test weighed every kept sum after this stage, a child need not weigh them
    // again while no answer has changed since.
    const uint64_t tested = pool_.Changes();
    const size_t tails = s + 1 < cache_.Tails.size() ? cache_.Tails[s + 1].size() : 0;
    const bool sharp = tails > 0 && cache_.Groups[s].size() * tails <= kSharpEstimates;
    const size_t count = open_[s].size();
    auto& frame = handing_.Enter(s, node, count, true);
    for (; frame.At < frame.End; ++frame.At) {
        handing_.Hand(children_);
        const auto& [negBest, ppLow, group] = open_[s][frame.At];
        for (const uint32_t i : Children(s, frame.At, true)) {
            // The answers may change between members of a group: each child asks anew.
            const bool unchanged = pool_.Changes() == tested;
            const Weighed weighed{sharp && unchanged,
                                  unchanged && bound_.EstimateBeforeLast(-negBest, ppLow)};
            Descend(s, node, m_.Stages[s].Options[i], weighed);
        }
        Advanced(s, frame.At, count);
    }
    frame.Open = false;
}

void Walk::VisitOptions(size_t s, const Node& node) {
    const size_t count = reads_.Order[s].size();
    auto& frame = handing_.Enter(s, node, count, false);
    for (; frame.At < frame.End; ++frame.At) {
        handing_.Hand(children_);
        Descend(s, node, m_.Stages[s].Options[reads_.Order[s][frame.At]]);
        Advanced(s, frame.At, count);
    }
    frame.Open = false;
}

// The options of the g-th child of a stage-s loop.
std::span<const uint32_t> Walk::Children(size_t s, size_t g, bool grouped) const {
    if (grouped) {
        const Group& group = cache_.Groups[s][static_cast<size_t>(std::get<2>(open_[s][g]))];
        if (q_.Results == 1) {
            return {&group.First, 1};
        }
        return group.Members;
    }
    return {&reads_.Order[s][g], 1};
}

// The counts of stat node.UpDone, then the next; the build is whole after the fifth.
void Walk::Counts(const Node& node) {
    const int i = node.UpDone;
    if (i == kStatCount) {
        Offer(node);
        return;
    }
    const int32_t limit = node.Sl[i] + (i == 0 ? m_.LevelBonus : 0);
    const int32_t here = m_.Current[kFieldCount + i];
    const int32_t uTop = m_.CountFree[i] ? std::min(CharaSpinnerMax(i), limit) : here;
    const auto& pairs = pairs_.Of(i, node.Club, uTop, limit);
    // A status neither the objective nor a minimum reads only costs its PP (power, where
    // they do not read it, can only bring a penalty besides): once a pair leaves the branch
    // hopeless, every dearer pair does (the pairs come cheapest first, and of equal PP the
    // one adding less).
    const bool onlyCosts = !reads_.Wanted[i] || (i == 0 && reads_.PowCosts);
    int32_t dearer = std::numeric_limits<int32_t>::max();
    // No pair may cost more than the PP a build may still spend.
    if (const std::optional<int32_t> most = bound_.Spend()) {
        dearer = static_cast<int32_t>(std::clamp<int64_t>(int64_t{*most} - node.PP, -1, dearer));
    }
    for (const auto& [u, v, added, pp, changes] : pairs) {
        if (pp > dearer) {
            break;
        }
        Node child = node;
        child.St[i] += added;
        child.PP += pp;
        child.Changes += changes;
        child.Fields[kFieldCount + i] = u;
        child.Fields[kFieldClubCount + i] = v;
        child.UpDone = i + 1;
        Tick();
        if (!bound_.Hopeless(m_.Stages.size(), child)) {
            Counts(child);
        } else if (onlyCosts) {
            dearer = std::min(dearer, pp);
        }
    }
}

// A whole build: its figures, the conditions, and its place among those kept.
void Walk::Offer(const Node& node) {
    FoundBuild b;
    b.Fields = node.Fields;
    b.Changes = node.Changes;
    b.Figures = FiguresOf(node.St, node.Ring, node.Yard, node.Py, node.PP, m_.Limit);
    const int32_t excess = -b.Figures.Penalty;
    if (!MeetsConditions(q_, b.Figures) || excess < reads_.ExcessFrom || excess > reads_.ExcessTo) {
        return;  // or another window of excesses offers it
    }
    b.Value = ObjectiveValue(q_.Objective, b.Figures);
    b.Rank = RankOf(q_.Objective, b.Figures);
    if (m_.Acq.Rule == AcquireRule::Named) {
        b.Acquired = AcquiredKey(m_.Acq, b.Fields);
    }
    pool_.Offer(b);
}

void Walk::Poll() {
    if (work_.Stop.load(std::memory_order_relaxed) ||
        (control_ != nullptr && control_->Cancelled && control_->Cancelled())) {
        work_.Stop.store(true, std::memory_order_relaxed);
        throw Cancelled{};
    }
    if (work_.NodeLimit != 0 && nodes_ >= work_.NodeLimit) {
        work_.OutOfNodes.store(true, std::memory_order_relaxed);
        work_.Stop.store(true, std::memory_order_relaxed);
        throw Cancelled{};
    }
    pool_.Report();
}

}  // namespace solver
