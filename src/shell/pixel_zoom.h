// Enlarging a composed picture by a whole factor, nearest neighbour: each picture pixel becomes a
// factor × factor block of identical words. Plain loops over 32-bit words, no Qt, so that the views and
// the benchmarks share them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vx::shell {

// Enlarges the part of `source` from column x, row y, width × height pixels (rows `sourceStride` words
// apart) by `factor` into `target`, whose rows are `targetStride` words apart and which must hold
// height × factor rows of width × factor words. Nothing happens for a factor below 1.
void EnlargeByFactor(const std::uint32_t* source, std::size_t sourceStride, int x, int y, int width,
                     int height, int factor, std::uint32_t* target, std::size_t targetStride);

// Source rows per band when a large picture is enlarged and copied band by band: a band small enough
// to stay in the processor's cache between being enlarged and being copied out, at least one row.
int BandRows(int width, int factor);

}  // namespace vx::shell
