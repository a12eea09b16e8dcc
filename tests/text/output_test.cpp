#include "text/output.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <thread>

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
using Cell = std::pair<std::uint8_t, std::uint8_t>;
using Lines = std::vector<std::string>;

// ---- Glyphs ----

// Codes outside Start..End record the cell but draw nothing.
TEST(PrintSymbol, FindsTheGlyphByItsCodeAndRecordsTheCellEvenOutsideStartToEnd) {
    t_Window& w = OpenTextWindow(4, 320, 200, Font(8, 8, 65, 127));
    w.TextMemoryEnd = w.TextMemoryStart + 2 * 40 * 25 - 1;  // two bytes a cell and none to spare
    for (auto [c, colour, x, y] :
         {std::tuple{65, 0xF0, 2, 3}, {127, 0xF0, 3, 3}, {128, 0x3B, 1, 1}, {64, 0x3B, 2, 1}})
        t_PrintSymbol(0, std::uint8_t(c), std::uint8_t(colour), x, y);
    EXPECT_TRUE(ShowsGlyph(w, 2, 3, 65, 15, 0) && ShowsGlyph(w, 3, 3, 127, 15, 0));
    EXPECT_TRUE(ShowsGlyph(w, 1, 1, 32, 0, 0) && ShowsGlyph(w, 2, 1, 32, 0, 0));
    EXPECT_EQ(Cell(CellChar(w, 1, 1), CellColour(w, 2, 1)), Cell(128, 0x3B));
}

// One glyph whose first row holds the given weights.
t_Font WeightFont(std::initializer_list<std::uint8_t> weights) {
    t_Font font = Font();
    std::size_t i = 65 * 64;
    for (std::uint8_t g : weights) font.Data[i++] = g;
    return font;
}

// Red ink at weight 128 on black gives (128, 0, 0): nearest is brown (128, 64, 0), index 8. Black ink at
// weight 127 on blue (0, 0, 128) gives (0, 0, 64), as near to black as to blue: the lower index wins. At
// one bit, green ink (0 + 255 + 0 < 384) stays dark; white ink lights at 3 x 128 = 384, not at 3 x 127.
TEST(PrintSymbol, FourBitsTakeTheNearestEntryOneBitLightsWhenBrightOnAverageDeeperWindowsBlendAndKeepAlpha) {
    t_Window& w = OpenTextWindow(4, 320, 200, WeightFont({0, 255, 128, 64, 63, 191, 192, 127}));
    for (auto [colour, x] : {std::pair{0xF0, 1}, {0x10, 2}, {0x02, 3}}) t_PrintSymbol(0, 65, colour, x, 1);
    std::vector<int> row;
    for (int x : {0, 1, 2, 3, 4, 5, 6, 7, 10, 23}) row.push_back(Nibble(w, x, 0));
    EXPECT_EQ(row, (std::vector<int>{0, 15, 10, 5, 0, 10, 15, 5, 8, 0}));
    t_Window& one = OpenTextWindow(1, 320, 200, WeightFont({255, 128, 127, 0, 0, 0, 0, 255}), 1);
    for (auto [colour, x] : {std::pair{0xC0, 1}, {0xF0, 2}}) t_PrintSymbol(1, 65, colour, x, 1);
    EXPECT_EQ(Cell(VideoMemory[one.MemoryStart], VideoMemory[one.MemoryStart + 1]), Cell(0x00, 0xC1));

    // Ink 9 (255, 128, 0) on paper 2 (0, 0, 128) at weight 100; greys blend the averages 127 and 42.
    const std::vector<int> expected[] = {{74}, {77, 74}, {100, 50, 77}, {77, 100, 50, 77}};
    for (std::uint8_t n = 0; n < 4; ++n) {
        const int depth = 8 * (n + 1);
        std::uint8_t* p = PixelBytes(OpenTextWindow(depth, 64, 64, WeightFont({100}), n), 0, 0);
        p[0] = 77;  // the alpha byte at 16 and 32 bits must stay
        t_PrintSymbol(n, 65, 0x92, 1, 1);
        EXPECT_EQ(std::vector<int>(p, p + depth / 8), expected[n]) << depth;
    }
}

// Sets pixel (x, y) of a block laid out as `depth` bits per pixel to white (on) or black, the way a
// white-on-black glyph pixel must look: other bits, nibbles and alpha bytes stay.
void SetPixel(std::vector<std::uint8_t>& block, int depth, int width, int x, int y, bool on) {
    const std::size_t bit = (std::size_t(y) * std::size_t(width) + std::size_t(x)) * std::size_t(depth);
    std::uint8_t* p = block.data() + bit / 8;
    const std::uint8_t v = on ? 255 : 0,
                       mask = std::uint8_t(depth < 8 ? ((1 << depth) - 1) << (8 - depth - bit % 8) : 0);
    if (depth < 8) *p = std::uint8_t((*p & ~mask) | (v & mask));
    for (int i = depth == 16 || depth == 32 ? 1 : 0; i < depth / 8; ++i) p[i] = v;  // none below 8 bits
}

