#include "vxtools/graphics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "display/palette.h"
#include "graphics/spans.h"
#include "support/toolkit_test.h"
#include "vxtools/extensions.h"

namespace {

using namespace vx::test;

const t_RGBColor kBlack{255, 0, 0, 0};

// A colour written as 0xAARRGGBB.
t_RGBColor Argb(std::uint32_t v) {
    return {std::uint8_t(v >> 24), std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)};
}

constexpr int kW = 64, kH = 40;

std::size_t BlockBytes(int depth) {
    return std::size_t(kW * kH * depth / 8);
}

// Fills window 0 (and window 1 alike) with noise, so that a stray or missing write shows.
void SameNoise(int depth, std::uint32_t seed, bool both = true) {
    std::mt19937 random(seed);
    for (std::size_t i = 0; i < BlockBytes(depth); ++i) Block(0)[i] = std::uint8_t(random());
    if (both) std::memcpy(Block(1), Block(0), BlockBytes(depth));
}

void SameColour(std::size_t i) {
    for (std::uint8_t n : {0, 1}) {
        WindowTable[n].TextColor = 15;  // entry 8 on paper 15 (143) is the brightest that stays dark
        t_Color(n, std::int64_t(i % 16));
        WindowTable[n].RGBColor = {std::uint8_t(40 * i), std::uint8_t(7 * i), std::uint8_t(i ^ 0xA5), 200};
        WindowTable[n].DrawingMode = std::int64_t(i % 9);
    }
}

// A plot changes only its own bit (1 bit) or nibble (4 bits, the high one first) of its byte; one bit
// lights from palette entry 9 up.
TEST(Pixels, OneAndFourBitPlotsChangeOnlyTheirOwnBits) {
    StartToolkit();
    for (const int depth : {1, 4}) {
        OpenWindow(0, depth, 64, 4);
        std::memset(Block(0), 0xA5, std::size_t(64 * 4 * depth / 8));
        for (int x = 0; x < 16; ++x)
            for (const int colour : {8, 9}) {
                t_Color(0, colour);
                g_Plot(0, x, 1);
                const int shift = depth == 1 ? 7 - x % 8 : 4 - 4 * (x % 2), at = (64 + x) * depth / 8;
                const int ink = depth == 1 ? colour / 9 : colour, mask = (depth == 1 ? 1 : 15) << shift;
                EXPECT_EQ(Block(0)[at], (0xA5 & ~mask) | ink << shift) << depth << " bits, x " << x;
                Block(0)[at] = 0xA5;
            }
    }
}

// t_Color once multiplied the index, which overflowed for large ones: it must take the low four bits of
// any index and keep the paper. The palette's last entry is white, and black lies beyond it.
TEST(Pixels, ColourTakesTheLowFourBitsOfAnyIndexAndKeepsThePaper) {
    EXPECT_EQ(std::pair(t_PaletteColor(15), t_PaletteColor(16)), std::pair(Argb(0xFFFFFFFF), kBlack));
    StartToolkit();
    OpenWindow(0, 4);
    WindowTable[0].TextColor = 0xC3;
    for (const auto& [index, ink] :
         {std::pair<std::int64_t, int>{17, 1}, {-1, 15}, {INT64_MIN, 0}, {(std::int64_t(1) << 62) + 9, 9}}) {
        t_Color(0, index);
        EXPECT_EQ(std::pair(WindowTable[0].TextColor, WindowTable[0].RGBColor),
                  std::pair(std::uint8_t(ink << 4 | 3), t_PaletteColor(ink)))
            << index;
    }
}

TEST(Pixels, TrueColourDrawingModesCombineWithTheStoredPixel) {
    StartToolkit();
    for (std::uint8_t n : {0, 1, 2}) OpenWindow(n, n == 0 ? 24 : n == 1 ? 32 : 16);
    // Stored pixel: alpha 40, red 0x0F, green 0xF0, blue 0x55. New colour: alpha 128, 0xFF, 0x0F, 0x33.
    // Per mode: 24 bits, 32 bits (0xAARRGGBB).
    const std::uint32_t cases[][2] = {
        {0x00FF0F33, 0x80FF0F33}, {0x00877F44, 0x28877E43}, {0x00FF0F33, 0xFFFF0F33},
        {0x00FF0F33, 0x28FF0F33}, {0x00877F44, 0x28877F44}, {0x000F0011, 0x280F0011},
        {0x00FFFF77, 0x28FFFF77}, {0x00F0FF66, 0x28F0FF66}, {0x000FF055, 0x280FF055}};
    for (int mode = 0; mode < 9; ++mode) {
        SCOPED_TRACE(mode);
        std::memcpy(Block(0) + 3 * 5, "\x0F\xF0\x55", 3);
        std::memcpy(Block(1) + 4 * 5, "\x28\x0F\xF0\x55", 4);
        for (std::uint8_t n : {0, 1, 2}) {
            WindowTable[n].DrawingMode = mode;
            WindowTable[n].RGBColor = {128, 0xFF, 0x0F, 0x33};
            g_Plot(n, 5, 0);
        }
        // 16 bits: alpha and the average
        EXPECT_EQ(std::tuple(g_Scrn(0, 5, 0), g_Scrn(1, 5, 0), g_Scrn(2, 5, 0)),
                  std::tuple(Argb(cases[mode][0]), Argb(cases[mode][1]), t_RGBColor{128, 107, 107, 107}));
    }
    // Mixing at 32 bits: stored red 0xF0 and blue 0xFF round differently under a weight off by one.
    std::memcpy(Block(1) + 4 * 5, "\x28\xF0\x0F\xFF", 4);
    WindowTable[1].DrawingMode = 1;
    g_Plot(1, 5, 0);
    EXPECT_EQ(g_Scrn(1, 5, 0), Argb(0x28F70E98));
}

