// Flood fill by spans: a run of matching pixels is filled in one sweep, and only the runs next to it in
// the rows above and below wait on a list. The list lives on the heap, so a large area never recurses
// and never touches the program thread's stack; it holds at most a few entries per run of the window.
#include <cstdint>
#include <vector>

#include "core/state.h"
#include "display/pixel_access.h"
#include "display/window.h"
#include "graphics/spans.h"
#include "vxtools/extensions.h"

namespace vx {
namespace {

// Row y from xl to xr was filled coming from row y - dy; row y + dy is still to be looked at there.
struct Pending {
    std::int32_t y, xl, xr, dy;
};

template <int Depth>
void Fill(const PixelTarget& t, std::int64_t seedX, std::int64_t seedY) {
    const std::uint32_t old = ReadRaw<Depth>(t, seedX, seedY);
    // Every pixel of the area holds `old`, so the drawing mode turns each into the same new value; when
    // that is `old` again nothing would change, and the filled pixels must never match again.
    std::uint8_t scratch[8] = {};
    PixelTarget probe = t;
    probe.block = scratch;
    probe.width = 8;
    probe.height = 1;
    probe.rowBytes = RowBytes(Depth, 8);
    WriteRaw<Depth>(probe, 0, 0, old);
    StorePixel<Depth>(probe, 0, 0);
    const std::uint32_t fresh = ReadRaw<Depth>(probe, 0, 0);
    if (fresh == old) return;

    const auto w = std::int32_t(t.width), h = std::int32_t(t.height);
    const auto matches = [&](std::int32_t x, std::int32_t y) { return ReadRaw<Depth>(t, x, y) == old; };
    std::vector<Pending> pending;
    pending.reserve(64);
    const auto push = [&](std::int32_t y, std::int32_t xl, std::int32_t xr, std::int32_t dy) {
        if (y + dy >= 0 && y + dy < h) pending.push_back({y, xl, xr, dy});
    };
    const auto sx = std::int32_t(seedX), sy = std::int32_t(seedY);
    push(sy, sx, sx, 1);
    push(sy + 1, sx, sx, -1);
    while (!pending.empty()) {
        const Pending p = pending.back();
        pending.pop_back();
        const std::int32_t dy = p.dy, y = p.y + dy, x1 = p.xl, x2 = p.xr;
        // Leftward from x1: the run may reach beyond the span it came from.
        std::int32_t x = x1;
        for (; x >= 0 && matches(x, y); --x) WriteRaw<Depth>(t, x, y, fresh);
        std::int32_t left;
        if (x < x1) {
            left = x + 1;
            if (left < x1) push(y, left, x1 - 1, -dy);  // it spilled past the span: look back too
            x = x1 + 1;
        } else {
            left = -1;  // x1 itself does not match: look for the first run right of it
        }
        for (;;) {
            if (left >= 0) {
                for (; x < w && matches(x, y); ++x) WriteRaw<Depth>(t, x, y, fresh);
                push(y, left, x - 1, dy);
                if (x > x2 + 1) push(y, x2 + 1, x - 1, -dy);
            }
            // The next matching pixel under the span starts the next run.
            for (++x; x <= x2 && !matches(x, y); ++x) {
            }
            if (x > x2) break;
            left = x;
        }
    }
}

}  // namespace

void FloodFill(std::uint8_t window, std::int64_t x, std::int64_t y) {
    if (!GraphicWindowReady(window)) {
        CheckWindow("FloodFill", window, false, true);
        return;
    }
    PixelTarget t;
    if (!MakePixelTarget(WindowTable[window], t) || x < 0 || y < 0 || x >= t.width || y >= t.height) return;
    DispatchDepth(t.depth, [&](auto depth) { Fill<depth()>(t, x, y); });
}

}  // namespace vx
