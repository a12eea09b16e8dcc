#include "core/program.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "core/log.h"
#include "core/threads.h"
#include "support/toolkit_test.h"
#include "vxtools/core.h"

namespace {

template <typename Done>
void WaitFor(const Done& done) {
    for (int i = 0; i < 5000 && !done(); ++i) vx::SleepNanoseconds(1000000);
}

}  // namespace

TEST(StartProcess, RunsTheProgramOnAThreadWithTheRequestedStack) {
    vx::StartHeadlessPlatform();
    std::atomic<bool> done{false};
    std::atomic<std::size_t> stack{0};
    startprocess(
        [&] {
            pthread_attr_t attr;
            pthread_getattr_np(pthread_self(), &attr);
            std::size_t size = 0;
            pthread_attr_getstacksize(&attr, &size);
            pthread_attr_destroy(&attr);
            // Touch deep stack pages: the reservation must really be there.
            volatile char deep[8 << 20];
            deep[0] = 1;
            deep[sizeof deep - 1] = 2;
            stack = size;
            done = true;
        },
        0x40000000);
    WaitFor([&] { return done.load(); });
    ASSERT_TRUE(done);
    EXPECT_GE(stack.load(), std::size_t{0x40000000});
}

TEST(StartProcess, TwoStartsAtOnceRunEachClosureOnce) {
    vx::StartHeadlessPlatform();
    static std::atomic<int> ran{0};  // a closure run twice may still be running after the test
    std::thread a([] { startprocess([] { ran += 1; }, 0x100000); });
    std::thread b([] { startprocess([] { ran += 2; }, 0x100000); });
    a.join();
    b.join();
    WaitFor([] { return ran >= 3; });
    EXPECT_EQ(ran.load(), 3);
}

TEST(StartProcess, AnExceptionEndsOnlyTheProgramWithALogLine) {
    vx::test::StartToolkit();
    startprocess([] { throw std::runtime_error("boom"); }, 0x100000);
    WaitFor([] { return vx::test::LogContains("boom"); });
    EXPECT_TRUE(vx::test::LogContains("startprocess: Program ended with an exception: boom"));
}

TEST(OnUserInterfaceThread, RunsThereAndCarriesTheResultBackEvenFromThere) {
    vx::StartHeadlessPlatform();
    EXPECT_EQ(OnUserInterfaceThread([] { return CurrentThreadNumber(); }), 1);
    // Already on the user-interface thread: runs at once instead of waiting on itself.
    int nested = 0;
    vx::CurrentPlatform().invokeBlocking([&] { nested = OnUserInterfaceThread([] { return 7; }); });
    EXPECT_EQ(nested, 7);
}

// Regression: a program thread waiting on a busy user-interface thread hung when the application quit.
TEST(OnUserInterfaceThread, GivesUpWithANeutralResultWhenTheApplicationQuits) {
    vx::HeadlessPlatform& platform = vx::StartHeadlessPlatform();
    static std::atomic<bool> blockUi{true};  // read on the user-interface thread after the test returns
    platform.Post([] {
        while (blockUi) vx::SleepNanoseconds(1000000);
    });
    std::atomic<bool> returned{false};
    std::atomic<int> result{-1};
    std::thread waiter([&] {
        result = OnUserInterfaceThread([] { return 5; });
        returned = true;
    });
    vx::SleepNanoseconds(20000000);
    EXPECT_FALSE(returned);
    platform.BeginQuit();
    WaitFor([&] { return returned.load(); });
    EXPECT_TRUE(returned);
    EXPECT_EQ(result.load(), 0);
    blockUi = false;
    waiter.join();
}

TEST(QuitProgram, EndsTheProgramThreadWithOneLineAndReleasesItsLocksButNotTheUserInterfaceThread) {
    vx::test::StartToolkit();
    static std::mutex held;
    std::atomic<bool> after{false};
    std::atomic<bool> before{false};
    startprocess(
        [&] {
            std::lock_guard lock(held);
            before = true;
            t_QuitProgram(255);
            after = true;
        },
        0x100000);
    WaitFor([&] { return before.load(); });
    // The lock taken by the ended thread is free again: the thread unwound.
    bool locked = false;
    WaitFor([&] { return locked = held.try_lock(); });
    ASSERT_TRUE(locked);
    held.unlock();
    EXPECT_FALSE(after);
    EXPECT_EQ(vx::test::CountLogLine("t_QuitProgram: Quitting current thread."), 1);
    vx::CurrentPlatform().invokeBlocking([] { t_QuitProgram(255); });
    EXPECT_EQ(vx::test::CountLogLine("t_QuitProgram: The user-interface thread cannot be ended."), 1);
    EXPECT_EQ(OnUserInterfaceThread([] { return CurrentThreadNumber(); }), 1);  // still serving
}
