// The hand-over gate on its own, with a hand-made user-interface queue: work runs once and wakes its
// waiter; quitting wakes a waiter whose work is still queued, and that work then never runs.
#include "core/hand_over.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <future>
#include <mutex>

namespace {

// A user-interface queue that only runs what a test tells it to.
struct ManualQueue {
    std::mutex mutex;
    std::deque<std::function<void()>> work;

    vx::HandOverGate::Post Post() {
        return [this](std::function<void()> f) {
            std::lock_guard lock(mutex);
            work.push_back(std::move(f));
            return true;
        };
    }
    bool RunOne() {
        std::function<void()> f;
        {
            std::lock_guard lock(mutex);
            if (work.empty()) return false;
            f = std::move(work.front());
            work.pop_front();
        }
        f();
        return true;
    }
};

TEST(HandOverGate, CompletionWakesTheWaiter) {
    vx::HandOverGate gate;
    ManualQueue queue;
    int runs = 0;
    auto waiter =
        std::async(std::launch::async, [&] { return gate.RunAndWait([&] { ++runs; }, queue.Post()); });
    while (!queue.RunOne()) std::this_thread::yield();
    EXPECT_TRUE(waiter.get());
    EXPECT_EQ(runs, 1);
}

TEST(HandOverGate, QuittingWakesAQueuedWaiterAndItsWorkNeverRuns) {
    vx::HandOverGate gate;
    ManualQueue queue;
    bool ran = false;
    auto waiter =
        std::async(std::launch::async, [&] { return gate.RunAndWait([&] { ran = true; }, queue.Post()); });
    for (;;) {
        std::lock_guard lock(queue.mutex);
        if (!queue.work.empty()) break;
    }
    gate.BeginQuit();
    EXPECT_FALSE(waiter.get());
    EXPECT_TRUE(queue.RunOne());  // the abandoned closure is still served, but does nothing
    EXPECT_FALSE(ran);
    EXPECT_FALSE(gate.RunAndWait([&] { ran = true; }, queue.Post()));
    EXPECT_FALSE(queue.RunOne());  // nothing was even queued after quitting
}

TEST(HandOverGate, WorkThatCannotBeQueuedReportsFailure) {
    vx::HandOverGate gate;
    EXPECT_FALSE(gate.RunAndWait([] {}, [](std::function<void()>) { return false; }));
}

}  // namespace