// Every depth's bytes in the order the layout gives them, read back at the corners and one pixel beyond
// each edge, from a block of bytes that differ from each other and read differently in either bit order.
TEST(Pixels, ReadBackTakesEachDepthsBytesInOrderUpToTheLastPixel) {
    StartToolkit();
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
            EXPECT_EQ(g_Scrn(0, x, y), kBlack) << x << "," << y;
        // The last pixel is plotted; one beyond the right or bottom edge is not, and leaves the position.
        t_Color(0, 12);
        g_Plot(0, 63, 31);
        const std::vector<std::uint8_t> after(Block(0), Block(0) + bytes);
        for (const auto& [x, y] : {std::pair{64, 0}, {0, 32}, {-1, 5}, {5, -1}}) g_Plot(0, x, y);
        EXPECT_EQ(std::vector<std::uint8_t>(Block(0), Block(0) + bytes), after);
        EXPECT_EQ(std::pair(WindowTable[0].PositionX, WindowTable[0].PositionY), Pos(63, 31));
        EXPECT_NE(g_Scrn(0, 63, 31), kBlack);
    }
}

// The nearest palette entry for 1 and 4 bits, the lower entry on a tie; the grey level for 8 bits.
TEST(Pixels, TrueColourTakesTheNearestPaletteEntryTheLowerOnATie) {
    StartToolkit();
    for (std::uint8_t n = 0; n < 4; ++n) OpenWindow(n, std::array{4, 1, 8, 32}[n]);
    WindowTable[0].TextColor = 0x07;
    // Ties: 5 and 10 are both 42 away on each channel, 0 and 2 both 64 on blue.
    const std::array<int, 4> cases[] = {{126, 126, 126, 5},  {0, 0, 64, 0},     {0, 0, 0, 0},
                                        {255, 255, 255, 15}, {0, 200, 255, 14}, {128, 64, 0, 8},
                                        {250, 130, 5, 9},    {1, 1, 130, 2}};
    for (const auto& [r, g, b, entry] : cases) {
        SCOPED_TRACE(entry);
        for (std::uint8_t n = 0; n < 4; ++n) {
            vx::SetRGBColor(n, r, g, b);
            g_Plot(n, 9, 3);
        }
        EXPECT_EQ(std::tuple(int(WindowTable[0].TextColor), Nibble(WindowTable[0], 9, 3), g_Scrn(1, 9, 3),
                             int(g_Scrn(2, 9, 3).Red), g_Scrn(3, 9, 3)),
                  std::tuple(entry << 4 | 7, entry, t_PaletteColor(entry >= 9 ? 15 : 0), (r + g + b) / 3,
                             t_RGBColor{255, std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)}));
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
        {"g_Scrn: Graphic window", [](std::uint8_t n) { EXPECT_EQ(g_Scrn(n, 1, 1), kBlack); }},
        {"g_Line: Graphic window", [](std::uint8_t n) { g_Line(n, 0, 0, 5, 5); }},
        {"g_LineTo: Graphic window", [](std::uint8_t n) { g_LineTo(n, 5, 5); }},
        {"g_ClearScreen: Graphic window", [](std::uint8_t n) { g_ClearScreen(n, 3, -1); }}};
    for (const auto& [line, op] : ops) {
        const std::string none =
            std::string(line).substr(0, std::string(line).find(':')) + ": Window is not a graphic window.";
        for (std::uint8_t n : {8, 255, 5}) op(n);
        EXPECT_EQ(TakeLogLines(),
                  (std::vector<std::string>{none, none, line + std::string(" #5 not initialized.")}));
    }
    for (int i = 0; i < 64 * 32 * 4; ++i) EXPECT_EQ(Block(0)[i], i % 4 == 0 ? 255 : 0) << i;
    EXPECT_EQ(w.PositionX, 0);
    g_Line(0, -5, -5, -1, -9);
    EXPECT_TRUE(TakeLogLines().empty());
}

