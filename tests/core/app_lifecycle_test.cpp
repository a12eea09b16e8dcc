#include "core/app_lifecycle.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/application_quit.h"
#include "core/program.h"
#include "core/state.h"
#include "core/threads.h"
#include "support/toolkit_test.h"
#include "vxtools/core.h"
#include "vxtools/extensions.h"

TEST(Launch, InitialisesMeasuresTheTitleBarAndStartsTheProgramAsThreadTwo) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    // Pasteboard window 422 high around a 380-high scroll view: a 22-point strip.
    platform.SetWindowFrame(8, {200, 200, 600, 422});
    std::atomic<int> programThread{0};
    vx::CurrentPlatform().invokeBlocking([&] {
        vx::ApplicationWillFinishLaunching();
        vx::ApplicationDidFinishLaunching([&] { programThread = CurrentThreadNumber(); });
    });
    for (int i = 0; i < 2000 && programThread == 0; ++i) vx::SleepNanoseconds(1000000);
    EXPECT_EQ(programThread.load(), 2);
    EXPECT_EQ(TitleBarHeight, 22);
    EXPECT_TRUE(LaunchFinished && ToolkitInitialised);
    EXPECT_EQ(OnUserInterfaceThread([] { return vx::CurrentThreadName(); }), "AppDelegate");
    EXPECT_EQ(vx::test::TakeLogLines(),
              (std::vector<std::string>{"applicationWillFinishLaunching: Called.",
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
}

TEST(QuitApplication, RecordsTheStatusAndHandsItToTheHookFromAnyThread) {
    vx::StartLogCapture();
    EXPECT_EQ(vx::RequestedExitStatus(), -1);
    vx::QuitApplication(4);
    EXPECT_EQ(vx::RequestedExitStatus(), 4);
    EXPECT_EQ(vx::test::TakeLogLines(),
              std::vector<std::string>{"vx::QuitApplication: No application is running; status 4 recorded."});
    std::atomic<int> seen{-1};
    vx::SetQuitApplicationHook([&](int status) { seen.store(status); });
    std::thread([] { vx::QuitApplication(7); }).join();
    EXPECT_EQ(seen.load(), 7);
    EXPECT_EQ(vx::RequestedExitStatus(), 7);
    vx::SetQuitApplicationHook({});
}
