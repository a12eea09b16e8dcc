// Turning a graphic window into a working display: checks, video memory, record, view and layout.
#pragma once

#include <cstdint>
#include <string>

#include "display/format_number.h"
#include "display/window.h"

// Sets up graphic window `window` (0..7). A negative border asks for the border that fills the screen;
// a font with empty Data gives the window no text layer.
void t_InitWindow(std::uint8_t window, std::int64_t bitDepth, bool autoUpdate, std::int64_t width,
                  std::int64_t height, std::int64_t borderWidth, std::int64_t borderHeight,
                  const t_Font& font, bool titleVisible);
// Clears the window's graphic block to black and its text block to spaces in the window's text colour.
void ClearWindowMemory(std::uint8_t window);