// Points outside the window are left to the line test (the reference plots them) and the fuzzers. A
// block ending on the last byte of video memory is drawn into; one byte further, and nothing is.
TEST(Pixels, RecordsPointingOutsideVideoMemoryDrawNothing) {
    StartToolkit();
    t_Window& v = OpenWindow(1, 32);
    std::tie(v.MemoryStart, v.MemoryEnd) = std::pair(kVideoMemorySize - 64 * 32 * 4, kVideoMemorySize - 1);
    t_Color(1, 4);
    g_Plot(1, 63, 31);
    EXPECT_EQ(VideoMemory[kVideoMemorySize - 2], 128);  // green, in the last pixel's third byte
    EXPECT_EQ(g_Scrn(1, 63, 31), t_PaletteColor(4));
    std::tie(v.MemoryStart, v.MemoryEnd) = std::pair(v.MemoryStart + 1, v.MemoryEnd + 1);
    const std::vector<std::uint8_t> first(Block(1), Block(1) + 4);
    g_Plot(1, 0, 0);
    EXPECT_EQ(g_Scrn(1, 63, 31), kBlack);
    EXPECT_EQ(std::vector<std::uint8_t>(Block(1), Block(1) + 4), first);
    // Beyond the end, before the start, and smaller than the geometry needs.
    const std::int64_t records[][3] = {{kVideoMemorySize - 16, kVideoMemorySize + 100000, 63},
                                       {-64, 64 * 32 * 4, 0},
                                       {0x100000, 0x100000 + 100, 63}};
    for (const auto& [start, end, x] : records) {
        std::tie(v.MemoryStart, v.MemoryEnd) = std::pair(start, end);
        g_Plot(1, x, x / 2);
    }
    EXPECT_EQ(VideoMemory[0x100000 + 64 * 32 * 4 - 1], 0xFF);
}

// Every pixel of the cleared rows must hold the depth's form of the colour, and nothing else may change:
// not the rows below, not the bytes around the block. Rows wide enough that the fill copies in pieces.
TEST(ClearScreen, FillsTheTopRowsOrTheWholeWindowAtEveryDepthAndNothingElse) {
    StartToolkit();
    OpenWindow(0, 4);  // window 1 has a neighbour below it
    // Depth, colour, rows asked, rows filled, the colour shown (0xAARRGGBB).
    const std::array<std::int64_t, 5> cases[] = {{1, 5, -1, 40, 0xFFFFFFFF},  {1, 0, 10, 10, 0xFF000000},
                                                 {4, 20, 0, 40, 0xFF008000},  {8, 15, 41, 40, 0x00FFFFFF},
                                                 {16, 1, 39, 39, 0xFF555555}, {24, 9, 17, 17, 0x00FF8000},
                                                 {24, 20, -1, 40, 0},         {32, 7, 1, 1, 0xFF0080FF}};
    for (const auto& [depth, colour, rows, filled, shown] : cases) {
        SCOPED_TRACE(testing::Message() << depth << " bits, colour " << colour << ", rows " << rows);
        OpenWindow(1, int(depth), 1024, 40);
        const std::size_t rowBytes = std::size_t(1024 * depth / 8);
        std::memset(Block(1) - 1, 0x5A, rowBytes * 40 + 2);  // with a guard byte either side
        g_ClearScreen(1, colour, rows);
        int wrong = Block(1)[-1] != 0x5A;
        for (int y = 0; y < filled; ++y)
            for (int x = 0; x < 1024; ++x) wrong += !(g_Scrn(1, x, y) == Argb(std::uint32_t(shown)));
        for (std::size_t i = rowBytes * std::size_t(filled); i <= rowBytes * 40; ++i)
            wrong += Block(1)[i] != 0x5A;
        EXPECT_EQ(wrong, 0);
    }
    // The last two rows in one run far longer than its copied pieces, then a grey, the same byte throughout.
    OpenWindow(1, 24, 4096, 40).RGBColor = {255, 1, 2, 3};
    Block(1)[4096 * 3 * 40] = 0x5A;
    vx::FillRect(1, -1, 38, 5000, 9);
    WindowTable[1].RGBColor = {255, 9, 9, 9};
    vx::FillRect(1, 4000, 39, 2, 1);
    const std::uint32_t c = 0x00010203, g = 0x00090909,
                        probes[][3] = {{0, 37, 0},    {2048, 38, c}, {3999, 39, c}, {4000, 39, g},
                                       {4001, 39, g}, {4002, 39, c}, {4095, 39, c}};
    for (const auto& [x, y, shown] : probes) EXPECT_EQ(g_Scrn(1, x, y), Argb(shown)) << x << "," << y;
    EXPECT_EQ(Block(1)[4096 * 3 * 40], 0x5A);
}