// A glyph covers its cell and nothing more: at every depth its first and last pixel column and row are
// drawn, and the pixels beside it in the same byte or word keep what they held. Cells 5 pixels wide start
// in the middle of a byte, cells 8 wide take the whole-row path, and cells of a single pixel, 7 and 9 are
// drawn too; the last cell ends on the window's bottom-right corner, and the one right of it is refused.
// The glyph of 'q' is cut after a row and a pixel: it is drawn as far as its data goes.
TEST(PrintSymbol, DrawsExactlyTheCellsPixelsAtEveryDepth) {
    for (auto [fw, fh] : {std::pair{5, 4}, {8, 4}, {1, 1}, {7, 4}, {9, 4}}) {
        for (const int depth : {1, 4, 8, 16, 24, 32}) {
            t_Window& w = OpenTextWindow(depth, 64, 32, Font(fw, fh));
            w.Font.Data.resize(std::size_t(('q' * fh + 1) * fw + 1));
            std::uint8_t* block = Block(0);
            std::vector<std::uint8_t> expected(std::size_t(w.MemoryEnd - w.MemoryStart + 1));
            for (std::size_t i = 0; i < expected.size(); ++i)
                block[i] = expected[i] = std::uint8_t(i * 37 + 11);
            for (auto [cx, cy, c] :
                 {std::tuple{2, 2, 'K'}, {3, 4, 'q'}, {64 / fw, 32 / fh, '#'}, {1, 1, 'K'}}) {
                t_PrintSymbol(0, std::uint8_t(c), 0xF0, cx, cy);
                for (int r = 0; r < fh; ++r)
                    for (int x = 0; x < fw; ++x)
                        if (c != 'q' || r * fw + x <= fw)
                            SetPixel(expected, depth, 64, fw * (cx - 1) + x, fh * (cy - 1) + r,
                                     GlyphInk(c, x, r));
            }
            t_PrintSymbol(0, 'K', 0xF0, 64 / fw + 1, 1);
            EXPECT_EQ(std::vector<std::uint8_t>(block, block + expected.size()), expected)
                << depth << " bits, " << fw << " wide";
        }
    }
}

TEST(PrintSymbol, InverseSwapsInkAndPaperAndRedirectionWritesTheCharacterInstead) {
    t_Window& w = OpenTextWindow();
    w.TextInverse = true;
    t_PrintSymbol(0, 65, 192, 1, 1);
    EXPECT_TRUE(ShowsGlyph(w, 1, 1, 65, 0, 12) && CellColour(w, 1, 1) == 12);
    w.TextRedirectOutput = 0;  // output off
    t_PrintSymbol(0, 66, 0xF0, 2, 1);
    EXPECT_TRUE(ShowsGlyph(w, 2, 1, 32, 0, 0));
    // Redirected output reaches standard output even from a window that is not set up.
    WindowRecord(5).TextRedirectOutput = 2;
    for (std::uint8_t code : {0x7F, 0x80, 0xFF}) t_PrintSymbol(5, code, 0xF0, 1, 1);
    t_PrintControl(5, 13);  // control codes too
    w.TextRedirectOutput = 2;
    t_ClearEndOfLine(0);
    w.TextRedirectOutput = 0;
    EXPECT_EQ(vx::TakeCapturedLog(), "\x7F\u0080\u00FF\r" + std::string(40, ' '));
    WindowRecord(5).TextRedirectOutput = 1;
    for (std::uint8_t n : {5, 8}) t_PrintSymbol(n, 65, 0xF0, 1, 1);
    for (std::uint8_t n : {5, 8}) t_PrintControl(n, 13);
    t_PrintControl(0, 28);  // output off: control codes do nothing either
    EXPECT_EQ(CursorOf(w), Pos(1, 1));
    WindowRecord(5).TextRedirectOutput = 0;
    t_PrintSymbol(5, 65, 0xF0, 1, 1);  // dropped without a word
    EXPECT_EQ(TakeLogLines(), (Lines{"t_PrintSymbol: Window #5 not initialized.",
                                     "t_PrintSymbol: Window is not a graphic window.",
                                     "t_PrintControl: Window #5 not initialized.",
                                     "t_PrintControl: Window is not a graphic window."}));
}

