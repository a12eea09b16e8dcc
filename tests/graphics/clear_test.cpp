#include <gtest/gtest.h>

#include <cstring>

#include "display/palette.h"
#include "support/toolkit_test.h"
#include "vxtools/graphics.h"

namespace {

using namespace vx::test;

// Every pixel of the cleared rows must hold the depth's form of the colour, and nothing else may change:
// not the rows below, not the bytes around the block. Rows wide enough that the fill copies in pieces.
TEST(ClearScreen, FillsTheTopRowsOrTheWholeWindowAtEveryDepthAndNothingElse) {
    vx::test::StartToolkit();
    OpenWindow(0, 4);  // window 1 has a neighbour below it
    struct Case {
        int depth, colour, rows, filled;
        t_RGBColor expect;
    };
    const Case cases[] = {
        {1, 5, -1, 40, t_PaletteColor(15)},    {1, 0, 10, 10, t_PaletteColor(0)},
        {4, 20, 0, 40, t_PaletteColor(4)},     {8, 15, 41, 40, {0, 255, 255, 255}},
        {8, 9, 10, 10, {0, 127, 127, 127}},    {16, 1, 39, 39, {255, 85, 85, 85}},
        {16, 9, 17, 17, {255, 127, 127, 127}}, {24, 9, 17, 17, {0, 255, 128, 0}},
        {24, 20, -1, 40, {0, 0, 0, 0}},        {32, 7, 2, 2, {255, 0, 128, 255}},
        {32, 9, 33, 33, {255, 255, 128, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.depth << " bits, colour " << c.colour << ", rows " << c.rows);
        const t_Window& w = OpenWindow(1, c.depth, 1024, 40);
        const std::size_t rowBytes = std::size_t(1024 * c.depth / 8);
        std::memset(Block(1), 0x5A, rowBytes * 40);
        const std::uint8_t below = VideoMemory[w.MemoryStart - 1], above = VideoMemory[w.MemoryEnd + 1];
        g_ClearScreen(1, c.colour, c.rows);
        int wrong = 0;
        for (int y = 0; y < c.filled; ++y)
            for (int x = 0; x < 1024; ++x) wrong += !(g_Scrn(1, x, y) == c.expect);
        for (std::size_t i = rowBytes * std::size_t(c.filled); i < rowBytes * 40; ++i)
            wrong += Block(1)[i] != 0x5A;
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(VideoMemory[w.MemoryStart - 1], below);
        EXPECT_EQ(VideoMemory[w.MemoryEnd + 1], above);
    }
}

TEST(ClearScreen, LeavesColourAndPositionAloneAndIgnoresOtherDepths) {
    vx::test::StartToolkit();
    OpenWindow(0, 4);
    t_Color(0, 3);
    g_Plot(0, 5, 6);
    g_ClearScreen(0, 9, -1);
    EXPECT_EQ(WindowTable[0].TextColor >> 4, 3);
    EXPECT_EQ(WindowTable[0].PositionX, 5);
    WindowTable[0].BitDepth = 2;
    g_ClearScreen(0, 15, -1);
    EXPECT_EQ(Block(0)[0], 0x99);
}

}  // namespace
