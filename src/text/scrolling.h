// Scrolling the text window by one line, and clearing to the end of the line or of the text window.
#pragma once

#include <cstdint>

#include "display/window.h"
#include "vxtools/text.h"

// Copies count bytes of video memory from `from` to `to`; overlapping ranges move correctly. Nothing for
// count < 1; a range outside video memory is refused with a log line.
void MoveVideoMemory(std::int64_t from, std::int64_t to, std::int64_t count);

namespace vx::text {
// The same operations after the window check.
void ScrollUp(std::uint8_t window, t_Window& w);
void ScrollDown(std::uint8_t window, t_Window& w);
void ClearEndOfLine(std::uint8_t window, t_Window& w);
void ClearEndOfWindow(std::uint8_t window, t_Window& w);
}  // namespace vx::text
