// Starting the toolkit: initialisation, the launch, and the log.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <regex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/app_lifecycle.h"
#include "core/program.h"
#include "core/strings.h"
#include "core/threads.h"
#include "menus/menu_items.h"
#include "support/toolkit_test.h"
#include "vxtools/core.h"
#include "vxtools/extensions.h"

using namespace vx::test;

TEST(InitVxtools, BuildsTheLatin1CaseTablesAndTheHexDigitValues) {
    initvxtools();
    // Latin-1 letters change case, the signs and the letters without a partner do not: each range's first
    // and last byte, and the bytes just outside it.
    const int cases[][2] = {{96, 96},   {97, 65},   {122, 90},  {123, 123}, {223, 223}, {224, 192},
                            {228, 196}, {229, 229}, {230, 230}, {231, 199}, {246, 214}, {247, 247},
                            {248, 248}, {249, 217}, {252, 220}, {253, 253}, {255, 255}};
    for (auto [c, upper] : cases) {
        EXPECT_EQ(UpperCaseTable[std::size_t(c)], upper) << c;
        EXPECT_EQ(LowerCaseTable[std::size_t(c == upper ? c - 32 : upper)], c == upper ? c - 32 : c) << c;
    }
    EXPECT_EQ(std::string(HexDigits.begin(), HexDigits.end()), "0123456789ABCDEF");
    const std::pair<char, int> hex[] = {{'0', 0},  {'9', 9},  {'A', 10}, {'F', 15}, {'a', 10}, {'f', 15},
                                        {'/', -1}, {':', -1}, {'@', -1}, {'G', -1}, {'`', -1}, {'g', -1}};
    for (auto [c, value] : hex) EXPECT_EQ(HexValue[std::size_t(c)], value) << c;
    EXPECT_EQ(HexValue[255], -1);
    EXPECT_EQ(
        std::vector<std::string>({HexString(0), HexString(-1), HexString(0x1F0000), HexString(0x123456789A)}),
        (std::vector<std::string>{"00000000", "FFFFFFFF", "001F0000", "3456789A"}));
}

TEST(InitMemory, FillsVideoMemoryAndBuildsTheMenuActionsOnceAndTrimsThePlatformMenus) {
    vx::HeadlessPlatform& platform = StartToolkit();
    platform.SetMainMenu(
        {{"Bearbeiten",
          {{"Kopieren", 111, "c", 0}, {}, {"Start Dictation…", 0, "", 0}, {"Emoji & Symbole", 0, "", 0}, {}}},
         {"Fenster", {{"Vollbildmodus", 0, "", 0}, {"Grafik 0", 213, "", 0}}}});
    t_InitMemory();
    ASSERT_TRUE(MemoryInitialised);
    EXPECT_EQ(std::count(VideoMemory, VideoMemory + kVideoMemorySize, 0xFF), kVideoMemorySize);
    // Dictation, emoji and full-screen items go, and then the separator they left at the end.
    std::vector<std::string> titles;
    for (const auto& menu : platform.MainMenu())
        for (const auto& item : menu.items) titles.push_back(item.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"Kopieren", "", "Grafik 0"}));
    const auto& pasteboard = platform.TextView(8);
    EXPECT_EQ(std::tuple(pasteboard.substitutionsDisabled, pasteboard.fontFamily, pasteboard.fontSize,
                         pasteboard.redisplayMarks),
              std::tuple(true, "Menlo", 12.0, 1));

    vx::TakeCapturedLog();
    t_InitMemory();  // the second call logs nothing and changes nothing
    EXPECT_EQ(vx::TakeCapturedLog(), "");
    EXPECT_EQ(MenuActionTable.Count(), 37u);
}

