/// @file desktop.h
/// @brief Additions for programs of your own that meet the desktop around their windows: telling that
/// the user closed a window, the clipboard, and text in the virtual printer and the system console.
///
/// Everything here lives in namespace `vx`, may be called from the program thread (or any other), and
/// adds to the toolkit without changing any of its other calls. A call that cannot act logs one line
/// and returns a neutral answer. The header stands alone: it needs only the standard library.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vx {

/// @name Closing
/// @{

/// True once the user has clicked the close box of window `window` (0..12), until the window is shown
/// again (t_WindowFront, t_WindowVisible). The close box itself keeps its behaviour: the window is
/// hidden (the main window appears when it was the last one on screen) and no event is posted. A loop
/// that should end when its window goes asks this, as a raylib program asks `WindowShouldClose()`:
///
///     while (!vx::WindowClosed(0)) { /* draw, read keys */ }
///     vx::QuitApplication(0);
///
/// False for every other number and before any click.
bool WindowClosed(std::uint8_t window);

/// @}

/// @name Clipboard
/// @{

/// A picture as the clipboard holds it: `width` × `height` words 0xAARRGGBB, rows top first.
struct ClipboardPicture {
    /// Pixels per row.
    int width = 0;
    /// Rows.
    int height = 0;
    /// `width` × `height` words, row 0 first; alpha is 255 in pictures that the toolkit copied.
    std::vector<std::uint32_t> pixels;
};

/// Puts the picture of graphic window `window` (0..7) on the clipboard as its only content, as
/// Bearbeiten › Bild kopieren does for the front window. False, with the line "vx::CopyPicture: Window
/// #n has no picture to copy." (or the common line for numbers from 8 on), when the window is not
/// initialised or not on screen.
bool CopyPicture(std::uint8_t window);

/// Puts UTF-8 text on the clipboard as its only content. Carriage returns and line feeds both end a
/// line; other programs receive this system's line ends.
void CopyText(const std::string& text);

/// The clipboard's plain text (UTF-8), whoever put it there; nullopt when it holds no text.
std::optional<std::string> ClipboardText();

/// The clipboard's picture, whoever put it there; nullopt when it holds none.
std::optional<ClipboardPicture> ClipboardImage();

/// @}

/// @name Virtual printer and system console
/// Windows 9 and 10 are text windows with a one-line ruler field above their text. A program writes
/// into them and shows them with t_WindowFront(9) or t_WindowFront(10); Bearbeiten › Drucker leeren and
/// Systemkonsole leeren empty them. Any other window number is refused with the line
/// "vx::AppendText: Window #n is neither the virtual printer (9) nor the system console (10)." (with
/// the call's own name).
/// @{

/// Adds UTF-8 text at the end of window 9 or 10 and scrolls it into sight; "\n" starts a new line.
void AppendText(std::uint8_t window, const std::string& text);

/// The whole text of window 9 or 10, as the user may have edited it; "" when refused.
std::string WindowText(std::uint8_t window);

/// Sets the one-line ruler field above the text of window 9 or 10 (line ends become blanks).
void SetRulerText(std::uint8_t window, const std::string& text);

/// The ruler field's text of window 9 or 10; "" when refused.
std::string RulerText(std::uint8_t window);

/// @}

}  // namespace vx
