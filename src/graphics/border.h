// The border around a window's drawing area, and the extent of its text area.
#pragma once

#include <cstdint>

// Sets the border to palette colour `color` (its low four bits) and shows it as the window's background.
void t_ColorBorder(std::uint8_t window, std::int64_t color);
// Makes the text area cover the whole window again.
void t_FullArea(std::uint8_t window);
