// The current colour of a window, and writing and reading single pixels.
#pragma once

#include <cstdint>

#include "display/window.h"

// Makes palette entry `index` (its low four bits) the window's current colour.
void t_Color(std::uint8_t window, std::int64_t index);
// Plots (x, y) in the current colour under the window's drawing mode; points outside are ignored.
void g_Plot(std::uint8_t window, std::int64_t x, std::int64_t y);
// The colour of pixel (x, y); opaque black outside the window.
t_RGBColor g_Scrn(std::uint8_t window, std::int64_t x, std::int64_t y);
