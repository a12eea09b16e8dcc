#include "core/threads.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <thread>
#include <utility>

#include "core/strings.h"
#include "support/toolkit_test.h"

TEST(ThreadDescription, ParsesTheNumberBetweenKeyAndComma) {
    const std::pair<const char*, int> cases[] = {
        {"<NSThread: 0x1>{number = 1, name = main}", 1},
        {"{number =   7x, name}", 7},
        {"{number = - 3,}", -3},
        {"{number = 5}", 0},  // no comma after it
        {"{number = abc,}", 0},
        {"a, b {number = 9,}", 9},  // a comma before the key does not count
    };
    for (auto [text, number] : cases) EXPECT_EQ(vx::ParseThreadNumber(text), number) << text;
    EXPECT_GT(vx::ParseThreadNumber("{number = 99999999999999999999999,}"), 0);  // saturates, never wraps
}

TEST(ThreadRegistry, KeepsTheWholeNameAndGivesTheSystemAShortOne) {
    std::thread([] {
        vx::SetCurrentThreadName("t_WindowAutoUpdate");
        EXPECT_NE(vx::CurrentThreadDescription().find("name = t_WindowAutoUpdate}"), std::string::npos);
        char system[32] = {};
        pthread_getname_np(pthread_self(), system, sizeof system);
        EXPECT_STREQ(system, "t_WindowAutoUpd");
        // A name cut in the middle of a multi-byte character would be rejected by the system.
        vx::SetCurrentThreadName("Ääääääääääääää");
        pthread_getname_np(pthread_self(), system, sizeof system);
        EXPECT_TRUE(vx::IsValidUtf8(system));
    }).join();
}

TEST(ThreadRegistry, TheMainThreadKeepsTheProcessName) {
    // The main thread's system name is what ps, top and pgrep show for the whole process.
    char before[32] = {}, after[32] = {};
    pthread_getname_np(pthread_self(), before, sizeof before);
    vx::RegisterUserInterfaceThread();
    vx::SetCurrentThreadName("AppDelegate");
    pthread_getname_np(pthread_self(), after, sizeof after);
    EXPECT_STREQ(after, before);
    EXPECT_EQ(vx::CurrentThreadName(), "AppDelegate");
    EXPECT_EQ(CurrentThreadNumber(), 1);
}
