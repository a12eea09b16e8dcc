#include <gtest/gtest.h>

#include <cstring>

#include "display/palette.h"
#include "support/toolkit_test.h"
#include "vxtools/graphics.h"

namespace {

using namespace vx::test;

TEST(Palette, GivesEverySixteenEntriesOpaqueAndBlackOutsideTheTable) {
    // Red, green, blue of entries 0..15.
    constexpr int kEntries[16][3] = {{0, 0, 0},    {255, 0, 0},   {0, 0, 128},     {255, 0, 255},
                                     {0, 128, 0},  {84, 84, 84},  {0, 0, 255},     {0, 128, 255},
                                     {128, 64, 0}, {255, 128, 0}, {168, 168, 168}, {255, 128, 128},
                                     {0, 255, 0},  {255, 255, 0}, {0, 255, 255},   {255, 255, 255}};
    for (int i = 0; i < 16; ++i) {
        const t_RGBColor expected{255, std::uint8_t(kEntries[i][0]), std::uint8_t(kEntries[i][1]),
                                  std::uint8_t(kEntries[i][2])};
        EXPECT_EQ(t_PaletteColor(i), expected) << "entry " << i;
    }
    EXPECT_EQ(t_PaletteColor(16), (t_RGBColor{255, 0, 0, 0}));
    EXPECT_EQ(t_PaletteColor(-1), (t_RGBColor{255, 0, 0, 0}));
    EXPECT_EQ(t_PaletteColor(8).Packed(), 0x004080FFu);
}

TEST(Pixels, OneBitPlotChangesOnlyItsOwnBit) {
    vx::test::StartToolkit();
    OpenWindow(0, 1, 64, 4);
    for (const std::uint8_t fill : {std::uint8_t(0x00), std::uint8_t(0xFF), std::uint8_t(0xA5)}) {
        for (int x = 0; x < 16; ++x) {
            std::memset(Block(0), fill, 8 * 4);
            for (const int colour : {0, 15}) {
                t_Color(0, colour);
                g_Plot(0, x, 1);
                const std::uint8_t bit = std::uint8_t(0x80 >> (x & 7));
                const std::uint8_t expected = colour != 0 ? fill | bit : fill & ~bit;
                EXPECT_EQ(Block(0)[8 + x / 8], expected) << "fill " << int(fill) << " x " << x;
                EXPECT_EQ(Block(0)[8 + (1 - x / 8)], fill);  // the other byte of the pair
                EXPECT_EQ(Block(0)[x / 8], fill);            // the row above
                std::memset(Block(0) + 8, fill, 2);
            }
        }
    }
}

// t_Color once multiplied the index, which overflowed for large ones: it must take the low four bits of
// any index and keep the paper.
TEST(Pixels, ColourTakesTheLowFourBitsOfAnyIndexAndKeepsThePaper) {
    vx::test::StartToolkit();
    OpenWindow(0, 4);
    WindowTable[0].TextColor = 0xC3;
    for (const auto& [index, ink] : {std::pair<std::int64_t, int>{17, 1},
                                     {-1, 15},
                                     {INT64_MIN, 0},
                                     {INT64_MAX, 15},
                                     {INT64_MIN + 5, 5},
                                     {-17, 15},
                                     {(std::int64_t(1) << 62) + 9, 9}}) {
        t_Color(0, index);
        EXPECT_EQ(WindowTable[0].TextColor, ink << 4 | 3) << index;
        EXPECT_EQ(WindowTable[0].RGBColor, t_PaletteColor(ink)) << index;
    }
}

TEST(Pixels, PlotsOnlyInsideTheWindowRememberingTheLastPointInside) {
    vx::test::StartToolkit();
    OpenWindow(0, 4, 64, 32);
    t_Color(0, 15);
    g_Plot(0, 63, 31);
    EXPECT_EQ(Block(0)[32 * 32 - 1], 0x0F);
    const std::int64_t end = WindowTable[0].MemoryEnd;
    const std::uint8_t after = VideoMemory[end + 1];
    for (auto [x, y] : {std::pair{64, 0}, {0, 32}, {-1, 0}, {0, -1}, {1 << 30, 1 << 30}}) g_Plot(0, x, y);
    EXPECT_EQ(WindowTable[0].PositionX, 63);
    EXPECT_EQ(WindowTable[0].PositionY, 31);
    EXPECT_EQ(VideoMemory[end + 1], after);
    EXPECT_EQ(g_Scrn(0, 64, 0), (t_RGBColor{255, 0, 0, 0}));
}

TEST(Pixels, OneBitSplitsTheColoursAtNineAndFourBitsPackHighNibbleFirst) {
    vx::test::StartToolkit();
    OpenWindow(1, 1);
    OpenWindow(0, 4);
    for (std::uint8_t n : {0, 1}) {
        t_Color(n, 8);
        g_Plot(n, 0, 0);
        t_Color(n, 9);
        g_Plot(n, 1, 0);
    }
    EXPECT_EQ(Block(1)[0], 0x40);
    EXPECT_EQ(Block(0)[0], 0x89);
}

TEST(Pixels, SixteenBitsStoreTheAverageWithTheColoursAlphaWhateverTheDrawingMode) {
    vx::test::StartToolkit();
    OpenWindow(1, 16);
    for (std::int64_t mode : {0, 1, 8, -3}) {
        WindowTable[1].DrawingMode = mode;
        WindowTable[1].RGBColor = {std::uint8_t(7 + mode), 30, 60, 90};
        g_Plot(1, 1, 0);
        EXPECT_EQ(g_Scrn(1, 1, 0), (t_RGBColor{std::uint8_t(7 + mode), 60, 60, 60}));
    }
}

TEST(Pixels, TrueColourDrawingModesCombineWithTheStoredPixel) {
    vx::test::StartToolkit();
    OpenWindow(0, 24);
    OpenWindow(1, 32);
    struct Case {
        std::int64_t mode;
        t_RGBColor expect24, expect32;
    };
    // Stored pixel: alpha 40, red 0x0F, green 0xF0, blue 0x55. New colour: alpha 128, 0xFF, 0x0F, 0x33.
    const Case cases[] = {
        {0, {0, 0xFF, 0x0F, 0x33}, {128, 0xFF, 0x0F, 0x33}},
        {1, {0, 0x87, 0x7F, 0x44}, {40, 0x87, 0x7E, 0x43}},
        {2, {0, 0xFF, 0x0F, 0x33}, {255, 0xFF, 0x0F, 0x33}},
        {3, {0, 0xFF, 0x0F, 0x33}, {40, 0xFF, 0x0F, 0x33}},
        {4, {0, 0x87, 0x7F, 0x44}, {40, 0x87, 0x7F, 0x44}},
        {5, {0, 0x0F, 0x00, 0x11}, {40, 0x0F, 0x00, 0x11}},
        {6, {0, 0xFF, 0xFF, 0x77}, {40, 0xFF, 0xFF, 0x77}},
        {7, {0, 0xF0, 0xFF, 0x66}, {40, 0xF0, 0xFF, 0x66}},
        {8, {0, 0x0F, 0xF0, 0x55}, {40, 0x0F, 0xF0, 0x55}},
        {-1, {0, 0x0F, 0xF0, 0x55}, {40, 0x0F, 0xF0, 0x55}},
    };
    const std::uint8_t stored24[3] = {0x0F, 0xF0, 0x55}, stored32[4] = {40, 0x0F, 0xF0, 0x55};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        std::memcpy(Block(0) + 3 * 5, stored24, 3);
        std::memcpy(Block(1) + 4 * 5, stored32, 4);
        for (std::uint8_t n : {0, 1}) {
            WindowTable[n].DrawingMode = c.mode;
            WindowTable[n].RGBColor = {128, 0xFF, 0x0F, 0x33};
            g_Plot(n, 5, 0);
        }
        EXPECT_EQ(g_Scrn(0, 5, 0), c.expect24);
        EXPECT_EQ(g_Scrn(1, 5, 0), c.expect32);
    }
    // A transparent colour in blend mode leaves the pixel; mode 0 stores its alpha.
    WindowTable[1].RGBColor = {0, 250, 250, 250};
    WindowTable[1].DrawingMode = 1;
    g_Plot(1, 5, 0);
    EXPECT_EQ(g_Scrn(1, 5, 0), (t_RGBColor{40, 0x0F, 0xF0, 0x55}));
    WindowTable[1].DrawingMode = 0;
    g_Plot(1, 5, 0);
    EXPECT_EQ(g_Scrn(1, 5, 0), (t_RGBColor{0, 250, 250, 250}));
}

