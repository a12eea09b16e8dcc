// The windows: their place in video memory, geometry, visibility and border, the number format of the
// log lines, the composed image, the picture file made from it, and the updates that show it.
#include "display/window.h"

#include <gtest/gtest.h>
#include <spng.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "core/program.h"
#include "display/format_number.h"
#include "display/picture_file.h"
#include "display/reachability.h"
#include "display/refresh.h"
#include "display/window_init.h"
#include "support/toolkit_test.h"
#include "vxtools/core.h"
#include "vxtools/desktop.h"
#include "vxtools/graphics.h"

namespace {

using namespace vx::test;

constexpr std::int64_t kMax = INT64_MAX, kMin = INT64_MIN;

TEST(WindowInit, DemonstrationWindowTakesTheTopHalfMegabyteWidthsGoToWholeBytesAndOddDepthsAreRefused) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    t_InitWindow(0, 4, false, 1024, 1024, 0, 0, t_Font{}, true);
    const t_Window& w = WindowTable[0];
    EXPECT_EQ((std::vector<std::int64_t>{w.MemoryStart, w.MemoryEnd, w.TextMemoryStart, HighMemory}),
              (std::vector<std::int64_t>{0xF80000, 0xFFFFFF, -1, 0xF7FFFF}));
    // The block is cleared to black and not a byte beside it is written (t_InitMemory filled all with 0xFF).
    EXPECT_EQ(std::count(VideoMemory + 0xF80000, VideoMemory + kVideoMemorySize, 0), 0x80000);
    EXPECT_EQ(std::count(VideoMemory, VideoMemory + 0xF80000, 0xFF), 0xF80000);
    EXPECT_EQ(
        CountLogLine("t_InitWindow: GraphicWindow #0 = 1024 x 1024 pixel x 4 bit = 512,00K video-memory "
                     "= $00F80000."),
        1);
    // Widths are adjusted to whole bytes, odd depths refused.
    const int cases[][3] = {
        {4, 1023, 1024}, {4, 1005, 1004}, {4, 34, 32}, {1, 49, 56}};  // depth, asked, given
    for (std::uint8_t n = 0; n < 4; ++n) {
        t_InitWindow(n, cases[n][0], false, cases[n][1], 64, 0, 0, t_Font{}, true);
        EXPECT_EQ(WindowTable[n].Width, cases[n][2]) << cases[n][1];
    }
    const std::int64_t high = HighMemory;
    t_InitWindow(5, 12, false, 64, 64, 0, 0, t_Font{}, true);
    EXPECT_EQ(Pos(WindowTable[5].Initialized, HighMemory), Pos(false, high));
    for (const char* line :
         {"#1 width with 4 bit depth must be a multiple of 4.",
          "#3 width with 1 bit depth must be a multiple of 8.", "#5 unsupported 12 bit depth."})
        EXPECT_EQ(CountLogLine(std::string("t_InitWindow: GraphicWindow ") + line), 1) << line;
    // The first window initialised is remembered, and only while none is.
    FirstWindow.store(255);
    t_InitWindow(4, 8, false, 64, 64, 0, 0, t_Font{}, true);
    t_InitWindow(3, 8, false, 64, 64, 0, 0, t_Font{}, true);
    EXPECT_EQ(FirstWindow.load(), 4);
    FirstWindow.store(254);
    t_InitWindow(4, 8, false, 64, 64, 0, 0, t_Font{}, true);
    EXPECT_EQ(FirstWindow.load(), 254);
    // Without its view the window stays uninitialised.
    platform.RemoveGraphicView(6);
    t_InitWindow(6, 8, false, 64, 64, 0, 0, TextFont(), true);
    EXPECT_EQ(std::pair(WindowTable[6].Initialized, WindowTable[6].RGBColorBorder),
              std::pair(false, t_PaletteColor(5)));
}

// The smallest and largest sides are accepted, one pixel beyond is not; memory for exactly the graphic
// block is enough, one byte less is not. Each adjustment and refusal has its line.
TEST(WindowInit, AcceptsSidesFrom32To8192AndExactlyTheMemoryLeft) {
    vx::test::StartToolkit();
    // Windows 0 to 4: asked width and height, given width and height.
    const std::int64_t sides[][4] = {{8192, 32, 8192, 32},
                                     {8193, 32, 1280, 32},
                                     {32, 8192, 32, 8192},
                                     {32, 8193, 32, 800},
                                     {31, 31, 1280, 800}};
    for (std::uint8_t n = 0; n < 5; ++n) {
        const std::int64_t* s = sides[n];
        t_InitWindow(n, 8, false, s[0], s[1], 0, 0, t_Font{}, true);
        EXPECT_EQ(Pos(WindowTable[n].Width, WindowTable[n].Height), Pos(s[2], s[3])) << int(n);
    }
    std::vector<std::string> adjusted;
    for (const std::string& l : TakeLogLines())
        if (l.find("cannot display") != std::string::npos) adjusted.push_back(l);
    EXPECT_EQ(adjusted, (std::vector<std::string>{
                            "t_InitWindow: GraphicWindow #1 cannot display 8193 horizontal pixel.",
                            "t_InitWindow: GraphicWindow #3 cannot display 8193 vertical pixel.",
                            "t_InitWindow: GraphicWindow #4 cannot display 31 horizontal pixel.",
                            "t_InitWindow: GraphicWindow #4 cannot display 31 vertical pixel."}));

    // Window n initialised afresh below HighMemory = high; answers the lines it logged.
    const auto init = [](std::int64_t high, std::uint8_t n, int depth, int width, int height,
                         const t_Font& font) {
        HighMemory = high;
        vx::Store(WindowTable[n].Initialized, false);  // the refresh thread reads it
        TakeLogLines();
        t_InitWindow(n, depth, false, width, height, 0, 0, font, true);
        return TakeLogLines();
    };
    // 32 x 1,055 x 8 bits = 33,760 bytes; one byte less is 32 kilobytes and 991 bytes, counted as 32.
    EXPECT_EQ(init(0x10000 + 33759, 5, 8, 32, 1055, t_Font{}),
              (std::vector<std::string>{
                  "t_InitWindow: GraphicWindow #5 Start.",
                  "t_InitWindow: GraphicWindow #5 has not enough graphic-video-memory (32K available).",
                  "t_InitWindow: Displaying 32 x 1055 pixel x 8 bit needs 32,96K video-memory."}));
    EXPECT_FALSE(WindowTable[5].Initialized);
    init(0x10000 + 33760, 5, 8, 32, 1055, t_Font{});
    EXPECT_EQ(Pos(WindowTable[5].Initialized, WindowTable[5].MemoryStart), Pos(true, 0x10000));
    // The graphic block fits from 0x11000 up; 4,092 bytes (3 kilobytes and 1,020 bytes) are left below it for
    // 64 x 40 cells of text.
    EXPECT_EQ(init(0x11000 + 2556, 6, 8, 64, 40, Font(1, 1)),
              (std::vector<std::string>{
                  "t_InitWindow: GraphicWindow #6 Start.",
                  "t_InitWindow: GraphicWindow #6 has not enough text-video-memory (3K available).",
                  "t_InitWindow: Displaying 64 x 40 characters needs 5,00K text-video-memory."}));
    EXPECT_FALSE(WindowTable[6].Initialized);
    // 64 x 32 cells of text in exactly the 4,096 bytes left below a graphic block rounded down to 0x11000,
    // and in exactly the memory left when the graphic block needs no rounding.
    for (const std::int64_t high : {0x11000 + 2048 + 0x3FE, 0x11000 + 2048}) {
        init(high, 7, 8, 64, 32, Font(1, 1));
        const t_Window& w = WindowTable[7];
        EXPECT_EQ(std::tuple(w.Initialized, w.TextMemoryStart, w.MemoryStart),
                  std::tuple(true, 0x10000, 0x11000));
    }
    // Regression: the mask lowers the graphic block by 2 KiB, so a text block that fits by the plain
    // arithmetic used to reach into the reserved bytes. The refusal names the memory left after the graphic
    // block, not what the aligned start leaves (12K).
    EXPECT_EQ(init(0x13FFF, 0, 1, 112, 128, Font(1, 1))[1],
              "t_InitWindow: GraphicWindow #0 has not enough text-video-memory (14K available).");
    init(0x13FFF, 0, 1, 112, 64, Font(1, 1));
    EXPECT_EQ(Pos(WindowTable[0].Initialized, HighMemory), Pos(false, 0x13FFF));
    init(0x13FFF, 0, 1, 112, 32, Font(1, 1));
    EXPECT_TRUE(WindowTable[0].Initialized && WindowTable[0].TextMemoryStart >= 0x10000);
}

