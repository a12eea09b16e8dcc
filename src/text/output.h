// Character output: printing strings and characters at the text cursor, control codes, display modes,
// escape commands, the output state setters and the output pause.
#pragma once

#include <cstdint>
#include <string_view>

#include "display/window.h"
#include "vxtools/text.h"

// When the newest queued key has value `key`, drops the queued keys and (with wait) holds the calling
// thread until another key or a menu event arrives. True when it paused.
bool CheckOutputPause(std::int64_t key, bool wait);

namespace vx::text {
// The same operations after the window check.
void PrintChar(std::uint8_t window, t_Window& w, std::uint8_t code);
void PrintTab(std::uint8_t window, t_Window& w, std::int64_t column, std::uint8_t code);
t_DisplayModeResult ApplyDisplayMode(std::uint8_t window, t_Window& w, std::int64_t code);
}  // namespace vx::text
