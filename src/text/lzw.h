// The LZW decoder of compressed fonts.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vx {

// Output that no real font reaches; a stream that would expand beyond it counts as bad. Every code
// yields at least one byte, so a stream of more codes than this is bad before its first code is read.
inline constexpr std::size_t kLzwOutputLimit = std::size_t(64) << 20;

// Decodes a code stream one code at a time. Memory stays within a small multiple of the output limit
// for any stream: the output itself, and four bytes per code for where each code's string starts (a
// dictionary entry is always the string of one code followed by the first byte of the next, that is a
// run of the output).
class LzwDecoder {
  public:
    // `expectedCodes` only sizes the buffers up front; beyond the limit it is ignored.
    explicit LzwDecoder(std::size_t expectedCodes = 0);
    // Adds the next code; false once the stream has turned out bad (and for every code after that).
    bool Add(std::uint64_t code);
    // The output, or empty for no codes or a bad stream.
    std::vector<std::uint8_t> Finish();

  private:
    std::vector<std::uint8_t> out_;
    std::vector<std::uint32_t> starts_;  // output offset of each code's string, in code order
    bool bad_ = false;
};

}  // namespace vx

// Decodes LZW codes: 0..255 stand for themselves, new codes from 256 on, no clear or end code and no
// dictionary limit. Empty for no codes and for a bad stream (a code beyond the next free one, or output
// beyond vx::kLzwOutputLimit).
std::vector<std::uint8_t> LzwDecode(std::span<const std::uint64_t> codes);
