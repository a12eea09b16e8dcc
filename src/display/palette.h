// The fixed 16-colour palette.
#pragma once

#include <array>
#include <cstdint>

#include "vxtools/display.h"

inline constexpr std::array<std::uint8_t, 16> PaletteRed{0,   255, 0,   255, 0, 84,  0, 0,
                                                         128, 255, 168, 255, 0, 255, 0, 255};
inline constexpr std::array<std::uint8_t, 16> PaletteGreen{0,  0,   0,   0,   128, 84,  0,   128,
                                                           64, 128, 168, 128, 255, 255, 255, 255};
inline constexpr std::array<std::uint8_t, 16> PaletteBlue{0, 0, 128, 255, 0, 84, 255, 255,
                                                          0, 0, 168, 128, 0, 0,  255, 255};

namespace vx {

// Palette entry as an opaque 0xAARRGGBB word, for composed images. Index must be 0..15.
constexpr std::uint32_t PaletteWord(int index) {
    return 0xFF000000u | std::uint32_t(PaletteRed[index]) << 16 | std::uint32_t(PaletteGreen[index]) << 8 |
           std::uint32_t(PaletteBlue[index]);
}

// The grey level that 8- and 16-bit windows store for a colour.
constexpr std::uint8_t GreyLevel(t_RGBColor c) {
    return std::uint8_t((int(c.Red) + c.Green + c.Blue) / 3);
}

}  // namespace vx