TEST(Pixels, IllegalDepthsAndRecordsOutsideVideoMemoryDrawNothing) {
    vx::test::StartToolkit();
    OpenWindow(0, 8);
    vx::test::TakeLogLines();
    t_Window& w = WindowTable[0];
    w.BitDepth = 12;
    g_Plot(0, 3, 4);  // logged, and the position still moves
    EXPECT_EQ(w.PositionX, 3);
    EXPECT_EQ(w.PositionY, 4);
    EXPECT_EQ(g_Scrn(0, 3, 4), (t_RGBColor{255, 0, 0, 0}));
    EXPECT_EQ(TakeOwnLogLines(), std::vector<std::string>{"g_Plot: Illegal bit depth (12)."});

    OpenWindow(1, 32);
    t_Window& v = WindowTable[1];
    v.MemoryStart = kVideoMemorySize - 16;
    v.MemoryEnd = kVideoMemorySize + 100000;
    g_Plot(1, 63, 31);
    v.MemoryStart = -64;
    v.MemoryEnd = 64 * 32 * 4;
    g_Plot(1, 0, 0);
    v.MemoryStart = 0x100000;
    v.MemoryEnd = 0x100000 + 100;  // smaller than the geometry needs
    g_Plot(1, 63, 31);
    EXPECT_EQ(v.PositionX, 0);
    EXPECT_EQ(VideoMemory[0x100000 + 64 * 32 * 4 - 1], 0xFF);
}

}  // namespace
