#include "vxtools/graphics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "support/toolkit_test.h"
#include "vxtools/extensions.h"

namespace {

using namespace vx::test;

// ---- Points and colours ----

TEST(Palette, GivesEverySixteenEntriesOpaqueAndBlackOutsideTheTable) {
    const std::vector<t_RGBColor> expected = {
        {255, 0, 0, 0},    {255, 255, 0, 0},   {255, 0, 0, 128},     {255, 255, 0, 255},
        {255, 0, 128, 0},  {255, 84, 84, 84},  {255, 0, 0, 255},     {255, 0, 128, 255},
        {255, 128, 64, 0}, {255, 255, 128, 0}, {255, 168, 168, 168}, {255, 255, 128, 128},
        {255, 0, 255, 0},  {255, 255, 255, 0}, {255, 0, 255, 255},   {255, 255, 255, 255},
        {255, 0, 0, 0}};  // entry 16 lies outside the table
    for (int i = 0; i <= 16; ++i) EXPECT_EQ(t_PaletteColor(i), expected[std::size_t(i)]) << "entry " << i;
}

// A plot changes only its own bit (1 bit) or nibble (4 bits, the high one first) of its byte; one bit
// lights from palette entry 9 up.
TEST(Pixels, OneAndFourBitPlotsChangeOnlyTheirOwnBits) {
    StartToolkit();
    for (const int depth : {1, 4}) {
        OpenWindow(0, depth, 64, 4);
        std::memset(Block(0), 0xA5, std::size_t(64 * 4 * depth / 8));
        for (int x = 0; x < 16; ++x) {
            for (const int colour : {8, 9}) {
                t_Color(0, colour);
                g_Plot(0, x, 1);
                const int shift = depth == 1 ? 7 - x % 8 : 4 - 4 * (x % 2);
                const int ink = depth == 1 ? colour / 9 : colour;
                const int mask = (depth == 1 ? 1 : 15) << shift;
                const int at = (64 + x) * depth / 8;  // row 1
                EXPECT_EQ(Block(0)[at], (0xA5 & ~mask) | ink << shift) << depth << " bits, x " << x;
                Block(0)[at] = 0xA5;
            }
        }
    }
}

// t_Color once multiplied the index, which overflowed for large ones: it must take the low four bits of
// any index and keep the paper.
TEST(Pixels, ColourTakesTheLowFourBitsOfAnyIndexAndKeepsThePaper) {
    StartToolkit();
    OpenWindow(0, 4);
    WindowTable[0].TextColor = 0xC3;
    for (const auto& [index, ink] :
         {std::pair<std::int64_t, int>{17, 1}, {-1, 15}, {INT64_MIN, 0}, {(std::int64_t(1) << 62) + 9, 9}}) {
        t_Color(0, index);
        EXPECT_EQ(WindowTable[0].TextColor, ink << 4 | 3) << index;
        EXPECT_EQ(WindowTable[0].RGBColor, t_PaletteColor(ink)) << index;
    }
}

TEST(Pixels, TrueColourDrawingModesCombineWithTheStoredPixel) {
    StartToolkit();
    OpenWindow(0, 24);
    OpenWindow(1, 32);
    OpenWindow(2, 16);
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
    };
    const std::uint8_t stored24[3] = {0x0F, 0xF0, 0x55}, stored32[4] = {40, 0x0F, 0xF0, 0x55};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        std::memcpy(Block(0) + 3 * 5, stored24, 3);
        std::memcpy(Block(1) + 4 * 5, stored32, 4);
        for (std::uint8_t n : {0, 1, 2}) {
            WindowTable[n].DrawingMode = c.mode;
            WindowTable[n].RGBColor = {128, 0xFF, 0x0F, 0x33};
            g_Plot(n, 5, 0);
        }
        EXPECT_EQ(g_Scrn(0, 5, 0), c.expect24);
        EXPECT_EQ(g_Scrn(1, 5, 0), c.expect32);
        EXPECT_EQ(g_Scrn(2, 5, 0), (t_RGBColor{128, 107, 107, 107}));  // 16 bits: alpha and the average
    }
}