// The line exactly as described: every point through g_Plot, the running point added up step by step.
void ReferenceLine(std::uint8_t w, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
    const auto round = [](double v) { return std::int64_t(v + 0.5); };
    const std::int64_t n = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
    const double steps = double(std::max<std::int64_t>(n, 1));
    const double sx = double(x2 - x1) / steps, sy = double(y2 - y1) / steps;
    double px = double(x1), py = double(y1);
    for (std::int64_t i = 0; i < n; ++i, px += sx, py += sy) g_Plot(w, round(px), round(py));
    g_Plot(w, x2, y2);
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
    // The running point reaches (1, -1.5) exactly, which rounds to row -1: not plotted.
    const std::int64_t e = std::int64_t(1) << 40, outside = std::int64_t(OutsideChecksum(WindowTable[1]));
    g_Line(1, -2 * e, -e - 2, 2 * e, e - 2);
    EXPECT_EQ(std::int64_t(OutsideChecksum(WindowTable[1])), outside);
    // Running points exactly half a pixel beyond the left, right and bottom edge end these lines; the last
    // two touch the window in one pixel only, entering through the top or bottom a quarter pixel per step.
    const std::array<std::int64_t, 6> ends[] = {{3 + e, -2 * e, 3 - e, 2 * e, 0, 8},
                                                {60 - e, -2 * e, 60 + e, 2 * e, 63, 6},
                                                {-2 * e, -e, 2 * e, e, 62, 31},
                                                {-4 * e, -e - 17, 4 * e, e - 17, 63, 0},
                                                {-4 * e, e + 47, 4 * e, 47 - e, 63, 31}};
    for (const auto& [x1, y1, x2, y2, x, y] : ends) {
        g_Line(1, x1, y1, x2, y2);
        EXPECT_EQ(Pos(WindowTable[1].PositionX, WindowTable[1].PositionY), Pos(x, y)) << x1 << "," << y1;
    }
}

// Plotting at an illegal depth logs and still moves the position; a line does what plotting its points
// would, with one log line for the line; clearing draws nothing.
TEST(LineDrawing, AnIllegalDepthFollowsPlottingOneLogLinePerLineAndClearingDrawsNothing) {
    StartToolkit();
    t_Window& w = OpenWindow(0, 24, 64, 32);
    TakeLogLines();
    w.BitDepth = 12;
    const std::vector<std::string> illegal = {"g_Plot: Illegal bit depth (12)."};
    g_Plot(0, 7, 10);
    EXPECT_EQ(TakeLogLines(), illegal);
    g_Plot(0, 64, 10);  // one beyond the right or bottom edge: silent, and the position stays
    g_Plot(0, 5, 32);
    g_Line(0, -10, -10, -20, 50);  // misses the window: silent, the position stays where the plot put it
    EXPECT_TRUE(TakeLogLines().empty() && w.PositionX == 7);
    g_LineTo(0, 70, 73);  // crosses: the position ends at the last point inside
    EXPECT_EQ(std::pair(TakeLogLines(), Pos(w.PositionX, w.PositionY)), std::pair(illegal, Pos(28, 31)));
    w.BitDepth = 2;
    g_ClearScreen(0, 15, -1);
    EXPECT_EQ(std::count(Block(0), Block(0) + 64 * 32 * 3, 0), 64 * 32 * 3);
}

enum Kind { kRect, kFillRect, kEllipse, kFillEllipse, kLine };
struct Shape {
    Kind kind;
    std::int64_t a, b, c, d;  // x, y, width, height; centre x, centre y, radius x, radius y; or two ends
};

// The shapes pixel by pixel, as their documentation defines them.
bool Inside(const Shape& s, std::int64_t px, std::int64_t py) {
    using Wide = __int128;
    if (s.kind == kRect || s.kind == kFillRect)
        return px >= s.a && Wide(px) < Wide(s.a) + s.c && py >= s.b && Wide(py) < Wide(s.b) + s.d;
    const Wide dx = Wide(px) - s.a, dy = Wide(py) - s.b, across = 2 * Wide(s.c) + 1, down = 2 * Wide(s.d) + 1;
    if (dx > s.c || -dx > s.c || dy > s.d || -dy > s.d) return false;  // keeps the products below in range
    return 4 * dx * dx * down * down + 4 * dy * dy * across * across <= across * across * down * down;
}

bool OnShape(const Shape& s, std::int64_t px, std::int64_t py) {
    if (s.kind == kLine || !Inside(s, px, py)) return false;
    if (s.kind == kFillRect || s.kind == kFillEllipse) return true;
    return !Inside(s, px - 1, py) || !Inside(s, px + 1, py) || !Inside(s, px, py - 1) ||
           !Inside(s, px, py + 1);
}

