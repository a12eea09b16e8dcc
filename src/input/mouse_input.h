// Mouse input of the graphic views and the close boxes of the toolkit's windows.
#pragma once

#include <atomic>
#include <cstdint>

#include "vxtools/input.h"

namespace vx {

// A click as a platform layer hands it over: the pressed buttons (bit 0 primary, bit 1 secondary,
// bit n button n), the modifier flags in the toolkit's numbering, and the location in the platform
// window in points with the origin at its bottom-left corner.
struct MouseClick {
    std::uint64_t buttons = 0;
    std::uint64_t modifierFlags = 0;
    double x = 0;
    double y = 0;
};

}  // namespace vx

// A button went down in graphic view `window`.
void viewMouseDown(std::uint8_t window, const vx::MouseClick& click, bool secondary);
// A button went up in a graphic view.
void viewMouseUp();
// Builds and posts the mouse event of a click at (x, y), then starts the program's mouse handler.
void t_MouseEventHandler(std::uint8_t window, const vx::MouseClick& click, double x, double y);
// The close box of window `window` was clicked: the window is hidden, never closed.
void t_MouseEventPostCloseBoxClick(std::uint8_t window);