// Every depth's bytes in the order the layout gives them, read back at the corners and one pixel beyond
// each edge, from a block of bytes that differ from each other and read differently in either bit order.
TEST(Pixels, ReadBackTakesEachDepthsBytesInOrderUpToTheLastPixel) {
    StartToolkit();
    const t_RGBColor black{255, 0, 0, 0};
    for (const int depth : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(depth);
        OpenWindow(0, depth, 64, 32);
        const int bytes = 64 * 32 * depth / 8;
        for (int i = 0; i < bytes; ++i) Block(0)[i] = std::uint8_t(i * 37 + 0x5B);
        for (const auto& [x, y] : {std::pair{0, 0}, {1, 0}, {6, 0}, {13, 5}, {62, 31}, {63, 31}}) {
            const std::uint8_t* b = Block(0) + (y * 64 + x) * depth / 8;
            const t_RGBColor expect = depth == 1    ? t_PaletteColor(b[0] >> (7 - x % 8) & 1 ? 15 : 0)
                                      : depth == 4  ? t_PaletteColor(x % 2 ? b[0] & 15 : b[0] >> 4)
                                      : depth == 8  ? t_RGBColor{0, b[0], b[0], b[0]}
                                      : depth == 16 ? t_RGBColor{b[0], b[1], b[1], b[1]}
                                      : depth == 24 ? t_RGBColor{0, b[0], b[1], b[2]}
                                                    : t_RGBColor{b[0], b[1], b[2], b[3]};
            EXPECT_EQ(g_Scrn(0, x, y), expect) << x << "," << y;
        }
        for (const auto& [x, y] : {std::pair{64, 0}, {0, 32}, {-1, 0}, {0, -1}})
            EXPECT_EQ(g_Scrn(0, x, y), black) << x << "," << y;
        // The last pixel is plotted; one beyond the right or bottom edge is not, and leaves the position.
        WindowTable[0].RGBColor = {1, 2, 3, 4};
        t_Color(0, 12);
        g_Plot(0, 63, 31);
        EXPECT_EQ(std::pair(WindowTable[0].PositionX, WindowTable[0].PositionY), Pos(63, 31));
        const std::vector<std::uint8_t> after(Block(0), Block(0) + bytes);
        for (const auto& [x, y] : {std::pair{64, 0}, {0, 32}, {-1, 5}, {5, -1}}) g_Plot(0, x, y);
        EXPECT_EQ(std::vector<std::uint8_t>(Block(0), Block(0) + bytes), after);
        EXPECT_EQ(std::pair(WindowTable[0].PositionX, WindowTable[0].PositionY), Pos(63, 31));
        EXPECT_NE(g_Scrn(0, 63, 31), black);
    }
}