TEST(WindowInit, TextLayerGetsABlockBelowTheGraphicBlockAndClearingStaysInsideBoth) {
    vx::test::StartToolkit();
    t_InitWindow(1, 8, true, 320, 200, 0, 0, TextFont(), true);
    t_Window& w = WindowTable[1];
    const std::int64_t half = (w.TextMemoryEnd - w.TextMemoryStart + 1) / 2;
    EXPECT_TRUE(w.TextMemoryEnd == w.MemoryStart - 1 && half >= 40 * 12);
    EXPECT_EQ(Pos(VideoMemory[w.TextMemoryStart + 40 * 12 - 1], VideoMemory[w.TextMemoryStart + half]),
              Pos(' ', 192));

    // A record whose text does not fit its colour half, or whose graphic block is one byte short of its
    // pixels or has a depth that is none of the six, or any record while video memory is missing, is not
    // cleared at all.
    const std::uint64_t outside = OutsideChecksum(w);
    const std::int64_t start = w.TextMemoryStart, end = w.MemoryEnd, lines = w.TextHeight;
    std::memset(VideoMemory + start, 'A', std::size_t(end - start + 1));
    std::tie(w.TextHeight, w.MemoryEnd) = Pos(half / 40 + 1, w.MemoryStart + 320 * 200 - 2);
    ClearWindowMemory(1);
    std::tie(w.BitDepth, w.MemoryEnd) = Pos(12, end);
    ClearWindowMemory(1);
    std::tie(w.TextHeight, w.BitDepth) = Pos(lines, 8);
    std::uint8_t* const memory = std::exchange(VideoMemory, nullptr);
    ClearWindowMemory(1);
    VideoMemory = memory;
    EXPECT_EQ(std::count(VideoMemory + start, VideoMemory + end + 1, 'A'), end - start + 1);
    EXPECT_EQ(OutsideChecksum(w), outside);

    // Text blocks from byte 0, of sides from 1 to 8192, exactly twice the cells long or one byte more are
    // cleared; a block reaching outside memory, negative sides or 8193 columns are not.
    t_Window& r = WindowTable[5];
    r.TextColor = 'c';
    const std::int64_t top = kVideoMemorySize,
                       rows[][5] = {{0, 1, 1, 1, 1},        {0, 2, 1, 1, 1},         {0, 16383, 8192, 1, 1},
                                    {0, 16383, 1, 8192, 1}, {-1, 2, 1, 1, 0},        {0, 1, -1, 1, 0},
                                    {0, 1, 1, -1, 0},       {top - 2, top, 1, 1, 0}, {0, 16385, 8193, 1, 0}};
    for (const auto& [first, last, columns, height, cleared] : rows) {
        std::memset(VideoMemory, 'A', kVideoMemorySize);
        std::tie(r.TextMemoryStart, r.TextMemoryEnd, r.TextWidth, r.TextHeight) =
            std::tuple(first, last, columns, height);
        ClearWindowMemory(5);
        const std::int64_t cells = cleared * columns * height;
        EXPECT_EQ(std::count(VideoMemory, VideoMemory + top, 'A'), top - 2 * cells) << first << ' ' << last;
        EXPECT_TRUE(!cleared || VideoMemory[first + cells] == 'c') << last;
    }
}

// Re-initialising a window in the middle slides the blocks below it up; their bytes must survive.
TEST(WindowInit, ReinitialisingAWindowKeepsEveryOtherWindowsBytes) {
    vx::test::StartToolkit();
    const int depths[5] = {4, 32, 1, 24, 8};
    for (std::uint8_t n = 0; n < 5; ++n)
        t_InitWindow(n, depths[n], false, 96, 40 + 8 * n, 0, 0, n % 2 == 1 ? TextFont() : t_Font{}, true);
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
    const std::int64_t freed = WindowTable[1].MemoryEnd - WindowTable[1].TextMemoryStart + 1;
    const std::int64_t start4 = WindowTable[4].MemoryStart, high = HighMemory;

    // What the program changed in the record starts afresh; what it set for text output stays.
    t_Window& w = WindowTable[1];
    // The fields the refresh task reads on its thread are written as it reads them, atomically.
    for (std::int64_t* field : {&w.UpdateStarted, &w.UpdateFinished, &w.RefreshRate}) vx::Store(*field, 5);
    for (bool* flag : {&w.AutoUpdate, &w.VerticalBlank, &w.QuickUpdate})
        vx::Store(*flag, flag == &w.AutoUpdate);
    w.PositionX = w.PositionY = w.DrawingMode = w.LoResMode = 5;
    w.LoResOffsetX = w.LoResOffsetY = w.TextHpos = w.TextVpos = w.TextFirstColumn = w.TextFirstLine = 5;
    w.TextRedirectOutput = 7, w.TextColor = 0x17;
    w.IgnoreEvents = w.ScrollLock = true;
    w.RGBColor = w.RGBColorBorder = {1, 2, 3, 4};
    t_InitWindow(1, 16, false, 64, 64, 0, 0, t_Font{}, true);
    EXPECT_EQ(Pos(WindowTable[4].MemoryStart, w.MemoryEnd), Pos(start4 + freed, high + freed));
    for (const char* piece : {"#1 high memory = $00FFEFFF, graphic block size to delete = $00005000.",
                              "#1 high memory = $00FFEFFF, text block size to delete = $",
                              "moving graphic block for win #4", "moving text block for win #3"})
        EXPECT_TRUE(LogContains(piece)) << piece;
    EXPECT_TRUE(blocks() == before);
    EXPECT_EQ((std::vector<std::int64_t>{w.UpdateStarted, w.UpdateFinished, w.PositionX, w.PositionY,
                                         w.DrawingMode, w.LoResMode, w.LoResOffsetX, w.LoResOffsetY,
                                         w.TextHpos, w.TextVpos, w.TextFirstColumn, w.TextFirstLine,
                                         w.RefreshRate, w.TextRedirectOutput, w.TextColor, w.TextLastColumn,
                                         w.TextLastLine, w.TextMemoryStart, w.TextMemoryEnd}),
              (std::vector<std::int64_t>{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 30, 7, 192, -1, -1, -1, -1}));
    EXPECT_EQ((std::vector<bool>{w.IgnoreEvents, w.ScrollLock, w.VerticalBlank, w.QuickUpdate, w.AutoUpdate}),
              (std::vector<bool>{false, false, true, true, false}));
    EXPECT_EQ(std::pair(w.RGBColor, w.RGBColorBorder), std::pair(t_PaletteColor(0), t_PaletteColor(5)));
}

