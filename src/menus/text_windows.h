// Showing and hiding the toolkit's windows: the graphic windows 0..7, the text windows 8..10 (pasteboard,
// virtual printer, system console), the preferences window 11 and the main window 12. The text windows'
// contents and layout.
#pragma once

#include <cstdint>
#include <string>

#include "core/platform.h"
#include "input/events.h"
#include "vxtools/menus.h"
#include "vxtools/records.h"

// Fits the text area (and ruler) of a text window to the window's size: the window given, or the
// application's main window when none is given. Other windows are left alone. User-interface thread.
void LayoutTextWindow(vx::WindowRef window = nullptr);
