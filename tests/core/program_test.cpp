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

void WaitFor(const std::atomic<bool>& flag) {
    for (int i = 0; i < 5000 && !flag; ++i) vx::SleepNanoseconds(1000000);
}

}  // namespace

TEST(StartProcess, RunsTheProgramOnAThreadWithTheRequestedStack) {
    vx::StartHeadlessPlatform();
    std::atomic<bool> done{false};
    std::atomic<std::size_t> stack{0};
    std::atomic<int> number{0};
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
            number = CurrentThreadNumber();
            done = true;
        },
        0x40000000);
    WaitFor(done);
    ASSERT_TRUE(done);
    EXPECT_GE(stack.load(), std::size_t{0x40000000});
    EXPECT_GE(number.load(), 2);
}

TEST(StartProcess, TwoStartsAtOnceRunBothClosures) {
    vx::StartHeadlessPlatform();
    std::atomic<int> ran{0};
    std::atomic<int> firstSeen{0}, secondSeen{0};
    std::thread a([&] {
        startprocess(
            [&] {
                firstSeen = 1;
                ran++;
            },
            0x100000);
    });
    std::thread b([&] {
        startprocess(
            [&] {
                secondSeen = 1;
                ran++;
            },
            0x100000);
    });
    a.join();
    b.join();
    for (int i = 0; i < 2000 && ran < 2; ++i) vx::SleepNanoseconds(1000000);
    EXPECT_EQ(ran.load(), 2);
    EXPECT_EQ(firstSeen.load(), 1);
    EXPECT_EQ(secondSeen.load(), 1);
}

TEST(StartProcess, TheProgramStartedFirstIsThreadTwo) {
    vx::StartHeadlessPlatform();
    std::atomic<int> number{0};
    std::atomic<bool> done{false};
    // Started from the user-interface thread, as the launch sequence does, before anything else asks.
    vx::StartHeadlessPlatform().Post([&] {
        startprocess(
            [&] {
                number = CurrentThreadNumber();
                done = true;
            },
            0x40000000);
    });
    WaitFor(done);
    EXPECT_EQ(number.load(), 2);
}

TEST(StartProcess, AnExceptionEndsOnlyTheProgramWithALogLine) {
    vx::test::StartToolkit();
    std::atomic<bool> started{false};
    startprocess(
        [&] {
            started = true;
            throw std::runtime_error("boom");
        },
        0x100000);
    WaitFor(started);
    for (int i = 0; i < 1000 && !vx::test::LogContains("boom"); ++i) vx::SleepNanoseconds(1000000);
    EXPECT_TRUE(vx::test::LogContains("startprocess: Program ended with an exception: boom"));
}

TEST(RunInBackground, RunsTasksConcurrentlyWithoutWaiting) {
    vx::StartHeadlessPlatform();
    // Static: the tasks may still be looking at them after the test has returned.
    static std::atomic<bool> release{false};
    static std::atomic<int> running{0};
    for (int i = 0; i < 3; ++i) {
        RunInBackground([] {
            running++;
            WaitFor(release);
        });
    }
    for (int i = 0; i < 2000 && running < 3; ++i) vx::SleepNanoseconds(1000000);
    EXPECT_EQ(running.load(), 3);  // all three at once: none waits for another
    release = true;
}

TEST(OnUserInterfaceThread, RunsThereAndCarriesTheResultBack) {
    vx::StartHeadlessPlatform();
    EXPECT_EQ(OnUserInterfaceThread([] { return CurrentThreadNumber(); }), 1);
    // Already on the user-interface thread: runs at once instead of waiting on itself.
    int nested = 0;
    vx::CurrentPlatform().invokeBlocking([&] { nested = OnUserInterfaceThread([] { return 7; }); });
    EXPECT_EQ(nested, 7);
}

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
    WaitFor(returned);
    EXPECT_TRUE(returned);
    EXPECT_EQ(result.load(), 0);
    blockUi = false;
    waiter.join();
}

TEST(QuitProgram, EndsTheThreadWithOneLineAndReleasesItsLocks) {
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
    WaitFor(before);
    // The lock taken by the ended thread is free again: the thread unwound.
    bool locked = false;
    for (int i = 0; i < 2000 && !locked; ++i) {
        locked = held.try_lock();
        if (!locked) vx::SleepNanoseconds(1000000);
    }
    ASSERT_TRUE(locked);
    held.unlock();
    EXPECT_FALSE(after);
    EXPECT_EQ(vx::test::CountLogLine("t_QuitProgram: Quitting current thread."), 1);
}

TEST(QuitProgram, RefusesToEndTheUserInterfaceThread) {
    vx::test::StartToolkit();
    vx::CurrentPlatform().invokeBlocking([] { t_QuitProgram(255); });
    EXPECT_EQ(vx::test::CountLogLine("t_QuitProgram: The user-interface thread cannot be ended."), 1);
    EXPECT_EQ(OnUserInterfaceThread([] { return CurrentThreadNumber(); }), 1);  // still serving
}
