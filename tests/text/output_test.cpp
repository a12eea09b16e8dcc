#include "text/output.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string_view>
#include <thread>
#include <vector>

#include "core/program.h"
#include "input/events.h"
#include "support/toolkit_test.h"
#include "text/cursor.h"
#include "text/glyph.h"
#include "text/readback.h"
#include "text/scrolling.h"
#include "vxtools/graphics.h"

namespace {

using namespace vx::test;
using namespace std::literals;

// ---- Glyphs ----

TEST(PrintSymbol, FindsTheGlyphByItsCodeAndRecordsTheCellEvenOutsideStartToEnd) {
    t_Window& w = OpenTextWindow(4, 320, 200, Font(8, 8, 32, 127));
    t_PrintSymbol(0, 65, 0xF0, 2, 3);
    t_PrintSymbol(0, 200, 0x3A, 1, 1);  // codes outside Start..End record the cell but draw nothing
    t_PrintSymbol(0, 31, 0x3A, 2, 1);
    EXPECT_TRUE(ShowsGlyph(w, 2, 3, 65, 15, 0));
    EXPECT_TRUE(ShowsGlyph(w, 1, 1, 32, 0, 0));
    EXPECT_TRUE(ShowsGlyph(w, 2, 1, 32, 0, 0));
    EXPECT_EQ(CellChar(w, 1, 1), 200);
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

// Cells on the edge are legal and those beyond refused, fonts of other formats are refused, and glyph data
// is never read beyond its end: nothing outside the window's blocks changes.
TEST(PrintSymbol, RefusesCellsBeyondTheEdgeOtherFormatsAndGlyphDataBeyondItsEnd) {
    t_Window& w = OpenTextWindow(4, 324, 204);  // 40 x 25 cells with pixels to spare
    const std::uint64_t outside = OutsideChecksum(w);
    t_PrintSymbol(0, 65, 0xF0, 40, 25);
    EXPECT_EQ(CellChar(w, 40, 25), 65);
    for (auto [x, y] :
         {std::pair<std::int64_t, std::int64_t>{41, 1}, {1, 26}, {0, 1}, {1, 0}, {INT64_MAX, 3}})
        t_PrintSymbol(0, 65, 0xF0, x, y);
    EXPECT_EQ(TakeLogLines().front(), "t_PrintSymbol: Window #0 illegal coordinates (x = 41, y = 1).");

    w.Font.Format = 7;
    t_PrintSymbol(0, 67, 0xF0, 1, 1);
    EXPECT_EQ(CellChar(w, 1, 1), 67);
    EXPECT_TRUE(ShowsGlyph(w, 1, 1, 32, 0, 0));

    w.Font.Format = 2;
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

// ---- Output ----

void Press(int value) {
    t_Event key;
    key.Kind = 1;
    key.Value = value;
    KeyEventQueue.Append(key);
    KeyEventAvailable = true;
}

bool WaitForLog(const std::string& line) {
    for (int i = 0; i < 500 && !LogContains(line); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return LogContains(line);
}

TEST(Print, DrawsTextAtTheCursorWrapsAndShowsScalarsAboveLatinOneAsQuestionMarks) {
    t_Window& w = OpenTextWindow(4, 320, 200);
    w.TextHpos = 39;
    t_Print(0, "abc\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80\xFF");  // U+00E4, euro sign, an emoji, a stray byte
    EXPECT_EQ(t_GetScreen(0, "\r"), std::string(38, ' ') + "ab\rc\xC3\xA4???");
    EXPECT_TRUE(ShowsGlyph(w, 1, 2, 'c', 12, 0));
}

TEST(Print, ControlCodesMoveClearAndScroll) {
    vx::HeadlessPlatform& p = vx::StartHeadlessPlatform();
    t_Window& w = OpenTextWindow();  // 40 x 25
    struct Case {
        std::string_view text;
        std::string screen;
        Pos cursor;
    };
    const Case cases[] = {
        {"ab\rx\x08\x08", "ab\rx", {40, 1}},                       // back space wraps to the line above
        {"ab\nc", "ab\r  c", {4, 2}},                              // line feed keeps the column
        {"ab\x1E", "\rab", {3, 1}},                                // up from the first line scrolls down
        {"ab\034c", "ab c", {5, 1}},                               // right
        {"hello\fx", "x", {2, 1}},                                 // home and clear
        {"hello\x1A", "", {1, 1}},                                 // to column 1 and clear the line
        {"top\rnext\x16", "\rtop\rnext", {5, 2}},                  // scroll down
        {"top\rnext\x17", "next", {5, 2}},                         // scroll up
        {"top\rnext\x1E\x0B", "top", {5, 1}},                      // clear to the end of the window
        {"a\0\1\2\3\4\5\6\7\t\020\025\030\023b"sv, "ab", {3, 1}},  // nothing, but 7 beeps
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        t_Print(0, "\x0C");
        t_Print(0, cases[i].text);
        EXPECT_EQ(t_GetScreen(0, "\r"), cases[i].screen);
        EXPECT_EQ(CursorOf(w), cases[i].cursor);
    }
    EXPECT_EQ(p.BeepCount(), 1);
}

TEST(Print, EscapeCommandsSetColoursBorderAndTabsAndUnknownOnesAreDrawnKeepingTheEscapePending) {
    t_Window& w = OpenTextWindow();  // 40 columns
    w.TextColor = 0x5A;
    t_Print(0, "\033@\033_\033q");  // ink 0, paper 15, border 113 - 110 = 3
    EXPECT_EQ(w.TextColor, 0x0F);
    EXPECT_EQ(w.RGBColorBorder, (t_RGBColor{255, 255, 0, 255}));
    w.TextHpos = 10;
    t_Print(0, "\033i");  // stops every 10, 20 and 40 columns, after the cursor's own
    EXPECT_EQ(w.TextHpos, 21);
    t_Print(0, "abcd\033k");  // stop 41 lies beyond the grid: clear the rest of the line, next line
    EXPECT_EQ(t_GetScreen(0, "\r"), std::string(20, ' ') + "abcd");
    // An unknown command is drawn and the escape stays pending ('A' sets the ink); a control code after
    // ESC is drawn, not executed.
    t_Print(0, "\033aA\033\x0D");
    EXPECT_EQ(CellChar(w, 1, 2), 'a');
    EXPECT_EQ(CellChar(w, 2, 2), 13);
    EXPECT_EQ(w.TextDisplayMode, 99);
}

TEST(Print, DisplayModesRemapCharacters) {
    t_Window& w = OpenTextWindow();
    t_Print(0, "\024A\037Aa\023A");  // mode 1, mode 2, then back to 0
    EXPECT_EQ(t_GetScreen(0, ""), "\xC3\x81\x01\xC2\x81\x41" + std::string(996, ' '));  // 193, 1, 129, 'A'
    t_DisplayMode(0, 3);
    t_Print(0, "\x01");
    EXPECT_EQ(CellColour(w, 5, 1), 0x0C);  // drawn inverse, and only this character
    t_DisplayMode(0, 4);
    t_Print(0, "\x02");
    EXPECT_EQ(CellColour(w, 6, 1), 0x10);  // in colour 1
}

TEST(PrintChar, DrawsControlCodesAsGlyphsInTheDisplayModeAndTabsPadToAColumn) {
    OpenTextWindow();
    t_PrintChar(0, 13);
    t_PrintTab(0, 6, '.');
    t_PrintTab(0, 3, '*');  // behind the cursor: nothing
    t_DisplayMode(0, 1);
    t_PrintChar(0, 'A');
    EXPECT_EQ(t_GetScreen(0, ""), "\r....\xC3\x81" + std::string(994, ' '));
}

TEST(CheckOutputPause, PrintPausesAtACarriageReturnInTheMiddleOfTheText) {
    t_Window& w = OpenTextWindow();
    w.TextRedirectOutput = 2;  // the text goes to the captured log, which both threads may read
    Press(19);
    std::thread printer([] { t_Print(0, "ab\rcd"); });
    // The pause holds the printer before the carriage return until a key comes; without it the printer
    // would write the whole text and only pause at its end.
    EXPECT_TRUE(WaitForLog("ab"));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(LogContains("cd"));
    Press('g');
    printer.join();
    EXPECT_EQ(vx::TakeCapturedLog(), "ab\rcd");
    EXPECT_EQ(KeyEvent.Value, 'g');
}

TEST(CheckOutputPause, TakesOnlyANewestPauseKeyAndMenuEventsAndQuittingEndThePause) {
    vx::HeadlessPlatform& p = vx::StartHeadlessPlatform();
    Press(19);
    Press('a');  // a key typed after the pause key must survive
    EXPECT_FALSE(CheckOutputPause(19, true));
    EXPECT_EQ(KeyEventQueue.Count(), 2u);
    Press(19);
    EXPECT_TRUE(CheckOutputPause(19, false));
    EXPECT_TRUE(KeyEventQueue.Empty());

    Press(19);
    std::thread menu([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        MenuEventQueue.Append(t_MenuEvent{});
    });
    EXPECT_TRUE(CheckOutputPause(19, true));
    menu.join();
    EXPECT_EQ(MenuEventQueue.Count(), 1u);

    Press(19);
    std::thread quit([&p] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        p.BeginQuit();
    });
    EXPECT_TRUE(CheckOutputPause(19, true));
    quit.join();
}

TEST(Print, TextOperationsRefuseWindowsBeforeThereIsAnyVideoMemory) {
    // The operations that look at the window on their own before or beside the shared window check.
    void (*const operations[])(std::uint8_t) = {[](std::uint8_t n) { t_Print(n, "x"); },
                                                [](std::uint8_t n) { t_PrintSymbol(n, 'x', 0xF0, 1, 1); },
                                                [](std::uint8_t n) { t_PrintControl(n, 13); }, t_ScrollUp};
    StartToolkit();
    for (auto op : operations) op(3);
    EXPECT_EQ(TakeLogLines().size(), 4u);  // one refusal each
}

// A window set up without a font keeps the refusal line; the first time, a hint follows it.
TEST(Print, WindowWithoutATextLayerIsRefusedAndOnceToldHowToGetOne) {
    StartToolkit();
    OpenWindow(4, 8);
    TakeLogLines();
    t_Print(5, "x");  // not set up at all: no hint
    t_Print(4, "x");
    t_Print(4, "y");
    EXPECT_EQ(TakeLogLines(), (std::vector<std::string>{
                                  "t_Print: Window #5 not initialized.",
                                  "t_Print: Window #4 not initialized.",
                                  "t_Print: Window #4 has no text layer: give t_InitWindow a font, such as "
                                  "vx::ReadyFont(), to print in it.",
                                  "t_Print: Window #4 not initialized.",
                              }));
}

TEST(PrintTab, TabFromACursorFarLeftOfTheGridIsRefusedNotWalked) {
    // Found by fuzzing: a cursor a program left at column -128000000896 made a tab to column 3 print
    // 128 billion characters, one illegal-coordinates line each.
    t_Window& w = OpenTextWindow();
    w.TextHpos = -128000000896;
    t_PrintTab(0, 3, ' ');
    t_PrintTab(0, INT64_MAX, '*');
    EXPECT_EQ(CountLogLine("t_PrintTab: Window #0 column 3 is more than a screen away from the cursor."), 1);
    EXPECT_EQ(TakeLogLines().size(), 2u);
    t_Print(0, "\x1Bi");  // the escape tab to the next stop is near the cursor, wherever it is
    EXPECT_EQ(w.TextHpos, -128000000879);
}

TEST(GetScreen, TidiesLinesAtCarriageReturnCellsWhateverTheSeparator) {
    OpenTextWindow(4, 64, 32);  // 8 x 4
    t_PrintSymbol(0, 0xE4, 0xC0, 1, 1);
    t_PrintSymbol(0, 13, 0xC0, 3, 1);
    t_PrintSymbol(0, 'z', 0xC0, 4, 1);
    // Any separator tidies at the carriage-return cells: the space before one goes, line feeds stay.
    EXPECT_EQ(t_GetScreen(0, "\r"), "\xC3\xA4\rz");
    const std::string blank(8, ' ');
    EXPECT_EQ(t_GetScreen(0, "\n"), "\xC3\xA4\rz    \n" + blank + "\n" + blank + "\n" + blank + "\n");
}

TEST(QuitProgram, LeavesTheEndMessageOnTheLastLineOfTheWholeWindow) {
    t_Window& w = OpenTextWindow(4, 320, 200);
    SetTextArea(w, 4, 40, 3, 5);
    SetCursor(w, 20, 4);
    w.TextInverse = true;
    w.TextDisplayMode = 1;
    startprocess([] { t_QuitProgram(0); }, 1 << 20);
    ASSERT_TRUE(WaitForLog("t_QuitProgram: Quitting current thread with message in window #0.\n"));
    EXPECT_EQ(t_GetScreen(0, "\r"), std::string(24, '\r') + "(Programm Ende)");
    EXPECT_EQ(CellColour(w, 1, 25), 0x10);  // not inverse
}

// ---- Scrolling and the cursor ----

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
    SetTextArea(w, 1, 40, 3, 10);
    t_ScrollDown(0);
    EXPECT_EQ(CellChar(w, 1, 3), ' ');
    EXPECT_TRUE(ShowsGlyph(w, 40, 4, 'A' + 3, 4, 0));
}

TEST(Scrolling, NarrowWindowsRedrawCellByCellAndLeaveOtherPixelsAloneUnlessScrollLockStopsThem) {
    t_Window& w = OpenTextWindow(4, 320, 200);
    FillLines(w);
    SetTextArea(w, 3, 5, 2, 4);
    w.TextInverse = true;
    t_ScrollUp(0);
    EXPECT_EQ(CellChar(w, 5, 4), ' ');
    EXPECT_TRUE(ShowsGlyph(w, 4, 2, 'A' + 3, 4, 0));  // drawn as stored, not inverted
    EXPECT_TRUE(ShowsGlyph(w, 6, 2, 'A' + 2, 3, 0));
    t_ScrollDown(0);
    EXPECT_EQ(CellChar(w, 3, 2), ' ');
    EXPECT_EQ(CellChar(w, 3, 3), 'A' + 3);
    w.ScrollLock = true;
    t_ScrollUp(0);
    EXPECT_EQ(CellChar(w, 3, 3), 'A' + 3);  // line 4 would have moved up
}

TEST(MoveVideoMemory, RefusesRangesOutsideVideoMemory) {
    OpenTextWindow();
    MoveVideoMemory(-1, 200, 5);
    MoveVideoMemory(100, kVideoMemorySize - 4, 5);
    MoveVideoMemory(100, 0, INT64_MAX);
    MoveVideoMemory(INT64_MAX, 0, 2);
    EXPECT_EQ(CountLogLine("MoveVideoMemory: Range outside video memory."), 4);
}

TEST(Cursor, MovesInsideTheTextWindowScrollsPastItsEndAndTabsInsideTheGrid) {
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
                EXPECT_TRUE(w.TextHpos >= 1 && w.TextHpos <= 12) << w.TextHpos;
                t_CursorEnd(0);
                EXPECT_TRUE(w.TextVpos >= 1 && w.TextVpos <= 8) << w.TextVpos;
            }
        }
        EXPECT_EQ(OutsideChecksum(w), outside) << depth;
    }
}

}  // namespace
