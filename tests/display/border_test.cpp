#include <gtest/gtest.h>

#include "display/palette.h"
#include "support/toolkit_test.h"
#include "vxtools/display.h"

namespace {

using namespace vx::test;

TEST(Border, SetsTheRecordAndTheWindowBackgroundFromTheLowFourBits) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    t_InitWindow(2, 8, false, 64, 32, 4, 4, t_Font{}, true);
    EXPECT_EQ(WindowTable[2].RGBColorBorder, t_PaletteColor(5));
    t_ColorBorder(2, 16 + 9);
    EXPECT_EQ(WindowTable[2].RGBColorBorder, t_PaletteColor(9));
    const vx::HeadlessWindowState state = platform.Window(2);
    EXPECT_EQ(std::vector<double>(state.background, state.background + 4),
              (std::vector<double>{1.0, 128 / 255.0, 0.0, 1.0}));
    t_ColorBorder(8, 1);
    t_ColorBorder(3, 1);
    EXPECT_EQ(TakeOwnLogLines().back(), "t_ColorBorder: Window #3 not initialized.");
}

TEST(Border, FullAreaRestoresTheWholeTextArea) {
    vx::test::StartToolkit();
    t_InitWindow(1, 8, false, 320, 200, 0, 0, TextFont(), true);
    t_Window& w = WindowTable[1];
    w.TextFirstColumn = 5, w.TextLastColumn = 9, w.TextFirstLine = 2, w.TextLastLine = 3;
    t_FullArea(1);
    EXPECT_EQ(
        (std::vector<std::int64_t>{w.TextFirstColumn, w.TextLastColumn, w.TextFirstLine, w.TextLastLine}),
        (std::vector<std::int64_t>{1, 40, 1, 12}));
    t_FullArea(12);
    t_FullArea(2);
    EXPECT_EQ(TakeOwnLogLines().back(), "t_FullArea: Window #2 not initialized.");
}

}  // namespace
