// The window table's checks and look-ups, and the border, which lives beside them.
#include "display/window.h"

#include <gtest/gtest.h>

#include <tuple>

#include "core/log.h"
#include "core/state.h"
#include "display/palette.h"
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

TEST(Border, TakesTheLowFourBitsForTheRecordAndTheBackgroundAndFullAreaRestoresTheTextArea) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    t_InitWindow(2, 8, false, 320, 200, 4, 4, vx::test::TextFont(), true);
    EXPECT_EQ(WindowTable[2].RGBColorBorder, t_PaletteColor(5));
    t_ColorBorder(2, 16 + 9);
    EXPECT_EQ(WindowTable[2].RGBColorBorder, t_PaletteColor(9));
    const vx::HeadlessWindowState state = platform.Window(2);
    EXPECT_EQ(std::vector<double>(state.background, state.background + 4),
              (std::vector<double>{1.0, 128 / 255.0, 0.0, 1.0}));
    t_Window& w = WindowTable[2];
    w.TextFirstColumn = 5, w.TextLastColumn = 9, w.TextFirstLine = 2, w.TextLastLine = 3;
    t_FullArea(2);
    EXPECT_EQ(
        (std::vector<std::int64_t>{w.TextFirstColumn, w.TextLastColumn, w.TextFirstLine, w.TextLastLine}),
        (std::vector<std::int64_t>{1, 40, 1, 12}));
    vx::test::TakeLogLines();
    t_ColorBorder(3, 1);
    t_FullArea(12);
    EXPECT_EQ(vx::test::TakeOwnLogLines(),
              (std::vector<std::string>{"t_ColorBorder: Window #3 not initialized.",
                                        "t_FullArea: Window is not a graphic window."}));
}
