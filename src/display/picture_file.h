// Pictures out: a window's composed image written as a PNG file.
#pragma once

#include <cstdint>
#include <string>

#include "core/platform.h"

namespace vx {

// Writes the image as a PNG whose decoded pixels equal the image's words exactly (alpha is always 255,
// so the file has none). Pictures of at most 256 colours are written with a palette, which keeps the
// files of the 1- and 4-bit windows small and quick to write. False, with a log line, when the image is
// malformed or the file cannot be written; a file that failed half way is removed.
bool WritePng(const WindowImage& image, const std::string& path);

// Composes graphic window n as its view would show it now and writes it with WritePng, at the window's
// own pixel size whatever the view's zoom. Works on every platform, the headless one included. False,
// with a log line, when the window has no picture (not initialised or hidden) or the file fails.
// Any thread.
bool SavePicture(std::uint8_t window, const std::string& path);

}  // namespace vx
