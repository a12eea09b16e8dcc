#include "core/hand_over.h"

#include <memory>
#include <utility>

namespace {

struct Job {
    enum State { kQueued, kRunning, kDone, kAbandoned };
    std::function<void()> work;
    State state = kQueued;  // guarded by the gate's mutex
};

}  // namespace

bool vx::HandOverGate::RunAndWait(std::function<void()> work, const Post& post) {
    if (quitting_.load()) return false;
    auto job = std::make_shared<Job>();
    job->work = std::move(work);
    const bool queued = post([this, job] {
        {
            std::lock_guard lock(mutex_);
            if (job->state != Job::kQueued) return;
            job->state = Job::kRunning;
        }
        job->work();
        {
            std::lock_guard lock(mutex_);
            job->state = Job::kDone;
        }
        changed_.notify_all();
    });
    if (!queued) return false;
    std::unique_lock lock(mutex_);
    changed_.wait(
        lock, [&] { return job->state == Job::kDone || (quitting_.load() && job->state == Job::kQueued); });
    if (job->state == Job::kDone) return true;
    job->state = Job::kAbandoned;
    return false;
}

void vx::HandOverGate::BeginQuit() {
    {
        std::lock_guard lock(mutex_);
        quitting_.store(true);
    }
    changed_.notify_all();
}