// The nearest palette entry for 1 and 4 bits, the lower entry on a tie; the grey level for 8 bits.
TEST(Pixels, TrueColourTakesTheNearestPaletteEntryTheLowerOnATie) {
    StartToolkit();
    OpenWindow(0, 4);
    OpenWindow(1, 1);
    OpenWindow(2, 8);
    OpenWindow(3, 24);
    WindowTable[0].TextColor = 0x07;
    struct Case {
        std::uint8_t r, g, b;
        int entry;
    };
    // Ties: 5 and 10 are both 42 away on each channel, 0 and 2 both 64 on blue.
    const Case cases[] = {{126, 126, 126, 5}, {0, 0, 64, 0},   {0, 0, 0, 0},     {255, 255, 255, 15},
                          {0, 200, 255, 14},  {128, 64, 0, 8}, {250, 130, 5, 9}, {1, 1, 130, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        for (std::uint8_t n = 0; n < 4; ++n) {
            vx::SetRGBColor(n, c.r, c.g, c.b);
            g_Plot(n, 9, 3);
        }
        EXPECT_EQ(WindowTable[0].TextColor, c.entry << 4 | 7);
        EXPECT_EQ(Nibble(WindowTable[0], 9, 3), c.entry);
        EXPECT_EQ(g_Scrn(1, 9, 3), t_PaletteColor(c.entry >= 9 ? 15 : 0));
        EXPECT_EQ(g_Scrn(2, 9, 3).Red, (c.r + c.g + c.b) / 3);
        EXPECT_EQ(g_Scrn(3, 9, 3), (t_RGBColor{0, c.r, c.g, c.b}));
    }
}

// Each refusal is one log line of its own and changes nothing; a line beside a window is no refusal.
TEST(Pixels, RefusesWindowsThatAreNoneOrNotReadyWithTheirOwnLine) {
    StartToolkit();
    t_Window& w = OpenWindow(0, 32);
    TakeLogLines();
    const std::pair<const char*, std::function<void(std::uint8_t)>> ops[] = {
        {"t_Color: Window", [](std::uint8_t n) { t_Color(n, 3); }},
        {"t_Color: Window", [](std::uint8_t n) { vx::SetRGBColor(n, 1, 2, 3); }},
        {"g_Plot: Graphic window", [](std::uint8_t n) { g_Plot(n, 1, 1); }},
        {"g_Scrn: Graphic window",
         [](std::uint8_t n) {
             EXPECT_EQ(g_Scrn(n, 1, 1), (t_RGBColor{255, 0, 0, 0}));
         }},
        {"g_Line: Graphic window", [](std::uint8_t n) { g_Line(n, 0, 0, 5, 5); }},
        {"g_LineTo: Graphic window", [](std::uint8_t n) { g_LineTo(n, 5, 5); }},
        {"g_ClearScreen: Graphic window", [](std::uint8_t n) { g_ClearScreen(n, 3, -1); }}};
    for (const auto& [line, op] : ops) {
        const std::string name = std::string(line).substr(0, std::string(line).find(':'));
        op(8);
        op(255);
        op(5);
        EXPECT_EQ(TakeOwnLogLines(), (std::vector<std::string>{name + ": Window is not a graphic window.",
                                                               name + ": Window is not a graphic window.",
                                                               line + std::string(" #5 not initialized.")}));
    }
    for (int i = 0; i < 64 * 32 * 4; ++i) EXPECT_EQ(Block(0)[i], i % 4 == 0 ? 255 : 0) << i;
    EXPECT_EQ(w.PositionX, 0);
    g_Line(0, -5, -5, -1, -9);
    EXPECT_TRUE(TakeOwnLogLines().empty());
}

// Points outside the window are left to the line test (the reference plots them) and the fuzzers. A
// block ending on the last byte of video memory is drawn into; one byte further, and nothing is.
TEST(Pixels, RecordsPointingOutsideVideoMemoryDrawNothing) {
    StartToolkit();
    t_Window& v = OpenWindow(1, 32);
    v.MemoryStart = kVideoMemorySize - 64 * 32 * 4;
    v.MemoryEnd = kVideoMemorySize - 1;
    t_Color(1, 4);
    g_Plot(1, 63, 31);
    EXPECT_EQ(VideoMemory[kVideoMemorySize - 2], 128);  // green, in the last pixel's third byte
    EXPECT_EQ(g_Scrn(1, 63, 31), t_PaletteColor(4));
    v.MemoryStart += 1;
    v.MemoryEnd += 1;
    const std::vector<std::uint8_t> first(Block(1), Block(1) + 4);
    g_Plot(1, 0, 0);
    EXPECT_EQ(g_Scrn(1, 63, 31), (t_RGBColor{255, 0, 0, 0}));
    EXPECT_EQ(std::vector<std::uint8_t>(Block(1), Block(1) + 4), first);
    v.MemoryStart = kVideoMemorySize - 16;
    v.MemoryEnd = kVideoMemorySize + 100000;
    g_Plot(1, 63, 31);
    v.MemoryStart = -64;
    v.MemoryEnd = 64 * 32 * 4;
    g_Plot(1, 0, 0);
    v.MemoryStart = 0x100000;
    v.MemoryEnd = 0x100000 + 100;  // smaller than the geometry needs
    g_Plot(1, 63, 31);
    EXPECT_EQ(VideoMemory[0x100000 + 64 * 32 * 4 - 1], 0xFF);
}

// Every pixel of the cleared rows must hold the depth's form of the colour, and nothing else may change:
// not the rows below, not the bytes around the block. Rows wide enough that the fill copies in pieces.
TEST(ClearScreen, FillsTheTopRowsOrTheWholeWindowAtEveryDepthAndNothingElse) {
    StartToolkit();
    OpenWindow(0, 4);  // window 1 has a neighbour below it
    struct Case {
        int depth, colour, rows, filled;
        t_RGBColor expect;
    };
    const Case cases[] = {
        {1, 5, -1, 40, t_PaletteColor(15)}, {1, 0, 10, 10, t_PaletteColor(0)},
        {4, 20, 0, 40, t_PaletteColor(4)},  {8, 15, 41, 40, {0, 255, 255, 255}},
        {16, 1, 39, 39, {255, 85, 85, 85}}, {24, 9, 17, 17, {0, 255, 128, 0}},
        {24, 20, -1, 40, {0, 0, 0, 0}},     {32, 7, 2, 2, {255, 0, 128, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.depth << " bits, colour " << c.colour << ", rows " << c.rows);
        OpenWindow(1, c.depth, 1024, 40);
        const std::size_t rowBytes = std::size_t(1024 * c.depth / 8);
        std::memset(Block(1) - 1, 0x5A, rowBytes * 40 + 2);  // with a guard byte either side
        g_ClearScreen(1, c.colour, c.rows);
        int wrong = 0;
        for (int y = 0; y < c.filled; ++y)
            for (int x = 0; x < 1024; ++x) wrong += !(g_Scrn(1, x, y) == c.expect);
        for (std::size_t i = rowBytes * std::size_t(c.filled); i <= rowBytes * 40; ++i)
            wrong += Block(1)[i] != 0x5A;
        wrong += Block(1)[-1] != 0x5A;
        EXPECT_EQ(wrong, 0);
    }
}

// ---- Lines ----

// The line exactly as described: every point through g_Plot, the running point added up step by step.
void ReferenceLine(std::uint8_t w, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
    const auto round = [](double v) { return std::int64_t(v + 0.5); };
    const std::int64_t n = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
    const double steps = double(std::max<std::int64_t>(n, 1));
    const double sx = double(x2 - x1) / steps, sy = double(y2 - y1) / steps;
    double px = double(x1), py = double(y1);
    for (std::int64_t i = 0; i < n; ++i) {
        g_Plot(w, round(px), round(py));
        px += sx;
        py += sy;
    }
    g_Plot(w, x2, y2);
}

// Random lines, and first the ones random ends hardly ever give: one point, two neighbours, a start at -1
// that rounds to column 0, where the second point lies too, and ends on the last column and row or one
// beyond.
TEST(LineDrawing, MatchesPlottingEveryPointAtEveryDepth) {
    StartToolkit();
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-90, 150);
    std::vector<std::array<int, 4>> lines = {
        {3, 3, 3, 3},    {0, 0, 1, 0},    {0, 0, 4, 2},    {-1, 5, 4, 5},   {0, 0, 63, 39},   {63, 39, 0, 0},
        {63, 0, 63, 39}, {0, 39, 63, 39}, {64, 39, 0, 39}, {63, 40, 63, 0}, {-1, -1, 64, 40}, {5, 0, 0, 0}};
    while (lines.size() < 400)
        lines.push_back({coordinate(random), coordinate(random), coordinate(random), coordinate(random)});
    for (int depth : {1, 4, 8, 16, 24, 32}) {
        for (std::uint8_t n : {0, 1}) OpenWindow(n, depth, 64, 40);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const auto [x1, y1, x2, y2] = lines[i];
            SCOPED_TRACE(testing::Message()
                         << depth << " bits: " << x1 << "," << y1 << " " << x2 << "," << y2);
            for (std::uint8_t n : {0, 1}) {
                t_Color(n, std::int64_t(i % 16));
                WindowTable[n].DrawingMode = std::int64_t(i % 9);
                WindowTable[n].RGBColor = {std::uint8_t(i), std::uint8_t(3 * i), std::uint8_t(i ^ 0x55), 9};
            }
            ReferenceLine(0, x1, y1, x2, y2);
            g_Line(1, x1, y1, x2, y2);
            ASSERT_EQ(WindowTable[0].PositionX, WindowTable[1].PositionX);
            ASSERT_EQ(WindowTable[0].PositionY, WindowTable[1].PositionY);
            ASSERT_EQ(std::memcmp(Block(0), Block(1), std::size_t(64 * 40 * depth / 8)), 0);
        }
    }
}

