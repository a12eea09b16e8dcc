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

TEST(WindowInit, DemonstrationWindowTakesTheTopHalfMegabyte) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    t_InitWindow(0, 4, false, 1024, 1024, 0, 0, t_Font{}, true);
    EXPECT_EQ(CountLogLine("t_InitWindow: GraphicWindow #0 Start."), 1);
    EXPECT_EQ(
        CountLogLine("t_InitWindow: GraphicWindow #0 = 1024 x 1024 pixel x 4 bit = 512,00K video-memory = "
                     "$00F80000."),
        1);
    EXPECT_EQ(CountLogLine("t_InitWindow: GraphicWindow #0 End."), 1);
    const t_Window& w = WindowTable[0];
    EXPECT_TRUE(w.Initialized && w.QuickUpdate);
    EXPECT_EQ(
        (std::vector<std::int64_t>{w.MemoryStart, w.MemoryEnd, w.TextMemoryStart, w.TextWidth, w.TextHeight,
                                   HighMemory, FirstWindow.load(), w.TextColor, w.RefreshRate}),
        (std::vector<std::int64_t>{0xF80000, 0xFFFFFF, -1, -1, -1, 0xF7FFFF, 0, 192, 30}));
    EXPECT_EQ(VideoMemory[0xF80000], 0);
    EXPECT_EQ(VideoMemory[0xFFFFFF], 0);
    platform.Flush();
    EXPECT_EQ(platform.Window(0).title, vx::ApplicationName() + "-Grafik");
    EXPECT_EQ(platform.Window(0).frame.width, 1024);
    EXPECT_EQ(platform.View(0).frame, (vx::Rect{0, 0, 1024, 1024}));
}

TEST(WindowInit, AdjustsWidthsToWholeBytesAndRefusesOddSizes) {
    vx::test::StartToolkit();
    const int cases[][3] = {
        {4, 1023, 1024}, {4, 1022, 1020}, {4, 34, 32}, {1, 33, 40}};  // depth, asked, given
    for (std::uint8_t n = 0; n < 4; ++n) {
        t_InitWindow(n, cases[n][0], false, cases[n][1], 64, 0, 0, t_Font{}, true);
        EXPECT_EQ(WindowTable[n].Width, cases[n][2]) << cases[n][1];
    }
    EXPECT_EQ(CountLogLine("t_InitWindow: GraphicWindow #0 width with 4 bit depth must be a multiple of 4."),
              1);
    EXPECT_EQ(CountLogLine("t_InitWindow: GraphicWindow #3 width with 1 bit depth must be a multiple of 8."),
              1);
    t_InitWindow(4, 8, false, 20, 9000, 0, 0, t_Font{}, true);
    EXPECT_EQ(CountLogLine("t_InitWindow: GraphicWindow #4 cannot display 20 horizontal pixel."), 1);
    EXPECT_EQ(CountLogLine("t_InitWindow: GraphicWindow #4 cannot display 9000 vertical pixel."), 1);
    EXPECT_EQ(WindowTable[4].Width, 1280);
    EXPECT_EQ(WindowTable[4].Height, 800);
}

TEST(WindowInit, RefusesOtherWindowsAndDepths) {
    vx::test::StartToolkit();
    t_InitWindow(8, 8, false, 64, 64, 0, 0, t_Font{}, true);
    EXPECT_EQ(vx::test::TakeLogLines(),
              std::vector<std::string>{"t_InitWindow: Window is not a graphic window."});
    t_InitWindow(5, 12, false, 64, 64, 0, 0, t_Font{}, true);
    EXPECT_EQ(CountLogLine("t_InitWindow: GraphicWindow #5 unsupported 12 bit depth."), 1);
    EXPECT_FALSE(WindowTable[5].Initialized);
    EXPECT_EQ(HighMemory, 0xFFFFFF);
}

