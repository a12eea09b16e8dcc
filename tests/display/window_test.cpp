// The window table: windows placed in video memory, their geometry and visibility, the border, and the
// number format of the log lines.
#include "display/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "display/application_name.h"
#include "display/format_number.h"
#include "display/palette.h"
#include "display/window_init.h"
#include "support/toolkit_test.h"

namespace {

using namespace vx::test;

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

TEST(WindowInit, DemonstrationWindowTakesTheTopHalfMegabyteAndTouchesNothingElse) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    t_InitWindow(0, 4, false, 1024, 1024, 0, 0, t_Font{}, true);
    const t_Window& w = WindowTable[0];
    EXPECT_EQ((std::vector<std::int64_t>{w.MemoryStart, w.MemoryEnd, w.TextMemoryStart, HighMemory}),
              (std::vector<std::int64_t>{0xF80000, 0xFFFFFF, -1, 0xF7FFFF}));
    // The block is cleared to black and not a byte beside it is written (t_InitMemory filled all with 0xFF).
    EXPECT_EQ(std::count(VideoMemory + 0xF80000, VideoMemory + kVideoMemorySize, 0), 0x80000);
    EXPECT_EQ(std::count(VideoMemory, VideoMemory + 0xF80000, 0xFF), 0xF80000);
    platform.Flush();
    EXPECT_EQ(platform.Window(0).title, vx::ApplicationName() + "-Grafik");
}

TEST(WindowInit, AdjustsWidthsToWholeBytesAndRefusesOddDepthsAndMissingViews) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    const int cases[][3] = {
        {4, 1023, 1024}, {4, 1022, 1020}, {4, 34, 32}, {1, 33, 40}};  // depth, asked, given
    for (std::uint8_t n = 0; n < 4; ++n) {
        t_InitWindow(n, cases[n][0], false, cases[n][1], 64, 0, 0, t_Font{}, true);
        EXPECT_EQ(WindowTable[n].Width, cases[n][2]) << cases[n][1];
    }
    t_InitWindow(4, 8, false, 20, 9000, 0, 0, t_Font{}, true);
    EXPECT_EQ(WindowTable[4].Width, 1280);
    EXPECT_EQ(WindowTable[4].Height, 800);
    const std::int64_t high = HighMemory;
    t_InitWindow(5, 12, false, 64, 64, 0, 0, t_Font{}, true);
    EXPECT_FALSE(WindowTable[5].Initialized);
    EXPECT_EQ(HighMemory, high);
    // Without its view the window stays uninitialised, though its blocks are taken.
    platform.RemoveGraphicView(6);
    t_InitWindow(6, 8, false, 64, 64, 0, 0, TextFont(), true);
    EXPECT_FALSE(WindowTable[6].Initialized);
    EXPECT_LT(HighMemory, high);
}

TEST(WindowInit, RefusesWhatDoesNotFitAndAcceptsASmallerRequestAfterwards) {
    vx::test::StartToolkit();
    t_InitWindow(0, 32, false, 2048, 2048, 0, 0, t_Font{}, true);
    EXPECT_FALSE(WindowTable[0].Initialized);
    t_InitWindow(0, 32, false, 2048, 1024, 0, 0, t_Font{}, true);
    EXPECT_TRUE(WindowTable[0].Initialized);
    EXPECT_GE(WindowTable[0].MemoryStart, 0x10000);
}

// Regression: the mask lowers the graphic block by 2 KiB, so a text block that fits by the plain
// arithmetic used to reach into the reserved bytes.
TEST(WindowInit, NeverPlacesATextBlockInTheReservedBytes) {
    vx::test::StartToolkit();
    EnsureMemory();
    HighMemory = 0x13FFF;
    t_Font font;
    font.Width = 1;
    font.Height = 1;
    font.Data.assign(1, 0);
    t_InitWindow(0, 1, false, 112, 64, 0, 0, font, true);
    EXPECT_FALSE(WindowTable[0].Initialized);
    EXPECT_EQ(HighMemory, 0x13FFF);
    t_InitWindow(0, 1, false, 112, 32, 0, 0, font, true);
    EXPECT_TRUE(WindowTable[0].Initialized);
    EXPECT_GE(WindowTable[0].TextMemoryStart, 0x10000);
}

