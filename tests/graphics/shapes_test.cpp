#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

#include "display/palette.h"
#include "graphics/spans.h"
#include "support/toolkit_test.h"
#include "vxtools/extensions.h"
#include "vxtools/graphics.h"

namespace {

using namespace vx::test;

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
        t_Color(n, std::int64_t(i % 16));
        WindowTable[n].RGBColor = {std::uint8_t(40 * i), std::uint8_t(7 * i), std::uint8_t(i ^ 0xA5), 200};
        WindowTable[n].DrawingMode = std::int64_t(i % 9);
    }
}

enum Kind { kRect, kFillRect, kEllipse, kFillEllipse };
struct Shape {
    Kind kind;
    std::int64_t a, b, c, d;  // x, y, width, height; or centre x, centre y, radius x, radius y
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
    if (!Inside(s, px, py)) return false;
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
}

// Each shape drawn by the fast path into window 1 and plotted point by point into window 0: under
// every drawing mode (XOR shows a pixel drawn twice), edges on the window's border and beyond it.
TEST(Shapes, MatchPlottingTheirPixelsAtEveryDepth) {
    StartToolkit();
    constexpr std::int64_t kMax = INT64_MAX, kMin = INT64_MIN;
    std::vector<Shape> shapes = {
        {kRect, 0, 0, kW, kH},         {kFillRect, 0, 0, kW, kH},    {kRect, -1, -1, kW + 2, kH + 2},
        {kRect, 63, 39, 1, 1},         {kFillRect, 62, 38, 5, 5},    {kRect, 5, 7, 2, 9},
        {kRect, 9, 3, 13, 1},          {kFillRect, 3, 5, kMax, 2},   {kFillRect, kMin, kMin, kMax, kMax},
        {kRect, kMin, 2, kMax, kMax},  {kFillRect, 7, 1, 0, 5},      {kRect, 1, 1, 5, -3},
        {kFillRect, 1, 1, 1, 1},       {kEllipse, 32, 20, 0, 0},     {kEllipse, 32, 20, 1, 1},
        {kEllipse, 0, 0, 10, 10},      {kFillEllipse, 63, 39, 5, 5}, {kEllipse, 32, 20, 31, 19},
        {kFillEllipse, 32, 20, 0, 7},  {kEllipse, -3, 20, 6, 25},    {kEllipse, 32, 20, 40, 2},
        {kFillEllipse, kMax, 0, 5, 5}, {kEllipse, 20, kMin, 3, 3},   {kFillEllipse, 32, -19, 30, 19},
    };
    std::mt19937 random(11);
    std::uniform_int_distribution<int> place(-20, 80), extent(0, 50);
    while (shapes.size() < 150)
        shapes.push_back({Kind(random() % 4), place(random), place(random), extent(random), extent(random)});
    for (const int depth : {1, 4, 8, 16, 24, 32}) {
        for (std::uint8_t n : {0, 1}) OpenWindow(n, depth, kW, kH);
        SameNoise(depth, std::uint32_t(depth));
        for (std::size_t i = 0; i < shapes.size(); ++i) {
            const Shape& s = shapes[i];
            SCOPED_TRACE(testing::Message() << depth << " bits, shape " << i);
            SameColour(i);
            Draw(s);
            for (std::int64_t i = 0; i < kW * kH; ++i)
                if (OnShape(s, i % kW, i / kW)) g_Plot(0, i % kW, i / kW);
            ASSERT_EQ(std::memcmp(Block(0), Block(1), BlockBytes(depth)), 0);
        }
    }
}

TEST(Shapes, RefuseBadWindowsRadiiAndModesWithALine) {
    StartToolkit();
    t_Window& w = OpenWindow(1, 32);
    TakeOwnLogLines();
    const std::pair<std::function<void()>, std::string> refusals[] = {
        {[] { vx::FillRect(8, 0, 0, 5, 5); }, "FillRect: Window is not a graphic window."},
        {[] { vx::FloodFill(2, 0, 0); }, "FloodFill: Graphic window #2 not initialized."},
        {[] { vx::Circle(1, 5, 5, -1); }, "Circle: Radius out of range (-1)."},
        {[] { vx::FillEllipse(1, 5, 5, 3, (1 << 24) + 1); }, "FillEllipse: Radius out of range (16777217)."},
        {[] { vx::CopyRect(1, 0, 0, 5, 5, 9, 0, 0); }, "CopyRect: Window is not a graphic window."},
        {[] { vx::SetDrawMode(1, 8); }, "SetDrawMode: Illegal drawing mode (8)."},
        {[] { vx::SetDrawMode(3, 1); }, "SetDrawMode: Window #3 not initialized."}};
    for (const auto& [op, line] : refusals) {
        op();
        EXPECT_EQ(TakeOwnLogLines(), std::vector{line});
    }
    EXPECT_EQ(w.DrawingMode, 0);
    vx::SetDrawMode(1, 7);
    EXPECT_EQ(w.DrawingMode, 7);
    // A record pointing outside video memory draws nothing anywhere.
    w.MemoryStart = kVideoMemorySize - 16;
    const std::uint64_t outside = OutsideChecksum(w);  // all of video memory: the record's block is empty
    vx::FillRect(1, 0, 0, 64, 32);
    vx::FloodFill(1, 0, 0);
    vx::CopyRect(1, 0, 0, 64, 32, 1, 1, 1);
    EXPECT_EQ(OutsideChecksum(w), outside);
    // 16-bit blocks at odd and half-word addresses: filled runs stay inside however the words fall.
    w.BitDepth = 16;
    for (const std::int64_t at : {0x100001, 0x100002}) {
        w.MemoryStart = at;
        w.MemoryEnd = at + 64 * 32 * 2 - 1;
        VideoMemory[at - 1] = VideoMemory[at + 64 * 32 * 2] = 0x5A;
        for (const std::int64_t x : {0, 1}) vx::FillRect(1, x, 0, 64, 32);
        EXPECT_EQ(VideoMemory[at - 1], 0x5A) << at;
        EXPECT_EQ(VideoMemory[at + 64 * 32 * 2], 0x5A) << at;
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
    };
    for (const int depth : {1, 4, 8, 16, 24, 32}) {
        OpenWindow(0, depth, kW, kH);
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
    }
}

// Between depths each pixel is converted: nearest black or white, nearest palette entry, grey level,
// colour; alpha where the target keeps one.
TEST(CopyRect, BetweenDepthsConvertsEachPixel) {
    StartToolkit();
    OpenWindow(0, 32, kW, kH);
    OpenWindow(2, 4, kW, kH);
    std::memcpy(PixelBytes(WindowTable[0], 3, 2), "\x28\xC8\x1E\x1E", 4);  // alpha 40, dark red
    std::memcpy(PixelBytes(WindowTable[0], 4, 2), "\xFF\xC8\xC8\xC0", 4);  // near white
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
        // And from a palette window: entry 9 (orange) as itself, as its grey, or white (sum 383) on one bit.
        Block(2)[0] = 0x90;
        vx::CopyRect(2, 0, 0, 1, 1, 1, 0, 0);
        EXPECT_EQ(g_Scrn(1, 0, 0).Red, depth == 8 || depth == 16 ? 127 : 255) << "orange";
    }
}

}  // namespace
