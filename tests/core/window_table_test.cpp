#include <gtest/gtest.h>

#include "core/log.h"
#include "core/state.h"
#include "display/window.h"
#include "support/toolkit_test.h"

TEST(CheckWindow, RefusesNumbersAboveSevenAndWindowsNotReady) {
    vx::test::StartToolkit();
    EXPECT_FALSE(CheckWindow("t_Color", 8, false));
    EXPECT_FALSE(CheckWindow("t_Color", 3, false));  // before t_InitMemory
    EXPECT_FALSE(CheckWindow("g_Plot", 255, false, true));
    t_InitMemory();
    vx::TakeCapturedLog();
    EXPECT_FALSE(CheckWindow("g_Plot", 2, false, true));
    WindowTable[2].Initialized = true;
    EXPECT_TRUE(CheckWindow("g_Plot", 2, false, true));
    // A window without a text block takes graphic operations but not text ones.
    EXPECT_FALSE(CheckWindow("t_CursorEnd", 2, true));
    WindowTable[2].TextMemoryStart = 100;
    EXPECT_TRUE(CheckWindow("t_CursorEnd", 2, true));
    auto lines = vx::test::TakeLogLines();
    EXPECT_EQ(lines, (std::vector<std::string>{"g_Plot: Graphic window #2 not initialized.",
                                               "t_CursorEnd: Window #2 not initialized."}));
}

TEST(CheckWindow, LogsTheSpecifiedLinesBeforeMemoryExists) {
    vx::test::StartToolkit();
    CheckWindow("t_Color", 8, false);
    CheckWindow("t_Color", 3, false);
    EXPECT_EQ(vx::test::TakeLogLines(), (std::vector<std::string>{"t_Color: Window is not a graphic window.",
                                                                 "t_Color: Window #3 not initialized."}));
}

TEST(WindowLookups, FollowTheOutletsAndGiveNoneForMissingOnes) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    platform.RemoveGraphicView(5);
    platform.RemoveAuxiliaryWindow(11);
    platform.RemoveTextView(9);
    EXPECT_NE(WindowView(0), nullptr);
    EXPECT_EQ(WindowView(5), nullptr);
    EXPECT_EQ(WindowView(8), nullptr);
    EXPECT_NE(PlatformWindow(0), nullptr);
    EXPECT_NE(PlatformWindow(0), PlatformWindow(1));
    EXPECT_EQ(PlatformWindow(5), nullptr);  // a window is reached through its view
    EXPECT_NE(PlatformWindow(8), nullptr);
    EXPECT_EQ(PlatformWindow(11), nullptr);
    EXPECT_NE(PlatformWindow(12), nullptr);
    EXPECT_EQ(PlatformWindow(13), nullptr);
    EXPECT_EQ(PlatformWindow(255), nullptr);
    EXPECT_NE(WindowTextView(8), nullptr);
    EXPECT_EQ(WindowTextView(9), nullptr);
    EXPECT_NE(WindowTextView(10), nullptr);
    EXPECT_EQ(WindowTextView(0), nullptr);
    EXPECT_EQ(WindowTextView(11), nullptr);
}

TEST(WindowLookups, WorkWithoutAnyPlatform) {
    // No platform started: nothing exists, and nothing hangs or crashes.
    EXPECT_EQ(WindowView(0), nullptr);
    EXPECT_EQ(PlatformWindow(9), nullptr);
    EXPECT_EQ(WindowTextView(8), nullptr);
}