TEST(WindowInit, RefusesWhatDoesNotFitAndAcceptsASmallerRequestAfterwards) {
    vx::test::StartToolkit();
    t_InitWindow(0, 32, false, 2048, 2048, 0, 0, t_Font{}, true);
    EXPECT_EQ(CountLogLine(
                  "t_InitWindow: GraphicWindow #0 has not enough graphic-video-memory (16319K available)."),
              1);
    EXPECT_EQ(
        CountLogLine("t_InitWindow: Displaying 2048 x 2048 pixel x 32 bit needs 16.384,00K video-memory."),
        1);
    EXPECT_FALSE(WindowTable[0].Initialized);
    t_InitWindow(0, 32, false, 2048, 1024, 0, 0, t_Font{}, true);
    EXPECT_TRUE(WindowTable[0].Initialized);
    EXPECT_GE(WindowTable[0].MemoryStart, 0x10000);
}

TEST(WindowInit, NeverPlacesATextBlockInTheReservedBytes) {
    vx::test::StartToolkit();
    EnsureMemory();
    // The mask lowers the graphic block by 2 KiB, so the text block that would fit by the plain
    // arithmetic would reach into the reserved bytes.
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
    EXPECT_EQ(CountLogLine("t_InitWindow: Displaying 112 x 64 characters needs 14,00K text-video-memory."),
              1);
    t_InitWindow(0, 1, false, 112, 32, 0, 0, font, true);
    EXPECT_TRUE(WindowTable[0].Initialized);
    EXPECT_GE(WindowTable[0].TextMemoryStart, 0x10000);
}

TEST(WindowInit, TextLayerGetsABlockBelowTheGraphicBlockFilledWithSpaces) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    t_InitWindow(1, 8, true, 320, 200, 0, 0, TextFont(), true);
    const t_Window& w = WindowTable[1];
    EXPECT_EQ(w.TextWidth, 40);
    EXPECT_EQ(w.TextHeight, 12);
    EXPECT_EQ(w.TextMemoryEnd, w.MemoryStart - 1);
    const std::int64_t half = (w.TextMemoryEnd - w.TextMemoryStart + 1) / 2;
    EXPECT_GE(half, 40 * 12);
    EXPECT_EQ(VideoMemory[w.TextMemoryStart], ' ');
    EXPECT_EQ(VideoMemory[w.TextMemoryStart + 40 * 12 - 1], ' ');
    EXPECT_EQ(VideoMemory[w.TextMemoryStart + half], 192);
    EXPECT_EQ(w.Font.Width, 8);
    platform.Flush();
    EXPECT_EQ(platform.Window(1).title, vx::ApplicationName());
}

TEST(WindowInit, MissingViewLeavesTheWindowUninitialisedWithItsBlocks) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    platform.RemoveGraphicView(6);
    t_InitWindow(6, 8, false, 64, 64, 0, 0, TextFont(), true);
    EXPECT_FALSE(WindowTable[6].Initialized);
    EXPECT_TRUE(WindowTable[6].Font.Data.empty());
    EXPECT_LT(HighMemory, 0xFFFFFF);
    EXPECT_EQ(CountLogLine("t_InitWindow: GraphicWindow #6 could not be initialized, resource undefined."),
              1);
    EXPECT_EQ(CountLogLine("t_InitWindow: GraphicWindow #6 End."), 1);
}

TEST(WindowInit, HiddenTitleAndComputedBorders) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    TitleBarHeight = 22;
    t_InitWindow(2, 8, false, 640, 400, -1, -1, t_Font{}, false);
    EXPECT_EQ(CountLogLine("t_InitWindow: GraphicWindow #2 title will be invisible."), 1);
    const t_Window& w = WindowTable[2];
    EXPECT_EQ(w.TitleHeight, 0);
    EXPECT_EQ(w.BorderWidth, 1920 - 640);
    EXPECT_EQ(w.BorderHeight, 1200 - 400);
    EXPECT_EQ(platform.Window(2).styleMask, 0);
    t_InitWindow(3, 8, false, 640, 400, 10, 20, t_Font{}, true);
    EXPECT_EQ(WindowTable[3].TitleHeight, 22);
    EXPECT_EQ(platform.Window(3).frame.height, 400 + 22 + 40);
    t_InitWindow(2, 8, false, 640, 400, 0, 0, t_Font{}, true);
    EXPECT_EQ(platform.Window(2).styleMask, 7);
    EXPECT_EQ(WindowTable[2].TitleHeight, 22);
}

