// Graphic windows: setting them up in video memory, where they are and how they look, their pictures,
// the palette, and where their text output goes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "vxtools/records.h"

// Sets up graphic window `window` (0..7). A negative border asks for the border that fills the screen;
// a font with empty Data gives the window no text layer.
void t_InitWindow(std::uint8_t window, std::int64_t bitDepth, bool autoUpdate, std::int64_t width,
                  std::int64_t height, std::int64_t borderWidth, std::int64_t borderHeight,
                  const t_Font& font, bool titleVisible);

// One of 21 figures about a window's geometry and text area (selector 0..20); 0 for any other selector.
[[nodiscard]] std::int64_t t_WindowPos(std::uint8_t window, std::int64_t selector);
// Moves and resizes a window; -1 keeps that value. Graphic windows get their border and title around.
void t_WindowSize(std::uint8_t window, std::int64_t x, std::int64_t y, std::int64_t width,
                  std::int64_t height);
// Sets the title; from another thread than the user-interface thread it appears a moment later.
void t_WindowTitle(std::uint8_t window, const std::string& title);
// Shows or hides the title strip.
void t_WindowTitleVisible(std::uint8_t window, bool visible);
// Centres the window on its screen.
void t_WindowCenter(std::uint8_t window);
// Shows the window in front and gives it the keyboard.
void t_WindowFront(std::uint8_t window);
// Orders the window to the front without giving it the keyboard, or out. Showing the pasteboard window
// fills it with the pasteboard's text. When the last visible window of the application is hidden, the
// main window (12) is shown, so that its menu bar keeps every window within reach.
void t_WindowVisible(std::uint8_t window, bool visible);

// Asks view `window` to redraw: deferred marks it for the next display cycle, otherwise it redraws now
// and the new image is composed before the call returns. Not to be called on the user-interface thread.
void t_WindowUpdate(std::uint8_t window, bool deferred);
// The window's current picture in 0xAARRGGBB words, or null (memory not ready, window not initialised
// or hidden). Buffers are recycled between calls, so composing allocates nothing per pixel and, in the
// steady state, nothing per frame. Writes UpdateDuration and UpdateFinished.
[[nodiscard]] std::shared_ptr<const vx::WindowImage> t_WindowImage(std::uint8_t window);

// Palette entry `index` with alpha 255; opaque black for any index outside 0..15.
[[nodiscard]] t_RGBColor t_PaletteColor(std::int64_t index);
// Sets the border to palette colour `color` (its low four bits) and shows it as the window's background.
void t_ColorBorder(std::uint8_t window, std::int64_t color);
// Makes the text area cover the whole window again.
void t_FullArea(std::uint8_t window);
// Where the window's text output goes: 1 into the window, 2 to standard output, anything else nowhere.
void t_RedirectOutput(std::uint8_t window, std::int64_t target);

namespace vx {

// Writes the image as a PNG whose decoded pixels equal the image's words exactly (alpha is always 255,
// so the file has none). Pictures of at most 256 colours are written with a palette, which keeps the
// files of the 1- and 4-bit windows small and quick to write. The picture is written to a temporary file
// in the same folder, flushed to disk and only then renamed over `path`, so a failure or an interrupted
// save leaves the old file as it was and no partial picture under its name. Device nodes, pipes and
// folders are refused. False, with a log line and PictureError(), when the image is malformed or the file
// cannot be written; only the temporary file is removed then.
bool WritePng(const WindowImage& image, const std::string& path);

// Composes graphic window n as its view would show it now and writes it with WritePng, at the window's
// own pixel size whatever the view's zoom. Works on every platform, the headless one included. False,
// with a log line, when the window has no picture (not initialised or hidden) or the file fails.
// Any thread.
bool SavePicture(std::uint8_t window, const std::string& path);

// Why the last WritePng, SavePicture or LoadPicture on the calling thread failed, in words for the
// user ("too large", "not readable", "not a PNG picture", ...); empty after one that worked. A program
// shows it where it shows errors; the log has the full line anyway.
[[nodiscard]] const std::string& PictureError();

}  // namespace vx
