// Font records: the compressed formats and their expansion.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "display/window.h"

// Font formats (t_Font::Format).
inline constexpr std::int64_t kFontUncompressed = 0;
inline constexpr std::int64_t kFontUncompressedGrey = 2;
inline constexpr std::int64_t kFontCompressed = 100;
inline constexpr std::int64_t kFontCompressedGrey = 102;

// Splits a bit stream into codes of `width` bits, most significant bit first; leftover bits are
// ignored. A width of 0 or above 64 gives no codes, and so does a stream of more codes than
// vx::kLzwOutputLimit, which could never decode within that limit.
std::vector<std::uint64_t> UnpackCodes(std::span<const std::uint8_t> bytes, std::int64_t width);
// The uncompressed form of a format-100 or -102 font (Data byte 0 is the code width); any other font
// comes back unchanged.
t_Font ExpandFont(const t_Font& font);
