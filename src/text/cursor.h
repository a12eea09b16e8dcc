// The text cursor: a cell position inside the window's text window. No mark is drawn.
#pragma once

#include <cstdint>

#include "display/window.h"

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
