// The program thread, the hand-over to the user-interface thread and the thread registry.
#include "core/program.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <fstream>
#include <functional>
#include <future>
#include <mutex>
#include <regex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/hand_over.h"
#include "core/threads.h"
#include "support/toolkit_test.h"
#include "vxtools/core.h"

namespace {

// A user-interface queue of one place, served only when a test takes the work out and runs it; Take waits
// until work has been posted.
struct ManualQueue {
    std::promise<std::function<void()>> work;
    vx::HandOverGate::Post Post() {
        return [this](std::function<void()> f) {
            work.set_value(std::move(f));
            return true;
        };
    }
    std::function<void()> Take() {
        std::function<void()> f = work.get_future().get();
        work = {};  // ready for the next post
        return f;
    }
};

TEST(HandOverGate, CompletionWakesTheWaiterAndQuittingWakesAQueuedOneWhoseWorkNeverRuns) {
    vx::HandOverGate gate;
    ManualQueue queue;
    int runs = 0;
    auto waiter =
        std::async(std::launch::async, [&] { return gate.RunAndWait([&] { ++runs; }, queue.Post()); });
    queue.Take()();
    EXPECT_EQ(std::pair(waiter.get(), runs), std::pair(true, 1));

    waiter = std::async(std::launch::async, [&] { return gate.RunAndWait([&] { ++runs; }, queue.Post()); });
    const std::function<void()> abandoned = queue.Take();
    gate.BeginQuit();
    EXPECT_FALSE(waiter.get());
    abandoned();  // still served by the queue, but does nothing
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(gate.RunAndWait([&] { ++runs; }, queue.Post()));  // after quitting, without waiting
    // Work that had started when quitting began finishes, and its waiter waits for it: it refers to the
    // waiter's stack.
    vx::HandOverGate running;
    std::promise<void> release;
    waiter = std::async(std::launch::async, [&] {
        return running.RunAndWait([&] { release.get_future().wait(), ++runs; }, queue.Post());
    });
    auto served = std::async(std::launch::async, queue.Take());
    vx::SleepNanoseconds(20'000'000);
    running.BeginQuit();
    EXPECT_EQ(waiter.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    release.set_value();
    EXPECT_TRUE(waiter.get());
    EXPECT_EQ(runs, 2);
    // Work that cannot be queued fails at once instead of waiting for ever.
    EXPECT_FALSE(vx::HandOverGate{}.RunAndWait([] {}, [](std::function<void()>) { return false; }));
}

}  // namespace

// The program gets the stack it asks for. Each start waits until the one before has picked up its program,
// so that none is lost or run twice. An exception ends only the program, with a line.
TEST(StartProcess, RunsOnALargeStackQuickStartsFromSeveralThreadsAndAnExceptionEndsOnlyTheProgram) {
    vx::test::StartToolkit();
    std::atomic<bool> done{false};
    startprocess(
        [&] {
            // Touch deep stack pages: the reservation must really be there.
            volatile char deep[8 << 20];
            deep[0] = 1;
            deep[sizeof deep - 1] = 2;
            done = true;
        },
        0x40000000);
    vx::test::Eventually([&] { return done.load(); });
    EXPECT_TRUE(done);
    static std::atomic<int> runs[4], arrived{0};
    std::vector<std::thread> starters;
    for (int i = 0; i < 4; ++i)
        starters.emplace_back([i] {
            for (arrived++; arrived < 4;) std::this_thread::yield();  // all at once
            startprocess([i] { runs[i]++; }, 0x100000);
        });
    for (auto& t : starters) t.join();
    startprocess([] { runs[0] += 10; }, 0x100000);
    vx::test::Eventually([] { return runs[0] + runs[1] + runs[2] + runs[3] >= 14; });
    vx::SleepNanoseconds(20'000'000);
    EXPECT_EQ(std::vector<int>({runs[0], runs[1], runs[2], runs[3]}), (std::vector<int>{11, 1, 1, 1}));
    startprocess([] { throw std::runtime_error("boom"); }, 0x100000);
    vx::test::Eventually([] { return vx::test::LogContains("boom"); });
    EXPECT_TRUE(vx::test::LogContains("startprocess: Program ended with an exception: boom"));
    startprocess([] {}, std::int64_t(1) << 60);  // a stack no system can map
    EXPECT_TRUE(vx::test::LogContains("startprocess: Thread could not be created."));
}

// Regression: a program thread waiting on a busy user-interface thread hung when the application quit.
TEST(OnUserInterfaceThread, GivesUpWithANeutralResultWhenTheApplicationQuits) {
    vx::HeadlessPlatform& platform = vx::StartHeadlessPlatform();
    static std::atomic<bool> blockUi{true};  // read on the user-interface thread after the test returns
    platform.Post([] {
        while (blockUi) vx::SleepNanoseconds(1000000);
    });
    auto waiter = std::async(std::launch::async, [] { return OnUserInterfaceThread([] { return 5; }); });
    EXPECT_EQ(waiter.wait_for(std::chrono::milliseconds(20)), std::future_status::timeout);
    platform.BeginQuit();
    const bool released = waiter.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    blockUi = false;
    EXPECT_EQ(std::pair(released, waiter.get()), std::pair(true, 0));
}

TEST(QuitProgram, EndsTheProgramThreadAndReleasesItsLocksButNotTheUserInterfaceThread) {
    vx::test::StartToolkit();
    static std::mutex held;
    std::atomic<bool> after{false}, before{false};
    startprocess(
        [&] {
            std::lock_guard lock(held);
            before = true;
            t_QuitProgram(255);
            after = true;
        },
        0x100000);
    vx::test::Eventually([&] { return before.load(); });
    // The lock taken by the ended thread is free again: the thread unwound.
    bool locked = false;
    vx::test::Eventually([&] { return locked = held.try_lock(); });
    EXPECT_TRUE(locked && !after);
    if (locked) held.unlock();
    vx::CurrentPlatform().invokeBlocking([] { t_QuitProgram(255); });
    EXPECT_EQ(vx::test::CountLogLine("t_QuitProgram: The user-interface thread cannot be ended."), 1);
    EXPECT_EQ(OnUserInterfaceThread([] { return CurrentThreadNumber(); }), 1);  // still serving
}

TEST(ThreadRegistry, ReadsTheNumberFromADescription) {
    std::vector<int> numbers;
    for (const char* description :
         {"<Thread: 0x1>{number = 12, name = x}", "{number =   -  7,}", "{number = 3x4,}", "{number = ,}",
          "{number = -,}", "{number = 5}", "{numbr = 5,}", "{number = 99999999999,}", ", number = 8,",
          "{number = 10,}"})
        numbers.push_back(vx::ParseThreadNumber(description));
    EXPECT_EQ(numbers, (std::vector<int>{12, -7, 3, 0, 0, 0, 0, 2147483647, 8, 10}));
}

// Each thread draws the next number once, and a reserved number is not drawn again; the description
// carries the number and the name, which the system gets cut to 15 bytes of whole characters.
TEST(ThreadRegistry, NumbersEachThreadOnceAndGivesTheSystemANameCutToWholeCharacters) {
    const auto numberOf = [] {
        int first = 0, again = 0;
        std::thread([&] { first = CurrentThreadNumber(), again = vx::ThreadNumber(); }).join();
        EXPECT_EQ(again, first);
        return first;
    };
    const int first = numberOf(), second = numberOf(), reserved = vx::ReserveThreadNumber();
    EXPECT_GE(first, 2);
    EXPECT_EQ(std::vector({second, reserved, numberOf()}), std::vector({first + 1, first + 2, first + 3}));

    std::string comm, after;
    std::getline(std::ifstream("/proc/self/comm"), comm);
    vx::SetCurrentThreadName("Main Program");  // the main thread keeps the process's name
    std::getline(std::ifstream("/proc/self/comm"), after);
    EXPECT_EQ(std::pair(after, vx::CurrentThreadName()), std::pair(comm, std::string("Main Program")));

    std::thread([] {
        EXPECT_TRUE(
            std::regex_match(vx::CurrentThreadDescription(),
                             std::regex(R"(<Thread: 0x[0-9a-f]+>\{number = [0-9]+, name = \(null\)\})")));
        vx::SetCurrentThreadName("t_WindowAutoUpdate");
        EXPECT_EQ(vx::CurrentThreadName(), "t_WindowAutoUpdate");
        EXPECT_TRUE(vx::CurrentThreadDescription().ends_with(", name = t_WindowAutoUpdate}"));
        const auto systemName = [](std::string_view name) {
            vx::SetCurrentThreadName(name);
            char system[32] = {};
            pthread_getname_np(pthread_self(), system, sizeof system);
            return std::string(system);
        };
        // Cut before the character the 16th byte belongs to (odd and even continuation bytes), at the end
        // of the name when it is shorter, whatever follows it, and to nothing when no character starts.
        EXPECT_EQ((std::vector{systemName("t_WindowAutoUpdate"), systemName("Ääääääääääääää"),
                               systemName("őőőőőőőő"), systemName(std::string_view("ÄÄ\x80", 4)),
                               systemName(std::string(20, '\x80'))}),
                  (std::vector<std::string>{"t_WindowAutoUpd", "Äääääää", "őőőőőőő", "ÄÄ", ""}));
    }).join();
}

// Seconds since 1 January 2001, between two readings of the system's clock, and milliseconds of them.
TEST(Clock, CountsSecondsFromTheReferenceDateAndMillisecondsOfThem) {
    const double before = double(std::time(nullptr)) - 978307200.0, seconds = vx::AbsoluteTime();
    const std::int64_t millis = vx::AbsoluteTimeMillis();
    const double later = vx::AbsoluteTime(), after = double(std::time(nullptr)) + 1 - 978307200.0;
    EXPECT_TRUE(seconds >= before && later < after) << seconds;
    EXPECT_TRUE(millis >= std::int64_t(seconds * 1000) && millis <= std::int64_t(later * 1000)) << millis;
}