// Initialisation finishes without a pasteboard view too.
TEST(EnsureMemory, ThreadsArrivingDuringInitialisationWaitForIt) {
    StartToolkit().RemoveTextView(8);
    std::atomic<int> sawReady{0}, arrived{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([&] {
            // All start at once, so that they race for the start.
            for (arrived++; arrived < 4;) std::this_thread::yield();
            EnsureMemory();
            if (MemoryInitialised && VideoMemory != nullptr && WindowTable != nullptr) sawReady++;
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(std::pair(sawReady.load(), CountLogLine("t_InitMemory: Start.")), std::pair(4, 1));
}

// A program that draws without vx::RunApplication learns why nothing shows, once; quitting records the
// status.
TEST(NoApplication, WindowsStayUninitialisedWithOneExplanationAndQuittingRecordsTheStatus) {
    vx::StartLogCapture();
    t_InitWindow(0, 8, false, 64, 64, 0, 0, t_Font{}, true);
    t_InitWindow(1, 8, false, 64, 64, 0, 0, t_Font{}, true);
    EXPECT_FALSE(WindowTable[0].Initialized || WindowTable[1].Initialized);
    EXPECT_EQ(CountLogLine("t_InitWindow: GraphicWindow #1 could not be initialized, resource undefined."),
              1);
    const std::vector<std::string> log = TakeLogLines();
    EXPECT_EQ(std::ranges::count_if(log, [](auto& l) { return l.starts_with("vxtools: No application is"); }),
              1);
    const int before = vx::RequestedExitStatus();
    vx::QuitApplication(4);
    EXPECT_EQ(TakeLogLines(),
              std::vector<std::string>{"vx::QuitApplication: No application is running; status 4 recorded."});
    EXPECT_EQ(std::pair(before, vx::RequestedExitStatus()), std::pair(-1, 4));
}

TEST(Launch, BeepsWithTheNamedSoundInitialisesMeasuresTheTitleBarAndStartsTheProgramAsThreadTwo) {
    vx::HeadlessPlatform& platform = StartToolkit();
    // The named sound stands in for the beep where there is one, and is not started again while it plays.
    platform.ProvideNamedSound(true, 10'000);
    SystemBeep();
    SystemBeep();
    EXPECT_EQ(std::pair(platform.NamedSoundPlays(), platform.BeepCount()), std::pair(1, 0));
    // Pasteboard window 422 high around a 380-high scroll view: a 22-point strip.
    platform.SetWindowFrame(8, {200, 200, 600, 422});
    std::atomic<int> programThread{0};
    vx::CurrentPlatform().invokeBlocking([&] {
        vx::SetCurrentThreadName("unnamed");  // until launching names it
        vx::ApplicationWillFinishLaunching();
        vx::ApplicationDidFinishLaunching([&] { programThread = CurrentThreadNumber(); });
    });
    vx::test::Eventually([&] { return programThread != 0; }, std::chrono::seconds(2));
    EXPECT_EQ(std::tuple(programThread.load(), TitleBarHeight, LaunchFinished.load()),
              std::tuple(2, 22, true));
    EXPECT_EQ(OnUserInterfaceThread([] { return vx::CurrentThreadName(); }), "AppDelegate");
    TerminationHandler = [&] { programThread = -1; };
    vx::ApplicationWillTerminate();
    EXPECT_EQ(programThread.load(), -1);
    std::vector<std::string> launch = TakeLogLines();
    const std::regex marker(": (Start|End|Called)\\.$");
    std::erase_if(launch, [&](const std::string& l) { return !std::regex_search(l, marker); });
    EXPECT_EQ(launch, (std::vector<std::string>{
                          "applicationWillFinishLaunching: Called.", "applicationDidFinishLaunching: Start.",
                          "initvxtools: Start.", "initvxtools: End.", "Program: Start.",
                          "applicationDidFinishLaunching: End.", "applicationWillTerminate: Called."}));
    vx::ApplicationDidBecomeActive();
    const bool active = ApplicationActive.load();
    vx::ApplicationWillResignActive();
    EXPECT_TRUE(active && !ApplicationActive.load());
}

TEST(Log, PiecesOfOneThreadAreNeverSplitByAnotherThreadsLines) {
    vx::StartLogCapture();
    std::thread lines([] {
        for (int i = 0; i < 200; ++i) vx::Log("other line");
    });
    for (int i = 0; i < 200; ++i) {
        vx::LogPiece("alpha-");
        std::this_thread::yield();
        vx::LogPiece("beta-");
        vx::Log("gamma");
    }
    lines.join();
    // A line cut into by another thread's line leaves fewer than 200 whole ones.
    const std::vector<std::string> log = TakeLogLines();
    EXPECT_EQ(std::count(log.begin(), log.end(), "alpha-beta-gamma"), 200);
}

TEST(LogLevel, ComesFromTheEnvironmentAndSendsLinesToStandardErrorButRawOutputToStandardOutput) {
    // Runs in a process of its own, so the level is still unread here.
    ::setenv("VXTOOLS_LOG", "stderr", 1);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    vx::StartLogCapture();
    vx::Log("line");
    vx::WriteRaw("raw");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "line\n");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "raw");
    // A new capture starts empty; a level the program sets holds, and quiet writes only to the capture.
    vx::StartLogCapture();
    vx::SetLogLevel(vx::LogLevel::Quiet);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    vx::Log("hidden");
    EXPECT_EQ(testing::internal::GetCapturedStderr() + testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(std::pair(std::string(vx::CapturedLog()), vx::CurrentLogLevel()),
              std::pair(std::string("hidden\n"), vx::LogLevel::Quiet));
    using enum vx::LogLevel;
    EXPECT_EQ(
        (std::vector{vx::LogLevelFromText("stderr"), vx::LogLevelFromText("quiet"),
                     vx::LogLevelFromText("off"), vx::LogLevelFromText("Off"), vx::LogLevelFromText("")}),
        (std::vector{StandardError, Quiet, Quiet, Standard, Standard}));
}
