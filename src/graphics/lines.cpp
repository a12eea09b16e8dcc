#include "graphics/lines.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/log.h"
#include "core/state.h"
#include "display/window.h"
#include "graphics/pixel_access.h"

namespace {

// Beyond this many steps before the window, the running point jumps ahead by multiplication instead of
// being added up step by step; only lines that start millions of pixels outside a window take it.
constexpr double kExactLead = 16777216.0;

struct LineEnd {
    bool any = false;
    std::int64_t x = 0, y = 0;
};

// Depth 0 stands for a record whose depth is none of the six: the line's points are walked so that
// the position can follow them, and nothing is stored.
template <int Depth>
inline void Put(const vx::PixelTarget& t, std::int64_t x, std::int64_t y) {
    if constexpr (Depth != 0) vx::StorePixel<Depth>(t, x, y);
}

// Rounds a coordinate as lines do (add 0.5, truncate toward zero) and plots it if it lies inside.
template <int Depth>
inline bool PlotRounded(const vx::PixelTarget& t, double fx, double fy, LineEnd& last) {
    const double rx = fx + 0.5, ry = fy + 0.5;
    if (!(rx > -1.0 && rx < double(t.width) && ry > -1.0 && ry < double(t.height))) return false;
    const auto x = std::int64_t(rx), y = std::int64_t(ry);
    Put<Depth>(t, x, y);
    last = {true, x, y};
    return true;
}

// As PlotRounded, for running points that the caller keeps within +-2^40, where truncating to an integer
// first is exact and the range test becomes two unsigned comparisons.
template <int Depth>
inline bool PlotNear(const vx::PixelTarget& t, double fx, double fy, LineEnd& last) {
    const auto x = std::int64_t(fx + 0.5), y = std::int64_t(fy + 0.5);
    if (std::uint64_t(x) >= std::uint64_t(t.width) || std::uint64_t(y) >= std::uint64_t(t.height))
        return false;
    Put<Depth>(t, x, y);
    last = {true, x, y};
    return true;
}

// Plots `left` running points from (px, py) on, stopping early once the line has left the window for good.
template <int Depth, bool Near>
void RunPoints(const vx::PixelTarget& t, double px, double py, double sx, double sy, std::uint64_t left,
               LineEnd& last) {
    const double w = double(t.width), h = double(t.height);
    for (; left > 0; --left) {
        const bool plotted = Near ? PlotNear<Depth>(t, px, py, last) : PlotRounded<Depth>(t, px, py, last);
        if (!plotted) {
            // The running point moves monotonically: once past an edge it never comes back.
            const double rx = px + 0.5, ry = py + 0.5;
            if ((sx > 0 && rx >= w) || (sx < 0 && rx <= -1.0) || (sy > 0 && ry >= h) ||
                (sy < 0 && ry <= -1.0))
                break;
        }
        px += sx;
        py += sy;
    }
}

// The first step at which the running coordinate can be inside 0..side-1, counted from step 0 at the start.
double FirstStepInside(double start, double step, double side) {
    if (step > 0 && start < -1.5) return std::floor((-1.5 - start) / step);
    if (step < 0 && start > side - 0.5) return std::floor((start - (side - 0.5)) / -step);
    return 0;
}

template <int Depth>
void DrawLine(const vx::PixelTarget& target, std::int64_t x1, std::int64_t y1, std::int64_t x2,
              std::int64_t y2, LineEnd& out) {
    // Local copies: byte stores may alias anything reachable by reference, and would force reloads.
    const vx::PixelTarget t = target;
    LineEnd last = out;
    const double fx1 = double(x1), fy1 = double(y1);
    const double dx = double(x2) - fx1, dy = double(y2) - fy1;
    const double n = std::fmax(std::fabs(dx), std::fabs(dy));
    if (n >= 1) PlotRounded<Depth>(t, fx1, fy1, last);
    if (n >= 2) {
        const double sx = dx / n, sy = dy / n;
        const double w = double(t.width), h = double(t.height);
        // A coordinate that stays outside never lets the line in.
        const bool xNever = (sx == 0 && !(fx1 > -1.5 && fx1 < w - 0.5));
        const bool yNever = (sy == 0 && !(fy1 > -1.5 && fy1 < h - 0.5));
        if (!xNever && !yNever) {
            double k = 1;
            double px = fx1 + sx, py = fy1 + sy;
            const double lead = std::fmax(FirstStepInside(fx1, sx, w), FirstStepInside(fy1, sy, h)) - 2;
            if (lead > kExactLead) {
                k = lead;
                px = fx1 + k * sx;
                py = fy1 + k * sy;
            }
            // Counted in integers: a double counter stops advancing beyond 2^53.
            const double count = n - k;
            std::uint64_t left = count <= 0        ? 0
                                 : count >= 0x1p62 ? std::uint64_t(1) << 62
                                                   : std::uint64_t(count);
            // Ends within 2^40 keep every running point within 2^41, where PlotNear is exact.
            const double reach = std::fmax(std::fmax(std::fabs(fx1), std::fabs(double(x2))),
                                           std::fmax(std::fabs(fy1), std::fabs(double(y2))));
            if (reach < 0x1p40)
                RunPoints<Depth, true>(t, px, py, sx, sy, left, last);
            else
                RunPoints<Depth, false>(t, px, py, sx, sy, left, last);
        }
    }
    if (x2 >= 0 && y2 >= 0 && x2 < t.width && y2 < t.height) {
        Put<Depth>(t, x2, y2);
        last = {true, x2, y2};
    }
    out = last;
}

// A depth outside the six is reported as g_Plot reports it for a point inside the window, but once per
// line rather than once per point; a line that misses the window stays silent, as its points would.
void Line(std::uint8_t window, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
    t_Window& w = WindowTable[window];
    vx::PixelTarget t;
    if (!vx::IsGraphicDepth(vx::Load(w.BitDepth))) {
        t.depth = vx::Load(w.BitDepth);
        // No real window is larger; the bound keeps the walk short for any record.
        t.width = std::min(vx::Load(w.Width), vx::kMaxWindowSide);
        t.height = std::min(vx::Load(w.Height), vx::kMaxWindowSide);
        LineEnd last;
        DrawLine<0>(t, x1, y1, x2, y2, last);
        if (!last.any) return;
        vx::Log("g_Plot: Illegal bit depth (" + std::to_string(t.depth) + ").");
        w.PositionX = last.x;
        w.PositionY = last.y;
        return;
    }
    if (!vx::MakePixelTarget(w, t)) return;
    LineEnd last;
    switch (t.depth) {
        case 1:
            DrawLine<1>(t, x1, y1, x2, y2, last);
            break;
        case 4:
            DrawLine<4>(t, x1, y1, x2, y2, last);
            break;
        case 8:
            DrawLine<8>(t, x1, y1, x2, y2, last);
            break;
        case 16:
            DrawLine<16>(t, x1, y1, x2, y2, last);
            break;
        case 24:
            DrawLine<24>(t, x1, y1, x2, y2, last);
            break;
        default:
            DrawLine<32>(t, x1, y1, x2, y2, last);
            break;
    }
    if (last.any) {
        w.PositionX = last.x;
        w.PositionY = last.y;
    }
}

}  // namespace

void g_Line(std::uint8_t window, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
    if (!vx::GraphicWindowReady(window)) {
        CheckWindow("g_Line", window, false, true);
        return;
    }
    Line(window, x1, y1, x2, y2);
}

void g_LineTo(std::uint8_t window, std::int64_t x, std::int64_t y) {
    if (!vx::GraphicWindowReady(window)) {
        CheckWindow("g_LineTo", window, false, true);
        return;
    }
    const t_Window& w = WindowTable[window];
    Line(window, w.PositionX, w.PositionY, x, y);
}
