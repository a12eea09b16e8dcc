// Fonts for programs: turns PC Screen Fonts (PSF1 and PSF2, plain or gzip-compressed, as the Linux
// console keeps them) into format-2 font records for t_InitWindow.
//
// The record holds the 256 codes in Latin-1 order: a font with a Unicode table gives each code the glyph
// that the table lists for the same scalar; codes the table does not list, and every code of a font
// without a table, take the glyph at their own index. Pixels are 0 (paper) or 255 (ink).
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "vxtools/records.h"

namespace vx {

// Reads a PSF1 or PSF2 file, gzip-compressed or not. A file that cannot be read or is not a sound PSF
// font gives the default record (no Data) and one log line.
t_Font LoadPsfFont(const std::string& path);
// The same for the bytes of a font file (not compressed).
t_Font PsfFontFromBytes(std::span<const std::uint8_t> bytes);
// The first of the given font files (names inside the system's console-font folder, or paths) that
// exists; "" when none does.
std::string FindConsoleFont(std::span<const std::string> candidates);

}  // namespace vx
