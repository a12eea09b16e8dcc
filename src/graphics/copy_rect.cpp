// Copying a rectangle of pixels within a window or between windows.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/state.h"
#include "display/pixel_access.h"
#include "display/window.h"
#include "graphics/spans.h"
#include "vxtools/extensions.h"

namespace vx {
namespace {

// Whole bytes can be moved at once when every row starts and ends on a byte boundary in both windows.
bool ByteAligned(std::int64_t depth, std::int64_t sx, std::int64_t dx, std::int64_t width) {
    const std::int64_t perByte = depth == 1 ? 8 : depth == 4 ? 2 : 1;
    return sx % perByte == 0 && dx % perByte == 0 && width % perByte == 0;
}

template <int From, int To>
void CopyRows(const PixelTarget& s, const PixelTarget& d, std::int64_t sx, std::int64_t sy, std::int64_t dx,
              std::int64_t dy, std::int64_t width, std::int64_t height) {
    // Rows are taken in the order that never reads a row already overwritten, and each row passes
    // through `row` (or memmove), so overlap in either direction copies what was there before.
    const bool upward = s.block == d.block && dy > sy;
    std::uint32_t row[kMaxWindowSide];
    const bool bytes = From == To && ByteAligned(From, sx, dx, width);
    for (std::int64_t i = 0; i < height; ++i) {
        const std::int64_t k = upward ? height - 1 - i : i;
        if (bytes) {
            const std::int64_t at = sx * From / 8, to = dx * From / 8, count = width * From / 8;
            std::memmove(d.block + (dy + k) * d.rowBytes + to, s.block + (sy + k) * s.rowBytes + at,
                         std::size_t(count));
            continue;
        }
        for (std::int64_t x = 0; x < width; ++x) row[x] = ReadRaw<From>(s, sx + x, sy + k);
        if constexpr (From == To) {
            for (std::int64_t x = 0; x < width; ++x) WriteRaw<To>(d, dx + x, dy + k, row[x]);
        } else {
            // Neighbouring pixels often repeat: the last conversion is kept, which spares the palette
            // search of 4-bit targets.
            std::uint32_t lastIn = ~row[0], lastOut = 0;
            for (std::int64_t x = 0; x < width; ++x) {
                if (row[x] != lastIn) {
                    lastIn = row[x];
                    lastOut = RgbaToRaw<To>(RawToRgba<From>(lastIn));
                }
                WriteRaw<To>(d, dx + x, dy + k, lastOut);
            }
        }
    }
}

bool Ready(std::uint8_t window, PixelTarget& t) {
    if (!GraphicWindowReady(window)) {
        CheckWindow("CopyRect", window, false, true);
        return false;
    }
    return MakePixelTarget(WindowTable[window], t);
}

}  // namespace

void CopyRect(std::uint8_t from, std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height,
              std::uint8_t to, std::int64_t toX, std::int64_t toY) {
    PixelTarget s, d;
    if (!Ready(from, s) || !Ready(to, d) || width < 1 || height < 1) return;
    // Clipped in 128 bits: any 64-bit position and size is exact here.
    __int128 sx = x, sy = y, dx = toX, dy = toY, w = width, h = height;
    const auto clip = [&w](__int128& a, __int128& b, __int128 side) {
        if (a < 0) {
            b -= a;
            w += a;
            a = 0;
        }
        w = std::min(w, side - a);
    };
    clip(sx, dx, s.width);
    clip(dx, sx, d.width);
    std::swap(w, h);
    clip(sy, dy, s.height);
    clip(dy, sy, d.height);
    std::swap(w, h);
    if (w < 1 || h < 1) return;
    DispatchDepth(s.depth, [&](auto fromDepth) {
        DispatchDepth(d.depth, [&](auto toDepth) {
            CopyRows<fromDepth(), toDepth()>(s, d, std::int64_t(sx), std::int64_t(sy), std::int64_t(dx),
                                             std::int64_t(dy), std::int64_t(w), std::int64_t(h));
        });
    });
}

}  // namespace vx
