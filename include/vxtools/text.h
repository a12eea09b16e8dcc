// The text layer of graphic windows: the cursor, printing with control codes, display modes and escape
// commands, scrolling and clearing, single glyphs, and reading the text screen back.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "vxtools/records.h"

// Font formats (t_Font::Format).
inline constexpr std::int64_t kFontUncompressed = 0;
inline constexpr std::int64_t kFontUncompressedGrey = 2;
inline constexpr std::int64_t kFontCompressed = 100;
inline constexpr std::int64_t kFontCompressedGrey = 102;

namespace vx {

// A font a program draws itself: format 2 (one byte per pixel), codes 0..255, width x height pixels per
// cell, each pixel the level that pixel(code, x, row) gives (0 paper, 255 ink, levels between shaded).
// Sizes outside 1..64, or no pixel function, give the empty font (no text layer) and a log line.
[[nodiscard]] t_Font BuildFont(int width, int height,
                               const std::function<std::uint8_t(int code, int x, int row)>& pixel);

}  // namespace vx

// ---- The cursor: a cell position inside the window's text window; no mark is drawn ----

void t_CursorHome(std::uint8_t window);
void t_CursorEnd(std::uint8_t window);
// Column n of the text window; ignored unless 1 <= n and the column lies inside the grid.
void t_Htab(std::uint8_t window, std::int64_t n);
void t_CursorRight(std::uint8_t window);
void t_CursorLeft(std::uint8_t window);
void t_CursorDown(std::uint8_t window);
void t_CursorUp(std::uint8_t window);
// Carriage return and line feed in one.
void t_Cr(std::uint8_t window);

// ---- Character output ----

// What t_ApplyDisplayMode makes of a character: the code to draw (above 255: drawn as "?"; negative:
// nothing), and the inversion and colour byte the window gets back after drawing.
struct t_DisplayModeResult {
    std::int64_t Code = 0;
    bool Inverse = false;
    std::uint8_t Color = 0;
    friend bool operator==(const t_DisplayModeResult&, const t_DisplayModeResult&) = default;
};

// Prints UTF-8 text at the cursor: control codes 0..31 are executed in display modes up to 2, every
// other scalar goes through the display mode; the output pause is checked at carriage returns and at
// the end.
void t_Print(std::uint8_t window, std::string_view text);
// Prints one code through the display mode; control codes are drawn, not executed.
void t_PrintChar(std::uint8_t window, std::uint8_t code);
// Prints `code` until the cursor reaches `column`; nothing when it is there or beyond.
void t_PrintTab(std::uint8_t window, std::int64_t column, std::uint8_t code);
// Executes control code 7..31.
void t_PrintControl(std::uint8_t window, std::uint8_t code);
// Applies the display mode (and, after ESC, the escape command) to one character.
t_DisplayModeResult t_ApplyDisplayMode(std::uint8_t window, std::int64_t code);
void t_DisplayMode(std::uint8_t window, std::int64_t mode);
void t_Normal(std::uint8_t window);
void t_Inverse(std::uint8_t window);
void t_Reverse(std::uint8_t window);
// Draws the glyph of `code` in cell (x, y), counted from 1, in the colour byte `colour` (ink in the high
// nibble, paper in the low one), and records code and colour in the cell. Obeys TextRedirectOutput and
// TextInverse; does not move the cursor.
void t_PrintSymbol(std::uint8_t window, std::uint8_t code, std::uint8_t colour, std::int64_t x,
                   std::int64_t y);

// ---- Scrolling and clearing ----

// The text window's lines move up by one and its last line is blanked; nothing while ScrollLock is set.
void t_ScrollUp(std::uint8_t window);
// The text window's lines move down by one and its first line is blanked; nothing while ScrollLock is set.
void t_ScrollDown(std::uint8_t window);
// Blanks from the cursor to the text window's last column. The cursor stays.
void t_ClearEndOfLine(std::uint8_t window);
// Blanks from the cursor to the end of the text window. The cursor stays.
void t_ClearEndOfWindow(std::uint8_t window);

// ---- Reading back ----

// The window's text, line after line, each followed by `separator`. With an empty separator the raw
// grid; otherwise tidied: pieces cut at carriage returns, trailing spaces and blank bottom lines
// dropped, joined with carriage returns.
[[nodiscard]] std::string t_GetScreen(std::uint8_t window, std::string_view separator);