void Draw(const Shape& s) {
    const bool round = s.c == s.d;
    if (s.kind == kRect) vx::DrawRect(1, s.a, s.b, s.c, s.d);
    if (s.kind == kFillRect) vx::FillRect(1, s.a, s.b, s.c, s.d);
    if (s.kind == kEllipse) round ? vx::Circle(1, s.a, s.b, s.c) : vx::Ellipse(1, s.a, s.b, s.c, s.d);
    if (s.kind == kFillEllipse)
        round ? vx::FillCircle(1, s.a, s.b, s.c) : vx::FillEllipse(1, s.a, s.b, s.c, s.d);
    if (s.kind == kLine) g_Line(1, s.a, s.b, s.c, s.d);
}

// Lines and shapes drawn by the fast path into window 1 and plotted point by point into window 0: under
// every drawing mode (XOR shows a pixel drawn twice), edges on the window's border and beyond it. First
// the lines random ends hardly ever give: one point, two neighbours, a start at -1 that rounds to column 0,
// where the second point lies too, and ends on the last column and row or one beyond; then two steps, one
// point under XOR, runs along column or row -1, and lines whose one coordinate stays on a row just inside
// while the other comes in from outside. Of the shapes added last, the first (whole rows from a lower row)
// falls under mixing and the last (an ellipse of zero half-width) under XOR, where drawing twice shows.
TEST(Shapes, LinesAndShapesMatchPlottingTheirPixelsAtEveryDepth) {
    StartToolkit();
    constexpr std::int64_t kMax = INT64_MAX, kMin = INT64_MIN;
    std::vector<Shape> shapes = {{kLine, 3, 3, 3, 3},    {kLine, 0, 0, 1, 0},     {kLine, 0, 0, 4, 2},
                                 {kLine, -1, 5, 4, 5},   {kLine, 0, 0, 63, 39},   {kLine, 63, 39, 0, 0},
                                 {kLine, 63, 0, 63, 39}, {kLine, 0, 39, 63, 39},  {kLine, 64, 39, 0, 39},
                                 {kLine, 63, 40, 63, 0}, {kLine, -1, -1, 64, 40}, {kLine, 5, 0, 0, 0},
                                 {kLine, 7, 3, 9, 4},    {kLine, 62, 5, 70, 5},   {kLine, 60, 3, 64, 3},
                                 {kLine, 5, 36, 5, 40},  {kLine, 9, 9, 9, 9},     {kLine, -1, 5, -1, 20},
                                 {kLine, 5, -1, 20, -1}, {kLine, -3, 39, 9, 40},  {kLine, -3, -1, 9, -2}};
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-90, 150);
    while (shapes.size() < 400)
        shapes.push_back(
            {kLine, coordinate(random), coordinate(random), coordinate(random), coordinate(random)});
    shapes.insert(
        shapes.end(),
        {{kRect, 0, 0, kW, kH},         {kFillRect, 0, 0, kW, kH},    {kRect, -1, -1, kW + 2, kH + 2},
         {kRect, 63, 39, 1, 1},         {kFillRect, 62, 38, 5, 5},    {kRect, 5, 7, 2, 9},
         {kRect, 9, 3, 13, 1},          {kFillRect, 3, 5, kMax, 2},   {kFillRect, kMin, kMin, kMax, kMax},
         {kRect, kMin, 2, kMax, kMax},  {kFillRect, 7, 1, 0, 5},      {kRect, 1, 1, 5, -3},
         {kFillRect, 1, 1, 1, 1},       {kEllipse, 32, 20, 0, 0},     {kEllipse, 32, 20, 1, 1},
         {kEllipse, 0, 0, 10, 10},      {kFillEllipse, 63, 39, 5, 5}, {kEllipse, 32, 20, 31, 19},
         {kFillEllipse, 32, 20, 0, 7},  {kEllipse, -3, 20, 6, 25},    {kEllipse, 32, 20, 40, 2},
         {kFillEllipse, kMax, 0, 5, 5}, {kEllipse, 20, kMin, 3, 3},   {kFillEllipse, 32, -19, 30, 19},
         {kFillRect, -5, 7, 80, 3},     {kFillRect, 1, 3, 63, 4},     {kFillRect, 0, 2, 63, 3},
         {kFillRect, 3, 5, kMin, 2},    {kEllipse, 20, 10, 1, 3},     {kRect, 20, 5, 3, 6},
         {kEllipse, 30, 12, 0, 4}});
    random.seed(11);
    std::uniform_int_distribution<int> place(-20, 80), extent(0, 50);
    while (shapes.size() < 550)
        shapes.push_back({Kind(random() % 4), place(random), place(random), extent(random), extent(random)});
    for (const int depth : {1, 4, 8, 16, 24, 32}) {
        for (std::uint8_t n : {0, 1}) OpenWindow(n, depth, kW, kH);
        SameNoise(depth, std::uint32_t(depth));
        for (std::size_t i = 0; i < shapes.size(); ++i) {
            const Shape& s = shapes[i];
            SCOPED_TRACE(testing::Message() << depth << " bits, shape " << i);
            SameColour(i);
            Draw(s);
            if (s.kind == kLine) ReferenceLine(0, s.a, s.b, s.c, s.d);
            for (std::int64_t i = 0; i < kW * kH; ++i)
                if (OnShape(s, i % kW, i / kW)) g_Plot(0, i % kW, i / kW);
            ASSERT_EQ(std::memcmp(Block(0), Block(1), BlockBytes(depth)), 0);
            // Lines come first, while the positions still agree.
            if (s.kind == kLine) {
                ASSERT_EQ(Pos(WindowTable[0].PositionX, WindowTable[0].PositionY),
                          Pos(WindowTable[1].PositionX, WindowTable[1].PositionY));
            }
        }
    }
}

