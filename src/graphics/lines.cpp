#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "core/log.h"
#include "core/state.h"
#include "display/pixel_access.h"
#include "display/window.h"
#include "vxtools/graphics.h"

namespace {

// Beyond this many steps before the window, the running point jumps ahead by multiplication instead of
// being added up step by step; only lines that start millions of pixels outside a window take it.
constexpr double kExactLead = 16777216.0;

struct LineEnd {
    bool any = false;
    std::int64_t x = 0, y = 0;
};

// What a line stores at each point, worked out once per line from the target's colour and drawing mode.
// Depth 0 stands for a record whose depth is none of the six: the line's points are walked so that the
// position can follow them, and nothing is stored. `Plain` pens (24 and 32 bits in the modes that ignore
// the stored pixel) write fixed bytes; the others combine with the stored pixel as StorePixel does.
template <int Depth, bool Plain>
class Pen {
  public:
    explicit Pen(const vx::PixelTarget& t) : t_(&t), block_(t.block), rowBytes_(t.rowBytes) {
        const t_RGBColor c = t.color;
        if constexpr (Depth == 1) {
            ink_ = t.textColor >= 144 ? 0xFF : 0;
        } else if constexpr (Depth == 4) {
            ink_ = std::uint8_t((t.textColor >> 4) * 0x11);
        } else if constexpr (Depth == 8) {
            ink_ = vx::GreyLevel(c);
        } else if constexpr (Depth == 16) {
            bytes_[0] = c.Alpha;
            bytes_[1] = vx::GreyLevel(c);
        } else if constexpr (Depth == 24) {
            bytes_[0] = c.Red, bytes_[1] = c.Green, bytes_[2] = c.Blue;
        } else if constexpr (Depth == 32) {
            bytes_[0] = t.mode == 2 ? 255 : c.Alpha;
            bytes_[1] = c.Red, bytes_[2] = c.Green, bytes_[3] = c.Blue;
        }
    }

    void operator()(std::int64_t x, std::int64_t y) const {
        std::uint8_t* row = block_ + y * rowBytes_;
        if constexpr (Depth == 0) {
            (void)row;
        } else if constexpr (Depth == 1) {
            std::uint8_t& byte = row[x >> 3];
            const std::uint8_t bit = std::uint8_t(0x80 >> (x & 7));
            byte = std::uint8_t((byte & ~bit) | (ink_ & bit));
        } else if constexpr (Depth == 4) {
            // A branch on the nibble: along a line it alternates in runs the predictor learns, and the
            // branch measured faster than a mask computed from x.
            std::uint8_t& byte = row[x >> 1];
            byte = (x & 1) ? std::uint8_t((byte & 0xF0) | (ink_ & 0x0F))
                           : std::uint8_t((byte & 0x0F) | (ink_ & 0xF0));
        } else if constexpr (Depth == 8) {
            row[x] = ink_;
        } else if constexpr (Depth == 16) {
            std::memcpy(row + 2 * x, bytes_, 2);
        } else if constexpr (!Plain) {
            vx::StorePixel<Depth>(*t_, x, y);
        } else if constexpr (Depth == 24) {
            std::memcpy(row + 3 * x, bytes_, 3);
        } else {
            std::memcpy(row + 4 * x, bytes_, 4);
        }
    }