TEST(WindowInit, TextLayerGetsABlockBelowTheGraphicBlockAndClearingStaysInsideBoth) {
    vx::test::StartToolkit();
    t_InitWindow(1, 8, true, 320, 200, 0, 0, TextFont(), true);
    t_Window& w = WindowTable[1];
    EXPECT_EQ(w.TextMemoryEnd, w.MemoryStart - 1);
    const std::int64_t half = (w.TextMemoryEnd - w.TextMemoryStart + 1) / 2;
    EXPECT_GE(half, 40 * 12);
    EXPECT_EQ(VideoMemory[w.TextMemoryStart + 40 * 12 - 1], ' ');
    EXPECT_EQ(VideoMemory[w.TextMemoryStart + half], 192);

    // A record whose text does not fit its colour half, or whose graphic block is one byte short of its
    // pixels, is not cleared at all.
    const std::uint64_t outside = OutsideChecksum(w);
    const std::int64_t start = w.TextMemoryStart, end = w.MemoryEnd, lines = w.TextHeight;
    std::memset(VideoMemory + start, 'A', std::size_t(end - start + 1));
    w.TextHeight = half / 40 + 1;
    w.MemoryEnd = w.MemoryStart + 320 * 200 - 2;
    ClearWindowMemory(1);
    w.TextHeight = lines;
    w.MemoryEnd = end;
    EXPECT_EQ(std::count(VideoMemory + start, VideoMemory + end + 1, 'A'), end - start + 1);
    EXPECT_EQ(OutsideChecksum(w), outside);
}

// Re-initialising a window in the middle slides the blocks below it up; their bytes must survive.
TEST(WindowInit, ReinitialisingAWindowKeepsEveryOtherWindowsBytes) {
    vx::test::StartToolkit();
    const int depths[5] = {4, 32, 1, 24, 8};
    for (std::uint8_t n = 0; n < 5; ++n)
        t_InitWindow(n, depths[n], false, 96, 40 + 8 * n, 0, 0, n == 3 ? TextFont() : t_Font{}, true);
    const auto blocks = [] {
        std::vector<std::vector<std::uint8_t>> bytes;
        for (const t_Window* w : {&WindowTable[0], &WindowTable[2], &WindowTable[3], &WindowTable[4]})
            bytes.emplace_back(VideoMemory + (w->TextMemoryStart >= 0 ? w->TextMemoryStart : w->MemoryStart),
                               VideoMemory + w->MemoryEnd + 1);
        return bytes;
    };
    for (std::int64_t i = HighMemory + 1; i < kVideoMemorySize; ++i)
        VideoMemory[i] = std::uint8_t(i * 7 + i / 97);
    const auto before = blocks();
    const std::int64_t freed = WindowTable[1].MemoryEnd - WindowTable[1].MemoryStart + 1;
    const std::int64_t high = HighMemory, start4 = WindowTable[4].MemoryStart;

    t_InitWindow(1, 16, false, 64, 64, 0, 0, t_Font{}, true);
    EXPECT_EQ(WindowTable[4].MemoryStart, start4 + freed);
    EXPECT_EQ(WindowTable[1].MemoryEnd, high + freed);
    EXPECT_EQ(WindowTable[3].TextMemoryEnd + 1, WindowTable[3].MemoryStart);
    EXPECT_TRUE(blocks() == before);
}

// What t_WindowPos answers for each selector.
void ExpectPositions(std::uint8_t n, std::initializer_list<std::pair<int, std::int64_t>> cases) {
    for (auto [selector, expected] : cases) EXPECT_EQ(t_WindowPos(n, selector), expected) << selector;
}