// What t_WindowPos answers for each selector.
void ExpectPositions(std::uint8_t n, std::initializer_list<std::pair<int, std::int64_t>> cases) {
    for (auto [selector, expected] : cases) EXPECT_EQ(t_WindowPos(n, selector), expected) << selector;
}

TEST(WindowGeometry, AnswersFromTheFrameBeforeMemoryAndFromTheRecordAfterwardsForEverySelector) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    EXPECT_EQ(t_WindowPos(0, 17), 0);  // before a launch has measured the title bar
    TitleBarHeight = 22;
    platform.SetWindowFrame(0, {5.7, 9.2, 300.9, 220.4});
    ExpectPositions(0, {{0, 0}, {8, 300}, {9, 198}, {13, 5}});

    t_InitWindow(1, 4, false, 1024, 1024, 10, 6, t_Font{}, true);
    ExpectPositions(1, {{6, -1}, {8, 1024}, {10, 1044}, {12, 1058}, {17, 22}, {18, 10}, {19, 6}, {-1, 0}});
    platform.SetWindowFrame(1, {30, 100, 1044, 1058});
    ExpectPositions(1, {{13, 30}, {20, 100}, {14, 1200 - 100 - 1058}, {15, 1920}, {16, 1200}});
    // Borders of -1 fill the screen around the window.
    t_InitWindow(2, 8, false, 640, 400, -1, -1, t_Font{}, false);
    ExpectPositions(2, {{17, 0}, {18, 1920 - 640}, {19, 1200 - 400}});
    // Every selector, for a window of the other kind (its frame) and a graphic window's text area (its
    // record).
    platform.SetWindowFrame(9, {10.9, 20.5, 300.7, 200.2});
    ExpectPositions(9,
                    {{0, 0},     {1, 0},   {2, 299},  {3, 199},  {4, 300},  {5, 200}, {6, 300},  {7, 200},
                     {8, 300},   {9, 178}, {10, 300}, {11, 178}, {12, 200}, {13, 10}, {14, 980}, {15, 1920},
                     {16, 1200}, {17, 22}, {18, 0},   {19, 0},   {20, 20},  {21, 0},  {-1, 0}});
    platform.SetScreenFrame({0, 0, 1600, 900});
    ExpectPositions(9, {{14, 900 - 20 - 200}, {15, 1600}, {16, 900}});
    t_InitWindow(7, 4, false, 320, 200, 0, 0, Font(8, 8), true);
    SetTextArea(WindowTable[7], 3, 38, 2, 11);
    t_WindowTitleVisible(7, false);
    ExpectPositions(
        7, {{0, 3}, {1, 2}, {2, 38}, {3, 11}, {4, 36}, {5, 10}, {6, 40}, {7, 25}, {17, 0}, {18, 0}, {21, 0}});
    platform.SetWindowFrame(8, {10.9, 20.5, 300.7, 200.2});
    ExpectPositions(8, {{2, 299}, {7, 200}});
}

TEST(WindowGeometry, SizeKeepsWhatIsMinusOnePutsTheBorderAroundAndSaturates) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    TitleBarHeight = 22;
    std::vector<double> frames;
    const auto note = [&](const vx::Rect& r) { frames.insert(frames.end(), {r.x, r.y, r.width, r.height}); };
    platform.SetWindowFrame(2, {40, 50, 999, 999});
    t_InitWindow(2, 8, false, 320, 200, 8, 4, t_Font{}, true);
    note(platform.Window(2).frame);
    platform.SetWindowFrame(2, {40, 50, 999, 999});
    t_WindowSize(2, -1, -1, -1, -1);
    note(platform.Window(2).frame);
    t_WindowSize(2, 0, -5, 640, 400);
    note(platform.Window(2).frame);
    note(platform.View(2).frame);
    // A text window's scroll view keeps 40 by 77 points of the size for the margins and ruler; window 8 is
    // the first that is not a graphic one.
    t_WindowSize(10, 10, 20, 600, 400);
    t_WindowSize(8, 10, 20, 600, 400);
    for (const vx::Rect& r :
         {platform.Window(10).frame, platform.Window(8).frame, platform.TextView(10).scrollFrame})
        note(r);
    t_WindowSize(10, -1, -1, 0, 0);
    note(platform.TextView(10).scrollFrame);
    t_WindowSize(10, -1, -1, 1, 1);
    note(platform.TextView(10).scrollFrame);
    EXPECT_EQ(frames, (std::vector<double>{40, 50, 336, 230, 40, 50, 336, 230, 0,  -5, 656, 430,
                                           8,  4,  640, 400, 10, 20, 600, 422, 10, 20, 600, 422,
                                           10, 10, 560, 323, 10, 10, 560, 323, 10, 10, -39, -76}));
    // Regression: borders and frames near the 64-bit limits used to overflow the sums.
    t_InitWindow(1, 8, false, 64, 64, kMax, kMax - 5, t_Font{}, true);
    ExpectPositions(1, {{10, kMax}, {12, kMax}, {18, kMax}, {19, kMax - 5}});
    t_WindowSize(1, -1, -1, kMax, kMin);
    platform.SetWindowFrame(9, {1e300, -1e300, 1e300, 1e19});
    ExpectPositions(9, {{2, kMax - 1}, {13, kMax}, {20, kMin}});
}

