#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <set>
#include <utility>

#include "support/toolkit_test.h"
#include "vxtools/graphics.h"

namespace {

using namespace vx::test;

using Points = std::set<std::pair<int, int>>;

// A 24-bit window in XOR mode: a pixel plotted an even number of times shows no change.
void OpenXor(std::uint8_t n, int width = 64, int height = 32) {
    OpenWindow(n, 24, width, height);
    WindowTable[n].DrawingMode = 7;
    WindowTable[n].RGBColor = {255, 255, 255, 255};
}

Points LitPixels(std::uint8_t n) {
    Points lit;
    for (int y = 0; y < WindowTable[n].Height; ++y)
        for (int x = 0; x < WindowTable[n].Width; ++x)
            if (g_Scrn(n, x, y).Red != 0) lit.insert({x, y});
    return lit;
}

std::int64_t Round(double v) {
    return std::int64_t(v + 0.5);
}

// The line exactly as described: every point through g_Plot, the running point added up step by step.
void ReferenceLine(std::uint8_t w, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
    const std::int64_t dx = x2 - x1, dy = y2 - y1;
    const std::int64_t n = std::max(std::abs(dx), std::abs(dy));
    if (n >= 1) g_Plot(w, Round(double(x1)), Round(double(y1)));
    if (n >= 2) {
        const double sx = double(dx) / double(n), sy = double(dy) / double(n);
        double px = double(x1) + sx, py = double(y1) + sy;
        g_Plot(w, Round(px), Round(py));
        for (std::int64_t i = 0; i < n - 2; ++i) {
            px += sx;
            py += sy;
            g_Plot(w, Round(px), Round(py));
        }
    }
    g_Plot(w, x2, y2);
}

TEST(LineDrawing, StepsByRepeatedAdditionAndRoundsHalvesUpAndTowardZero) {
    vx::test::StartToolkit();
    OpenXor(0);
    struct Case {
        int x1, y1, x2, y2;
        Points lit;
    };
    const Case cases[] = {
        {3, 3, 3, 3, {{3, 3}}},  // coincident ends plot one pixel, neighbours two
        {0, 0, 1, 0, {{0, 0}, {1, 0}}},
        {0, 0, 4, 2, {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}},
        {-1, 5, 4, 5, {{1, 5}, {2, 5}, {3, 5}, {4, 5}}},  // -1 rounds to column 0, plotted twice
    };
    for (const Case& c : cases) {
        g_Line(0, c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(LitPixels(0), c.lit) << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
        g_Line(0, c.x1, c.y1, c.x2, c.y2);  // XOR: drawn again, gone
    }
}

TEST(LineDrawing, MatchesPlottingEveryPointAtEveryDepth) {
    vx::test::StartToolkit();
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-90, 150);
    for (int depth : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(depth);
        OpenWindow(0, depth, 64, 40);
        OpenWindow(1, depth, 64, 40);
        const std::size_t bytes = std::size_t(64 * 40 * depth / 8);
        for (int i = 0; i < 400; ++i) {
            const int x1 = coordinate(random), y1 = coordinate(random);
            const int x2 = coordinate(random), y2 = coordinate(random);
            for (std::uint8_t n : {0, 1}) {
                t_Color(n, i % 16);
                WindowTable[n].DrawingMode = i % 9;
                WindowTable[n].RGBColor = {std::uint8_t(i), std::uint8_t(3 * i), std::uint8_t(i ^ 0x55), 9};
            }
            ReferenceLine(0, x1, y1, x2, y2);
            g_Line(1, x1, y1, x2, y2);
            ASSERT_EQ(WindowTable[0].PositionX, WindowTable[1].PositionX)
                << x1 << "," << y1 << " " << x2 << "," << y2;
            ASSERT_EQ(WindowTable[0].PositionY, WindowTable[1].PositionY);
            ASSERT_EQ(std::memcmp(VideoMemory + WindowTable[0].MemoryStart,
                                  VideoMemory + WindowTable[1].MemoryStart, bytes),
                      0)
                << x1 << "," << y1 << " " << x2 << "," << y2;
        }
    }
}

TEST(LineDrawing, EndsInsideAndFarAwayEndsFinishDrawingOnlyWhatCrossesTheWindow) {
    vx::test::StartToolkit();
    OpenXor(0, 64, 32);
    g_Line(0, 60, 10, 70, 10);  // ends at the last point inside; LineTo continues there
    EXPECT_EQ(WindowTable[0].PositionX, 63);
    EXPECT_EQ(WindowTable[0].PositionY, 10);
    g_LineTo(0, 63, 12);
    EXPECT_EQ(WindowTable[0].PositionY, 12);
    EXPECT_EQ(LitPixels(0), (Points{{60, 10}, {61, 10}, {62, 10}, {63, 11}, {63, 12}}));
    OpenXor(1, 64, 32);
    g_Line(1, -(std::int64_t(1) << 40), 5, std::int64_t(1) << 40, 5);
    Points row;  // -1 and 0 both round to column 0, which is plotted twice and so shows nothing
    for (int x = 1; x < 64; ++x) row.insert({x, 5});
    EXPECT_EQ(LitPixels(1), row);
    const std::int64_t justUnder = (std::int64_t(1) << 40) - 1;
    g_Line(1, -justUnder, 7, justUnder, 7);
    for (int x = 1; x < 64; ++x) row.insert({x, 7});
    EXPECT_EQ(LitPixels(1), row);
    g_Line(1, INT64_MIN, INT64_MIN, INT64_MAX, INT64_MAX);
    g_Line(1, INT64_MAX, 0, INT64_MIN, 31);
    g_Line(1, 10, 10, 10, INT64_MAX);
    EXPECT_EQ(WindowTable[1].PositionX, 10);
    EXPECT_EQ(WindowTable[1].PositionY, 31);
}

TEST(LineDrawing, AnIllegalDepthFollowsPlottingOneLogLinePerLine) {
    vx::test::StartToolkit();
    OpenXor(0, 64, 32);
    vx::test::TakeLogLines();
    t_Window& w = WindowTable[0];
    w.BitDepth = 12;
    w.PositionX = 7;
    w.PositionY = 8;
    g_Line(0, -10, -10, -20, 50);  // misses the window: silent, the position stays
    g_Line(0, 100, 0, 200, 0);
    EXPECT_TRUE(TakeOwnLogLines().empty());
    EXPECT_EQ(w.PositionX, 7);
    EXPECT_EQ(w.PositionY, 8);
    g_Line(0, 60, 10, 70, 10);  // crosses: the position ends at the last point inside
    EXPECT_EQ(TakeOwnLogLines(), std::vector<std::string>{"g_Plot: Illegal bit depth (12)."});
    EXPECT_EQ(w.PositionX, 63);
    EXPECT_EQ(w.PositionY, 10);
    g_LineTo(0, 0, 0);
    EXPECT_EQ(TakeOwnLogLines(), std::vector<std::string>{"g_Plot: Illegal bit depth (12)."});
    EXPECT_EQ(w.PositionX, 0);
    w.BitDepth = 8;
    EXPECT_TRUE(LitPixels(0).empty());
}

}  // namespace
