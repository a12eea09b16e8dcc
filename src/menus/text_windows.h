// Showing and hiding the toolkit's windows: the graphic windows 0..7, the text windows 8..10 (pasteboard,
// virtual printer, system console), the preferences window 11 and the main window 12. The text windows'
// contents and layout.
#pragma once

#include <cstdint>
#include <string>

#include "core/handler.h"
#include "core/platform.h"
#include "input/events.h"

// Orders the window to the front without giving it the keyboard, or out. Showing the pasteboard window
// fills it with the pasteboard's text. When the last visible window of the application is hidden, the
// main window (12) is shown, so that its menu bar keeps every window within reach.
void t_WindowVisible(std::uint8_t window, bool visible);

// Run by the paste action while a graphic window is in front, on the user-interface thread. SystemBeep
// until the program replaces it.
extern vx::Handler& PasteHandler;
// Lists of the program's own for the virtual printer's and the system console's text; the toolkit puts
// nothing in them and empties them when the user clears the window.
extern vx::EventQueue<std::string>& VirtualPrinterBuffer;
extern vx::EventQueue<std::string>& SystemConsoleBuffer;

// Empty the text of the virtual printer (system console) and mark it for redisplay; any thread.
void ClearVirtualPrinterText();
void ClearSystemConsoleText();

// Fits the text area (and ruler) of a text window to the window's size: the window given, or the
// application's main window when none is given. Other windows are left alone. User-interface thread.
void LayoutTextWindow(vx::WindowRef window = nullptr);