TEST(WindowAttributes, TitleTitleBarCentringFrontHidingBorderAndTextAreaFollowTheCalls) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    TitleBarHeight = 22;
    t_InitWindow(2, 8, false, 320, 200, 0, 0, t_Font{}, true);
    t_InitWindow(3, 8, false, 320, 200, 0, 0, TextFont(), false);
    platform.Flush();
    // The executable's name; "-Grafik" marks a window without a text layer.
    EXPECT_EQ(std::pair(platform.Window(2).title, platform.Window(3).title),
              std::pair(std::string("display_tests-Grafik"), std::string("display_tests")));
    EXPECT_EQ(Pos(platform.Window(3).styleMask, t_WindowPos(3, 12)), Pos(0, 200));
    EXPECT_EQ(Pos(platform.Window(2).styleMask, t_WindowPos(2, 12)), Pos(7, 222));
    t_WindowTitleVisible(2, false);
    EXPECT_EQ(Pos(platform.Window(2).styleMask, t_WindowPos(2, 12)), Pos(0, 200));
    t_InitWindow(3, 8, false, 320, 200, 0, 0, TextFont(), true);  // set up again, with its title bar
    EXPECT_EQ(Pos(platform.Window(3).styleMask, t_WindowPos(3, 12)), Pos(7, 222));
    EXPECT_EQ(platform.Window(3).frame.height, 222);
    // The border takes the low four bits, for the record and the background, where red, green, blue and
    // alpha keep their places (entry 11 has full red, entry 7 none and blue apart from green).
    for (const auto& [index, background] :
         {std::pair{16 + 11, std::vector{1.0, 128 / 255.0, 128 / 255.0, 1.0}},
          {16 + 7, {0.0, 128 / 255.0, 1.0, 1.0}}}) {
        t_ColorBorder(3, index);
        const vx::HeadlessWindowState state = platform.Window(3);
        EXPECT_EQ(
            std::pair(WindowTable[3].RGBColorBorder, std::vector(state.background, state.background + 4)),
            std::pair(t_PaletteColor(index - 16), background));
    }
    EXPECT_EQ(t_PaletteColor(16), (t_RGBColor{255, 0, 0, 0}));
    SetTextArea(WindowTable[3], 5, 9, 2, 3);
    t_FullArea(3);
    EXPECT_EQ((std::vector<std::int64_t>{WindowTable[3].TextFirstColumn, WindowTable[3].TextLastColumn,
                                         WindowTable[3].TextFirstLine, WindowTable[3].TextLastLine}),
              (std::vector<std::int64_t>{1, 40, 1, 12}));
    t_WindowTitle(2, "Abstand 7");
    const int centred = platform.Window(2).centerCount;
    t_WindowCenter(2);
    t_WindowFront(2);
    platform.Flush();
    const vx::HeadlessWindowState w = platform.Window(2);
    EXPECT_EQ(std::pair(w.title, w.centerCount), std::pair(std::string("Abstand 7"), centred + 1));
    EXPECT_TRUE(w.visible && w.key && WindowTable[2].Visible);
    // Hiding the last window on screen keeps the record in step and brings up the main window.
    EXPECT_FALSE(platform.Window(12).visible);
    t_WindowVisible(2, false);
    EXPECT_TRUE(!platform.Window(2).visible && !WindowTable[2].Visible && platform.Window(12).visible);
}

// A program that leaves nothing on screen still leaves a way in: the main window comes up after three
// seconds counted from the last moment anything was shown, or at once when the program has ended.
TEST(ReachabilityWatch, ShowsTheMainWindowOnceNothingHasBeenOnScreenForThreeSecondsOrTheProgramEnded) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    vx::ReachabilityWatch watch;
    const auto tick = [&](std::int64_t now, bool ended) {
        return OnUserInterfaceThread([&] { return watch.Tick(now, ended); });
    };
    const auto hide = [&](int n) {
        OnUserInterfaceThread([&] { platform.orderOut(platform.auxiliaryWindow(n)); });
    };
    EXPECT_FALSE(tick(0, false) || tick(2999, false) || platform.Window(12).visible);
    EXPECT_TRUE(tick(3000, false) && platform.Window(12).visible && platform.Window(12).key);
    EXPECT_EQ(TakeLogLines(),
              std::vector<std::string>{"vxtools: No window is on screen, so the main window is "
                                       "shown; a program shows its own window with t_WindowFront(n)."});
    EXPECT_FALSE(tick(3001, true));  // the main window itself is on screen

    hide(12);
    t_WindowVisible(8, true);
    EXPECT_FALSE(tick(5000, false));  // the pasteboard is on screen: the wait starts again from here
    hide(8);
    EXPECT_TRUE(!tick(7999, false) && !platform.Window(12).visible && tick(8000, false));
    hide(12);
    EXPECT_TRUE(tick(8001, true) && platform.Window(12).visible);  // the program has ended: no waiting
    hide(12);
    t_WindowVisible(7, true);
    EXPECT_FALSE(tick(8002, true));  // a graphic window is on screen
    // The main window's close box is noted like any other's.
    EXPECT_TRUE((vx::NoteWindowClosed(12, true), vx::WindowClosed(12)));
}

// The pasteboard window shows at most a megabyte, cut before a character that would not fit, and says how
// much it left out; a megabyte exactly is shown whole. Very long lines are shown broken.
TEST(WindowVisibility, PasteboardWindowShowsAtMostAMegabyteAndSaysHowMuchIsLeftOut) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    const std::size_t mib = std::size_t(1) << 20;
    // Lines longer than 4096 bytes are broken, not inside a character. Broken bytes: a run of continuation
    // bytes is cut one byte at a time, a lone lead byte is kept; a line after a line end, and one of exactly
    // 4096 bytes at the end, are whole.
    const std::string more = " weitere Bytes der Zwischenablage werden nicht angezeigt.]", a(4096, 'a');
    const std::string z(4097, 'z'), lines2(mib - 4098, '\n'), cont(4096, '\x80'), x(4096, 'x'), b(4095, 'b');
    const std::pair<std::string, std::string> cases[] = {
        {a + "\n" + b + "\u00E9c" + std::string(mib - 8195, '\n'),
         a + "\n" + b + "\n\u00E9c" + std::string(mib - 8195, '\n')},
        {std::string(mib - 1, '\n') + "\u00E9" + std::string(1500, 'b'),
         std::string(mib + 1, '\n') + "[\u2026 1.502" + more},
        {"\x80\x80" + cont + "\n" + x, "\x80\n\x80\n" + cont + "\n" + x},
        {"\n" + z, "\n" + z.substr(1) + "\nz"},
        {z + lines2 + "\xC3" + std::string(1500, 'b'),
         z.substr(1) + "\nz" + lines2 + "\xC3\n\n[\u2026 1.500" + more},
        {std::string(mib + 1, '\x80'), "\n\n[\u2026 1.048.577" + more}};
    for (const auto& [text, shown] : cases) {
        platform.SetPasteboardText(text);
        t_WindowVisible(8, true);
        EXPECT_TRUE(platform.TextView(8).text == shown) << shown.size();
    }
}

