// Drawing into graphic windows: the current colour, single pixels, lines and clearing.
#pragma once

#include <cstdint>

#include "vxtools/records.h"

// Makes palette entry `index` (its low four bits) the window's current colour.
void t_Color(std::uint8_t window, std::int64_t index);
// Plots (x, y) in the current colour under the window's drawing mode; points outside are ignored.
void g_Plot(std::uint8_t window, std::int64_t x, std::int64_t y);
// The colour of pixel (x, y); opaque black outside the window.
[[nodiscard]] t_RGBColor g_Scrn(std::uint8_t window, std::int64_t x, std::int64_t y);
// Draws from (x1, y1) to (x2, y2), both ends included, exactly as plotting each point with g_Plot would.
void g_Line(std::uint8_t window, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2);
// Draws from the last plotted point to (x, y).
void g_LineTo(std::uint8_t window, std::int64_t x, std::int64_t y);
// Fills rows 0 .. rows-1 with palette colour `color`; rows below 1 or above the height fill the window.
void g_ClearScreen(std::uint8_t window, std::int64_t color, std::int64_t rows);
