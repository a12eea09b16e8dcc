#include "graphics/border.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/state.h"
#include "display/window_init.h"
#include "graphics/palette.h"
#include "support/toolkit_test.h"

namespace {

// Log lines of the operations under test; the refresh process starts on its own thread and logs whenever
// it gets there.
std::vector<std::string> OwnLines() {
    std::vector<std::string> lines = vx::test::TakeLogLines();
    std::erase_if(lines, [](const std::string& l) { return l.starts_with("t_WindowAutoUpdateProcess:"); });
    return lines;
}

TEST(Border, SetsTheRecordAndTheWindowBackgroundFromTheLowFourBits) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    t_InitWindow(2, 8, false, 64, 32, 4, 4, t_Font{}, true);
    EXPECT_EQ(WindowTable[2].RGBColorBorder, t_PaletteColor(5));
    EXPECT_DOUBLE_EQ(platform.Window(2).background[0], 84 / 255.0);
    t_ColorBorder(2, 16 + 9);
    EXPECT_EQ(WindowTable[2].RGBColorBorder, t_PaletteColor(9));
    const vx::HeadlessWindowState state = platform.Window(2);
    const double* bg = state.background;
    EXPECT_DOUBLE_EQ(bg[0], 1.0);
    EXPECT_DOUBLE_EQ(bg[1], 128 / 255.0);
    EXPECT_DOUBLE_EQ(bg[2], 0.0);
    EXPECT_DOUBLE_EQ(bg[3], 1.0);
    t_ColorBorder(2, 16);
    EXPECT_EQ(WindowTable[2].RGBColorBorder, t_PaletteColor(0));
}

TEST(Border, FullAreaRestoresTheWholeTextArea) {
    vx::test::StartToolkit();
    t_Font font;
    font.Width = 8;
    font.Height = 8;
    font.Data.assign(8 * 256, 0);
    t_InitWindow(1, 8, false, 320, 200, 0, 0, font, true);
    t_Window& w = WindowTable[1];
    w.TextFirstColumn = 5;
    w.TextLastColumn = 9;
    w.TextFirstLine = 2;
    w.TextLastLine = 3;
    t_FullArea(1);
    EXPECT_EQ(w.TextFirstColumn, 1);
    EXPECT_EQ(w.TextLastColumn, 40);
    EXPECT_EQ(w.TextFirstLine, 1);
    EXPECT_EQ(w.TextLastLine, 25);
}

TEST(Border, RefusesOtherWindows) {
    vx::test::StartToolkit();
    t_InitWindow(0, 8, false, 64, 32, 0, 0, t_Font{}, true);
    vx::test::TakeLogLines();
    t_ColorBorder(8, 1);
    t_ColorBorder(1, 1);
    t_FullArea(12);
    t_FullArea(1);
    EXPECT_EQ(OwnLines(), (std::vector<std::string>{"t_ColorBorder: Window is not a graphic window.",
                                                    "t_ColorBorder: Window #1 not initialized.",
                                                    "t_FullArea: Window is not a graphic window.",
                                                    "t_FullArea: Window #1 not initialized."}));
}

}  // namespace