// Each refusal is one line of its own and changes nothing.
TEST(WindowRefusals, EachOperationLogsItsOwnLineForWindowsThatAreNoneOrNotReady) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    EnsureMemory();
    platform.RemoveGraphicView(6);
    for (const int n : {8, 9, 10}) platform.RemoveTextView(n);
    WindowTable[3].TextFirstColumn = 7;
    TakeLogLines();
    const vx::HeadlessWindowState before = platform.Window(3);
    const std::pair<std::function<void()>, std::vector<std::string>> cases[] = {
        {[] { t_InitWindow(8, 8, false, 64, 64, 0, 0, t_Font{}, true); },
         {"t_InitWindow: Window is not a graphic window."}},
        {[] { t_ColorBorder(8, 1); }, {"t_ColorBorder: Window is not a graphic window."}},
        {[] { t_ColorBorder(3, 1); }, {"t_ColorBorder: Window #3 not initialized."}},
        {[] { t_FullArea(8); }, {"t_FullArea: Window is not a graphic window."}},
        {[] { t_FullArea(3); }, {"t_FullArea: Window #3 not initialized."}},
        {[] { t_RedirectOutput(3, 2); }, {"t_RedirectOutput: Window #3 not initialized."}},
        {[] { t_WindowUpdate(8, true); }, {"t_WindowUpdate: Window is not a graphic window."}},
        {[] { t_WindowUpdate(6, false); }, {"t_WindowUpdate: Window #6 view is nil, resource undefined."}},
        {[] { EXPECT_EQ(t_WindowImage(3), nullptr); }, {"t_WindowImage: Graphic window #3 not initialized."}},
        {[] { t_WindowSize(3, 0, 0, 64, 64); }, {"t_WindowSize: Window #3 not initialized."}},
        {[] { t_WindowSize(13, 0, 0, 64, 64); }, {"t_WindowSize: Window does not exist."}},
        {[] { t_WindowSize(6, 0, 0, 64, 64); }, {"t_WindowSize: Window does not exist."}},
        {[] { EXPECT_EQ(t_WindowPos(13, 8), 0); }, {"t_WindowPos: Window does not exist."}},
        {[] { t_WindowTitle(13, "x"); }, {"t_WindowTitle: Window does not exist."}},
        {[] { t_WindowTitleVisible(13, false); }, {"t_WindowTitleVisible: Window does not exist."}},
        {[] { t_WindowCenter(13); }, {"t_WindowCenter: Window does not exist."}},
        {[] { t_WindowFront(13); }, {"t_WindowFront: Window does not exist."}},
        {[] { t_WindowVisible(13, true); }, {"t_WindowVisible: Window does not exist."}},
        {[] { t_WindowVisible(8, true); },
         {"t_WindowVisible: Pasteboard window is nil, resource undefined."}},
        {[] { t_WindowVisible(9, true); },
         {"t_WindowVisible: Virtual printer window is nil, resource undefined."}},
        {[] { t_WindowVisible(10, true); },
         {"t_WindowVisible: System console window is nil, resource undefined."}},
        {[] { EXPECT_FALSE(vx::SavePicture(8, "x.png")); }, {"SavePicture: Window is not a graphic window."}},
        {[] { EXPECT_FALSE(vx::SavePicture(3, "x.png")); },
         {"t_WindowImage: Graphic window #3 not initialized.", "SavePicture: Window #3 has no picture."}},
    };
    for (const auto& [op, line] : cases) {
        op();
        EXPECT_EQ(TakeLogLines(), line);
    }
    EXPECT_EQ(std::pair(vx::PictureError(), platform.BeepCount()), std::pair(std::string("no picture"), 3));
    const vx::HeadlessWindowState after = platform.Window(3);
    EXPECT_TRUE(after.frame == before.frame && !after.visible && WindowTable[3].TextFirstColumn == 7);
    EXPECT_TRUE(std::equal(after.background, after.background + 4, before.background));
}

TEST(FormatNumber, WritesCutCommaDecimalsGroupedThousandsAndPlainDigits) {
    const double inf = std::numeric_limits<double>::infinity();
    // Decimals are cut, not rounded; the sign stays apart from the groups; the fill goes before it;
    // negative decimals strip trailing zeros; exponents are written out; what is no number stays as it is.
    // Value, fill, width, decimals, grouping, text.
    // clang-format off
    const std::tuple<double, int, int, int, bool, const char*> cases[] = {
        {1536.5, 32, 1, 2, true, "1.536,50"}, {0.125, 32, 1, 2, true, "0,12"}, {7.25, 32, 1, 0, false, "7"},
        {-1234, 32, 1, 0, true, "-1.234"}, {123456, 32, 1, 0, true, "123.456"},
        {1234567, 32, 1, 0, false, "1234567"}, {0.25, 32, 8, 2, false, "       0,25"},
        {-5, 48, 4, 0, false, "00-5"}, {5, -1, 4, 0, false, "5"}, {2.5, 32, 1, -3, false, "2,5"},
        {2.0, 32, 1, -3, false, "2"}, {1.5e16, 32, 1, 0, false, "15000000000000000"},
        {1e-05, 32, 1, 5, false, "0,00001"}, {1e-05, 32, 1, 2, false, "0,00"},
        {-2.5e-7, 32, 1, -9, false, "-0,00000025"}, {inf, 32, 8, 2, true, "inf"},
        {-123456, 32, 1, 0, true, "-123.456"}, {1.2345, 32, 1, -3, false, "1,234"}};
    // clang-format on
    for (const auto& [value, fill, width, decimals, group, text] : cases)
        EXPECT_EQ(FormatNumber(value, fill, width, decimals, group), text) << value;
    EXPECT_EQ(FormatNumber(5, 32, 1 << 30, 0, false).size(), std::size_t((1 << 16) + 1));
    EXPECT_EQ(FormatNumber(5, 0, 3, 0, false), std::string("\0\0"
                                                           "5",
                                                           3));  // NUL is a fill like any other
    // Regression: decimals over the whole 64-bit range are bounded like the padding, and negating them
    // no longer overflows.
    EXPECT_EQ(FormatNumber(2.5, 32, 1, kMin, false), "2,5");
    EXPECT_EQ(FormatNumber(2.5, 32, 1, kMax, false).size(), std::size_t(2 + (1 << 16)));
}

std::string TempPath(const std::string& name) {
    return testing::TempDir() + name + "-" + std::to_string(::getpid()) + ".png";
}

constexpr std::uint32_t kBlack = 0xFF000000u, kWhite = 0xFFFFFFFFu;

// All sixteen palette entries as opaque 0xAARRGGBB words, written out independently of the palette table.
constexpr std::uint32_t kPalette[16] = {
    kBlack,      0xFFFF0000u, 0xFF000080u, 0xFFFF00FFu, 0xFF008000u, 0xFF545454u, 0xFF0000FFu, 0xFF0080FFu,
    0xFF804000u, 0xFFFF8000u, 0xFFA8A8A8u, 0xFFFF8080u, 0xFF00FF00u, 0xFFFFFF00u, 0xFF00FFFFu, kWhite};

