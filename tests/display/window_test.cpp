#include "display/window.h"

#include <gtest/gtest.h>

#include <tuple>

#include "core/log.h"
#include "core/state.h"
#include "support/toolkit_test.h"

TEST(CheckWindow, RefusesNumbersAboveSevenAndWindowsNotReady) {
    vx::test::StartToolkit();
    EXPECT_FALSE(CheckWindow("t_Color", 8, false));
    EXPECT_FALSE(CheckWindow("t_Color", 3, false));  // before t_InitMemory
    EXPECT_EQ(vx::test::TakeLogLines(), (std::vector<std::string>{"t_Color: Window is not a graphic window.",
                                                                  "t_Color: Window #3 not initialized."}));
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
    EXPECT_EQ(vx::test::TakeLogLines(),
              (std::vector<std::string>{"g_Plot: Graphic window #2 not initialized.",
                                        "t_CursorEnd: Window #2 not initialized."}));
}

TEST(WindowLookups, FollowTheOutletsAndGiveNoneForMissingOnes) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    platform.RemoveGraphicView(5);
    platform.RemoveAuxiliaryWindow(11);
    platform.RemoveTextView(9);
    // Which numbers have a view, a window and a text view; a window is reached through its view.
    const std::tuple<int, bool, bool, bool> cases[] = {
        {0, true, true, false},   {5, false, false, false},  {8, false, true, true},
        {9, false, true, false},  {10, false, true, true},   {11, false, false, false},
        {12, false, true, false}, {13, false, false, false}, {255, false, false, false}};
    for (auto [n, view, window, text] : cases) {
        EXPECT_EQ(WindowView(std::uint8_t(n)) != nullptr, view) << n;
        EXPECT_EQ(PlatformWindow(std::uint8_t(n)) != nullptr, window) << n;
        EXPECT_EQ(WindowTextView(std::uint8_t(n)) != nullptr, text) << n;
    }
    EXPECT_NE(PlatformWindow(0), PlatformWindow(1));
}

TEST(WindowLookups, WorkWithoutAnyPlatform) {
    // No platform started: nothing exists, and nothing hangs or crashes.
    EXPECT_EQ(WindowView(0), nullptr);
    EXPECT_EQ(PlatformWindow(9), nullptr);
    EXPECT_EQ(WindowTextView(8), nullptr);
}
