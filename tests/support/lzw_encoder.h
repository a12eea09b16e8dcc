// An LZW encoder for tests: the exact counterpart of the toolkit's decoder (codes 0..255 for single
// bytes, new codes from 256, no clear or end code, no dictionary limit), and a writer of compressed
// font records.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "display/window.h"

namespace vx::test {

std::vector<std::uint64_t> LzwEncode(std::span<const std::uint8_t> bytes);
// Packs codes into `width` bits each, most significant bit first, the last byte padded with zeros.
std::vector<std::uint8_t> PackCodes(std::span<const std::uint64_t> codes, int width);
// The format-100 (from 0) or -102 (from 2) form of a font: Data = width byte, then the packed codes.
t_Font CompressFont(const t_Font& font, int width = 0);

}  // namespace vx::test