TEST(Composition, ExpandsEveryDepthAndAllSixteenPaletteEntriesToOpaqueWordsIntoAFreshImage) {
    vx::test::StartToolkit();
    std::vector<std::uint8_t> nibbles;
    for (int i = 0; i < 16; i += 2) nibbles.push_back(std::uint8_t(i << 4 | (i + 1)));
    // Depth, where the bytes go in the 64 x 32 block (otherwise black), the bytes, the first pixel compared;
    // the last byte of the block at 1 and 4 bits, a 16-bit pixel in the second group of sixteen.
    const std::tuple<int, int, std::vector<std::uint8_t>, int, std::vector<std::uint32_t>> cases[] = {
        {1, 1, {0x35}, 8, {kBlack, kBlack, kWhite, kWhite, kBlack, kWhite, kBlack, kWhite}},
        {1, 64 * 32 / 8 - 1, {0x01}, 64 * 32 - 2, {kBlack, kWhite}},
        {4, 0, nibbles, 0, std::vector<std::uint32_t>(kPalette, kPalette + 16)},
        {4, 32 * 32 - 1, {0x0F}, 64 * 32 - 2, {kBlack, kWhite}},
        {8, 5, {0x80}, 5, {0xFF808080u}},
        {16, 2, {0x00, 0x80}, 1, {0xFF808080u}},
        {16, 48, {0x00, 0x80}, 24, {0xFF808080u}},
        {24, 3 * 62, {0, 0, 0, 0x12, 0x34, 0x56}, 62, {kBlack, 0xFF123456u}},
        {24, 3 * (64 * 32 - 1), {0x12, 0x34, 0x56}, 64 * 32 - 1, {0xFF123456u}},
        {32, 4 * 63, {0xFF, 0, 0, 0, 0x00, 0x12, 0x34, 0x56}, 63, {kBlack, 0xFF123456u}},
        {32, 4 * 62, {0, 0x12, 0x34, 0x56, 0, 0x78, 0x9A, 0xBC}, 62, {0xFF123456u, 0xFF789ABCu}}};
    for (const auto& [depth, offset, bytes, pixel, expect] : cases) {
        SCOPED_TRACE(testing::Message() << depth << " bit at byte " << offset);
        OpenShown(0, depth);
        std::memset(Block(0), 0, std::size_t(64 * 32 * depth / 8));
        std::memcpy(Block(0) + offset, bytes.data(), bytes.size());
        const auto image = t_WindowImage(0);
        ASSERT_EQ(image == nullptr ? 0 : image->pixels.size(), 64u * 32u);
        EXPECT_EQ(
            std::vector(image->pixels.begin() + pixel, image->pixels.begin() + pixel + int(expect.size())),
            expect);
    }
    // Blocks of noise whose sizes leave the scalar loops a few pixels after the vector groups, as g_Scrn
    // reads them.
    for (const auto& [depth, width] : {std::pair(1, 120), {4, 36}, {8, 33}, {16, 35}, {24, 33}, {32, 33}}) {
        t_Window& w = OpenShown(2, depth, false, width, 33);
        for (std::int64_t i = 0; i <= w.MemoryEnd - w.MemoryStart; ++i)
            Block(2)[i] = std::uint8_t(i * 7919 >> 3 ^ i);
        std::vector<std::uint32_t> expect;
        for (const t_RGBColor& c : Pixels(2))
            expect.push_back(0xFF000000u | c.Red << 16 | c.Green << 8 | c.Blue);
        std::tie(w.UpdateDuration, w.UpdateFinished) = Pos(-1, 0);
        EXPECT_EQ(t_WindowImage(2)->pixels, expect) << depth;
        EXPECT_TRUE(w.UpdateDuration >= 0 && w.UpdateFinished > 0);
    }
    // Never into an image somebody still holds, from a window's first image on.
    OpenShown(1, 8);
    std::memset(Block(1), 0x10, 64 * 32);
    const auto held = t_WindowImage(1);
    std::memset(Block(1), 0x20, 64 * 32);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(t_WindowImage(1)->pixels[0], 0xFF202020u);
    EXPECT_EQ(held->pixels[0], 0xFF101010u);
    // An image nobody holds stays in the pool for the next one.
    std::weak_ptr<const vx::WindowImage> last;
    for (int i = 0; i < 5; ++i) last = t_WindowImage(1);
    EXPECT_FALSE(last.expired());
}

TEST(Composition, GivesNoImageAndSavesNoFileForMissingHiddenOrBrokenWindowsAndNeverReadsOutsideMemory) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    const std::string path = TempPath("refused");
    EXPECT_EQ(t_WindowImage(0), nullptr);  // before video memory exists
    EXPECT_TRUE(vx::ViewComposeImage(0) == nullptr && !vx::ViewWantsUpdateLayer(0));
    t_InitWindow(0, 32, false, 64, 32, 0, 0, t_Font{}, true);
    EXPECT_FALSE(t_WindowImage(0) || vx::SavePicture(9, path));  // hidden, and not a graphic window
    t_WindowVisible(0, true);
    EXPECT_FALSE(vx::WritePng(vx::WindowImage{4, 4, std::vector<std::uint32_t>(15)}, path) ||
                 vx::WritePng(vx::WindowImage{0, 4, {}}, path));
    EXPECT_EQ(CountLogLine("WritePng: Image is empty or incomplete."), 2);
    EXPECT_NE(access(path.c_str(), F_OK), 0);
    t_Window& w = WindowTable[0];
    const auto image = [&w](std::int64_t depth, std::int64_t width, std::int64_t height, std::int64_t start,
                            std::int64_t end) {
        std::tie(w.BitDepth, w.Width, w.Height, w.MemoryStart, w.MemoryEnd) =
            std::tuple(depth, width, height, start, end);
        return t_WindowImage(0);
    };
    const std::int64_t top = kVideoMemorySize - 64 * 32 * 4, last = kVideoMemorySize - 1;
    // A block ending on the last byte of video memory is composed; one byte more, or one byte short, is not.
    VideoMemory[last] = 0x56;
    EXPECT_EQ(image(32, 64, 32, top, last)->pixels.back() & 0xFF, 0x56u);
    // 45 pixels of 3 bytes there: reading four pixels at a time stops short of the end.
    EXPECT_EQ(image(24, 5, 9, kVideoMemorySize - 5 * 9 * 3, last)->pixels.back(), 0xFFFFFF56u);
    EXPECT_TRUE(!image(32, 64, 32, top, last + 1) && !image(32, 64, 32, top + 1, last) &&
                !image(32, 64, 32, -1, last) && !image(32, 1 << 20, 32, 0, last) &&
                !image(2, 64, 32, 0, last));
    EXPECT_EQ(TakeLogLines().back(), "t_WindowImage: Illegal bit depth.");
    // Window 8 is no graphic window and has no record to look at.
    EXPECT_TRUE(t_WindowImage(8) == nullptr && TakeLogLines().empty());
    // Each pixel as its depth defines it, from the bytes of the block.
    const auto expected = [](int depth, const std::uint8_t* b, int p) {
        const auto rgb = [](int r, int g, int bl) {
            return 0xFF000000u | std::uint32_t(r << 16 | g << 8 | bl);
        };
        switch (depth) {
            case 1:
                return b[p / 8] >> (7 - p % 8) & 1 ? kWhite : kBlack;
            case 4:
                return kPalette[p % 2 ? b[p / 2] & 15 : b[p / 2] >> 4];
            case 8:
                return rgb(b[p], b[p], b[p]);
            case 16:
                return rgb(b[2 * p + 1], b[2 * p + 1], b[2 * p + 1]);
            case 24:
                return rgb(b[3 * p], b[3 * p + 1], b[3 * p + 2]);
            default:
                return rgb(b[4 * p + 1], b[4 * p + 2], b[4 * p + 3]);
        }
    };
    // Rows of one pixel ending on the last byte of video memory, and on the byte 0xFF: one pixel short of
    // another vector group (at 24 bits one past, as its loads reach two pixels ahead), so that a vector
    // loop going one group too far reads past the end, which the address checker reports. Fifteen bytes
    // or fewer at 4 bits are composed without vectors: eighteen such ramps take all 256 bytes through the
    // table. Each row: depth, pixels, first byte, step from byte to byte.
    std::vector<std::tuple<int, int, int, int>> rows = {{1, 64, 11, 37},  {4, 62, 11, 37},  {8, 31, 11, 37},
                                                        {16, 31, 11, 37}, {24, 33, 11, 37}, {24, 17, 11, 37},
                                                        {32, 31, 11, 37}};
    for (int first = 0; first < 256; first += 15) rows.emplace_back(4, 30, first, 1);
    for (const auto& [depth, pixels, first, step] : rows) {
        const std::int64_t start = kVideoMemorySize - pixels * depth / 8;
        for (std::int64_t i = start; i <= last; ++i)
            VideoMemory[i] = std::uint8_t(first + (i - start) * step);
        if (step != 1) VideoMemory[last] = 0xFF;
        const auto composed = image(depth, pixels, 1, start, last);
        ASSERT_NE(composed, nullptr);
        for (int p = 0; p < pixels; ++p)
            ASSERT_EQ(composed->pixels[std::size_t(p)], expected(depth, VideoMemory + start, p))
                << depth << " bit, " << pixels << " pixels from byte " << first << ", pixel " << p;
    }
    EXPECT_NE(image(32, 64, 32, 0, last), nullptr);
    // Sides from 1 to 8192 are composed, 0 and 8193 are not; rows of 1 and 4 bits fill whole bytes.
    const int sides[][4] = {{8, 1, 1, 1},    {8, 8192, 1, 1}, {8, 1, 8192, 1}, {8, 8193, 1, 0},
                            {8, 1, 8193, 0}, {8, 1, 0, 0},    {4, 63, 1, 0},   {1, 63, 1, 0}};
    for (const auto& s : sides) EXPECT_EQ(image(s[0], s[1], s[2], 0, last) != nullptr, s[3] == 1) << s[1];
    // A window that composes has no picture once its view is gone.
    ASSERT_NE(image(32, 64, 32, 0, last), nullptr);
    platform.RemoveGraphicView(0);
    EXPECT_EQ(WindowPicture(0), nullptr);
}