TEST(WindowGeometry, AnswersFromTheFrameBeforeMemoryAndForOtherWindowsAndFromTheRecordAfterwards) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    TitleBarHeight = 22;
    platform.SetWindowFrame(0, {5.7, 9.2, 300.9, 220.4});
    ExpectPositions(0, {{0, 0}, {8, 300}, {9, 198}, {13, 5}});
    platform.SetWindowFrame(9, {0, 0, 600, 420});
    ExpectPositions(9, {{2, 599}, {3, 419}, {5, 420}, {0, 0}, {11, 398}, {18, 0}});

    t_InitWindow(1, 4, false, 1024, 1024, 10, 6, t_Font{}, true);
    WindowTable[1].TextFirstColumn = 3;
    WindowTable[1].TextLastColumn = 40;
    ExpectPositions(1, {{4, 38}, {6, -1}, {8, 1024}, {9, 1024}, {10, 1044}, {11, 1036}, {12, 1058}});
    ExpectPositions(1, {{17, 22}, {18, 10}, {19, 6}, {21, 0}, {-1, 0}});
    platform.SetWindowFrame(1, {30, 100, 1044, 1058});
    ExpectPositions(1, {{13, 30}, {20, 100}, {14, 1200 - 100 - 1058}, {15, 1920}, {16, 1200}});
    t_WindowTitleVisible(1, false);
    EXPECT_EQ(t_WindowPos(1, 12), 1058 - 22);
    EXPECT_EQ(platform.Window(1).styleMask, 0);
    // Borders of -1 fill the screen around the window.
    t_InitWindow(2, 8, false, 640, 400, -1, -1, t_Font{}, false);
    ExpectPositions(2, {{17, 0}, {18, 1920 - 640}, {19, 1200 - 400}});
}

// Regression: borders and frames near the 64-bit limits used to overflow the sums.
TEST(WindowGeometry, AbsurdBordersAndFramesSaturateInsteadOfOverflowing) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    t_InitWindow(1, 8, false, 64, 64, kMax, kMax - 5, t_Font{}, true);
    ExpectPositions(1, {{10, kMax}, {12, kMax}, {18, kMax}, {19, kMax - 5}});
    t_WindowSize(1, -1, -1, kMax, kMin);
    platform.SetWindowFrame(9, {1e300, -1e300, 1e300, 1e19});
    ExpectPositions(9, {{2, kMax - 1}, {13, kMax}, {20, kMin}});
}

TEST(WindowGeometry, SizeKeepsWhatIsMinusOneAndPutsTheBorderAroundAndSizesScrollViews) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    TitleBarHeight = 22;
    t_InitWindow(2, 8, false, 320, 200, 8, 4, t_Font{}, true);
    platform.SetWindowFrame(2, {40, 50, 999, 999});
    t_WindowSize(2, -1, -1, -1, -1);
    EXPECT_EQ(platform.Window(2).frame, (vx::Rect{40, 50, 336, 230}));
    t_WindowSize(2, 0, -5, 640, 400);
    EXPECT_EQ(platform.Window(2).frame, (vx::Rect{0, -5, 656, 430}));
    EXPECT_EQ(platform.View(2).frame, (vx::Rect{8, 4, 640, 400}));
    t_WindowSize(9, 10, 20, 600, 400);
    EXPECT_EQ(platform.Window(9).frame, (vx::Rect{10, 20, 600, 422}));
    EXPECT_EQ(platform.TextView(9).scrollFrame.width, 560);
    EXPECT_EQ(platform.TextView(9).scrollFrame.height, 323);
}

