// The hand-over gate on its own, with a hand-made user-interface queue: work runs once and wakes its
// waiter; quitting wakes a waiter whose work is still queued, and that work then never runs.
#include "core/hand_over.h"

#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <utility>

namespace {

// A user-interface queue of one place, served only when a test takes the work out and runs it.
struct ManualQueue {
    std::mutex mutex;
    std::function<void()> work;

    vx::HandOverGate::Post Post() {
        return [this](std::function<void()> f) {
            std::lock_guard lock(mutex);
            work = std::move(f);
            return true;
        };
    }
    // Waits until work has been posted.
    std::function<void()> Take() {
        for (;; std::this_thread::yield()) {
            std::lock_guard lock(mutex);
            if (work) return std::exchange(work, nullptr);
        }
    }
};

TEST(HandOverGate, CompletionWakesTheWaiter) {
    vx::HandOverGate gate;
    ManualQueue queue;
    int runs = 0;
    auto waiter =
        std::async(std::launch::async, [&] { return gate.RunAndWait([&] { ++runs; }, queue.Post()); });
    queue.Take()();
    EXPECT_TRUE(waiter.get());
    EXPECT_EQ(runs, 1);
}

TEST(HandOverGate, QuittingWakesAQueuedWaiterAndItsWorkNeverRuns) {
    vx::HandOverGate gate;
    ManualQueue queue;
    bool ran = false;
    auto waiter =
        std::async(std::launch::async, [&] { return gate.RunAndWait([&] { ran = true; }, queue.Post()); });
    const std::function<void()> abandoned = queue.Take();
    gate.BeginQuit();
    EXPECT_FALSE(waiter.get());
    abandoned();  // still served by the queue, but does nothing
    EXPECT_FALSE(ran);
    EXPECT_FALSE(gate.RunAndWait([&] { ran = true; }, queue.Post()));
    EXPECT_FALSE(queue.work);  // nothing was even queued after quitting
    // Work that cannot be queued fails at once instead of waiting for ever.
    EXPECT_FALSE(vx::HandOverGate{}.RunAndWait([] {}, [](std::function<void()>) { return false; }));
}

}  // namespace