// Blending weighs colour and stored pixel by alpha and 255 - alpha, each divided by 255; a 1-bit window
// sets a bit only for inks from 9 up, whatever the paper. Blocks of an odd height are cleared whole, and
// window 7 is drawn into like any other.
TEST(PixelAccess, BlendingDividesBy255AndOneBitInkFromNineUpSetsTheBit) {
    vx::test::StartToolkit();
    t_InitWindow(6, 32, false, 64, 32, 0, 0, t_Font{}, true);
    t_InitWindow(7, 1, false, 64, 33, 0, 0, t_Font{}, true);
    EXPECT_EQ(std::count(Block(7), Block(7) + 8 * 33, 0), 8 * 33);
    std::memset(Block(7), 0xFF, 8 * 33);
    // A 32-bit block of one row is cleared to opaque black up to its last byte.
    std::memset(Block(6), 'A', 64 * 2 * 4);
    WindowTable[6].Height = 1;
    ClearWindowMemory(6);
    WindowTable[6].Height = 32;
    EXPECT_EQ(std::vector(Block(6) + 252, Block(6) + 257), (std::vector<std::uint8_t>{255, 0, 0, 0, 'A'}));
    std::uint8_t* pixel = PixelBytes(WindowTable[6], 1, 1);
    std::memcpy(pixel, "\xFF\x41\x41\x57", 4);
    std::tie(WindowTable[6].DrawingMode, WindowTable[6].RGBColor, WindowTable[7].TextColor) =
        std::tuple(1, t_RGBColor{129, 254, 254, 254}, 0x8F);
    g_Plot(6, 1, 1);
    g_Plot(7, 9, 1);
    EXPECT_EQ(std::string(pixel, pixel + 4) + std::string(Block(7) + 8, Block(7) + 10),
              "\xFF\xA0\xA0\xAA\xFF\xBF");
}

// The file decoded to 0xAARRGGBB words by the library, independently of how it was written.
vx::WindowImage Decode(const std::string& path, spng_ihdr& header) {
    vx::WindowImage image;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    spng_ctx* ctx = spng_ctx_new(0);
    std::size_t size = 0;
    if (file == nullptr || spng_set_png_file(ctx, file) != 0 || spng_get_ihdr(ctx, &header) != 0 ||
        spng_decoded_image_size(ctx, SPNG_FMT_RGBA8, &size) != 0)
        size = 0;
    std::vector<std::uint8_t> rgba(size);
    if (size > 0 && spng_decode_image(ctx, rgba.data(), size, SPNG_FMT_RGBA8, 0) == 0)
        image = {int(header.width), int(header.height), {}};
    for (std::size_t i = 0; image.width > 0 && i + 3 < size; i += 4)
        image.pixels.push_back(std::uint32_t(rgba[i + 3]) << 24 | std::uint32_t(rgba[i]) << 16 |
                               std::uint32_t(rgba[i + 1]) << 8 | rgba[i + 2]);
    spng_ctx_free(ctx);
    if (file != nullptr) std::fclose(file);
    return image;
}

TEST(PictureFile, SavedWindowDecodesToTheComposedImageAtEveryDepthWithTheFewestBitsItsColoursNeed) {
    vx::test::StartToolkit();
    // Depth, width, height, the byte values (which limit the colours, and with them the packed depth of the
    // file), and the bits per pixel in the file's palette (0: true colour).
    // 2, 3, 4, 5, 16, 17, 256 and more colours; odd widths put the last pixel of a row in the middle of a
    // packed byte.
    const std::array<int, 5> cases[] = {{1, 40, 32, 256, 1}, {8, 33, 35, 3, 2},   {8, 35, 32, 4, 2},
                                        {8, 33, 32, 5, 4},   {4, 36, 33, 256, 4}, {8, 34, 32, 17, 8},
                                        {8, 37, 32, 256, 8}, {32, 33, 32, 7, 0}};
    std::uint8_t n = 0;
    for (const auto& [depth, width, height, byteValues, bits] : cases) {
        SCOPED_TRACE(testing::Message() << depth << " bits, " << byteValues << " values");
        OpenShown(n, depth, false, width, height);
        const std::int64_t bytes = WindowTable[n].MemoryEnd - WindowTable[n].MemoryStart + 1;
        for (std::int64_t i = 0; i < bytes; ++i) Block(n)[i] = std::uint8_t((i * 7919 >> 3 ^ i) % byteValues);
        const std::string path = TempPath("window" + std::to_string(n));
        ASSERT_TRUE(vx::SavePicture(n, path));
        spng_ihdr header{};
        const vx::WindowImage decoded = Decode(path, header);
        EXPECT_EQ(decoded.pixels, t_WindowImage(n)->pixels);
        EXPECT_EQ(std::tuple(decoded.width, decoded.height, int(header.color_type), int(header.bit_depth)),
                  std::tuple(width, height, bits > 0 ? SPNG_COLOR_TYPE_INDEXED : SPNG_COLOR_TYPE_TRUECOLOR,
                             bits > 0 ? bits : 8));
        std::remove(path.c_str());
        ++n;
    }
    // A file that cannot be made is reported, and nothing is left behind.
    const std::string missing = testing::TempDir() + "no-such-folder/picture.png";
    EXPECT_FALSE(vx::SavePicture(0, missing) || vx::PictureError().empty() ||
                 access(missing.c_str(), F_OK) == 0);
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename());
    std::ranges::sort(names);
    return names;
}

