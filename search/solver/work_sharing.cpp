#include "search/solver/work_sharing.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <thread>

namespace solver {

namespace {

// Branches shared by the threads: at least this many per thread, at most kMostShared.
constexpr size_t kShared = 64;
constexpr size_t kMostShared = size_t{1} << 20;

}  // namespace

size_t ThreadCount(const SearchControl* control) {
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
    (void)control;
    return 1;
#else
    if (control != nullptr && control->Threads > 0) {
        return static_cast<size_t>(std::min(control->Threads, 64));
    }
    return std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
#endif
}

void EachOnThreads(size_t count, size_t threads, const std::function<void(size_t)>& job) {
    std::atomic<size_t> next{0};
    std::vector<std::exception_ptr> failures(count);  // by job: the first job's is thrown
    const auto run = [&] {
        for (size_t k = next++; k < count; k = next++) {
            try {
                job(k);
            } catch (...) {
                failures[k] = std::current_exception();
            }
        }
    };
    std::vector<std::thread> others;
    for (size_t t = 1; t < std::min(threads, count); ++t) {
        others.emplace_back(run);
    }
    run();
    for (auto& thread : others) {
        thread.join();
    }
    for (const std::exception_ptr& failure : failures) {
        if (failure) {
            std::rethrow_exception(failure);
        }
    }
}

void PlanSharing(SharedWork& work, const std::vector<CharaModel>& charas, size_t threads) {
    for (const CharaModel& m : charas) {
        size_t stage = std::numeric_limits<size_t>::max();
        size_t branches = 1;
        if (threads > 1) {
            for (size_t st = 0; st < m.Stages.size(); ++st) {
                const size_t more = branches * std::max<size_t>(1, m.Stages[st].Options.size());
                if (more > kMostShared) {
                    break;
                }
                stage = st + 1;
                branches = more;
                if (branches >= kShared * threads) {
                    break;
                }
            }
        }
        work.ShareStage.push_back(stage);
        work.Taken.push_back(stage == std::numeric_limits<size_t>::max()
                                 ? nullptr
                                 : std::make_unique<std::atomic<bool>[]>(branches));
    }
    work.Busy.assign(charas.size(), threads);
    work.Tasks.resize(charas.size());
    work.Waiting = std::make_unique<std::atomic<int>[]>(charas.size());
}

void HelpWith(SharedWork& work, size_t c, const std::function<void(const Task&)>& walk) {
    std::unique_lock<std::mutex> lock(work.TaskLock);
    --work.Busy[c];
    while (!work.Stop) {
        if (!work.Tasks[c].empty()) {
            const Task task = std::move(work.Tasks[c].back());
            work.Tasks[c].pop_back();
            ++work.Busy[c];
            lock.unlock();
            walk(task);
            lock.lock();
            --work.Busy[c];
        } else if (work.Busy[c] == 0) {
            work.TaskReady.notify_all();
            break;
        } else {
            ++work.Waiting[c];
            work.TaskReady.wait(lock);
            --work.Waiting[c];
        }
    }
    if (work.Stop) {
        throw Cancelled{};
    }
}

Handing::Handing(SharedWork& work, size_t chara, size_t stages)
    : work_(work),
      chara_(chara),
      shareStage_(work.ShareStage[chara]),
      taken_(work.Taken[chara].get()),
      handsOver_(work.Taken[chara] != nullptr),
      frames_(stages) {}

Handing::Frame& Handing::Enter(size_t s, const Node& node, size_t count, bool grouped) {
    Frame& frame = frames_[s];  // sized once: the loops above hold theirs
    frame.Open = handsOver_ && s >= shareStage_;
    frame.At = 0;
    frame.End = count;
    frame.From = &node;
    frame.Grouped = grouped;
    return frame;
}

void Handing::HandOver(const Children& children) {
    for (size_t s = shareStage_; s < frames_.size(); ++s) {
        Frame& frame = frames_[s];
        if (!frame.Open || frame.End - frame.At < 3) {
            continue;
        }
        Task task;
        task.Stage = s;
        task.From = *frame.From;
        const size_t half = frame.At + 1 + (frame.End - frame.At - 1) / 2;
        for (size_t g = half; g < frame.End; ++g) {
            const auto options = children(s, g, frame.Grouped);
            task.Options.insert(task.Options.end(), options.begin(), options.end());
        }
        std::lock_guard<std::mutex> lock(work_.TaskLock);
        auto& tasks = work_.Tasks[chara_];
        if (tasks.size() >= static_cast<size_t>(work_.Waiting[chara_].load())) {
            return;  // enough handed over already
        }
        frame.End = half;
        tasks.push_back(std::move(task));
        work_.TaskReady.notify_one();
        return;
    }
}

}  // namespace solver
