// The headless platform's user-interface thread: one thread that serves queued work in order, for the
// life of the process.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "core/hand_over.h"

namespace vx {

class UiThread {
  public:
    // Starts the thread and returns once it serves work, registered as the user-interface thread.
    UiThread();
    UiThread(const UiThread&) = delete;
    UiThread& operator=(const UiThread&) = delete;

    [[nodiscard]] bool IsCurrent() const { return std::this_thread::get_id() == id_; }
    // Queues work behind everything queued so far; it runs even after quitting has begun.
    void Enqueue(std::function<void()> work);
    // Queues work that is dropped if quitting begins before it runs.
    void Post(std::function<void()> work);
    // Runs work on the thread and waits; false, without having run it, once quitting has begun.
    bool RunAndWait(std::function<void()> work);
    void BeginQuit() { gate_.BeginQuit(); }
    [[nodiscard]] bool Quitting() const { return gate_.Quitting(); }

  private:
    void Serve();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> queue_;
    HandOverGate gate_;
    std::thread::id id_;
};

}  // namespace vx
