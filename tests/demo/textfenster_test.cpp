#include "demo/textfenster.h"

#include <gtest/gtest.h>

#include "input/key_input.h"
#include "support/toolkit_test.h"

// The whole program on its own thread, with the keys typed before it starts: what it leaves on the
// screen, character by character and colour by colour, after Escape has ended it.
TEST(Textfenster, DrawsItsDemonstrationEchoesTheKeysAndEndsWithTheEndMessage) {
    vx::test::StartToolkit();
    // Backspace takes the "i" back; Tab and the up arrow type nothing; Return and Ctrl+C (character 3) start
    // a line; the space and the last Latin-1 character are the ends of what is echoed.
    const std::pair<std::int64_t, const char*> keys[] = {
        {4, "h"}, {34, "i"},   {51, "\x7f"}, {0, "a"},  {48, "\t"},      {92, "\xC3\xBF"}, {36, "\r"},
        {7, "x"}, {8, "\x03"}, {49, " "},    {16, "y"}, {126, "\uF700"}, {53, "\x1b"}};
    for (const auto& [code, text] : keys)
        t_KeyEventHandler(0, vx::KeyPress{code, text, code == 8 ? vx::kControlFlag : 0});
    startprocess(textfenster::Program, 1 << 24);
    const std::string end = "t_QuitProgram: Quitting current thread with message in window #0.";
    ASSERT_TRUE(vx::test::Eventually([&] { return vx::test::LogContains(end); }));

    std::string window;  // the scrolling window's last lines, right of column 44
    for (int line = 11; line <= 16; ++line)
        window += std::string(44, ' ') + "Zeile " + std::to_string(line) + " im Fenster\r";
    EXPECT_EQ(t_GetScreen(0, "\r"),
              " Textfenster   ?  Farben, Modi, Escape-Befehle, Rollen\r\r"
              " Schwarz             Rot                 Dunkelblau          Magenta\r"
              " Dunkelgr\u00FCn          Grau                Blau                Himmelblau\r"
              " Braun               Orange              Hellgrau            Rosa\r"
              " Gr\u00FCn                Gelb                T\u00FCrkis              Wei\u00DF\r\r"
              "Invers normal umgekehrt ?\r"
              "Modus 1: \u00C1\u00C2\u00C3  Modus 2: \u0081\u0082\u0083  Modus 3: ABC  Modus 4: ABC\r"
              "Tabulatoren:        |10       |20       |40\r"
              "Latin-1: \u00E4\u00F6\u00FC\u00DF \u00A9 \u00BD \u00B1 \u00C6\u00D8\u00C5\r" +
                  window +
                  "\r\rTippen Sie etwas (Escape beendet):\r> ha\u00FF\r> x\r>  y\r\r(Programm Ende)");

    // Colours as ink << 4 | paper: the title, black on grey, red, inverse, the scrolling window's
    // inks on dark blue down to its last line, the prompt, the end message.
    const t_Window& w = WindowRecord(textfenster::kWindow);
    const int cells[][3] = {{2, 1, 0xF0},   {2, 3, 0x0A},   {22, 3, 0x10},  {1, 8, 0x0C},   {9, 8, 0xC0},
                            {45, 12, 0xC2}, {46, 17, 0xF2}, {46, 18, 0xF2}, {78, 18, 0xF2}, {79, 18, 0xC0},
                            {44, 18, 0xC0}, {46, 19, 0xC0}, {1, 20, 0xD0},  {3, 21, 0xF0},  {1, 25, 0x10}};
    for (const auto& [x, y, colour] : cells)
        EXPECT_EQ(vx::test::CellColour(w, x, y), colour) << x << ", " << y;
    // The blank cells of the scrolling window are painted dark blue, up to their last pixel.
    EXPECT_EQ(vx::test::Nibble(w, 78 * 8 - 1, 18 * 16 - 1), 2);
    EXPECT_EQ(vx::test::Nibble(w, 78 * 8, 18 * 16 - 1), 0);
    EXPECT_EQ(vx::test::Nibble(w, 44 * 8 - 1, 18 * 16 - 1), 0);
}

// An 8 x 16 font is taken as it is. Any other, or none, gives boxes: every code from 33 on a frame of
// rows 3 to 12 and columns 1 to 6, the codes below it blank.
TEST(Textfenster, TakesAnEightBySixteenFontAndDrawsBoxesWithoutOne) {
    vx::test::StartToolkit();
    const auto font = [](int width, int height) {
        return vx::BuildFont(width, height, [](int code, int x, int) { return std::uint8_t(code + x); });
    };
    const t_Font ready = font(8, 16);
    EXPECT_EQ(textfenster::ConsoleFont(ready).Data, ready.Data);
    std::string box, blank(128, '.');
    for (int row = 0; row < 16; ++row)
        box += row < 3 || row > 12 ? "........" : row == 3 || row == 12 ? ".######." : ".#....#.";
    t_Font unfilled = ready;
    unfilled.Data.clear();
    for (const t_Font& other : {unfilled, font(8, 15), font(7, 16), font(8, 17), font(9, 16)}) {
        vx::test::TakeLogLines();
        const t_Font boxes = textfenster::ConsoleFont(other);
        std::string glyphs;
        for (int code : {32, 33, 255})
            for (int i = 0; i < 128; ++i) {
                const std::uint8_t level = boxes.Data.at(std::size_t(code * 128 + i));
                glyphs += level == 255 ? '#' : level == 0 ? '.' : '?';
            }
        EXPECT_EQ(glyphs, blank + box + box) << other.Width << " x " << other.Height;
        EXPECT_EQ(
            vx::test::TakeLogLines(),
            std::vector<std::string>{"Textfenster: No 8 x 16 console font found; drawing boxes instead."});
    }
}
