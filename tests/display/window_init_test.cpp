#include "display/window_init.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "core/log.h"
#include "core/strings.h"
#include "display/application_name.h"
#include "support/toolkit_test.h"
#include "vxtools/graphics.h"

namespace {

using namespace vx::test;

TEST(WindowInit, DemonstrationWindowTakesTheTopHalfMegabyteAndTouchesNothingElse) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    t_InitWindow(0, 4, false, 1024, 1024, 0, 0, t_Font{}, true);
    EXPECT_EQ(
        CountLogLine("t_InitWindow: GraphicWindow #0 = 1024 x 1024 pixel x 4 bit = 512,00K video-memory = "
                     "$00F80000."),
        1);
    const t_Window& w = WindowTable[0];
    EXPECT_EQ((std::vector<std::int64_t>{w.MemoryStart, w.MemoryEnd, w.TextMemoryStart, HighMemory}),
              (std::vector<std::int64_t>{0xF80000, 0xFFFFFF, -1, 0xF7FFFF}));
    // The block is cleared to black and not a byte beside it is written (t_InitMemory filled all with 0xFF).
    EXPECT_EQ(std::count(VideoMemory + 0xF80000, VideoMemory + kVideoMemorySize, 0), 0x80000);
    EXPECT_EQ(std::count(VideoMemory, VideoMemory + 0xF80000, 0xFF), 0xF80000);
    platform.Flush();
    EXPECT_EQ(platform.Window(0).title, vx::ApplicationName() + "-Grafik");
}

TEST(WindowInit, AdjustsWidthsToWholeBytesAndRefusesOddSizesDepthsWindowsAndMissingViews) {
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
    EXPECT_EQ(CountLogLine("t_InitWindow: GraphicWindow #5 unsupported 12 bit depth."), 1);
    EXPECT_FALSE(WindowTable[5].Initialized);
    EXPECT_EQ(HighMemory, high);
    t_InitWindow(8, 8, false, 64, 64, 0, 0, t_Font{}, true);
    EXPECT_EQ(CountLogLine("t_InitWindow: Window is not a graphic window."), 1);
    // Without its view the window stays uninitialised, though its blocks are taken.
    platform.RemoveGraphicView(6);
    t_InitWindow(6, 8, false, 64, 64, 0, 0, TextFont(), true);
    EXPECT_FALSE(WindowTable[6].Initialized);
    EXPECT_TRUE(WindowTable[6].Font.Data.empty());
    EXPECT_LT(HighMemory, high);
    EXPECT_EQ(CountLogLine("t_InitWindow: GraphicWindow #6 could not be initialized, resource undefined."),
              1);
}

TEST(WindowInit, RefusesWhatDoesNotFitAndAcceptsASmallerRequestAfterwards) {
    vx::test::StartToolkit();
    t_InitWindow(0, 32, false, 2048, 2048, 0, 0, t_Font{}, true);
    EXPECT_EQ(CountLogLine(
                  "t_InitWindow: GraphicWindow #0 has not enough graphic-video-memory (16319K available)."),
              1);
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
    EXPECT_EQ(
        CountLogLine("t_InitWindow: GraphicWindow #0 has not enough text-video-memory (13K available)."), 1);
    t_InitWindow(0, 1, false, 112, 32, 0, 0, font, true);
    EXPECT_TRUE(WindowTable[0].Initialized);
    EXPECT_GE(WindowTable[0].TextMemoryStart, 0x10000);
}

TEST(WindowInit, TextLayerGetsABlockBelowTheGraphicBlockAndClearingStaysInsideBoth) {
    vx::test::StartToolkit();
    t_InitWindow(1, 8, true, 320, 200, 0, 0, TextFont(), true);
    t_Window& w = WindowTable[1];
    EXPECT_EQ(w.TextWidth, 40);
    EXPECT_EQ(w.TextHeight, 12);
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

TEST(WindowInit, HiddenTitleAndComputedBorders) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    TitleBarHeight = 22;
    t_InitWindow(2, 8, false, 640, 400, -1, -1, t_Font{}, false);
    const t_Window& w = WindowTable[2];
    EXPECT_EQ((std::vector<std::int64_t>{w.TitleHeight, w.BorderWidth, w.BorderHeight}),
              (std::vector<std::int64_t>{0, 1920 - 640, 1200 - 400}));
    EXPECT_EQ(platform.Window(2).styleMask, 0);
    t_InitWindow(2, 8, false, 640, 400, 10, 20, t_Font{}, true);
    EXPECT_EQ(platform.Window(2).styleMask, 7);
    EXPECT_EQ(platform.Window(2).frame.height, 400 + 22 + 40);
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
    const std::int64_t high = HighMemory, start4 = WindowTable[4].MemoryStart,
                       end4 = WindowTable[4].MemoryEnd;

    t_InitWindow(1, 16, false, 64, 64, 0, 0, t_Font{}, true);
    EXPECT_EQ(CountLogLine("t_InitWindow: GraphicWindow #1 moving graphic block for win #4$" +
                           HexString(start4) + "..." + HexString(end4) + " to" + HexString(start4 + freed) +
                           "..." + HexString(end4 + freed)),
              1);
    EXPECT_EQ(WindowTable[4].MemoryStart, start4 + freed);
    EXPECT_EQ(WindowTable[1].MemoryEnd, high + freed);
    EXPECT_EQ(WindowTable[3].TextMemoryEnd + 1, WindowTable[3].MemoryStart);
    EXPECT_TRUE(blocks() == before);
}

}  // namespace

TEST(WindowInit, WithoutAnApplicationSaysOnceWhatToDo) {
    // No platform at all, as in a program that draws from main.
    vx::StartLogCapture();
    t_InitWindow(0, 4, false, 64, 64, 0, 0, t_Font{}, true);
    t_InitWindow(1, 4, false, 64, 64, 0, 0, t_Font{}, true);
    EXPECT_FALSE(WindowTable[1].Initialized);
    int explanations = 0;
    for (const std::string& line : vx::test::TakeLogLines())
        if (line.find("vx::RunApplication(argc, argv, program)") != std::string::npos) ++explanations;
    EXPECT_EQ(explanations, 1);
}
