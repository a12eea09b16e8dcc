// Enlarging a composed picture by a whole factor, nearest neighbour: each picture pixel becomes a
// factor × factor block of identical words. The views and the benchmarks share these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class QPainter;
class QRect;

namespace vx::shell {

// Enlarges the part of `source` from column x, row y, width × height pixels (rows `sourceStride` words
// apart) by `factor` into `target`, whose rows are `targetStride` words apart and which must hold
// height × factor rows of width × factor words. Nothing happens for a factor below 1.
void EnlargeByFactor(const std::uint32_t* source, std::size_t sourceStride, int x, int y, int width,
                     int height, int factor, std::uint32_t* target, std::size_t targetStride);

// Writes width × height words of the enlargement, from its column `left` and row `top` on, into
// `target` (rows `targetStride` words apart). The part may start and end inside a block; the caller
// keeps it inside the enlargement. Nothing happens for a factor below 1, an empty part, or a part
// that starts left of or above the enlargement.
void EnlargePart(const std::uint32_t* source, std::size_t sourceStride, int factor, int left, int top,
                 int width, int height, std::uint32_t* target, std::size_t targetStride);

// Source rows per band when a large picture is enlarged and copied band by band: a band small enough
// to stay in the processor's cache between being enlarged and being copied out, at least one row.
int BandRows(int width, int factor);

// Paints the part `exposed` (device pixels of the painter's device, from the picture's top-left corner)
// of a width × height picture enlarged by `factor` (at least 2), the painter's device having `ratio`
// device pixels per logical one. Where the painter draws straight into an image of 32-bit words with
// only that ratio and a move by whole pixels in between, as the raster engine does into a window's
// backing store, the enlargement goes right into the image, inside the region the painter may touch:
// one pass over the output. Anywhere else it is enlarged band by band into `scratch` and drawn.
void PaintEnlarged(QPainter& painter, const std::uint32_t* words, int width, int height, int factor,
                   double ratio, const QRect& exposed, std::vector<std::uint32_t>& scratch);

}  // namespace vx::shell
