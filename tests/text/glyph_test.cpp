#include "text/glyph.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/toolkit_test.h"
#include "vxtools/graphics.h"

namespace {

using namespace vx::test;

TEST(PrintSymbol, FindsTheGlyphByItsCodeAndRecordsTheCellEvenOutsideStartToEnd) {
    t_Window& w = OpenTextWindow(4, 320, 200, Font(8, 8, 32, 127));
    t_PrintSymbol(0, 65, 0xF0, 2, 3);
    t_PrintSymbol(0, 200, 0x3A, 1, 1);  // codes outside Start..End record the cell but draw nothing
    t_PrintSymbol(0, 31, 0x3A, 2, 1);
    EXPECT_TRUE(ShowsGlyph(w, 2, 3, 65, 15, 0));
    EXPECT_TRUE(ShowsGlyph(w, 1, 1, 32, 0, 0));
    EXPECT_TRUE(ShowsGlyph(w, 2, 1, 32, 0, 0));
    EXPECT_EQ(CellChar(w, 1, 1), 200);
    EXPECT_EQ(CellColour(w, 2, 1), 0x3A);
}

// One glyph whose first row holds the given weights.
t_Font WeightFont(std::initializer_list<std::uint8_t> weights) {
    t_Font font = Font();
    std::size_t i = 65 * 64;
    for (std::uint8_t g : weights) font.Data[i++] = g;
    return font;
}

TEST(PrintSymbol, FourBitsMapsGreysOntoGreyEntriesAndColoursOntoTheNearest) {
    t_Window& w = OpenTextWindow(4, 320, 200, WeightFont({0, 255, 128, 64, 63, 191, 192, 127}));
    t_PrintSymbol(0, 65, 0xF0, 1, 1);
    std::vector<int> row;
    for (int x = 0; x < 8; ++x) row.push_back(Nibble(w, x, 0));
    EXPECT_EQ(row, (std::vector<int>{0, 15, 10, 5, 0, 10, 15, 5}));

    // Red ink at weight 128 on black gives (128, 0, 0): nearest is brown (128, 64, 0), index 8.
    t_PrintSymbol(0, 65, 0x10, 2, 1);
    EXPECT_EQ(Nibble(w, 10, 0), 8);
}

TEST(PrintSymbol, FourBitCellsStartingOnAnOddPixelKeepTheirNeighboursNibbles) {
    t_Window& w =
        OpenTextWindow(4, 320, 200, Font(5, 8));  // cells 5 pixels wide: every second one starts odd
    std::memset(VideoMemory + w.MemoryStart, 0x77, std::size_t(160 * 200));
    t_PrintSymbol(0, 'K', 0xF0, 2, 1);  // pixels 5..9: starts in the low nibble of byte 2
    EXPECT_TRUE(ShowsGlyph(w, 2, 1, 'K', 15, 0));
    for (int r = 0; r < 8; ++r) {
        EXPECT_EQ(Nibble(w, 4, r), 7) << "row " << r;   // last pixel of cell 1
        EXPECT_EQ(Nibble(w, 10, r), 7) << "row " << r;  // first pixel of cell 3
    }
    t_PrintSymbol(0, 'J', 0x20, 3, 1);  // pixels 10..14: ends in the high nibble of byte 7
    EXPECT_TRUE(ShowsGlyph(w, 2, 1, 'K', 15, 0));
    EXPECT_TRUE(ShowsGlyph(w, 3, 1, 'J', 2, 0));
    EXPECT_EQ(Nibble(w, 15, 0), 7);
}

TEST(PrintSymbol, OneBitLightsWhenTheBlendIsBrightOnAverage) {
    t_Window& w = OpenTextWindow(1, 320, 200, WeightFont({255, 255, 255, 255, 255, 255, 255, 255}));
    t_PrintSymbol(0, 65, 0xC0, 1, 1);  // green ink: 0 + 255 + 0 < 384
    EXPECT_EQ(VideoMemory[w.MemoryStart], 0x00);
    t_PrintSymbol(0, 65, 0xF0, 1, 1);
    EXPECT_EQ(VideoMemory[w.MemoryStart], 0xFF);
}

TEST(PrintSymbol, DeeperWindowsStoreBlendedComponentsAndKeepAlpha) {
    // Ink 9 (255, 128, 0) on paper 2 (0, 0, 128) at weight 100; greys blend the averages 127 and 42.
    const std::vector<int> expected[] = {{74}, {77, 74}, {100, 50, 77}, {77, 100, 50, 77}};
    for (std::uint8_t n = 0; n < 4; ++n) {
        const int depth = 8 * (n + 1);
        t_Window& w = OpenTextWindow(depth, 64, 64, WeightFont({100}), n);
        std::uint8_t* p = PixelBytes(w, 0, 0);
        p[0] = 77;  // the alpha byte at 16 and 32 bits must stay
        t_PrintSymbol(n, 65, 0x92, 1, 1);
        EXPECT_EQ(std::vector<int>(p, p + depth / 8), expected[n]) << depth;
    }
}

TEST(PrintSymbol, InverseSwapsInkAndPaperAndRedirectionWritesTheCharacterInstead) {
    t_Window& w = OpenTextWindow();
    w.TextInverse = true;
    t_PrintSymbol(0, 65, 192, 1, 1);
    EXPECT_TRUE(ShowsGlyph(w, 1, 1, 65, 0, 12));
    EXPECT_EQ(CellColour(w, 1, 1), 12);
    w.TextRedirectOutput = 0;  // output off
    t_PrintSymbol(0, 66, 0xF0, 2, 1);
    EXPECT_TRUE(ShowsGlyph(w, 2, 1, 32, 0, 0));
    // Redirected output reaches standard output even from a window that is not set up.
    WindowRecord(5).TextRedirectOutput = 2;
    t_PrintSymbol(5, 0xE4, 0xF0, 1, 1);
    EXPECT_EQ(vx::TakeCapturedLog(), "\xC3\xA4");
}

TEST(PrintSymbol, CellsOnTheEdgeAreLegalAndBeyondAreRefused) {
    t_Window& w = OpenTextWindow(4, 324, 204);  // 40 x 25 cells with pixels to spare
    const std::uint64_t outside = OutsideChecksum(w);
    t_PrintSymbol(0, 65, 0xF0, 40, 25);
    EXPECT_EQ(CellChar(w, 40, 25), 65);
    for (auto [x, y] :
         {std::pair<std::int64_t, std::int64_t>{41, 1}, {1, 26}, {0, 1}, {1, 0}, {INT64_MAX, 3}})
        t_PrintSymbol(0, 65, 0xF0, x, y);
    EXPECT_EQ(TakeLogLines().front(), "t_PrintSymbol: Window #0 illegal coordinates (x = 41, y = 1).");
    EXPECT_EQ(OutsideChecksum(w), outside);
}

TEST(PrintSymbol, OtherFormatsAreRefusedAndDataIsNeverReadBeyondItsEnd) {
    t_Window& w = OpenTextWindow();
    w.Font.Format = 7;
    t_PrintSymbol(0, 67, 0xF0, 1, 1);
    EXPECT_EQ(CellChar(w, 1, 1), 67);
    EXPECT_TRUE(ShowsGlyph(w, 1, 1, 32, 0, 0));

    w.Font.Format = 2;
    const std::uint64_t outside = OutsideChecksum(w);
    w.Font.Data.resize(65 * 64 + 20);  // glyph 65 is cut after two and a half rows
    t_PrintSymbol(0, 65, 0xF0, 1, 1);
    EXPECT_EQ(Nibble(w, 3, 2), GlyphInk(65, 3, 2) ? 15 : 0);  // drawn as far as the data goes
    t_PrintSymbol(0, 200, 0xF0, 2, 1);                        // entirely beyond Data

    // Glyph sizes a program wrote into the record: nothing drawn, nothing outside touched.
    w.Font = Font();
    for (auto [width, height] : {std::pair{0, 8}, {-8, 8}, {8, 1 << 20}}) {
        w.Font.Width = width;
        w.Font.Height = height;
        t_PrintSymbol(0, 65, 0xF0, 1, 1);
    }
    EXPECT_EQ(OutsideChecksum(w), outside);
}

}  // namespace
