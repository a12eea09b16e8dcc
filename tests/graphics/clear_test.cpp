#include "graphics/clear.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/state.h"
#include "display/window_init.h"
#include "graphics/palette.h"
#include "graphics/pixels.h"
#include "support/toolkit_test.h"

namespace {

// Log lines of the operations under test; the refresh process starts on its own thread and logs whenever
// it gets there.
std::vector<std::string> OwnLines() {
    std::vector<std::string> lines = vx::test::TakeLogLines();
    std::erase_if(lines, [](const std::string& l) { return l.starts_with("t_WindowAutoUpdateProcess:"); });
    return lines;
}

void Open(std::uint8_t n, int depth, int width = 64, int height = 32) {
    t_InitWindow(n, depth, false, width, height, 0, 0, t_Font{}, true);
}

std::uint8_t* Block(std::uint8_t n) {
    return VideoMemory + WindowTable[n].MemoryStart;
}

TEST(ClearScreen, FillsTheTopRowsOrTheWholeWindow) {
    vx::test::StartToolkit();
    Open(0, 8, 64, 32);
    for (std::int64_t rows : {0, -1, 33}) {
        std::memset(Block(0), 1, 64 * 32);
        g_ClearScreen(0, 15, rows);
        EXPECT_EQ(Block(0)[0], 255);
        EXPECT_EQ(Block(0)[64 * 32 - 1], 255);
    }
    std::memset(Block(0), 1, 64 * 32);
    g_ClearScreen(0, 15, 10);
    EXPECT_EQ(Block(0)[64 * 10 - 1], 255);
    EXPECT_EQ(Block(0)[64 * 10], 1);
}

TEST(ClearScreen, FillsEachDepthWithItsFormOfTheColour) {
    vx::test::StartToolkit();
    Open(0, 1);
    g_ClearScreen(0, 5, -1);
    EXPECT_EQ(Block(0)[0], 0xFF);
    EXPECT_EQ(g_Scrn(0, 63, 31), t_PaletteColor(15));
    g_ClearScreen(0, 0, -1);
    EXPECT_EQ(Block(0)[64 / 8 * 32 - 1], 0x00);

    Open(1, 4);
    g_ClearScreen(1, 20, -1);
    EXPECT_EQ(Block(1)[0], 0x44);
    EXPECT_EQ(Block(1)[32 * 32 - 1], 0x44);

    Open(2, 16);
    g_ClearScreen(2, 1, -1);
    EXPECT_EQ(g_Scrn(2, 63, 31), (t_RGBColor{255, 85, 85, 85}));

    Open(3, 24);
    g_ClearScreen(3, 9, -1);
    EXPECT_EQ(g_Scrn(3, 63, 31), (t_RGBColor{0, 255, 128, 0}));
    g_ClearScreen(3, 20, -1);
    EXPECT_EQ(g_Scrn(3, 17, 3), (t_RGBColor{0, 0, 0, 0}));

    Open(4, 32);
    g_ClearScreen(4, 7, 2);
    EXPECT_EQ(g_Scrn(4, 63, 1), (t_RGBColor{255, 0, 128, 255}));
    EXPECT_EQ(g_Scrn(4, 0, 2), (t_RGBColor{255, 0, 0, 0}));
}

TEST(ClearScreen, FillsEveryPixelOfTheRowsAndNoMoreAtTrueColourDepths) {
    vx::test::StartToolkit();
    const int depths[3] = {16, 24, 32};
    for (std::uint8_t n = 0; n < 3; ++n) {
        SCOPED_TRACE(depths[n]);
        Open(n, depths[n], 1024, 100);
        const std::size_t rowBytes = std::size_t(1024 * depths[n] / 8);
        std::memset(Block(n), 0x5A, rowBytes * 100);
        g_ClearScreen(n, 9, 77);
        const t_RGBColor expected = g_Scrn(n, 0, 0);
        int wrong = 0;
        for (int y = 0; y < 77; ++y)
            for (int x = 0; x < 1024; ++x) wrong += !(g_Scrn(n, x, y) == expected);
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(expected.Red, depths[n] == 16 ? 127 : 255);
        for (std::size_t i = rowBytes * 77; i < rowBytes * 100; ++i) wrong += Block(n)[i] != 0x5A;
        EXPECT_EQ(wrong, 0);
    }
}

TEST(ClearScreen, LeavesColourPositionAndNeighboursAlone) {
    vx::test::StartToolkit();
    Open(0, 4);
    Open(1, 4);
    t_Color(1, 3);
    g_Plot(1, 5, 6);
    const std::uint8_t below = VideoMemory[WindowTable[1].MemoryStart - 1];
    const std::uint8_t above = VideoMemory[WindowTable[1].MemoryEnd + 1];
    g_ClearScreen(1, 9, -1);
    EXPECT_EQ(WindowTable[1].TextColor >> 4, 3);
    EXPECT_EQ(WindowTable[1].PositionX, 5);
    EXPECT_EQ(VideoMemory[WindowTable[1].MemoryStart - 1], below);
    EXPECT_EQ(VideoMemory[WindowTable[1].MemoryEnd + 1], above);
}

TEST(ClearScreen, RefusesOtherWindowsAndIgnoresOtherDepths) {
    vx::test::StartToolkit();
    Open(0, 8);
    vx::test::TakeLogLines();
    g_ClearScreen(8, 0, 0);
    g_ClearScreen(2, 0, 0);
    WindowTable[0].BitDepth = 2;
    g_ClearScreen(0, 15, -1);
    EXPECT_EQ(Block(0)[0], 0);
    EXPECT_EQ(OwnLines(), (std::vector<std::string>{"g_ClearScreen: Window is not a graphic window.",
                                                    "g_ClearScreen: Graphic window #2 not initialized."}));
}

}  // namespace