// Cells on the edge are legal and those beyond refused, fonts of other formats are refused, and glyph data
// is never read beyond its end: nothing outside the window's blocks changes.
TEST(PrintSymbol, RefusesCellsBeyondTheEdgeOtherFormatsAndGlyphDataBeyondItsEnd) {
    t_Window& w = OpenTextWindow(4, 324, 204);  // 40 x 25 cells with pixels to spare
    const std::uint64_t outside = OutsideChecksum(w);
    t_PrintSymbol(0, 65, 0xF0, 40, 25);
    EXPECT_EQ(CellChar(w, 40, 25), 65);
    w.TextWidth = 39;  // column 40 lies beyond the text grid now: drawn, not recorded
    t_PrintSymbol(0, 66, 0xF0, 40, 1);
    EXPECT_TRUE(ShowsGlyph(w, 40, 1, 66, 15, 0) && CellChar(w, 1, 2) != 66);
    w.TextWidth = 40;
    for (auto [x, y] : {Pos{41, 1}, {1, 26}, {0, 1}, {1, 0}, {INT64_MAX, 3}}) {
        t_PrintSymbol(0, 65, 0xF0, x, y);
        EXPECT_EQ(TakeLogLines(), Lines{"t_PrintSymbol: Window #0 illegal coordinates (x = " +
                                        std::to_string(x) + ", y = " + std::to_string(y) + ")."});
    }

    const std::string kNotGrey = "t_PrintSymbol: Font format must be uncompressed grey for text-printing.",
                      kIllegal = "t_PrintSymbol: Illegal font format.";
    for (std::int64_t format : {0, 100, 102, 1, 101, 103}) {  // the odd ones are no grey format at all
        w.Font.Format = format;
        t_PrintSymbol(0, 67, 0xF0, 1, 1);
        EXPECT_EQ(TakeLogLines(), Lines{format % 2 ? kIllegal : kNotGrey}) << format;
    }
    EXPECT_TRUE(CellChar(w, 1, 1) == 67 && ShowsGlyph(w, 1, 1, 32, 0, 0));

    w.Font.Format = 2;
    w.Font.Data.resize(65 * 64 + 21);  // glyph 65 is cut after two rows and five pixels
    t_PrintSymbol(0, 65, 0xF0, 1, 1);
    EXPECT_EQ(Nibble(w, 1, 2), GlyphInk(65, 1, 2) ? 15 : 0);  // drawn as far as the data goes
    t_PrintSymbol(0, 200, 0xF0, 2, 1);                        // entirely beyond Data
    EXPECT_TRUE(ShowsGlyph(w, 2, 1, 32, 0, 0));
    w.Font.Data.clear();  // no glyphs at all: the window counts as not set up
    t_PrintSymbol(0, 66, 0xF0, 3, 1);
    EXPECT_TRUE(CellChar(w, 3, 1) != 66 &&
                TakeLogLines() == Lines{"t_PrintSymbol: Window #0 not initialized."});

    // Glyph sizes a program wrote into the record: nothing drawn, nothing outside touched.
    w.Font = Font();
    for (Pos size : {Pos{0, 8}, {8, 0}, {-8, 8}, {8, -8}, {8, 1 << 20}}) {
        std::tie(w.Font.Width, w.Font.Height) = size;
        t_PrintSymbol(0, 0, 0xF0, 1, 1);  // glyph 0 starts Data whatever the size
        t_ClearEndOfLine(0);
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

// In order: back space wraps to the line above, line feed keeps the column, up from the first line scrolls
// down; right; home and clear; to column 1 and clear the line; scroll down, scroll up; up twice; clear to the
// end of the window; to column 1 of the line; home; clear to the end of the line; reverse; inverse, reversed
// back; inverse, then normal; codes that do nothing, but 7 beeps (once).
TEST(Print, ControlCodesMoveClearAndScrollAndEscapeCommandsSetColoursBorderAndTabsOrAreDrawnPending) {
    vx::HeadlessPlatform& p = vx::StartHeadlessPlatform();
    t_Window& w = OpenTextWindow();  // 40 x 25
    // clang-format off
    const std::tuple<std::string_view, std::string, Pos, bool> cases[] = {
        {"ab\rx\x08\x08", "ab\rx", {40, 1}, false}, {"ab\nc", "ab\r  c", {4, 2}, false},
        {"ab\x1E", "\rab", {3, 1}, false}, {"ab\034c", "ab c", {5, 1}, false},
        {"hello\fx", "x", {2, 1}, false}, {"hello\x1A", "", {1, 1}, false},
        {"top\rnext\x16", "\rtop\rnext", {5, 2}, false}, {"top\rnext\x17", "next", {5, 2}, false},
        {"top\rnext\x1E\x0B", "top", {5, 1}, false},
        {"\033e\x08Z\x19\x0B", "", {1, 1}, false}, {"ab\rcd\x12x", "ab\rxd", {2, 2}, false},
        {"ab\rcd\x19x", "xb\rcd", {2, 1}, false}, {"abcd\x08\x08\x1D", "ab", {3, 1}, false},
        {"\x11", "", {1, 1}, true}, {"\x0F\x11", "", {1, 1}, false}, {"\x0F\x0E", "", {1, 1}, false},
        {"a\0\1\2\3\4\5\6\7\t\020\025\030\023b"sv, "ab", {3, 1}, false}};
    // clang-format on
    for (const auto& [text, screen, cursor, inverse] : cases) {
        t_Print(0, "\x0C");
        w.TextInverse = false;
        t_Print(0, text);
        EXPECT_EQ(std::tuple(t_GetScreen(0, "\r"), CursorOf(w), w.TextInverse),
                  std::tuple(screen, cursor, inverse))
            << text;
    }
    EXPECT_EQ(p.BeepCount(), 1);

    // Each command range at both of its edges and the codes just outside them, which are drawn and leave the
    // escape pending. Every row starts with colour 0x5B (an odd paper) and border colour 7 on a clear 40 x 25
    // screen. The tab to the next stop of 10 goes from column 10 to 21, not 11; the one of 40 from 41 to the
    // next line. The escape stays pending after an unknown command, so A sets the ink; a control code after
    // ESC is drawn, not executed. The tab commands pad with spaces and clear what lay beyond the stop.
    // clang-format off
    const std::tuple<std::string_view, int, std::int64_t, int, Pos, std::string> escapes[] = {
        {"\033?", 0x5B, 99, 7, {2, 1}, "?"}, {"\033@", 0x0B, 0, 7, {1, 1}, ""},
        {"\033O", 0xFB, 0, 7, {1, 1}, ""}, {"\033P", 0x50, 0, 7, {1, 1}, ""},
        {"\033_", 0x5F, 0, 7, {1, 1}, ""}, {"\033`", 0x5B, 99, 7, {2, 1}, "`"},
        {"\033d", 0x5B, 99, 7, {2, 1}, "d"}, {"ab\033e", 0x5B, 0, 7, {40, 25}, "ab"},
        {"ab\033f", 0x5B, 0, 7, {40, 1}, "ab"}, {"\033g", 0x5B, 99, 7, {2, 1}, "g"},
        {"\033h", 0x5B, 99, 7, {2, 1}, "h"}, {"abcdefgh\033i", 0x5B, 0, 7, {11, 1}, "abcdefgh"},
        {"abcdefghi\033i", 0x5B, 0, 7, {21, 1}, "abcdefghi"}, {"a\033j", 0x5B, 0, 7, {21, 1}, "a"},
        {"ab\033k", 0x5B, 0, 7, {1, 2}, "ab"}, {"\033l", 0x5B, 99, 7, {2, 1}, "l"},
        {"\033m", 0x5B, 99, 7, {2, 1}, "m"}, {"\033n", 0x5B, 0, 0, {1, 1}, ""},
        {"\033z", 0x5B, 0, 12, {1, 1}, ""}, {"\033\x7F", 0x5B, 0, 1, {1, 1}, ""},
        {"\033\u0080", 0x5B, 99, 7, {2, 1}, "\u0080"}, {"\033aA\033\r", 0x1B, 99, 7, {3, 1}, "a"},
        {"abcdefghijklmnopqrstuvwxy\x12\033j", 0x5B, 0, 7, {21, 1}, "                    uvwxy"},
        {"abcdefghijklmnopqrstuvwxy\x12\033k", 0x5B, 0, 7, {1, 2}, ""}};
    // clang-format on
    for (const auto& [text, colour, mode, border, cursor, screen] : escapes) {
        t_DisplayMode(0, 0);
        t_Print(0, "\x0C");
        w.TextColor = 0x5B;
        t_ColorBorder(0, 7);
        t_Print(0, text);
        EXPECT_EQ(std::tuple(int(w.TextColor), w.TextDisplayMode, CursorOf(w), t_GetScreen(0, "\r")),
                  std::tuple(colour, mode, cursor, screen))
            << text;
        EXPECT_EQ(w.RGBColorBorder, t_PaletteColor(border)) << text;
    }
    // 80 columns: from a first column of 10 a tab reaches 80 - 10 + 1 = 71, from 11 it starts a new line;
    // the stop of 40 after column 3 is 41.
    t_Window& wide = OpenTextWindow(4, 640, 200, Font(), 1);
    for (auto [first, from, text, cursor] : {std::tuple{10, 65, "\033i", Pos{71, 1}},
                                             {11, 65, "\033i", Pos{11, 2}},
                                             {1, 3, "\033k", Pos{41, 1}}}) {
        SetTextArea(wide, first, 80, 1, 25);
        SetCursor(wide, from, 1);
        t_Print(1, text);
        EXPECT_EQ(CursorOf(wide), cursor) << first;
    }
}

TEST(Print, DisplayModesRemapCharacters) {
    t_Window& w = OpenTextWindow();
    t_Print(0, "\024A\037Aa\023A");  // mode 1, mode 2, then back to 0
    EXPECT_EQ(t_GetScreen(0, ""), "\xC3\x81\x01\xC2\x81\x41" + std::string(996, ' '));  // 193, 1, 129, 'A'
    t_DisplayMode(0, 3);
    t_Print(0, "\x01");  // drawn inverse, and only this character
    t_DisplayMode(0, 4);
    t_Print(0, "\x02\u20AC");  // in colour 1; above Latin-1, a question mark in colour 1 too
    EXPECT_EQ(std::vector<int>({CellColour(w, 5, 1), CellColour(w, 6, 1), CellChar(w, 7, 1),
                                CellColour(w, 7, 1), w.TextColor}),
              std::vector<int>({0x0C, 0x10, '?', 0x10, 0xC0}));
    EXPECT_EQ(w.RGBColor, t_PaletteColor(1));

    // Each mode's ranges at their edges; mode 2 leaves control codes alone, an escape command draws nothing.
    const std::int64_t cases[][3] = {{1, 31, 31}, {1, 32, 160}, {1, 127, 255}, {1, 128, 128}, {2, 63, 63},
                                     {2, 64, 0},  {2, 95, 31},  {2, 96, 128},  {2, 127, 159}, {2, 128, 128},
                                     {2, 31, 31}, {3, 31, 95},  {3, 32, 32},   {4, 31, 95},   {4, 32, 32},
                                     {0, 1, 1},   {5, 1, 1},    {99, 'O', -1}};
    for (const auto& c : cases) {
        t_DisplayMode(0, c[0]);
        w.TextInverse = false;
        const t_DisplayModeResult r = t_ApplyDisplayMode(0, c[1]);
        EXPECT_EQ(std::tuple(r.Code, w.TextInverse, r.Inverse),
                  std::tuple(c[2], c[0] == 3 && c[1] == 31, false))
            << "mode " << c[0] << ", code " << c[1];
    }
    const Pos at = CursorOf(w);
    t_DisplayMode(0, 99);
    t_PrintChar(0, 'A');  // an escape command: nothing drawn
    EXPECT_EQ(CursorOf(w), at);
    std::string inverse;
    for (auto set : {t_Inverse, t_Reverse, t_Reverse, t_Normal})
        inverse += (set(0), w.TextInverse ? '1' : '0');
    EXPECT_EQ(inverse, "1010");
    // A window that is not set up is left as it is.
    TakeLogLines();
    for (auto set : {+[] { t_Inverse(3); }, +[] { t_Reverse(3); }, +[] { t_DisplayMode(3, 4); },
                     +[] { t_CursorHome(3); }})
        set();
    t_Normal(8);
    const t_Window& three = WindowRecord(3);
    EXPECT_FALSE(three.TextInverse || three.TextDisplayMode != 0 || three.TextHpos != 0);
    EXPECT_EQ(TakeLogLines(),
              (Lines{"t_Inverse: Window #3 not initialized.", "t_Reverse: Window #3 not initialized.",
                     "t_DisplayMode: Window #3 not initialized.", "t_CursorHome: Window #3 not initialized.",
                     "t_Normal: Window is not a graphic window."}));
    const t_DisplayModeResult refused = t_ApplyDisplayMode(8, 'A');
    EXPECT_EQ(std::tuple(refused.Code, refused.Inverse, refused.Color), std::tuple(-2, false, 240));
}

TEST(CheckOutputPause, PrintPausesBeforeACarriageReturnTakesOnlyANewestPauseKeyAndOtherEventsEndIt) {
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
    EXPECT_EQ(std::pair(vx::TakeCapturedLog(), KeyEvent.Value), std::pair("ab\rcd"s, std::int64_t('g')));

    vx::HeadlessPlatform& p = vx::StartHeadlessPlatform();
    Press(19);
    Press('a');  // a key typed after the pause key must survive
    EXPECT_TRUE(!CheckOutputPause(19, true) && KeyEventQueue.Count() == 2);
    Press(19);
    EXPECT_TRUE(CheckOutputPause(19, false) && KeyEventQueue.Empty());

    // A pause that `end` ends from another thread a little later.
    const auto pauseEndedBy = [](const std::function<void()>& end) {
        Press(19);
        std::thread other([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            end();
        });
        const bool paused = CheckOutputPause(19, true);
        other.join();
        return paused;
    };
    EXPECT_TRUE(pauseEndedBy([] { MenuEventQueue.Append(t_MenuEvent{}); }) && MenuEventQueue.Count() == 1);
    EXPECT_TRUE(pauseEndedBy([&p] { p.BeginQuit(); }));
}

// The operations that look at the window on their own, before or beside the shared window check, refuse
// it before there is any video memory. A window set up without a font keeps the refusal line; the first
// time, a hint follows it (window 5, not set up at all, gets no hint).
TEST(Print, RefusesWindowsBeforeThereIsVideoMemoryAndOnceTellsAWindowWithoutATextLayerHowToGetOne) {
    void (*const operations[])(std::uint8_t) = {
        [](std::uint8_t n) { t_Print(n, "x"); }, [](std::uint8_t n) { t_PrintSymbol(n, 'x', 0xF0, 1, 1); },
        [](std::uint8_t n) { t_PrintControl(n, 13); }, t_ScrollUp, t_ClearEndOfLine};
    StartToolkit();
    for (auto op : operations) op(3);
    EXPECT_EQ(TakeLogLines().size(), 5u);  // one refusal each
    OpenWindow(4, 8);
    TakeLogLines();
    for (std::uint8_t n : {5, 4, 4}) t_Print(n, "x");
    const std::string kFour = "t_Print: Window #4 not initialized.";
    EXPECT_EQ(TakeLogLines(), (Lines{"t_Print: Window #5 not initialized.", kFour,
                                     "t_Print: Window #4 has no text layer: give t_InitWindow "
                                     "a font, such as vx::ReadyFont(), to print in it.",
                                     kFour}));
}

TEST(GetScreen, TidiesLinesAtCarriageReturnCellsWhateverTheSeparator) {
    OpenTextWindow(4, 64, 32);  // 8 x 4
    for (auto [c, x] : {std::pair{0xE4, 1}, {13, 3}, {'z', 4}}) t_PrintSymbol(0, std::uint8_t(c), 0xC0, x, 1);
    // Any separator tidies at the carriage-return cells: the space before one goes, line feeds stay.
    EXPECT_EQ(t_GetScreen(0, "\r"), "\xC3\xA4\rz");
    const std::string blank(8, ' ');
    EXPECT_EQ(t_GetScreen(0, "\n"), "\xC3\xA4\rz    \n" + blank + "\n" + blank + "\n" + blank + "\n");
    // A separator that is no UTF-8 makes the whole text be read byte by byte.
    const std::string lost = blank + "\u00FF";
    EXPECT_EQ(t_GetScreen(0, "\xFF"), "\u00C3\u00A4\rz    \u00FF" + lost + lost + lost);

    // A text block a program rewrote is read when it lies inside video memory, holds two bytes a cell and
    // has 1 to 8192 columns and lines; the lines read back are counted.
    t_Window& w = WindowRecord(0);
    const std::int64_t top = kVideoMemorySize;
    std::memset(VideoMemory + top - 16386, ' ', 16386);
    std::memset(VideoMemory, ' ', 16);
    const std::int64_t blocks[][5] = {// columns, lines, first and last byte, lines read
                                      {1, 4, top - 8, top - 1, 4},
                                      {0, 4, top - 8, top - 1, 0},
                                      {4, 1, top - 8, top - 1, 1},
                                      {8192, 1, top - 16384, top - 1, 1},
                                      {8193, 1, top - 16386, top - 1, 0},
                                      {1, 8192, top - 16384, top - 1, 8192},
                                      {4, 2, 0, 15, 2},
                                      {4, 2, top - 15, top, 0},
                                      {4, 2, top - 15, top - 1, 0}};
    for (const auto& b : blocks) {
        std::tie(w.TextWidth, w.TextHeight, w.TextMemoryStart, w.TextMemoryEnd) =
            std::tuple(b[0], b[1], b[2], b[3]);
        const std::string screen = t_GetScreen(0, "\n");
        EXPECT_EQ(std::count(screen.begin(), screen.end(), '\n'), b[4])
            << b[0] << " x " << b[1] << " at " << b[2];
    }
    for (std::uint8_t n : {8, 3}) EXPECT_EQ(t_GetScreen(n, "\r"), "");
    EXPECT_EQ(TakeLogLines(), (Lines{"t_GetScreen: Window is not a graphic window.",
                                     "t_GetScreen: Window #3 not initialized."}));
}

// The message is shown at once and stays a tenth of a second before the thread ends; a window number that
// names no window gets none.
TEST(QuitProgram, LeavesTheEndMessageOnTheLastLineOfTheWholeWindow) {
    vx::HeadlessPlatform& p = vx::StartHeadlessPlatform();
    t_Window& w = OpenTextWindow(4, 320, 200, Font(), 2);
    SetTextArea(w, 4, 40, 3, 5);
    SetCursor(w, 20, 4);
    w.TextInverse = true;
    w.TextDisplayMode = 1;
    const int displays = p.View(2).displays;
    const auto start = std::chrono::steady_clock::now();
    startprocess([] { t_QuitProgram(2); }, 1 << 20);
    ASSERT_TRUE(WaitForLog("t_QuitProgram: Quitting current thread with message in window #2.\n"));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 100ms);
    EXPECT_EQ(t_GetScreen(2, "\r"), std::string(24, '\r') + "(Programm Ende)");
    EXPECT_EQ(CellColour(w, 1, 25), 0x10);  // not inverse
    EXPECT_GT(p.View(2).displays, displays);
    startprocess([] { t_QuitProgram(255); }, 1 << 20);
    EXPECT_TRUE(WaitForLog("t_QuitProgram: Quitting current thread.\n"));
}

// ---- Scrolling and the cursor ----

// Fills every cell of a 40 x 25 window with a letter and colour that name its line.
void FillLines(t_Window& w, std::uint8_t n = 0) {
    for (int y = 1; y <= w.TextHeight; ++y)
        for (int x = 1; x <= w.TextWidth; ++x)
            t_PrintSymbol(n, std::uint8_t('A' + y), std::uint8_t((y % 15 + 1) << 4), x, y);
}

// Scrolling either way, over the whole width (moving pixel rows) or cell by cell, must leave every depth's
// pixels, alpha bytes included, and both halves of the text block exactly as drawing the moved lines in
// place does. Window 0 scrolls; window 1 is drawn directly. The pixels start as a pattern that differs
// from byte to byte and repeats every 256 bytes, so that rows moved whole keep their alpha bytes; its
// lowest bit changes every 32 bytes, so that alpha bytes of cells apart differ in every bit. Cells of 2, 7,
// 9 and 15 pixels give byte counts that divide a word or do not, at 16 and 32 bits too; 31 one-byte cells
// end the run inside a word, and a one-column area makes a run of a single cell.
TEST(Scrolling, EachWayAndEachPathAtEveryDepthEqualsDrawingTheMovedLinesInPlace) {
    // The blank line is a run of spaces: a space with ink in it, in colours of different greys, tells a run
    // that repeats its cell from one that repeats a single byte.
    const auto inked = [](int c, int x, int r) -> std::uint8_t { return GlyphInk(c ^ 1, x, r) ? 255 : 0; };
    // clang-format off
    const std::tuple<std::int64_t, std::int64_t, int> areas[] = {  // first and last column, glyph width
        {1, 40, 8}, {3, 33, 8}, {1, 40, 5}, {3, 33, 17}, {3, 33, 7}, {3, 33, 9}, {3, 33, 15}, {5, 5, 8}, {3, 33, 2}};
    // clang-format on
    for (const int depth : {1, 4, 8, 16, 24, 32}) {
        for (const bool up : {true, false}) {
            for (const auto& [firstColumn, lastColumn, fw] : areas) {
                SCOPED_TRACE(std::to_string(depth) + " bits, " + (up ? "up" : "down") + ", from column " +
                             std::to_string(firstColumn) + ", " + std::to_string(fw) + " wide");
                const int width = std::max(320, 40 * fw);
                const std::size_t size = std::size_t(width * 200 * depth / 8);
                t_Window* w[2];
                for (std::uint8_t n = 0; n < 2; ++n) {
                    w[n] = &OpenTextWindow(depth, width, 200, vx::BuildFont(fw, 8, inked), n);
                    for (std::size_t i = 0; i < size; ++i)
                        Block(n)[i] = std::uint8_t(i * 37 + 11 + (i >> 5 & 1));
                    std::memset(VideoMemory + w[n]->TextMemoryStart, 0,  // left over past the grid
                                std::size_t(w[n]->TextMemoryEnd - w[n]->TextMemoryStart + 1));
                    FillLines(*w[n], n);
                    w[n]->TextColor = 0x3C;
                }
                SetTextArea(*w[0], firstColumn, lastColumn, 3, 10);
                up ? t_ScrollUp(0) : t_ScrollDown(0);
                for (std::int64_t y = 3; y <= 10; ++y) {
                    const std::int64_t from = up ? y + 1 : y - 1;
                    const bool blank = from < 3 || from > 10;
                    for (std::int64_t x = firstColumn; x <= lastColumn; ++x)
                        t_PrintSymbol(1, blank ? ' ' : std::uint8_t('A' + from),
                                      blank ? 0x3C : std::uint8_t((from % 15 + 1) << 4), x, y);
                }
                // Both halves of the text blocks, as far as the smaller reaches: a block may be larger where
                // its start was rounded down.
                const std::int64_t half = std::min(w[0]->TextMemoryEnd - w[0]->TextMemoryStart,
                                                   w[1]->TextMemoryEnd - w[1]->TextMemoryStart) /
                                          2;
                const auto text = [&](int n, int second) {
                    const std::uint8_t* p = VideoMemory + w[n]->TextMemoryStart +
                                            second * ((w[n]->TextMemoryEnd - w[n]->TextMemoryStart + 1) / 2);
                    return std::vector<std::uint8_t>(p, p + half);
                };
                EXPECT_TRUE(std::memcmp(Block(0), Block(1), size) == 0 && text(0, 0) == text(1, 0) &&
                            text(0, 1) == text(1, 1));
            }
        }
    }
}

// Over the whole width, pixels right of the text move too and the new line is blanked in the text colour,
// inverted when printing is; narrow areas are redrawn cell by cell as stored, leaving other pixels alone,
// unless scroll lock stops them. Moving video memory refuses ranges outside it.
TEST(Scrolling, FullWidthMovesPixelsRightOfTheTextNarrowAreasRedrawCellByCellAndScrollLockStopsThem) {
    t_Window& w = OpenTextWindow(4, 324, 200);  // four pixels right of the text columns
    FillLines(w);
    VideoMemory[w.MemoryStart + 8 * 162 + 161] = 0x77;  // right of the text on pixel row 8 (line 2)
    w.TextColor = 0x3E;
    w.TextInverse = true;
    t_ScrollUp(0);
    EXPECT_EQ(Cell(VideoMemory[w.MemoryStart + 0 * 162 + 161], CellColour(w, 40, 25)), Cell(0x77, 0xE3));
    EXPECT_TRUE(ShowsGlyph(w, 1, 25, ' ', 14, 3));

    w.TextInverse = false;
    FillLines(w);
    SetTextArea(w, 3, 5, 2, 4);
    w.TextInverse = true;
    t_PrintSymbol(0, 'z', 0x40, 4, 5);  // below the area, unlike its neighbours (inverse)
    t_ScrollUp(0);                      // the moved cells are drawn as stored, not inverted
    EXPECT_TRUE(CellChar(w, 5, 4) == ' ' && ShowsGlyph(w, 4, 2, 'A' + 3, 4, 0) &&
                ShowsGlyph(w, 6, 2, 'A' + 2, 3, 0) && ShowsGlyph(w, 4, 5, 'z', 0, 4));
    t_ScrollDown(0);  // window 0 alone: no other window may stand in for it
    EXPECT_EQ(Cell(CellChar(w, 3, 2), CellChar(w, 3, 3)), Cell(' ', 'A' + 3));
    w.ScrollLock = true;
    t_ScrollUp(0);
    EXPECT_EQ(CellChar(w, 3, 3), 'A' + 3);  // line 4 would have moved up

    TakeLogLines();
    MoveVideoMemory(-1, 200, 5);
    MoveVideoMemory(100, kVideoMemorySize - 4, 5);
    MoveVideoMemory(100, 0, INT64_MAX);
    MoveVideoMemory(INT64_MAX, 0, 2);
    MoveVideoMemory(-1, 200, 0);  // nothing to move: nothing to refuse
    EXPECT_EQ(TakeLogLines(), std::vector<std::string>(4, "MoveVideoMemory: Range outside video memory."));
}

TEST(Cursor, MovesInsideTheTextWindowScrollsPastItsEndTabsInsideTheGridAndNeverLeavesIt) {
    t_Window& w = OpenTextWindow(4, 320, 200);  // 40 x 25
    // Found by fuzzing: a cursor a program left at column -128000000896 made a tab to column 3 print
    // 128 billion characters, one illegal-coordinates line each.
    w.TextHpos = -128000000896;
    t_PrintTab(0, 3, ' ');
    t_PrintTab(0, INT64_MAX, '*');
    EXPECT_EQ(CountLogLine("t_PrintTab: Window #0 column 3 is more than a screen away from the cursor."), 1);
    EXPECT_EQ(TakeLogLines().size(), 2u);
    t_Print(0, "\x1Bi");  // the escape tab to the next stop is near the cursor, wherever it is
    EXPECT_EQ(w.TextHpos, -128000000879);
    // A whole screen away is still near enough.
    SetCursor(w, 1, 1);
    TakeLogLines();
    t_PrintTab(0, 1001, '*');
    EXPECT_TRUE(TakeLogLines().empty() && CellChar(w, 40, 24) == '*');

    SetTextArea(w, 5, 30, 3, 20);
    t_CursorEnd(0);
    t_CursorRight(0);  // beyond the last column: return and line feed, here with a scroll
    EXPECT_EQ(CursorOf(w), Pos(5, 20));
    // Tabs count from the first column, inside the grid only; 36 is column 40, right of the text window.
    std::vector<std::int64_t> columns;
    for (std::int64_t column : std::initializer_list<std::int64_t>{2, 0, 37, INT64_MAX, INT64_MIN, 36})
        columns.push_back((t_Htab(0, column), w.TextHpos));
    EXPECT_EQ(columns, (std::vector<std::int64_t>{6, 6, 6, 6, 6, 40}));

    // Bad text-window bounds and cursors neither hang nor leave the blocks.
    const std::int64_t bounds[][4] = {
        {30, 5, 20, 3}, {0, 0, 0, 0}, {41, 50, 26, 30}, {INT64_MIN, INT64_MAX, INT64_MAX, INT64_MIN}};
    const std::int64_t cursors[][2] = {
        {1, 1}, {5, 0}, {1000, -1000}, {INT64_MAX, INT64_MAX}, {INT64_MIN, INT64_MIN}};
    // Every control code and escape command that moves, clears or scrolls, each from the cursor given.
    const std::string_view moves[] = {"\x08", "\n",    "\x0B",  "\x0C",  "\r",    "\x12",
                                      "\x16", "\x17",  "\x19",  "\x1A",  "\x1C",  "\x1D",
                                      "\x1E", "\033e", "\033f", "\033i", "\033j", "\033k"};
    for (const int depth : {1, 4}) {
        t_Window& small = OpenTextWindow(depth, 96, 64);  // 12 x 8
        const std::uint64_t outside = OutsideChecksum(small);
        for (auto& b : bounds)
            for (auto& c : cursors) {
                SetTextArea(small, b[0], b[1], b[2], b[3]);
                for (auto move : moves) {
                    SetCursor(small, c[0], c[1]);
                    t_Print(0, move);
                }
                t_Htab(0, 3);
                t_CursorHome(0);
                EXPECT_TRUE(small.TextHpos >= 1 && small.TextHpos <= 12) << small.TextHpos;
                t_CursorEnd(0);
                EXPECT_TRUE(small.TextVpos >= 1 && small.TextVpos <= 8) << small.TextVpos;
            }
        EXPECT_EQ(OutsideChecksum(small), outside) << depth;
    }
    w.TextWidth = 0, w.TextFirstColumn = 5, w.TextMemoryEnd -= w.TextMemoryStart, w.TextMemoryStart = 0;
    t_CursorHome(0);
    EXPECT_EQ(CursorOf(w), Pos(1, 1));
    // One column and one line make a text window; no line makes none.
    std::vector<Pos> ends;
    for (Pos size : {Pos{1, 1}, {40, 0}}) {
        std::tie(w.TextWidth, w.TextHeight) = size;
        t_CursorEnd(0);
        ends.push_back(CursorOf(w));
    }
    EXPECT_EQ(ends, (std::vector<Pos>{{1, 1}, {0, 0}}));
}

}  // namespace
