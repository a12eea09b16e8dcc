// Filling the top rows of a window with one colour.
#pragma once

#include <cstdint>

// Fills rows 0 .. rows-1 with palette colour `color`; rows below 1 or above the height fill the window.
void g_ClearScreen(std::uint8_t window, std::int64_t color, std::int64_t rows);
