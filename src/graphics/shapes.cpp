// Rectangles, circles and ellipses, outlined and filled, and the drawing-mode setter. Every shape is
// drawn as horizontal runs clipped to the window, each pixel once, so that the XOR mode draws and
// erases it exactly.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/log.h"
#include "core/state.h"
#include "display/pixel_access.h"
#include "display/window.h"
#include "graphics/spans.h"
#include "vxtools/extensions.h"

namespace vx {
namespace {

// Radii up to this size; with centres up to kFar away every product below fits 128 bits.
constexpr std::int64_t kMaxRadius = std::int64_t(1) << 24;
// A centre further than this from the origin lies more than a radius beyond any window.
constexpr std::int64_t kFar = std::int64_t(1) << 26;

// The window's drawing target, or false after the window check has logged why there is none.
bool Target(const char* op, std::uint8_t window, PixelTarget& t) {
    if (!GraphicWindowReady(window)) {
        CheckWindow(op, window, false, true);
        return false;
    }
    return MakePixelTarget(WindowTable[window], t);
}

// x + n for n >= 0, saturating instead of overflowing.
std::int64_t AddClamped(std::int64_t x, std::int64_t n) {
    std::int64_t sum;
    return __builtin_add_overflow(x, n, &sum) ? INT64_MAX : sum;
}

// Row y's pixels x0..x1 (any values), clipped to the window.
void Span(const PixelTarget& t, std::int64_t y, std::int64_t x0, std::int64_t x1) {
    if (y < 0 || y >= t.height) return;
    x0 = std::max<std::int64_t>(x0, 0);
    x1 = std::min(x1, t.width - 1);
    if (x0 <= x1) FillSpanAnyDepth(t, y, x0, x1);
}

void Rectangle(const char* op, std::uint8_t window, std::int64_t x, std::int64_t y, std::int64_t width,
               std::int64_t height, bool filled) {
    PixelTarget t;
    if (!Target(op, window, t) || width < 1 || height < 1) return;
    const std::int64_t right = AddClamped(x, width - 1), bottom = AddClamped(y, height - 1);
    const std::int64_t top = std::max<std::int64_t>(y, 0), last = std::min(bottom, t.height - 1);
    if (filled && x <= 0 && right >= t.width - 1 && top <= last) {
        // Whole rows follow each other in memory without a gap: one run through all of them.
        FillSpanAnyDepth(t, top, 0, t.width * (last - top + 1) - 1);
        return;
    }
    for (std::int64_t row = top; row <= last; ++row) {
        if (filled || row == y || row == bottom || width <= 2) {
            Span(t, row, x, right);
        } else {
            Span(t, row, x, x);
            Span(t, row, right, right);
        }
    }
}

// The filled ellipse's half-width in row dy (|dy| <= ry): the largest dx with
// (2dx)^2 (2ry+1)^2 + (2dy)^2 (2rx+1)^2 <= (2rx+1)^2 (2ry+1)^2; -1 outside the ellipse's rows.
class HalfWidths {
  public:
    HalfWidths(std::int64_t rx, std::int64_t ry)
        : ry_(ry), across_(Square(2 * rx + 1)), down_(Square(2 * ry + 1)), area_(across_ * down_) {}

    std::int64_t At(std::int64_t dy) const {
        if (dy < -ry_ || dy > ry_) return -1;
        const __int128 room = area_ - Square(2 * dy) * across_;  // >= 0 for |dy| <= ry
        auto fits = [&](std::int64_t dx) { return Square(2 * dx) * down_ <= room; };
        auto dx = std::int64_t(std::sqrt(double(room) / double(4 * down_)));
        while (dx > 0 && !fits(dx)) --dx;
        while (fits(dx + 1)) ++dx;
        return dx;
    }

  private:
    static __int128 Square(std::int64_t v) { return __int128(v) * v; }
    std::int64_t ry_;
    __int128 across_, down_, area_;
};

void EllipseShape(const char* op, std::uint8_t window, std::int64_t cx, std::int64_t cy, std::int64_t rx,
                  std::int64_t ry, bool filled) {
    PixelTarget t;
    if (!Target(op, window, t)) return;
    if (rx < 0 || ry < 0 || rx > kMaxRadius || ry > kMaxRadius) {
        Log(std::string(op) + ": Radius out of range (" +
            std::to_string(rx < 0 || rx > kMaxRadius ? rx : ry) + ").");
        return;
    }
    if (cx < -kFar || cx > kFar || cy < -kFar || cy > kFar) return;
    const HalfWidths half(rx, ry);
    const std::int64_t first = std::max(cy - ry, std::int64_t(0)), last = std::min(cy + ry, t.height - 1);
    for (std::int64_t y = first; y <= last; ++y) {
        const std::int64_t dy = y - cy, h = half.At(dy);
        if (filled) {
            Span(t, y, cx - h, cx + h);
            continue;
        }
        // A pixel is on the outline when a neighbour is outside: at the row's ends, and where the row
        // above or below is narrower.
        const std::int64_t m = std::min(half.At(dy - 1), half.At(dy + 1));
        if (m < 0) {
            Span(t, y, cx - h, cx + h);
        } else if (m >= h) {
            Span(t, y, cx - h, cx - h);
            if (h > 0) Span(t, y, cx + h, cx + h);
        } else {
            Span(t, y, cx - h, cx - m - 1);
            Span(t, y, cx + m + 1, cx + h);
        }
    }
}

}  // namespace

void SetDrawMode(std::uint8_t window, std::int64_t mode) {
    if (!GraphicWindowReady(window)) {
        CheckWindow("SetDrawMode", window, false);
        return;
    }
    if (mode < 0 || mode > 7) {
        Log("SetDrawMode: Illegal drawing mode (" + std::to_string(mode) + ").");
        return;
    }
    WindowTable[window].DrawingMode = mode;
}

void DrawRect(std::uint8_t window, std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height) {
    Rectangle("DrawRect", window, x, y, width, height, false);
}

void FillRect(std::uint8_t window, std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height) {
    Rectangle("FillRect", window, x, y, width, height, true);
}

void Circle(std::uint8_t window, std::int64_t cx, std::int64_t cy, std::int64_t radius) {
    EllipseShape("Circle", window, cx, cy, radius, radius, false);
}

void FillCircle(std::uint8_t window, std::int64_t cx, std::int64_t cy, std::int64_t radius) {
    EllipseShape("FillCircle", window, cx, cy, radius, radius, true);
}

void Ellipse(std::uint8_t window, std::int64_t cx, std::int64_t cy, std::int64_t radiusX,
             std::int64_t radiusY) {
    EllipseShape("Ellipse", window, cx, cy, radiusX, radiusY, false);
}

void FillEllipse(std::uint8_t window, std::int64_t cx, std::int64_t cy, std::int64_t radiusX,
                 std::int64_t radiusY) {
    EllipseShape("FillEllipse", window, cx, cy, radiusX, radiusY, true);
}

}  // namespace vx
