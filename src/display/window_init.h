// Turning a graphic window into a working display: checks, video memory, record, view and layout.
#pragma once

#include <cstdint>
#include <string>

#include "display/format_number.h"
#include "display/window.h"
#include "vxtools/display.h"

// Clears the window's graphic block to black and its text block to spaces in the window's text colour.
void ClearWindowMemory(std::uint8_t window);
