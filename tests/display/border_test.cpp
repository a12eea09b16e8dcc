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
    EXPECT_DOUBLE_EQ(platform.Window(2).background[0], 84 / 255.0);
    t_ColorBorder(2, 16 + 9);
    EXPECT_EQ(WindowTable[2].RGBColorBorder, t_PaletteColor(9));
    const vx::HeadlessWindowState state = platform.Window(2);
    EXPECT_EQ(std::vector<double>(state.background, state.background + 4),
              (std::vector<double>{1.0, 128 / 255.0, 0.0, 1.0}));
    t_ColorBorder(2, 16);
    EXPECT_EQ(WindowTable[2].RGBColorBorder, t_PaletteColor(0));
}

TEST(Border, FullAreaRestoresTheWholeTextAreaAndBothRefuseOtherWindows) {
    vx::test::StartToolkit();
    t_Font font;
    font.Width = 8;
    font.Height = 8;
    font.Data.assign(8 * 256, 0);
    OpenWindow(0, 8, 320, 200);
    t_InitWindow(1, 8, false, 320, 200, 0, 0, font, true);
    t_Window& w = WindowTable[1];
    w.TextFirstColumn = 5, w.TextLastColumn = 9, w.TextFirstLine = 2, w.TextLastLine = 3;
    t_FullArea(1);
    EXPECT_EQ(
        (std::vector<std::int64_t>{w.TextFirstColumn, w.TextLastColumn, w.TextFirstLine, w.TextLastLine}),
        (std::vector<std::int64_t>{1, 40, 1, 25}));
    vx::test::TakeLogLines();
    t_ColorBorder(8, 1);
    t_ColorBorder(2, 1);
    t_FullArea(12);
    t_FullArea(2);
    EXPECT_EQ(TakeOwnLogLines(), (std::vector<std::string>{"t_ColorBorder: Window is not a graphic window.",
                                                           "t_ColorBorder: Window #2 not initialized.",
                                                           "t_FullArea: Window is not a graphic window.",
                                                           "t_FullArea: Window #2 not initialized."}));
}

}  // namespace
