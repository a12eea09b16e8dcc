#include <gtest/gtest.h>

#include <cstring>

#include "display/palette.h"
#include "support/toolkit_test.h"
#include "vxtools/graphics.h"

namespace {

using namespace vx::test;

TEST(ClearScreen, FillsTheTopRowsOrTheWholeWindow) {
    vx::test::StartToolkit();
    OpenWindow(0, 8);
    for (std::int64_t rows : {0, -1, 33, 10}) {
        std::memset(Block(0), 1, 64 * 32);
        g_ClearScreen(0, 15, rows);
        EXPECT_EQ(Block(0)[0], 255) << rows;
        EXPECT_EQ(Block(0)[64 * (rows == 10 ? 10 : 32) - 1], 255) << rows;
        EXPECT_EQ(Block(0)[64 * 10], rows == 10 ? 1 : 255) << rows;
    }
}

TEST(ClearScreen, FillsEachDepthWithItsFormOfTheColour) {
    vx::test::StartToolkit();
    struct Case {
        int depth, colour, rows, x, y;
        t_RGBColor expect;
    };
    // Every block starts all ones, so a pixel the clear misses shows it.
    const Case cases[] = {
        {1, 5, -1, 63, 31, t_PaletteColor(15)}, {1, 0, -1, 63, 31, t_PaletteColor(0)},
        {4, 20, -1, 0, 0, t_PaletteColor(4)},   {4, 20, -1, 63, 31, t_PaletteColor(4)},
        {16, 1, -1, 63, 31, {255, 85, 85, 85}}, {24, 9, -1, 63, 31, {0, 255, 128, 0}},
        {24, 20, -1, 17, 3, {0, 0, 0, 0}},      {32, 7, 2, 63, 1, {255, 0, 128, 255}},
    };
    std::uint8_t n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.depth << " bits, colour " << c.colour);
        OpenWindow(n, c.depth);
        std::memset(Block(n), 0xFF, std::size_t(WindowTable[n].MemoryEnd - WindowTable[n].MemoryStart + 1));
        g_ClearScreen(n, c.colour, c.rows);
        EXPECT_EQ(g_Scrn(n, c.x, c.y), c.expect);
        if (c.rows == 2) {
            EXPECT_EQ(g_Scrn(n, 0, 2), (t_RGBColor{255, 255, 255, 255}));
        }
        ++n;
    }
    EXPECT_EQ(Block(2)[0], 0x44);
}

TEST(ClearScreen, FillsEveryPixelOfTheRowsAndNoMoreAtTrueColourDepths) {
    vx::test::StartToolkit();
    const int depths[3] = {16, 24, 32};
    for (std::uint8_t n = 0; n < 3; ++n) {
        SCOPED_TRACE(depths[n]);
        OpenWindow(n, depths[n], 1024, 100);
        const std::size_t rowBytes = std::size_t(1024 * depths[n] / 8);
        std::memset(Block(n), 0x5A, rowBytes * 100);
        g_ClearScreen(n, 9, 77);
        const t_RGBColor expected = g_Scrn(n, 0, 0);
        int wrong = 0;
        for (int y = 0; y < 77; ++y)
            for (int x = 0; x < 1024; ++x) wrong += !(g_Scrn(n, x, y) == expected);
        EXPECT_EQ(expected.Red, depths[n] == 16 ? 127 : 255);
        for (std::size_t i = rowBytes * 77; i < rowBytes * 100; ++i) wrong += Block(n)[i] != 0x5A;
        EXPECT_EQ(wrong, 0);
    }
}

TEST(ClearScreen, LeavesColourPositionAndNeighboursAloneAndRefusesOtherWindows) {
    vx::test::StartToolkit();
    OpenWindow(0, 4);
    OpenWindow(1, 4);
    t_Color(1, 3);
    g_Plot(1, 5, 6);
    const std::uint8_t below = VideoMemory[WindowTable[1].MemoryStart - 1];
    const std::uint8_t above = VideoMemory[WindowTable[1].MemoryEnd + 1];
    g_ClearScreen(1, 9, -1);
    EXPECT_EQ(WindowTable[1].TextColor >> 4, 3);
    EXPECT_EQ(WindowTable[1].PositionX, 5);
    EXPECT_EQ(VideoMemory[WindowTable[1].MemoryStart - 1], below);
    EXPECT_EQ(VideoMemory[WindowTable[1].MemoryEnd + 1], above);

    vx::test::TakeLogLines();
    g_ClearScreen(8, 0, 0);
    g_ClearScreen(2, 0, 0);
    WindowTable[0].BitDepth = 2;  // other depths are ignored
    g_ClearScreen(0, 15, -1);
    EXPECT_EQ(Block(0)[0], 0);
    EXPECT_EQ(TakeOwnLogLines(),
              (std::vector<std::string>{"g_ClearScreen: Window is not a graphic window.",
                                        "g_ClearScreen: Graphic window #2 not initialized."}));
}

}  // namespace