TEST(Shapes, RefuseBadWindowsRadiiAndModesWithALine) {
    StartToolkit();
    t_Window& w = OpenWindow(1, 32);
    t_Color(1, 9);
    TakeLogLines();
    const std::pair<std::function<void()>, std::string> refusals[] = {
        {[] { vx::FillRect(8, 0, 0, 5, 5); }, "FillRect: Window is not a graphic window."},
        {[] { vx::FloodFill(2, 0, 0); }, "FloodFill: Graphic window #2 not initialized."},
        {[&w] {
             vx::Store(w.Initialized, false);
             vx::FloodFill(1, 0, 0);
             vx::Store(w.Initialized, true);
         },
         "FloodFill: Graphic window #1 not initialized."},
        {[] { vx::Circle(1, 5, 5, -1); }, "Circle: Radius out of range (-1)."},
        {[] { vx::Circle(2, 5, 5, -1); }, "Circle: Graphic window #2 not initialized."},
        {[] { vx::FillEllipse(1, 5, 5, 0, (1 << 24) + 1); }, "FillEllipse: Radius out of range (16777217)."},
        {[] { vx::Ellipse(1, 5, 5, -2, 3); }, "Ellipse: Radius out of range (-2)."},
        {[] { vx::Ellipse(1, 5, 5, 1 << 24, -1); }, "Ellipse: Radius out of range (-1)."},
        {[] { vx::CopyRect(1, 0, 0, 5, 5, 9, 0, 0); }, "CopyRect: Window is not a graphic window."},
        {[] { vx::CopyRect(2, 0, 0, 5, 5, 1, 0, 0); }, "CopyRect: Graphic window #2 not initialized."},
        {[] { vx::SetDrawMode(1, 8); }, "SetDrawMode: Illegal drawing mode (8)."},
        {[] { vx::SetDrawMode(3, 1); }, "SetDrawMode: Window #3 not initialized."}};
    for (const auto& [op, line] : refusals) {
        op();
        EXPECT_EQ(TakeLogLines(), std::vector{line});
    }
    EXPECT_EQ(g_Scrn(1, 5, 5), kBlack);
    EXPECT_EQ(std::pair(w.DrawingMode, WindowTable[3].DrawingMode), std::pair(0L, 0L));
    vx::Ellipse(1, 5, 5, 1 << 24, 3);  // the largest radii are no refusal
    vx::FillEllipse(1, 5, 5, 3, 1 << 24);
    EXPECT_TRUE(TakeLogLines().empty());
    for (const int mode : {7, 0}) {
        vx::SetDrawMode(1, mode);
        EXPECT_EQ(w.DrawingMode, mode);
    }
    // A record pointing outside video memory draws nothing anywhere, nor is it copied into.
    OpenWindow(0, 32);
    w.MemoryStart = kVideoMemorySize - 16;
    const std::uint64_t outside = OutsideChecksum(w);  // all of video memory: the record's block is empty
    vx::FillRect(1, 0, 0, 64, 32);
    vx::FloodFill(1, 0, 0);
    vx::CopyRect(1, 0, 0, 64, 32, 1, 1, 1);
    vx::CopyRect(0, 0, 0, 64, 32, 1, 0, 0);
    g_Line(1, 0, 0, 63, 31);
    g_ClearScreen(1, 7, -1);
    EXPECT_EQ(OutsideChecksum(w), outside);
    // 16- and 32-bit blocks at odd and half-word addresses: filled runs stay inside however the words
    // fall, and every pixel gets its bytes in order.
    w.RGBColor = {1, 2, 3, 4};
    for (const int depth : {16, 32})
        for (const std::int64_t at : {0x100001, 0x100002}) {
            const std::int64_t bytes = 64 * 32 * depth / 8;
            std::tie(w.BitDepth, w.MemoryStart, w.MemoryEnd) = std::tuple(depth, at, at + bytes - 1);
            VideoMemory[at - 1] = VideoMemory[at + bytes] = 0x5A;
            for (const std::int64_t x : {0, 1}) vx::FillRect(1, x, 0, 64, 32);
            EXPECT_EQ(Pos(VideoMemory[at - 1], VideoMemory[at + bytes]), Pos(0x5A, 0x5A)) << at;
            const t_RGBColor shown = depth == 16 ? t_RGBColor{1, 3, 3, 3} : t_RGBColor{1, 2, 3, 4};
            EXPECT_EQ(std::ranges::count(Pixels(1), shown), 64 * 32) << depth << " bits at " << at;
        }
}

