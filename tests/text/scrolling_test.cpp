#include "text/scrolling.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "support/toolkit_test.h"
#include "text/cursor.h"
#include "text/glyph.h"

namespace {

using namespace vx::test;

// Fills every cell of a 40 x 25 window with a letter and colour that name its line.
void FillLines(t_Window& w) {
    for (int y = 1; y <= w.TextHeight; ++y)
        for (int x = 1; x <= w.TextWidth; ++x)
            t_PrintSymbol(0, std::uint8_t('A' + y), std::uint8_t((y % 15 + 1) << 4), x, y);
}

// Full-width scrolling moves whole pixel rows; at every depth the moved pixels must equal the cells drawn
// there directly.
TEST(Scrolling, FullWidthScrollUpAtEveryDepthEqualsDrawingTheLinesOneHigher) {
    for (const int depth : {1, 4, 8, 16, 24, 32}) {
        t_Window& w = OpenTextWindow(depth, 320, 200);
        FillLines(w);
        t_ScrollUp(0);
        const std::int64_t rowBytes = 320 * depth / 8;
        std::vector<std::uint8_t> scrolled(VideoMemory + w.MemoryStart,
                                           VideoMemory + w.MemoryStart + 24 * 8 * rowBytes);
        for (int y = 1; y <= 24; ++y)
            for (int x = 1; x <= 40; ++x)
                t_PrintSymbol(0, std::uint8_t('A' + y + 1), std::uint8_t(((y + 1) % 15 + 1) << 4), x, y);
        EXPECT_EQ(0, std::memcmp(scrolled.data(), VideoMemory + w.MemoryStart, scrolled.size()))
            << depth << " bits";
        EXPECT_EQ(CellChar(w, 40, 25), ' ') << depth << " bits";
        vx::TakeCapturedLog();
    }
}

TEST(Scrolling, FullWidthMovesPixelsRightOfTheTextAndBlanksInTheTextColourUnderInversion) {
    t_Window& w = OpenTextWindow(4, 324, 200);  // four pixels right of the text columns
    FillLines(w);
    VideoMemory[w.MemoryStart + 8 * 162 + 161] = 0x77;  // right of the text on pixel row 8 (line 2)
    w.TextColor = 0x3E;
    w.TextInverse = true;
    t_ScrollUp(0);
    EXPECT_EQ(VideoMemory[w.MemoryStart + 0 * 162 + 161], 0x77);
    EXPECT_EQ(CellColour(w, 40, 25), 0xE3);
    EXPECT_TRUE(ShowsGlyph(w, 1, 25, ' ', 14, 3));

    // Down, inside lines 3 to 10.
    w.TextInverse = false;
    FillLines(w);
    w.TextFirstLine = 3, w.TextLastLine = 10;
    t_ScrollDown(0);
    EXPECT_EQ(CellChar(w, 1, 2), 'A' + 2);
    EXPECT_EQ(CellChar(w, 1, 3), ' ');
    EXPECT_TRUE(ShowsGlyph(w, 40, 4, 'A' + 3, 4, 0));
    EXPECT_EQ(CellChar(w, 40, 11), 'A' + 11);
}

TEST(Scrolling, NarrowWindowsRedrawCellByCellAndLeaveOtherPixelsAlone) {
    t_Window& w = OpenTextWindow(4, 320, 200);
    FillLines(w);
    w.TextFirstColumn = 3, w.TextLastColumn = 5, w.TextFirstLine = 2, w.TextLastLine = 4;
    w.TextInverse = true;
    t_ScrollUp(0);
    EXPECT_EQ(CellChar(w, 5, 3), 'A' + 4);
    EXPECT_EQ(CellChar(w, 5, 4), ' ');
    EXPECT_TRUE(ShowsGlyph(w, 4, 2, 'A' + 3, 4, 0));  // drawn as stored, not inverted
    EXPECT_TRUE(ShowsGlyph(w, 6, 2, 'A' + 2, 3, 0));
    EXPECT_TRUE(ShowsGlyph(w, 2, 2, 'A' + 2, 3, 0));
    t_ScrollDown(0);
    EXPECT_EQ(CellChar(w, 3, 2), ' ');
    EXPECT_EQ(CellChar(w, 3, 3), 'A' + 3);

    // A one-line window only blanks its line; scroll lock stops scrolling silently, even in a window
    // that is not set up.
    FillLines(w);
    w.TextFirstLine = w.TextLastLine = 7;
    t_ScrollDown(0);
    EXPECT_EQ(CellChar(w, 3, 7), ' ');
    EXPECT_EQ(CellChar(w, 3, 8), 'A' + 8);
    FillLines(w);
    w.ScrollLock = true;
    t_ScrollUp(0);
    EXPECT_EQ(CellChar(w, 3, 7), 'A' + 7);
    WindowRecord(4).ScrollLock = true;
    t_ScrollUp(4);
    EXPECT_EQ(vx::TakeCapturedLog(), "");
}

TEST(Scrolling, ClearingBlanksToTheEndAndKeepsTheCursor) {
    t_Window& w = OpenTextWindow(4, 320, 200);
    FillLines(w);
    w.TextLastLine = 20;
    w.TextHpos = 10, w.TextVpos = 18;
    w.TextColor = 0x52;
    t_ClearEndOfWindow(0);
    EXPECT_EQ(CursorOf(w), Pos(10, 18));
    EXPECT_EQ(CellChar(w, 9, 18), 'A' + 18);
    for (int y = 18; y <= 20; ++y)
        for (int x = (y == 18 ? 10 : 1); x <= 40; ++x) {
            EXPECT_EQ(CellChar(w, x, y), ' ');
            EXPECT_EQ(CellColour(w, x, y), 0x52);
        }
    EXPECT_EQ(CellChar(w, 1, 21), 'A' + 21);

    w.TextHpos = 45;  // right of the last column: only the cursor's cell would be blanked, and it is outside
    t_ClearEndOfLine(0);
    EXPECT_EQ(vx::TakeCapturedLog(), "t_PrintSymbol: Window #0 illegal coordinates (x = 45, y = 18).\n");
}

TEST(MoveVideoMemory, MovesOverlappingRangesAndRefusesRangesOutside) {
    OpenTextWindow();
    for (int i = 0; i < 10; ++i) VideoMemory[100 + i] = std::uint8_t(i);
    MoveVideoMemory(100, 102, 8);
    MoveVideoMemory(103, 101, 7);
    EXPECT_EQ(std::vector<int>(VideoMemory + 100, VideoMemory + 110),
              (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 6, 7}));
    MoveVideoMemory(100, 200, -5);
    MoveVideoMemory(-1, 200, 5);
    MoveVideoMemory(100, kVideoMemorySize - 4, 5);
    MoveVideoMemory(100, 0, INT64_MAX);
    MoveVideoMemory(INT64_MAX, 0, 2);
    EXPECT_EQ(CountLogLine("MoveVideoMemory: Range outside video memory."), 4);
}

}  // namespace
