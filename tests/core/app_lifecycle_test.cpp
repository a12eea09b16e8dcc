#include "core/app_lifecycle.h"

#include <gtest/gtest.h>

#include <atomic>

#include "core/program.h"
#include "core/state.h"
#include "core/threads.h"
#include "support/toolkit_test.h"
#include "vxtools/core.h"

TEST(Launch, InitialisesMeasuresTheTitleBarAndStartsTheProgram) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    // Pasteboard window 422 high around a 380-high scroll view: a 22-point strip.
    platform.SetWindowFrame(8, {200, 200, 600, 422});
    std::atomic<int> programThread{0};
    std::atomic<bool> ran{false};
    vx::CurrentPlatform().invokeBlocking([&] {
        vx::ApplicationWillFinishLaunching();
        vx::ApplicationDidFinishLaunching([&] {
            programThread = CurrentThreadNumber();
            ran = true;
        });
    });
    for (int i = 0; i < 2000 && !ran; ++i) vx::SleepNanoseconds(1000000);
    EXPECT_TRUE(ran);
    EXPECT_EQ(programThread.load(), 2);
    EXPECT_EQ(TitleBarHeight, 22);
    EXPECT_TRUE(LaunchFinished);
    EXPECT_TRUE(ToolkitInitialised);
    std::string ui = OnUserInterfaceThread([] { return vx::CurrentThreadName(); });
    EXPECT_EQ(ui, "AppDelegate");
    auto lines = vx::test::TakeLogLines();
    EXPECT_EQ(lines, (std::vector<std::string>{"applicationWillFinishLaunching: Called.",
                                               "applicationDidFinishLaunching: Start.", "initvxtools: Start.",
                                               "initvxtools: End.", "Program: Start.",
                                               "applicationDidFinishLaunching: End."}));
}

TEST(Terminate, CallsTheReplaceableHandler) {
    vx::test::StartToolkit();
    int calls = 0;
    vx::ApplicationWillTerminate();  // the default handler does nothing
    TerminationHandler = [&] { calls++; };
    vx::ApplicationWillTerminate();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(vx::test::CountLogLine("applicationWillTerminate: Called."), 2);
    vx::ApplicationDidBecomeActive();
    EXPECT_TRUE(ApplicationActive);
    vx::ApplicationWillResignActive();
    EXPECT_FALSE(ApplicationActive);
}
