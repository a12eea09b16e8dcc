#include "text/output.h"

#include <gtest/gtest.h>

#include <string_view>
#include <thread>

#include "core/program.h"
#include "input/events.h"
#include "support/toolkit_test.h"
#include "text/glyph.h"
#include "text/readback.h"
#include "text/scrolling.h"

namespace {

using namespace vx::test;
using namespace std::literals;

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
    EXPECT_EQ(CursorOf(w), Pos(6, 2));
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
    EXPECT_EQ(CellColour(w, 5, 1), 0x0C);  // drawn inverse
    EXPECT_FALSE(w.TextInverse);
    t_DisplayMode(0, 4);
    t_Print(0, "\x02");
    EXPECT_EQ(CellColour(w, 6, 1), 0x10);  // in colour 1
    EXPECT_EQ(w.TextColor, 0xC0);
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
    for (int i = 0; i < 500 && !LogContains("ab"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(LogContains("ab"));
    EXPECT_FALSE(LogContains("cd"));
    Press('g');
    printer.join();
    EXPECT_EQ(vx::TakeCapturedLog(), "ab\rcd");
    EXPECT_EQ(KeyEvent.Value, 'g');
    EXPECT_EQ(CursorOf(w), Pos(5, 1));  // redirected text moves the cursor, the carriage return is written
    EXPECT_EQ(CellChar(w, 1, 1), ' ');
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
    EXPECT_EQ(CountLogLine("t_PrintControl: Window #3 not initialized."), 1);
    EXPECT_EQ(TakeLogLines().size(), 4u);
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

TEST(GetScreen, TidiesLinesAtCarriageReturnsAndReadsCodesAsLatinOne) {
    OpenTextWindow(4, 64, 32);  // 8 x 4
    t_Print(0, "A\r\rB");       // blank lines in the middle stay, those at the bottom go
    EXPECT_EQ(t_GetScreen(0, "\r"), "A\r\rB");
    t_Print(0, "\x0C");

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
    const int displaysBefore = vx::StartHeadlessPlatform().View(0).displays;
    w.TextFirstLine = 3;
    w.TextLastLine = 5;
    w.TextFirstColumn = 4;
    SetCursor(w, 20, 4);
    w.TextInverse = true;
    w.TextDisplayMode = 1;
    startprocess([] { t_QuitProgram(0); }, 1 << 20);
    ASSERT_TRUE(WaitForLog("t_QuitProgram: Quitting current thread with message in window #0.\n"));
    EXPECT_EQ(t_GetScreen(0, "\r"), std::string(24, '\r') + "(Programm Ende)");
    EXPECT_EQ(CellColour(w, 1, 25), 0x10);  // not inverse
    EXPECT_GT(vx::StartHeadlessPlatform().View(0).displays, displaysBefore);
}

TEST(QuitProgram, WithoutAWindowQuitsWithThePlainLine) {
    OpenTextWindow(4, 320, 200);
    startprocess([] { t_QuitProgram(255); }, 1 << 20);
    ASSERT_TRUE(WaitForLog("t_QuitProgram: Quitting current thread.\n"));
}

}  // namespace
