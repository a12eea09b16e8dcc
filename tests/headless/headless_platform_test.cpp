// The headless platform's own user-interface thread: order of work, the display cycle, and quitting
// while another thread waits on it. Every test runs in a process of its own, so quitting is final here.
#include "headless/headless_platform.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>
#include <vector>

#include "core/threads.h"
#include "vxtools/core.h"

namespace {

TEST(HeadlessPlatform, RunsHandedOverWorkInOrderOnThreadOne) {
    vx::HeadlessPlatform& platform = vx::StartHeadlessPlatform();
    std::vector<int> order;
    int thread = 0;
    platform.Post([&] { order.push_back(1); });
    EXPECT_TRUE(platform.invokeBlocking([&] {
        order.push_back(2);
        thread = vx::ThreadNumber();
    }));
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_EQ(thread, 1);
    EXPECT_FALSE(platform.isUserInterfaceThread());
}

TEST(HeadlessPlatform, QuittingReleasesAWaiterQueuedBehindBusyWork) {
    vx::HeadlessPlatform& platform = vx::StartHeadlessPlatform();
    std::promise<void> release;
    std::atomic<bool> busy{false};
    platform.Post([&] {
        busy = true;
        release.get_future().wait();
    });
    while (!busy) std::this_thread::yield();
    std::atomic<bool> queuedWorkRan{false}, postedWorkRan{false};
    platform.Post([&] { postedWorkRan = true; });
    auto waiter = std::async(std::launch::async,
                             [&] { return platform.invokeBlocking([&] { queuedWorkRan = true; }); });
    // The waiter cannot finish while the user-interface thread is busy; quitting must wake it.
    EXPECT_EQ(waiter.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    platform.BeginQuit();
    EXPECT_FALSE(waiter.get());
    release.set_value();
    EXPECT_TRUE(platform.isQuitting());
    EXPECT_FALSE(platform.invokeBlocking([] {}));
    // Nothing tells when the thread has passed over the dropped work; it gets ample time to run it wrongly.
    vx::SleepNanoseconds(100'000'000);
    EXPECT_FALSE(queuedWorkRan);
    EXPECT_FALSE(postedWorkRan);
}

TEST(HeadlessPlatform, AfterQuittingQueuedWorkIsDropped) {
    vx::HeadlessPlatform& platform = vx::StartHeadlessPlatform();
    platform.BeginQuit();
    std::atomic<bool> ran{false};
    platform.Post([&] { ran = true; });
    EXPECT_FALSE(platform.invokeBlocking([&] { ran = true; }));
    EXPECT_FALSE(ran);
}

}  // namespace
