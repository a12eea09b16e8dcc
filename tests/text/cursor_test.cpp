#include "text/cursor.h"

#include <gtest/gtest.h>

#include "support/toolkit_test.h"
#include "text/glyph.h"
#include "text/scrolling.h"

namespace {

using namespace vx::test;

TEST(Cursor, MovesInsideTheTextWindowAndWrapsScrollingAtTheEnds) {
    t_Window& w = OpenTextWindow(4, 320, 200);  // 40 x 25
    w.TextFirstColumn = 5, w.TextLastColumn = 30, w.TextFirstLine = 3, w.TextLastLine = 20;
    t_CursorHome(0);
    EXPECT_EQ(CursorOf(w), Pos(5, 3));
    t_CursorEnd(0);
    EXPECT_EQ(CursorOf(w), Pos(30, 20));
    t_CursorLeft(0);
    EXPECT_EQ(w.TextHpos, 29);
    t_CursorRight(0);
    t_CursorRight(0);  // beyond the last column: return and line feed, here with a scroll
    EXPECT_EQ(CursorOf(w), Pos(5, 20));
    t_CursorUp(0);
    EXPECT_EQ(w.TextVpos, 19);
    t_Cr(0);
    EXPECT_EQ(CursorOf(w), Pos(5, 20));
    EXPECT_EQ(vx::TakeCapturedLog(), "");

    // Right on the last cell scrolls up, left on the first scrolls down.
    w.TextFirstColumn = 1, w.TextLastColumn = 40, w.TextFirstLine = 1, w.TextLastLine = 25;
    t_PrintSymbol(0, 'B', 0xC0, 1, 2);
    t_CursorEnd(0);
    t_CursorRight(0);
    EXPECT_EQ(CursorOf(w), Pos(1, 25));
    EXPECT_EQ(CellChar(w, 1, 1), 'B');
    t_CursorHome(0);
    t_CursorLeft(0);
    EXPECT_EQ(CursorOf(w), Pos(40, 1));
    EXPECT_EQ(CellChar(w, 1, 2), 'B');
    EXPECT_EQ(CellChar(w, 1, 1), ' ');
}

TEST(Cursor, HtabAcceptsColumnsInsideTheGridOnly) {
    t_Window& w = OpenTextWindow(4, 320, 200);
    w.TextVpos = 7;
    t_Htab(0, 0);
    EXPECT_EQ(w.TextHpos, 1);
    t_Htab(0, 40);
    EXPECT_EQ(w.TextHpos, 40);
    t_Htab(0, 41);
    t_Htab(0, INT64_MAX);
    t_Htab(0, INT64_MIN);
    EXPECT_EQ(w.TextHpos, 40);
    w.TextFirstColumn = 11;
    t_Htab(0, 30);  // column 40 of the grid; beyond the text window's last column is accepted
    EXPECT_EQ(w.TextHpos, 40);
    t_Htab(0, 31);
    EXPECT_EQ(w.TextHpos, 40);
    EXPECT_EQ(w.TextVpos, 7);
    EXPECT_EQ(vx::TakeCapturedLog(), "");
}

TEST(Cursor, ScrollLockKeepsTheCursorOnTheLastLineAndWindowsWithoutTextAreRefused) {
    t_Window& w = OpenTextWindow(4, 320, 200);
    t_PrintSymbol(0, 'Q', 0xC0, 1, 1);
    w.ScrollLock = true;
    t_CursorEnd(0);
    t_CursorDown(0);
    t_Cr(0);
    EXPECT_EQ(w.TextVpos, 25);
    EXPECT_EQ(CellChar(w, 1, 1), 'Q');
    EXPECT_EQ(vx::TakeCapturedLog(), "");

    t_CursorHome(9);
    t_Cr(2);
    EXPECT_EQ(vx::TakeCapturedLog(),
              "t_CursorHome: Window is not a graphic window.\nt_Cr: Window #2 not initialized.\n");
    OpenTextWindow(4, 64, 64, t_Font{}, 2);
    t_CursorDown(2);
    EXPECT_EQ(vx::TakeCapturedLog(), "t_CursorDown: Window #2 not initialized.\n");
}

TEST(Cursor, BadTextWindowBoundsNeitherHangNorLeaveTheBlocks) {
    t_Window& w = OpenTextWindow(4, 320, 200);
    const std::uint64_t outside = OutsideChecksum(w);
    const std::int64_t bounds[][4] = {{30, 5, 20, 3},
                                      {0, 0, 0, 0},
                                      {-9, 100, -9, 100},
                                      {41, 50, 26, 30},
                                      {INT64_MIN, INT64_MAX, INT64_MAX, INT64_MIN}};
    const std::int64_t cursors[][2] = {
        {1, 1}, {0, 0}, {1000, -1000}, {INT64_MAX, INT64_MAX}, {INT64_MIN, INT64_MIN}};
    for (auto& b : bounds) {
        for (auto& c : cursors) {
            w.TextFirstColumn = b[0], w.TextLastColumn = b[1], w.TextFirstLine = b[2], w.TextLastLine = b[3];
            auto place = [&] { w.TextHpos = c[0], w.TextVpos = c[1]; };
            place(), t_CursorRight(0);
            place(), t_CursorLeft(0);
            place(), t_CursorUp(0);
            place(), t_CursorDown(0);
            place(), t_Cr(0);
            place(), t_Htab(0, 3);
            place(), t_ClearEndOfLine(0);
            place(), t_ClearEndOfWindow(0);
            t_ScrollUp(0);
            t_ScrollDown(0);
            t_CursorHome(0);
            EXPECT_GE(w.TextHpos, 1);
            EXPECT_LE(w.TextHpos, 40);
            t_CursorEnd(0);
            EXPECT_GE(w.TextVpos, 1);
            EXPECT_LE(w.TextVpos, 25);
        }
    }
    EXPECT_EQ(OutsideChecksum(w), outside);
}

}  // namespace
