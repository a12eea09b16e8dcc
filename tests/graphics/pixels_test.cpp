#include "graphics/pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/state.h"
#include "display/window_init.h"
#include "graphics/palette.h"
#include "support/toolkit_test.h"

namespace {

// Log lines of the operations under test; the refresh process starts on its own thread and logs whenever
// it gets there.
std::vector<std::string> OwnLines() {
    std::vector<std::string> lines = vx::test::TakeLogLines();
    std::erase_if(lines, [](const std::string& l) { return l.starts_with("t_WindowAutoUpdateProcess:"); });
    return lines;
}

void Open(std::uint8_t n, int depth, int width = 64, int height = 32) {
    t_InitWindow(n, depth, false, width, height, 0, 0, t_Font{}, true);
}

std::uint8_t* Block(std::uint8_t n) {
    return VideoMemory + WindowTable[n].MemoryStart;
}

TEST(Palette, GivesOpaqueEntriesAndBlackOutsideTheTable) {
    EXPECT_EQ(t_PaletteColor(0), (t_RGBColor{255, 0, 0, 0}));
    EXPECT_EQ(t_PaletteColor(3), (t_RGBColor{255, 255, 0, 255}));
    EXPECT_EQ(t_PaletteColor(5), (t_RGBColor{255, 84, 84, 84}));
    EXPECT_EQ(t_PaletteColor(15), (t_RGBColor{255, 255, 255, 255}));
    EXPECT_EQ(t_PaletteColor(16), (t_RGBColor{255, 0, 0, 0}));
    EXPECT_EQ(t_PaletteColor(-1), (t_RGBColor{255, 0, 0, 0}));
    EXPECT_EQ(t_PaletteColor(8).Packed(), 0x004080FFu);
}

TEST(Pixels, RefuseOtherWindowsAndUninitialisedOnes) {
    vx::test::StartToolkit();
    t_Color(3, 1);
    g_Plot(8, 0, 0);
    EXPECT_EQ(g_Scrn(255, 0, 0), (t_RGBColor{255, 0, 0, 0}));
    Open(0, 4);
    g_Plot(2, 0, 0);
    EXPECT_EQ(g_Scrn(2, 0, 0), (t_RGBColor{255, 0, 0, 0}));
    t_Color(2, 1);
    const auto lines = vx::test::TakeLogLines();
    auto has = [&](const std::string& l) { return std::count(lines.begin(), lines.end(), l); };
    EXPECT_EQ(has("t_Color: Window #3 not initialized."), 1);
    EXPECT_EQ(has("g_Plot: Window is not a graphic window."), 1);
    EXPECT_EQ(has("g_Scrn: Window is not a graphic window."), 1);
    EXPECT_EQ(has("g_Plot: Graphic window #2 not initialized."), 1);
    EXPECT_EQ(has("g_Scrn: Graphic window #2 not initialized."), 1);
    EXPECT_EQ(has("t_Color: Window #2 not initialized."), 1);
}

TEST(Pixels, ColourIndexKeepsPaperAndUsesLowFourBits) {
    vx::test::StartToolkit();
    Open(0, 8);
    WindowTable[0].TextColor = 0xC7;
    t_Color(0, 17);
    EXPECT_EQ(WindowTable[0].TextColor, 0x17);
    EXPECT_EQ(WindowTable[0].RGBColor, t_PaletteColor(1));
    t_Color(0, -1);
    EXPECT_EQ(WindowTable[0].TextColor, 0xF7);
    EXPECT_EQ(WindowTable[0].RGBColor, t_PaletteColor(15));
}

TEST(Pixels, PlotsInsideOnlyAndRemembersTheLastPoint) {
    vx::test::StartToolkit();
    Open(0, 4, 64, 32);
    t_Color(0, 15);
    g_Plot(0, 63, 31);
    EXPECT_EQ(Block(0)[32 * 32 - 1], 0x0F);
    EXPECT_EQ(WindowTable[0].PositionX, 63);
    EXPECT_EQ(WindowTable[0].PositionY, 31);
    const std::int64_t end = WindowTable[0].MemoryEnd;
    const std::uint8_t after = VideoMemory[end + 1];
    for (auto [x, y] : {std::pair{64, 0}, {0, 32}, {-1, 0}, {0, -1}, {1 << 30, 1 << 30}}) g_Plot(0, x, y);
    EXPECT_EQ(WindowTable[0].PositionX, 63);
    EXPECT_EQ(VideoMemory[end + 1], after);
}

TEST(Pixels, OneBitWindowsSplitTheColoursAtNine) {
    vx::test::StartToolkit();
    Open(1, 1);
    t_Color(1, 8);
    g_Plot(1, 0, 0);
    EXPECT_EQ(g_Scrn(1, 0, 0), t_PaletteColor(0));
    t_Color(1, 9);
    g_Plot(1, 1, 0);
    EXPECT_EQ(g_Scrn(1, 1, 0), t_PaletteColor(15));
    EXPECT_EQ(Block(1)[0], 0x40);
    g_Plot(1, 9, 1);
    EXPECT_EQ(Block(1)[64 / 8 + 1], 0x40);
}

TEST(Pixels, FourBitWindowsPackTwoPixelsPerByteHighNibbleFirst) {
    vx::test::StartToolkit();
    Open(0, 4);
    t_Color(0, 3);
    g_Plot(0, 0, 0);
    t_Color(0, 12);
    g_Plot(0, 1, 0);
    EXPECT_EQ(Block(0)[0], 0x3C);
    EXPECT_EQ(g_Scrn(0, 0, 0), t_PaletteColor(3));
    EXPECT_EQ(g_Scrn(0, 1, 0), t_PaletteColor(12));
    EXPECT_EQ(g_Scrn(0, 64, 0), (t_RGBColor{255, 0, 0, 0}));
}

TEST(Pixels, GreyDepthsStoreTheAverageAndReadBackWithTheirAlpha) {
    vx::test::StartToolkit();
    Open(0, 8);
    WindowTable[0].RGBColor = {255, 255, 0, 0};
    g_Plot(0, 2, 1);
    EXPECT_EQ(Block(0)[64 + 2], 85);
    EXPECT_EQ(g_Scrn(0, 2, 1), (t_RGBColor{0, 85, 85, 85}));

    Open(1, 16);
    for (std::int64_t mode : {0, 1, 8, -3}) {
        WindowTable[1].DrawingMode = mode;
        WindowTable[1].RGBColor = {std::uint8_t(7 + mode), 30, 60, 90};
        g_Plot(1, 1, 0);
        EXPECT_EQ(Block(1)[2], 7 + mode);
        EXPECT_EQ(Block(1)[3], 60);
    }
    EXPECT_EQ(g_Scrn(1, 1, 0), (t_RGBColor{4, 60, 60, 60}));
}

TEST(Pixels, TrueColourDrawingModesCombineWithTheStoredPixel) {
    vx::test::StartToolkit();
    Open(0, 24);
    Open(1, 32);
    struct Case {
        std::int64_t mode;
        t_RGBColor expect24, expect32;
    };
    // Stored pixel: alpha 40, red 0x0F, green 0xF0, blue 0x55. New colour: alpha 128, 0xFF, 0x0F, 0x33.
    const Case cases[] = {
        {0, {0, 0xFF, 0x0F, 0x33}, {128, 0xFF, 0x0F, 0x33}},
        {1,
         {0, 0x87, 0x7F, 0x44},
         {40, 0xFF * 128 / 255 + 0x0F * 127 / 255, 0x0F * 128 / 255 + 0xF0 * 127 / 255,
          0x33 * 128 / 255 + 0x55 * 127 / 255}},
        {2, {0, 0xFF, 0x0F, 0x33}, {255, 0xFF, 0x0F, 0x33}},
        {3, {0, 0xFF, 0x0F, 0x33}, {40, 0xFF, 0x0F, 0x33}},
        {4, {0, 0x87, 0x7F, 0x44}, {40, 0x87, 0x7F, 0x44}},
        {5, {0, 0x0F, 0x00, 0x11}, {40, 0x0F, 0x00, 0x11}},
        {6, {0, 0xFF, 0xFF, 0x77}, {40, 0xFF, 0xFF, 0x77}},
        {7, {0, 0xF0, 0xFF, 0x66}, {40, 0xF0, 0xFF, 0x66}},
        {8, {0, 0x0F, 0xF0, 0x55}, {40, 0x0F, 0xF0, 0x55}},
        {-1, {0, 0x0F, 0xF0, 0x55}, {40, 0x0F, 0xF0, 0x55}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        const std::uint8_t stored24[3] = {0x0F, 0xF0, 0x55}, stored32[4] = {40, 0x0F, 0xF0, 0x55};
        std::memcpy(Block(0) + 3 * 5, stored24, 3);
        std::memcpy(Block(1) + 4 * 5, stored32, 4);
        for (std::uint8_t n : {0, 1}) {
            WindowTable[n].DrawingMode = c.mode;
            WindowTable[n].RGBColor = {128, 0xFF, 0x0F, 0x33};
            WindowTable[n].PositionX = 0;
            g_Plot(n, 5, 0);
            EXPECT_EQ(WindowTable[n].PositionX, 5);
        }
        EXPECT_EQ(g_Scrn(0, 5, 0), c.expect24);
        EXPECT_EQ(g_Scrn(1, 5, 0), c.expect32);
    }
}

TEST(Pixels, TransparentColourInBlendModeLeavesThePixelAndModeZeroStoresItsAlpha) {
    vx::test::StartToolkit();
    Open(0, 32);
    const std::uint8_t stored[4] = {200, 10, 20, 30};
    std::memcpy(Block(0), stored, 4);
    WindowTable[0].RGBColor = {0, 250, 250, 250};
    WindowTable[0].DrawingMode = 1;
    g_Plot(0, 0, 0);
    EXPECT_EQ(g_Scrn(0, 0, 0), (t_RGBColor{200, 10, 20, 30}));
    WindowTable[0].DrawingMode = 0;
    g_Plot(0, 0, 0);
    EXPECT_EQ(g_Scrn(0, 0, 0), (t_RGBColor{0, 250, 250, 250}));
}

TEST(Pixels, IllegalDepthIsLoggedAndStillMovesThePosition) {
    vx::test::StartToolkit();
    Open(0, 8);
    vx::test::TakeLogLines();
    WindowTable[0].BitDepth = 12;
    g_Plot(0, 3, 4);
    EXPECT_EQ(WindowTable[0].PositionX, 3);
    EXPECT_EQ(WindowTable[0].PositionY, 4);
    EXPECT_EQ(g_Scrn(0, 3, 4), (t_RGBColor{255, 0, 0, 0}));
    EXPECT_EQ(OwnLines(), std::vector<std::string>{"g_Plot: Illegal bit depth (12)."});
}

TEST(Pixels, RecordsThatPointOutsideVideoMemoryAreNotDrawnInto) {
    vx::test::StartToolkit();
    Open(0, 32, 64, 32);
    t_Window& w = WindowTable[0];
    w.MemoryStart = kVideoMemorySize - 16;
    w.MemoryEnd = kVideoMemorySize + 100000;
    g_Plot(0, 63, 31);
    w.MemoryStart = -64;
    w.MemoryEnd = 64 * 32 * 4;
    g_Plot(0, 0, 0);
    w.MemoryStart = 0x100000;
    w.MemoryEnd = 0x100000 + 100;  // smaller than the geometry needs
    g_Plot(0, 63, 31);
    EXPECT_EQ(w.PositionX, 0);
    EXPECT_EQ(VideoMemory[0x100000 + 64 * 32 * 4 - 1], 0xFF);
}

}  // namespace