// A new folder holding only bild.png with the given bytes; answers the folder.
std::string FolderWithPicture(const std::string& bytes) {
    char folder[] = "/tmp/vx-save-XXXXXX";
    if (::mkdtemp(folder) == nullptr) return "";
    std::ofstream(std::string(folder) + "/bild.png", std::ios::binary) << bytes;
    return folder;
}

// An opaque square of xorshift noise, which does not compress.
vx::WindowImage Noise(int side) {
    vx::WindowImage image{side, side, std::vector<std::uint32_t>(std::size_t(side * side))};
    std::uint64_t seed = 88172645463325252u;
    for (std::uint32_t& word : image.pixels) {
        seed ^= seed << 13, seed ^= seed >> 7, seed ^= seed << 17;
        word = 0xFF000000u | std::uint32_t(seed);
    }
    return image;
}

// A save replaces the old picture only when the new one is complete: one cut short by the file-size limit
// (as on a full disk) leaves the old file and no temporary beside it, and files that are not pictures
// (a pipe would block the writer for good, a socket or device node must survive) are refused with a line.
TEST(PictureFile, ReplacesTheOldFileOnlyWithACompletePictureRefusesSpecialFilesAndQuittingWaitsForASave) {
    vx::test::StartToolkit();
    const std::string old(3000, 'o'), folder = FolderWithPicture(old), path = folder + "/bild.png";
    ASSERT_FALSE(folder.empty());
    ::chmod(path.c_str(), 0640);
    const vx::WindowImage noisy = Noise(64);

    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{2000, limit.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool cutShort = vx::WritePng(noisy, path);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_EQ(std::pair(cutShort, vx::PictureError()),
              std::pair(false, std::string("file too large for the disk")));
    EXPECT_TRUE(
        LogContains("WritePng: File " + path + " could not be written (File too large); nothing changed."));
    EXPECT_TRUE(FileBytes(path) == old);
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"bild.png"});

    ASSERT_TRUE(vx::WritePng(noisy, path));
    spng_ihdr header{};
    EXPECT_EQ(Decode(path, header).pixels, noisy.pixels);
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"bild.png"});

    const std::string pipe = folder + "/pipe.png", socket = folder + "/socket.png";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    ASSERT_TRUE(vx::test::BindSocket(socket));
    const std::pair<std::string, std::string> refused[] = {
        {pipe, "not a regular file"}, {folder, "is a folder"}, {socket, "not a regular file"}};
    for (const auto& [target, reason] : refused) {
        EXPECT_EQ(std::pair(vx::WritePng(noisy, target), vx::PictureError()), std::pair(false, reason))
            << target;
        EXPECT_EQ(CountLogLine("WritePng: File " + target + " is not a regular file; nothing written."), 1);
    }
    EXPECT_TRUE(std::filesystem::is_fifo(pipe) && std::filesystem::is_socket(socket));
    std::filesystem::remove(pipe);
    std::filesystem::remove(socket);

    // Quitting waits for a save in progress; one it cannot wait for loses only its temporary file.
    const vx::WindowImage big = Noise(1024);
    for (const int wait : {0, 20'000}) {
        SCOPED_TRACE(wait);
        const std::string before = FileBytes(path);
        std::atomic<bool> saved{true};
        std::thread saver([&] { saved = vx::WritePng(big, path); });
        for (int i = 0; i < 5000 && FolderEntries(folder).size() < 2; ++i) vx::SleepNanoseconds(1'000'000);
        bool failed = false;
        EXPECT_EQ(vx::WaitForPictureSaves(wait, failed), wait > 0);
        saver.join();
        EXPECT_EQ(std::pair(failed, saved.load()), std::pair(wait == 0, wait > 0));
        EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"bild.png"});
        EXPECT_EQ(FileBytes(path) == before, wait == 0);  // the old file, or the whole new picture
    }
    std::filesystem::remove_all(folder);
}

TEST(WindowUpdate, ImmediateUpdateComposesOnReturnAndDeferredOnlyMarks) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    OpenShown(0);
    const int displays = platform.View(0).displays, marks = platform.View(0).marks;
    t_WindowUpdate(0, false);
    const int once = platform.View(0).displays;
    // Directly on the user-interface thread too, where waiting for it would hang.
    OnUserInterfaceThread([] { t_WindowUpdate(0, false); });
    const int twice = platform.View(0).displays;
    t_WindowUpdate(0, true);
    OpenShown(7);
    t_WindowUpdate(7, false);
    EXPECT_EQ(std::vector({once, twice, platform.View(0).marks, platform.View(7).imagesShown}),
              std::vector({displays + 1, displays + 2, marks + 1, 1}));
    // What a view asks when it composes by itself; window 0's vertical blank is down only meanwhile.
    OpenShown(1);
    EXPECT_TRUE(vx::ViewWantsUpdateLayer(7) && vx::ViewComposeImage(7) && WindowPicture(7));
    EXPECT_TRUE(vx::ViewComposeImage(0) && vx::ViewComposeImage(1) && WindowTable[0].VerticalBlank &&
                WindowTable[1].VerticalBlank);
    vx::Store(WindowTable[7].QuickUpdate, false);
    EXPECT_FALSE(vx::ViewWantsUpdateLayer(7));
}

TEST(RefreshProcess, MarksAutoRefreshingWindowsAtMostAtTheirRateAndNotWhileTheirViewComposesUntilQuitting) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    for (const std::uint8_t n : {0, 1, 3, 5, 6, 7}) OpenShown(n, 4, n != 6);
    vx::Store(WindowTable[5].RefreshRate, 0);  // due on every pass
    platform.Flush();                          // no display cycle left that would set VerticalBlank again
    vx::Store(WindowTable[3].VerticalBlank, false);
    const std::int64_t start = vx::AbsoluteTimeMillis();
    int marks[8] = {};
    for (const int n : {0, 1, 3, 5, 6, 7}) marks[n] = -platform.View(n).marks;
    vx::SleepNanoseconds(300'000'000);
    for (const int n : {0, 1, 3, 5, 6, 7}) marks[n] += platform.View(n).marks;
    EXPECT_TRUE(marks[1] >= 1 && marks[1] <= (vx::AbsoluteTimeMillis() - start) / 33 + 2) << marks[1];
    EXPECT_TRUE(marks[5] > 2 * marks[1] && marks[3] == 0 && marks[6] == 0 && marks[0] > 0 && marks[7] > 0);
    // It stops when the platform quits, and logs its end just after it has cleared the running flag.
    platform.BeginQuit();
    for (int i = 0; i < 200 && (AutoUpdateRunning.load() || !LogContains("t_WindowAutoUpdateProcess: End."));
         ++i)
        vx::SleepNanoseconds(5'000'000);
    EXPECT_FALSE(AutoUpdateRunning.load());
    EXPECT_EQ(CountLogLine("t_WindowAutoUpdateProcess: End."), 1);
}

}  // namespace
