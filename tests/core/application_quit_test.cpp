#include "core/application_quit.h"

#include <gtest/gtest.h>

#include <thread>

#include "core/log.h"
#include "support/toolkit_test.h"
#include "vxtools/extensions.h"

TEST(QuitApplication, WithoutAnApplicationRecordsTheStatusAndSaysSo) {
    vx::StartLogCapture();
    EXPECT_EQ(vx::RequestedExitStatus(), -1);
    vx::QuitApplication(4);
    EXPECT_EQ(vx::RequestedExitStatus(), 4);
    EXPECT_EQ(vx::test::TakeLogLines(),
              std::vector<std::string>{"vx::QuitApplication: No application is running; status 4 recorded."});
}

TEST(QuitApplication, HandsTheStatusToTheInstalledHookFromAnyThread) {
    vx::StartLogCapture();
    std::atomic<int> seen{-1};
    vx::SetQuitApplicationHook([&](int status) { seen.store(status); });
    std::thread program([] { vx::QuitApplication(7); });
    program.join();
    EXPECT_EQ(seen.load(), 7);
    EXPECT_EQ(vx::RequestedExitStatus(), 7);
    EXPECT_TRUE(vx::test::TakeLogLines().empty());
    vx::SetQuitApplicationHook({});
}
