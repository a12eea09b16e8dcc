// Straight lines through the window's plotting rules.
#pragma once

#include <cstdint>

// Draws from (x1, y1) to (x2, y2), both ends included, exactly as plotting each point with g_Plot would.
void g_Line(std::uint8_t window, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2);
// Draws from the last plotted point to (x, y).
void g_LineTo(std::uint8_t window, std::int64_t x, std::int64_t y);