TEST(WindowVisibility, ShowsHidesKeepsTheRecordInStepAndLeavesTheMainWindowOnScreen) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    t_InitWindow(3, 8, false, 64, 32, 0, 0, t_Font{}, true);
    t_WindowFront(3);
    platform.Flush();
    EXPECT_TRUE(platform.Window(3).key);
    EXPECT_TRUE(WindowTable[3].Visible);
    t_WindowVisible(3, false);
    EXPECT_FALSE(platform.Window(3).visible || WindowTable[3].Visible);
    // Window 3 was the last one on screen: the main window took its place.
    EXPECT_TRUE(platform.Window(12).visible);
}

TEST(Border, TakesTheLowFourBitsForTheRecordAndTheBackgroundAndFullAreaRestoresTheTextArea) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    t_InitWindow(2, 8, false, 320, 200, 4, 4, vx::test::TextFont(), true);
    EXPECT_EQ(WindowTable[2].RGBColorBorder, t_PaletteColor(5));
    t_ColorBorder(2, 16 + 9);
    EXPECT_EQ(WindowTable[2].RGBColorBorder, t_PaletteColor(9));
    const vx::HeadlessWindowState state = platform.Window(2);
    EXPECT_EQ(std::vector<double>(state.background, state.background + 4),
              (std::vector<double>{1.0, 128 / 255.0, 0.0, 1.0}));
    t_Window& w = WindowTable[2];
    SetTextArea(w, 5, 9, 2, 3);
    t_FullArea(2);
    EXPECT_EQ(
        (std::vector<std::int64_t>{w.TextFirstColumn, w.TextLastColumn, w.TextFirstLine, w.TextLastLine}),
        (std::vector<std::int64_t>{1, 40, 1, 12}));
}

TEST(FormatNumber, WritesCutCommaDecimalsGroupedThousandsAndPlainDigits) {
    struct Case {
        double value;
        int base, width, decimals;
        bool group;
        const char* expect;
    };
    const double inf = std::numeric_limits<double>::infinity(),
                 nan = std::numeric_limits<double>::quiet_NaN();
    // Decimals are cut, not rounded; the sign stays apart from the groups; the fill goes before it;
    // negative decimals strip trailing zeros; exponents are written out.
    // clang-format off
    const Case cases[] = {
        {512.0, 32, 1, 2, true, "512,00"}, {1536.5, 32, 1, 2, true, "1.536,50"},
        {0.125, 32, 1, 2, true, "0,12"}, {2.999, 32, 1, 1, false, "2,9"}, {7.25, 32, 1, 0, false, "7"},
        {-1234, 32, 1, 0, true, "-1.234"},
        {1234567, 32, 1, 0, true, "1.234.567"}, {123456, 32, 1, 0, true, "123.456"},
        {1234567, 32, 1, 0, false, "1234567"}, {0.25, 32, 8, 2, false, "       0,25"},
        {-5, 48, 4, 0, false, "00-5"}, {5, -1, 4, 0, false, "5"}, {2.5, 32, 1, -3, false, "2,5"},
        {2.0, 32, 1, -3, false, "2"}, {1.5e16, 32, 1, 0, false, "15000000000000000"},
        {1e-05, 32, 1, 5, false, "0,00001"}, {1e-05, 32, 1, 2, false, "0,00"},
        {-2.5e-7, 32, 1, -9, false, "-0,00000025"}, {inf, 32, 8, 2, true, "inf"},
        {nan, 32, 8, 2, true, "nan"}};
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(FormatNumber(c.value, c.base, c.width, c.decimals, c.group), c.expect) << c.value;
    EXPECT_EQ(FormatNumber(5, 32, 1 << 30, 0, false).size(), std::size_t((1 << 16) + 1));
    // Regression: decimals over the whole 64-bit range are bounded like the padding, and negating them
    // no longer overflows.
    EXPECT_EQ(FormatNumber(2.5, 32, 1, kMin, false), "2,5");
    EXPECT_EQ(FormatNumber(2.5, 32, 1, kMax, false).size(), std::size_t(2 + (1 << 16)));
}

}  // namespace