// Ends up to 2^40 away take the exact integer walk, ends further away a slower one; both must draw what
// crosses the window and leave the position at the last point inside.
TEST(LineDrawing, FarAwayEndsDrawOnlyWhatCrossesTheWindow) {
    StartToolkit();
    OpenWindow(1, 24, 64, 32);
    WindowTable[1].DrawingMode = 7;  // XOR: a pixel plotted twice shows nothing
    WindowTable[1].RGBColor = {255, 255, 255, 255};
    std::vector<std::uint8_t> expected(64 * 32 * 3, 0);
    // -1 and 0 both round to column 0, which is plotted twice.
    for (const auto& [end, y] : {std::pair{std::int64_t(1) << 40, 5}, {(std::int64_t(1) << 40) - 1, 7}}) {
        std::memset(&expected[std::size_t(y * 64 + 1) * 3], 255, 63 * 3);
        g_Line(1, -end, y, end, y);
        EXPECT_EQ(std::vector<std::uint8_t>(Block(1), Block(1) + expected.size()), expected) << end;
        EXPECT_EQ(WindowTable[1].PositionX, 63);
    }
    g_Line(1, 10, 10, 10, INT64_MAX);
    EXPECT_EQ(WindowTable[1].PositionY, 31);
}

// Plotting at an illegal depth logs and still moves the position; a line does what plotting its points
// would, with one log line for the line; clearing draws nothing.
TEST(LineDrawing, AnIllegalDepthFollowsPlottingOneLogLinePerLineAndClearingDrawsNothing) {
    StartToolkit();
    t_Window& w = OpenWindow(0, 24, 64, 32);
    TakeLogLines();
    w.BitDepth = 12;
    g_Plot(0, 7, 10);
    EXPECT_EQ(TakeOwnLogLines(), std::vector<std::string>{"g_Plot: Illegal bit depth (12)."});
    g_Line(0, -10, -10, -20, 50);  // misses the window: silent, the position stays where the plot put it
    EXPECT_TRUE(TakeOwnLogLines().empty());
    EXPECT_EQ(w.PositionX, 7);
    g_LineTo(0, 70, 10);  // crosses: the position ends at the last point inside
    EXPECT_EQ(TakeOwnLogLines(), std::vector<std::string>{"g_Plot: Illegal bit depth (12)."});
    EXPECT_EQ(w.PositionX, 63);
    w.BitDepth = 2;
    g_ClearScreen(0, 15, -1);
    EXPECT_EQ(std::count(Block(0), Block(0) + 64 * 32 * 3, 0), 64 * 32 * 3);
}

}  // namespace
