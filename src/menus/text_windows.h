// Showing and hiding the toolkit's windows: the graphic windows 0..7, the text windows 8..10 (pasteboard,
// virtual printer, system console), the preferences window 11 and the main window 12.
#pragma once

#include <cstdint>

// Orders the window to the front without giving it the keyboard, or out.
void t_WindowVisible(std::uint8_t window, bool visible);
