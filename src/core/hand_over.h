// The cancellable hand-over of work to the user-interface thread, shared by every platform.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace vx {

// One per platform, living as long as the process. A thread hands work over and sleeps until the work
// has run or quitting has begun; nothing polls. Work still queued when quitting begins never runs, since
// it refers to the stack of a caller that has given up; work already running finishes.
class HandOverGate {
  public:
    HandOverGate() = default;
    HandOverGate(const HandOverGate&) = delete;
    HandOverGate& operator=(const HandOverGate&) = delete;

    // Queues a closure on the user-interface thread; false when it could not be queued.
    using Post = std::function<bool(std::function<void()>)>;

    // Hands `work` over through `post` and waits. True when it ran; false, without having run it, when
    // quitting began first or it could not be queued. Not for the user-interface thread itself.
    bool RunAndWait(std::function<void()> work, const Post& post);
    // Quitting has begun: every waiter whose work has not started wakes and gives up.
    void BeginQuit();
    [[nodiscard]] bool Quitting() const { return quitting_.load(); }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::atomic<bool> quitting_{false};
};

}  // namespace vx
