// Character output: printing strings and characters at the text cursor, control codes, display modes,
// escape commands, the output state setters and the output pause.
#pragma once

#include <cstdint>
#include <string_view>

#include "display/window.h"

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
// 1 into the window, 2 to standard output, anything else nowhere.
void t_RedirectOutput(std::uint8_t window, std::int64_t target);
// When the newest queued key has value `key`, drops the queued keys and (with wait) holds the calling
// thread until another key or a menu event arrives. True when it paused.
bool CheckOutputPause(std::int64_t key, bool wait);

namespace vx::text {
// The same operations after the window check.
void PrintChar(std::uint8_t window, t_Window& w, std::uint8_t code);
void PrintTab(std::uint8_t window, t_Window& w, std::int64_t column, std::uint8_t code);
t_DisplayModeResult ApplyDisplayMode(std::uint8_t window, t_Window& w, std::int64_t code);
}  // namespace vx::text
