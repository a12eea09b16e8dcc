// The LZW decoder of compressed fonts.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vx {
// Output that no real font reaches; a stream that would expand beyond it counts as bad.
inline constexpr std::size_t kLzwOutputLimit = std::size_t(64) << 20;
}  // namespace vx

// Decodes LZW codes: 0..255 stand for themselves, new codes from 256 on, no clear or end code and no
// dictionary limit. Empty for no codes and for a bad stream (a code beyond the next free one, or output
// beyond vx::kLzwOutputLimit).
std::vector<std::uint8_t> LzwDecode(std::span<const std::uint64_t> codes);