// ---- Flood fill ----

// The area as a breadth-first search over g_Scrn (which tells stored values apart at every depth), each
// of its pixels plotted once.
void ReferenceFill(std::uint8_t n, std::int64_t sx, std::int64_t sy) {
    const t_RGBColor old = g_Scrn(n, sx, sy);
    std::vector<bool> seen(kW * kH);
    std::vector<std::pair<std::int64_t, std::int64_t>> queue = {{sx, sy}}, area;
    seen[std::size_t(sy * kW + sx)] = true;
    while (!queue.empty()) {
        const auto [x, y] = queue.back();
        queue.pop_back();
        area.push_back({x, y});
        for (const auto& [nx, ny] : {std::pair{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}}) {
            if (nx < 0 || ny < 0 || nx >= kW || ny >= kH || seen[std::size_t(ny * kW + nx)]) continue;
            if (!(g_Scrn(n, nx, ny) == old)) continue;
            seen[std::size_t(ny * kW + nx)] = true;
            queue.push_back({nx, ny});
        }
    }
    for (const auto& [x, y] : area) g_Plot(n, x, y);
}

// Mazes of two colours with seeds anywhere, in every mode: XOR with a colour that changes nothing must
// end at once, and a fill must not spread past pixels it has just changed.
TEST(FloodFill, FillsTheSameAreaAsASearchPixelByPixelAtEveryDepth) {
    StartToolkit();
    std::mt19937 random(5);
    for (const int depth : {1, 4, 8, 16, 24, 32}) {
        for (std::uint8_t n : {0, 1}) OpenWindow(n, depth, kW, kH);
        for (int round = 0; round < 60; ++round) {
            SCOPED_TRACE(testing::Message() << depth << " bits, round " << round);
            const int ground = round % 2 ? 15 : 0;
            for (std::uint8_t n : {0, 1}) g_ClearScreen(n, ground, -1);
            SameColour(ground ? 0 : 9);  // mode 0, unlike the ground at every depth
            // Walls of single pixels and short lines: pockets, spirals and runs that spill past their parent.
            for (int wall = 0; wall < 900; ++wall) {
                const auto x = std::int64_t(random() % kW), y = std::int64_t(random() % kH);
                const auto len = std::int64_t(random() % (wall % 2 ? 2 : 12));
                const bool across = random() & 1;
                for (std::uint8_t n : {0, 1}) g_Line(n, x, y, across ? x + len : x, across ? y : y + len);
            }
            SameColour(std::size_t(round));
            const auto sx = std::int64_t(random() % kW), sy = std::int64_t(random() % kH);
            ReferenceFill(0, sx, sy);
            vx::FloodFill(1, sx, sy);
            ASSERT_EQ(std::memcmp(Block(0), Block(1), BlockBytes(depth)), 0) << sx << "," << sy;
        }
        // Seeds one beyond the right edge or above the top fill nothing, whatever lies next to the block.
        for (const auto& [x, y] : {std::pair{64, 5}, {64, 20}, {5, -1}, {30, -1}}) vx::FloodFill(1, x, y);
        EXPECT_EQ(std::memcmp(Block(0), Block(1), BlockBytes(depth)), 0) << depth;
    }
}

// ---- Nearest palette entry ----

// The table of candidates per cell must give what searching all sixteen entries gives, ties included.
TEST(NearestPalette, AgreesWithSearchingEveryEntry) {
    int wrong = 0;
    for (int r = 0; r < 256; r += 3)
        for (int g = 0; g < 256; g += 1 + r % 5)
            for (int b = 0; b < 256; ++b) {
                int best = 0;
                long bestDistance = 1L << 40;
                for (int i = 0; i < 16; ++i) {
                    const long d = long(r - PaletteRed[i]) * (r - PaletteRed[i]) +
                                   long(g - PaletteGreen[i]) * (g - PaletteGreen[i]) +
                                   long(b - PaletteBlue[i]) * (b - PaletteBlue[i]);
                    if (d < bestDistance) best = i, bestDistance = d;
                }
                wrong += vx::NearestPaletteEntry(r, g, b) != best;
            }
    EXPECT_EQ(wrong, 0);
}

// ---- Copies ----