// Re-initialising a window in the middle slides the windows below it up; their pixels must survive.
TEST(WindowInit, ReinitialisingAWindowKeepsEveryOtherWindowsPixels) {
    vx::test::StartToolkit();
    const int depths[5] = {4, 32, 1, 24, 8};
    for (std::uint8_t n = 0; n < 5; ++n)
        t_InitWindow(n, depths[n], false, 96, 40 + 8 * n, 0, 0, n == 3 ? TextFont() : t_Font{}, true);
    std::vector<std::vector<t_RGBColor>> before(5);
    for (std::uint8_t n = 0; n < 5; ++n) {
        for (int i = 0; i < 200; ++i) {
            t_Color(n, i);
            WindowTable[n].RGBColor = {255, std::uint8_t(i), std::uint8_t(7 * i), std::uint8_t(i * i)};
            g_Plot(n, (i * 37) % 96, (i * 11) % (40 + 8 * n));
        }
        for (int y = 0; y < 40 + 8 * n; ++y)
            for (int x = 0; x < 96; ++x) before[n].push_back(g_Scrn(n, x, y));
    }
    std::memset(VideoMemory + WindowTable[3].TextMemoryStart, 'A', 12);
    const std::int64_t high = HighMemory;
    const std::int64_t freed = WindowTable[1].MemoryEnd - WindowTable[1].MemoryStart + 1;
    const std::int64_t start4 = WindowTable[4].MemoryStart, end4 = WindowTable[4].MemoryEnd;
    vx::test::TakeLogLines();

    t_InitWindow(1, 16, false, 64, 64, 0, 0, t_Font{}, true);
    for (std::uint8_t n : {2, 3, 4})
        EXPECT_TRUE(vx::test::LogContains("moving graphic block for win #" + std::to_string(n)));
    EXPECT_EQ(CountLogLine("t_InitWindow: GraphicWindow #1 moving graphic block for win #4$" +
                           HexString(start4) + "..." + HexString(end4) + " to" + HexString(start4 + freed) +
                           "..." + HexString(end4 + freed)),
              1);
    EXPECT_TRUE(vx::test::LogContains("moving text block for win #3$"));
    EXPECT_EQ(WindowTable[4].MemoryStart, start4 + freed);
    EXPECT_LT(WindowTable[1].MemoryEnd, WindowTable[4].MemoryStart);
    EXPECT_EQ(WindowTable[1].MemoryEnd, high + freed);
    for (std::uint8_t n : {0, 2, 3, 4}) {
        SCOPED_TRACE(int(n));
        std::vector<t_RGBColor> after;
        for (int y = 0; y < 40 + 8 * n; ++y)
            for (int x = 0; x < 96; ++x) after.push_back(g_Scrn(n, x, y));
        EXPECT_TRUE(after == before[n]);
    }
    EXPECT_EQ(VideoMemory[WindowTable[3].TextMemoryStart], 'A');
    EXPECT_EQ(WindowTable[3].TextMemoryEnd + 1, WindowTable[3].MemoryStart);
}

}  // namespace

TEST(WindowInit, WithoutAnApplicationSaysOnceWhatToDo) {
    // No platform at all, as in a program that draws from main.
    vx::StartLogCapture();
    t_InitWindow(0, 4, false, 64, 64, 0, 0, t_Font{}, true);
    t_InitWindow(1, 4, false, 64, 64, 0, 0, t_Font{}, true);
    EXPECT_EQ(vx::test::CountLogLine(
                  "t_InitWindow: GraphicWindow #0 could not be initialized, resource undefined."),
              1);
    EXPECT_EQ(vx::test::CountLogLine(
                  "t_InitWindow: GraphicWindow #1 could not be initialized, resource undefined."),
              1);
    int explanations = 0;
    for (const std::string& line : vx::test::TakeLogLines())
        if (line.find("vx::RunApplication(argc, argv, program)") != std::string::npos) ++explanations;
    EXPECT_EQ(explanations, 1);
}