  private:
    // The block and row length are copies: a pen copied into a loop keeps them in registers, where a
    // byte store cannot be taken to change them.
    const vx::PixelTarget* t_;
    std::uint8_t* block_;
    std::int64_t rowBytes_;
    std::uint8_t ink_ = 0;
    std::uint8_t bytes_[4] = {};
};

// Rounds a coordinate as lines do (add 0.5, truncate toward zero) and plots it if it lies inside.
template <class P>
inline bool PlotRounded(const vx::PixelTarget& t, const P& pen, double fx, double fy, LineEnd& last) {
    const double rx = fx + 0.5, ry = fy + 0.5;
    if (!(rx > -1.0 && rx < double(t.width) && ry > -1.0 && ry < double(t.height))) return false;
    const auto x = std::int64_t(rx), y = std::int64_t(ry);
    pen(x, y);
    last = {true, x, y};
    return true;
}

// As PlotRounded, for running points that the caller keeps within +-2^40, where truncating to an integer
// first is exact and the range test becomes two unsigned comparisons.
template <class P>
inline bool PlotNear(const vx::PixelTarget& t, const P& pen, double fx, double fy, LineEnd& last) {
    const auto x = std::int64_t(fx + 0.5), y = std::int64_t(fy + 0.5);
    if (std::uint64_t(x) >= std::uint64_t(t.width) || std::uint64_t(y) >= std::uint64_t(t.height))
        return false;
    pen(x, y);
    last = {true, x, y};
    return true;
}

// How many running points from p on, stepping by s, certainly round into 0..side-1. Inside a window
// every running coordinate is below 2^14, so thousands of additions drift by far less than the margin.
double StepsInside(double p, double s, double side) {
    constexpr double kMargin = 1.0 / 1024;
    const double low = p + 0.5 - (-1.0 + kMargin), high = side - kMargin - (p + 0.5);
    if (low <= 0 || high <= 0) return 0;
    if (s == 0) return 0x1p62;
    return std::floor((s > 0 ? high : low) / std::fabs(s)) + 1;
}

// Plots `left` running points from (px, py) on, stopping early once the line has left the window for good.
// Near lines check their points one by one only outside the window and close to its edges: inside, a run
// whose every point is known to fall inside is stored without checks.
template <bool Near, class P>
void RunPoints(const vx::PixelTarget& t, const P& linePen, double px, double py, double sx, double sy,
               std::uint64_t left, LineEnd& last) {
    const P pen = linePen;
    const double w = double(t.width), h = double(t.height);
    while (left > 0) {
        const bool plotted = Near ? PlotNear(t, pen, px, py, last) : PlotRounded(t, pen, px, py, last);
        if (!plotted) {
            // The running point moves monotonically: once past an edge it never comes back.
            const double rx = px + 0.5, ry = py + 0.5;
            if ((sx > 0 && rx >= w) || (sx < 0 && rx <= -1.0) || (sy > 0 && ry >= h) ||
                (sy < 0 && ry <= -1.0))
                break;
        }
        px += sx;
        py += sy;
        --left;
        if (!plotted) continue;
        if constexpr (Near) {
            const double run =
                std::fmin(std::fmin(StepsInside(px, sx, w), StepsInside(py, sy, h)), double(left));
            if (run < 1) continue;
            const auto steps = std::uint64_t(run);
            std::int64_t x = 0, y = 0;
            for (std::uint64_t i = 0; i < steps; ++i) {
                x = std::int64_t(px + 0.5);
                y = std::int64_t(py + 0.5);
                pen(x, y);
                px += sx;
                py += sy;
            }
            last = {true, x, y};
            left -= steps;
        }
    }
}

// The first step at which the running coordinate can be inside 0..side-1, counted from step 0 at the start.
double FirstStepInside(double start, double step, double side) {
    if (step > 0 && start < -1.5) return std::floor((-1.5 - start) / step);
    if (step < 0 && start > side - 0.5) return std::floor((start - (side - 0.5)) / -step);
    return 0;
}

template <int Depth, bool Plain>
void DrawLine(const vx::PixelTarget& target, std::int64_t x1, std::int64_t y1, std::int64_t x2,
              std::int64_t y2, LineEnd& out) {
    // Local copies: byte stores may alias anything reachable by reference, and would force reloads.
    const vx::PixelTarget t = target;
    LineEnd last = out;
    const Pen<Depth, Plain> pen(t);
    const double fx1 = double(x1), fy1 = double(y1);
    const double dx = double(x2) - fx1, dy = double(y2) - fy1;
    const double n = std::fmax(std::fabs(dx), std::fabs(dy));
    if (n >= 1) PlotRounded(t, pen, fx1, fy1, last);
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
                RunPoints<true>(t, pen, px, py, sx, sy, left, last);
            else
                RunPoints<false>(t, pen, px, py, sx, sy, left, last);
        }
    }
    if (x2 >= 0 && y2 >= 0 && x2 < t.width && y2 < t.height) {
        pen(x2, y2);
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
        DrawLine<0, false>(t, x1, y1, x2, y2, last);
        if (!last.any) return;
        vx::Log("g_Plot: Illegal bit depth (" + std::to_string(t.depth) + ").");
        w.PositionX = last.x;
        w.PositionY = last.y;
        return;
    }
    if (!vx::MakePixelTarget(w, t)) return;
    LineEnd last;
    // The modes that ignore the stored pixel write the same bytes at every point (for 32 bits, mode 3
    // keeps the stored alpha byte and so is not one of them).
    const bool plain = t.mode == 0 || t.mode == 2 || (t.mode == 3 && t.depth == 24);
    vx::DispatchDepth(t.depth, [&](auto depth) {
        if (plain)
            DrawLine<depth(), true>(t, x1, y1, x2, y2, last);
        else
            DrawLine<depth(), false>(t, x1, y1, x2, y2, last);
    });
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
