#include "text/cursor.h"

#include <gtest/gtest.h>

#include "support/toolkit_test.h"
#include "text/glyph.h"
#include "text/output.h"
#include "text/scrolling.h"

namespace {

using namespace vx::test;

TEST(Cursor, MovesInsideTheTextWindowAndScrollsAtItsEnds) {
    t_Window& w = OpenTextWindow(4, 320, 200);  // 40 x 25
    w.TextFirstColumn = 5, w.TextLastColumn = 30, w.TextFirstLine = 3, w.TextLastLine = 20;
    t_CursorEnd(0);
    t_CursorRight(0);  // beyond the last column: return and line feed, here with a scroll
    EXPECT_EQ(CursorOf(w), Pos(5, 20));
    t_CursorUp(0);
    t_Cr(0);
    EXPECT_EQ(CursorOf(w), Pos(5, 20));
    t_Htab(0, 2);  // counted from the first column, inside the grid only
    EXPECT_EQ(w.TextHpos, 6);
    for (std::int64_t column : {std::int64_t(0), std::int64_t(37), INT64_MAX, INT64_MIN}) t_Htab(0, column);
    EXPECT_EQ(w.TextHpos, 6);
    t_Htab(0, 36);  // column 40 of the grid, right of the text window
    EXPECT_EQ(w.TextHpos, 40);

    // Right on the last cell scrolls up, left on the first scrolls down; scroll lock keeps the last line.
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
    w.ScrollLock = true;
    t_CursorEnd(0);
    t_CursorDown(0);
    EXPECT_EQ(w.TextVpos, 25);
    EXPECT_EQ(CellChar(w, 1, 2), 'B');
    EXPECT_EQ(vx::TakeCapturedLog(), "");
}

void HtabThree(std::uint8_t n) {
    t_Htab(n, 3);
}

void PrintEveryControl(std::uint8_t n) {
    t_Print(n, "\x0C\x0B\x16\x17\x1A\x1D\x08\x1E\x1C\n\rxy\033f\033e\033k");
}

TEST(Cursor, BadTextWindowBoundsAndCursorsNeitherHangNorLeaveTheBlocks) {
    const std::int64_t bounds[][4] = {{30, 5, 20, 3},
                                      {0, 0, 0, 0},
                                      {127, -128, -3, 99},
                                      {41, 50, 26, 30},
                                      {INT64_MIN, INT64_MAX, INT64_MAX, INT64_MIN}};
    const std::int64_t cursors[][2] = {
        {1, 1}, {100, -100}, {1000, -1000}, {INT64_MAX, INT64_MAX}, {INT64_MIN, INT64_MIN}};
    void (*const moves[])(std::uint8_t) = {t_CursorRight, t_CursorLeft,     t_CursorUp,         t_CursorDown,
                                           t_Cr,          t_ClearEndOfLine, t_ClearEndOfWindow, t_ScrollUp,
                                           t_ScrollDown,  HtabThree,        PrintEveryControl};
    for (const int depth : {1, 4}) {
        t_Window& w = OpenTextWindow(depth, 96, 64);  // 12 x 8
        const std::uint64_t outside = OutsideChecksum(w);
        for (auto& b : bounds) {
            for (auto& c : cursors) {
                w.TextFirstColumn = b[0], w.TextLastColumn = b[1], w.TextFirstLine = b[2],
                w.TextLastLine = b[3];
                for (auto move : moves) {
                    w.TextHpos = c[0], w.TextVpos = c[1];
                    move(0);
                }
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
