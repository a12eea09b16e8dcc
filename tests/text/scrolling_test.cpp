#include "text/scrolling.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string_view>
#include <vector>

#include "support/toolkit_test.h"
#include "text/cursor.h"
#include "text/glyph.h"
#include "text/output.h"

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
    w.TextFirstLine = 3;
    w.TextLastLine = 10;
    t_ScrollDown(0);
    EXPECT_EQ(CellChar(w, 1, 2), 'A' + 2);
    EXPECT_EQ(CellChar(w, 1, 3), ' ');
    EXPECT_TRUE(ShowsGlyph(w, 40, 4, 'A' + 3, 4, 0));
    EXPECT_EQ(CellChar(w, 40, 11), 'A' + 11);
}

TEST(Scrolling, NarrowWindowsRedrawCellByCellAndLeaveOtherPixelsAlone) {
    t_Window& w = OpenTextWindow(4, 320, 200);
    FillLines(w);
    SetTextArea(w, 3, 5, 2, 4);
    w.TextInverse = true;
    t_ScrollUp(0);
    EXPECT_EQ(CellChar(w, 5, 3), 'A' + 4);
    EXPECT_EQ(CellChar(w, 5, 4), ' ');
    EXPECT_TRUE(ShowsGlyph(w, 4, 2, 'A' + 3, 4, 0));  // drawn as stored, not inverted
    EXPECT_TRUE(ShowsGlyph(w, 6, 2, 'A' + 2, 3, 0));
    t_ScrollDown(0);
    EXPECT_EQ(CellChar(w, 3, 2), ' ');
    EXPECT_EQ(CellChar(w, 3, 3), 'A' + 3);

    // A one-line window only blanks its line; scroll lock stops scrolling.
    FillLines(w);
    w.TextFirstLine = w.TextLastLine = 7;
    t_ScrollDown(0);
    EXPECT_EQ(CellChar(w, 3, 7), ' ');
    EXPECT_EQ(CellChar(w, 3, 8), 'A' + 8);
    FillLines(w);
    w.ScrollLock = true;
    t_ScrollUp(0);
    EXPECT_EQ(CellChar(w, 3, 7), 'A' + 7);
}

TEST(Scrolling, ClearingBlanksToTheEndAndKeepsTheCursor) {
    t_Window& w = OpenTextWindow(4, 320, 200);
    FillLines(w);
    w.TextLastLine = 20;
    SetCursor(w, 10, 18);
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
}

TEST(MoveVideoMemory, RefusesRangesOutsideVideoMemory) {
    OpenTextWindow();
    MoveVideoMemory(100, 200, -5);
    MoveVideoMemory(-1, 200, 5);
    MoveVideoMemory(100, kVideoMemorySize - 4, 5);
    MoveVideoMemory(100, 0, INT64_MAX);
    MoveVideoMemory(INT64_MAX, 0, 2);
    EXPECT_EQ(CountLogLine("MoveVideoMemory: Range outside video memory."), 4);
}

TEST(Cursor, MovesInsideTheTextWindowAndScrollsAtItsEnds) {
    t_Window& w = OpenTextWindow(4, 320, 200);  // 40 x 25
    SetTextArea(w, 5, 30, 3, 20);
    t_CursorEnd(0);
    t_CursorRight(0);  // beyond the last column: return and line feed, here with a scroll
    EXPECT_EQ(CursorOf(w), Pos(5, 20));
    t_Htab(0, 2);  // counted from the first column, inside the grid only
    EXPECT_EQ(w.TextHpos, 6);
    for (std::int64_t column : {std::int64_t(0), std::int64_t(37), INT64_MAX, INT64_MIN}) t_Htab(0, column);
    EXPECT_EQ(w.TextHpos, 6);
    t_Htab(0, 36);  // column 40 of the grid, right of the text window
    EXPECT_EQ(w.TextHpos, 40);

    // Right on the last cell scrolls up, left on the first scrolls down.
    SetTextArea(w, 1, 40, 1, 25);
    t_PrintSymbol(0, 'B', 0xC0, 1, 2);
    t_CursorEnd(0);
    t_CursorRight(0);
    EXPECT_EQ(CursorOf(w), Pos(1, 25));
    EXPECT_EQ(CellChar(w, 1, 1), 'B');
    t_CursorHome(0);
    t_CursorLeft(0);
    EXPECT_EQ(CursorOf(w), Pos(40, 1));
    EXPECT_EQ(CellChar(w, 1, 2), 'B');
}

TEST(Cursor, BadTextWindowBoundsAndCursorsNeitherHangNorLeaveTheBlocks) {
    const std::int64_t bounds[][4] = {
        {30, 5, 20, 3}, {0, 0, 0, 0}, {41, 50, 26, 30}, {INT64_MIN, INT64_MAX, INT64_MAX, INT64_MIN}};
    const std::int64_t cursors[][2] = {{1, 1}, {1000, -1000}, {INT64_MAX, INT64_MAX}, {INT64_MIN, INT64_MIN}};
    // Every control code and escape command that moves, clears or scrolls, each from the cursor given.
    const std::string_view moves[] = {"\x08", "\n",    "\x0B",  "\x0C",  "\r",    "\x12",
                                      "\x16", "\x17",  "\x19",  "\x1A",  "\x1C",  "\x1D",
                                      "\x1E", "\033e", "\033f", "\033i", "\033j", "\033k"};
    for (const int depth : {1, 4}) {
        t_Window& w = OpenTextWindow(depth, 96, 64);  // 12 x 8
        const std::uint64_t outside = OutsideChecksum(w);
        for (auto& b : bounds) {
            for (auto& c : cursors) {
                SetTextArea(w, b[0], b[1], b[2], b[3]);
                for (auto move : moves) {
                    SetCursor(w, c[0], c[1]);
                    t_Print(0, move);
                }
                t_Htab(0, 3);
                t_CursorHome(0);
                EXPECT_GE(w.TextHpos, 1);
                EXPECT_LE(w.TextHpos, 12);
                t_CursorEnd(0);
                EXPECT_GE(w.TextVpos, 1);
                EXPECT_LE(w.TextVpos, 8);
            }
        }
        EXPECT_EQ(OutsideChecksum(w), outside) << depth;
    }
}

}  // namespace
