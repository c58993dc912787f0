#pragma once

// Work sharing between the threads of one solve. Each thread walks the whole tree down to
// the stage where the work is shared; there it takes every branch no thread has taken
// yet, and walks below it alone. A thread left without a branch waits for work: a thread
// still walking hands it the later half of the children it has yet to walk at its
// shallowest node below that stage. The threads go on to the next character together.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "search/solver/stage_model.h"

namespace solver {

// Children of one node that a thread hands to another: the node, its stage and the
// options still to descend through.
struct Task {
    size_t Stage = 0;
    Node From;
    std::vector<uint32_t> Options;
};

struct SharedWork {
    size_t MemoBytes = 0;           // what each thread's memos may hold
    std::atomic<bool> Stop{false};  // a thread was cancelled or failed
    // Where not 0, the most nodes a thread's walk of one character may visit; past them
    // the walk stops and OutOfNodes is raised.
    uint64_t NodeLimit = 0;
    std::atomic<bool> OutOfNodes{false};
    // By character: the stage where the branches are shared, and one flag per branch.
    std::vector<size_t> ShareStage;
    std::vector<std::unique_ptr<std::atomic<bool>[]>> Taken;
    // The work handed over, under TaskLock. By character: a thread done with one
    // character may still wait for its work while another hands over work of the next.
    std::mutex TaskLock;
    std::condition_variable TaskReady;
    std::vector<std::vector<Task>> Tasks;
    std::vector<size_t> Busy;                     // by character: threads still walking it
    std::unique_ptr<std::atomic<int>[]> Waiting;  // threads waiting for work
};

// As many threads as the machine runs at once, or as the caller asks; one where the build
// has none.
size_t ThreadCount(const SearchControl* control);

// Runs job(0) .. job(count - 1), each once, on up to `threads` threads (the calling one
// among them); once all have ended, rethrows the failure of the lowest job that failed,
// whichever thread ran it, so that a search fails alike on one thread or several. What a search
// makes per character before its walks (the models, the kept sums) is made so, a character a job.
void EachOnThreads(size_t count, size_t threads, const std::function<void(size_t)>& job);

// Sets up `work` for `threads` threads over the characters: the branches are shared at the
// first stage with enough of them to keep every thread busy to the end.
void PlanSharing(SharedWork& work, const std::vector<CharaModel>& charas, size_t threads);

// After a thread's own walk of character c: walks what other threads hand over (`walk`)
// until every thread is done with it. Throws Cancelled where the search stopped.
void HelpWith(SharedWork& work, size_t c, const std::function<void(const Task&)>& walk);

// One thread's loops over children, by stage, where it can hand some of them over.
class Handing {
public:
    Handing(SharedWork& work, size_t chara, size_t stages);

    size_t ShareStage() const { return shareStage_; }
    // Whether another thread already took the branch at `path` of the shared stage.
    bool TakenElsewhere(uint32_t path) const {
        return taken_[path].exchange(true, std::memory_order_relaxed);
    }

    // A node's loop over its children: At is the child walked, End where this thread
    // stops.
    struct Frame {
        bool Open = false;
        size_t At = 0;
        size_t End = 0;
        const Node* From = nullptr;
        bool Grouped = false;  // the children by the open groups, else one by one
    };
    Frame& Enter(size_t s, const Node& node, size_t count, bool grouped);

    // When a thread waits for work, hands it the later half of the children still to walk
    // at this thread's shallowest node with at least two left after the one it walks;
    // children(s, g, grouped) gives the options of the g-th child of a stage-s loop.
    using Children = std::function<std::span<const uint32_t>(size_t, size_t, bool)>;
    void Hand(const Children& children) {
        if (work_.Waiting[chara_].load(std::memory_order_relaxed) != 0) {
            HandOver(children);
        }
    }

private:
    void HandOver(const Children& children);

    SharedWork& work_;
    size_t chara_;
    size_t shareStage_;
    std::atomic<bool>* taken_;
    bool handsOver_;  // more than one thread walks
    std::vector<Frame> frames_;
};

}  // namespace solver