// Within one window, overlapping in every direction, clipped at every edge, on byte boundaries and off
// them: each target pixel shows what its source pixel showed before the copy, the rest is unchanged.
TEST(CopyRect, OverlappingCopiesInOneWindowMoveWhatWasThereBefore) {
    StartToolkit();
    const std::int64_t moves[][6] = {
        {10, 8, 20, 12, 13, 10}, {13, 10, 20, 12, 10, 8},  {0, 5, 64, 10, 5, 5},
        {5, 5, 64, 10, 0, 5},    {8, 0, 16, 40, 16, 3},    {16, 3, 16, 40, 8, 0},
        {-5, -3, 30, 20, 2, 9},  {50, 30, 30, 30, -7, -2}, {0, 0, 64, 40, 0, 0},
        {0, 0, 64, 40, 64, 0},   {3, 4, 0, 9, 6, 6},       {INT64_MIN, 0, INT64_MAX, 5, 0, 0},
        {0, 0, 9, 5, 0, 20},     {0, 0, 7, 3, 14, 30},
    };
    for (const int depth : {1, 4, 8, 16, 24, 32}) {
        const std::uint64_t outside = OutsideChecksum(OpenWindow(0, depth, kW, kH));
        for (const auto& m : moves) {
            SCOPED_TRACE(testing::Message() << depth << " bits, move " << &m - moves);
            SameNoise(depth, std::uint32_t(m[0] + 7 * m[5]), false);
            std::vector<t_RGBColor> expected = Pixels(0);
            const std::vector<t_RGBColor> before = expected;
            for (std::int64_t j = 0; j < m[3]; ++j)
                for (std::int64_t i = 0; i < m[2] && i < 200; ++i) {
                    const std::int64_t fx = m[0] + i, fy = m[1] + j, tx = m[4] + i, ty = m[5] + j;
                    if (fx >= 0 && fy >= 0 && fx < kW && fy < kH && tx >= 0 && ty >= 0 && tx < kW && ty < kH)
                        expected[std::size_t(ty * kW + tx)] = before[std::size_t(fy * kW + fx)];
                }
            vx::CopyRect(0, m[0], m[1], m[2], m[3], 0, m[4], m[5]);
            ASSERT_TRUE(Pixels(0) == expected);
        }
        EXPECT_EQ(OutsideChecksum(WindowTable[0]), outside) << depth;
    }
}

// Between depths each pixel is converted: nearest black or white, nearest palette entry, grey level,
// colour; alpha where the target keeps one.
TEST(CopyRect, BetweenDepthsConvertsEachPixel) {
    StartToolkit();
    OpenWindow(0, 32, kW, kH);
    OpenWindow(2, 4, kW, kH);
    // From x 3 on: alpha 40 and dark red, near white, (127, 127, 128), the red again and its complement.
    const char* row = "\x28\xC8\x1E\x1E\xFF\xC8\xC8\xC0\xFF\x7F\x7F\x80\x28\xC8\x1E\x1E\xD7\x37\xE1\xE1";
    std::memcpy(PixelBytes(WindowTable[0], 3, 2), row, 20);
    const std::tuple<int, t_RGBColor, t_RGBColor> rows[] = {
        {1, {255, 0, 0, 0}, {255, 255, 255, 255}},  {4, {255, 255, 0, 0}, {255, 168, 168, 168}},
        {8, {0, 86, 86, 86}, {0, 197, 197, 197}},   {16, {40, 86, 86, 86}, {255, 197, 197, 197}},
        {24, {0, 200, 30, 30}, {0, 200, 200, 192}}, {32, {40, 200, 30, 30}, {255, 200, 200, 192}}};
    for (const auto& [depth, red, white] : rows) {
        SCOPED_TRACE(depth);
        OpenWindow(1, depth, kW, kH);
        vx::CopyRect(0, 3, 2, 2, 1, 1, 7, 5);
        EXPECT_EQ(std::pair(g_Scrn(1, 7, 5), g_Scrn(1, 8, 5)), std::pair(red, white));
        EXPECT_EQ(g_Scrn(1, 9, 5), g_Scrn(1, 9, 4));  // untouched: as cleared
        vx::CopyRect(0, 6, 2, 2, 1, 1, 0, 2);
        EXPECT_EQ(g_Scrn(1, 0, 2), red);
        // Back into 32 bits: what the window shows, opaque where the depth keeps no alpha.
        vx::CopyRect(1, 7, 5, 2, 1, 0, 10, 2);
        for (const int i : {0, 1}) {
            t_RGBColor shown = g_Scrn(1, 7 + i, 5);
            shown.Alpha = depth == 8 || depth == 24 ? 255 : shown.Alpha;
            EXPECT_EQ(g_Scrn(0, 10 + i, 2), shown) << i;
        }
        // And from a palette window: entry 9 (orange) as itself, as its grey, or white (sum 383) on one bit.
        Block(2)[0] = 0x90;
        vx::CopyRect(2, 0, 0, 1, 1, 1, 0, 0);
        EXPECT_EQ(g_Scrn(1, 0, 0).Red, depth == 8 || depth == 16 ? 127 : 255) << "orange";
        vx::CopyRect(0, 5, 2, 1, 1, 1, 0, 1);  // (127, 127, 128) is black, one short of lighting
        EXPECT_TRUE(depth > 1 || g_Scrn(1, 0, 1).Red == 0);
    }
}

}  // namespace
