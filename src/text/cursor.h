// The text cursor: a cell position inside the window's text window. No mark is drawn.
#pragma once

#include <cstdint>

#include "display/window.h"
#include "vxtools/text.h"

namespace vx::text {
// The same operations after the window check.
void CursorHome(std::uint8_t window, t_Window& w);
void CursorEnd(std::uint8_t window, t_Window& w);
void Htab(std::uint8_t window, t_Window& w, std::int64_t n);
void CursorRight(std::uint8_t window, t_Window& w);
void CursorLeft(std::uint8_t window, t_Window& w);
void CursorDown(std::uint8_t window, t_Window& w);
void CursorUp(std::uint8_t window, t_Window& w);
void Cr(std::uint8_t window, t_Window& w);
}  // namespace vx::text
