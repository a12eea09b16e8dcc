// What plotting, lines, clearing and composition share about a window's graphic block: which
// geometries are valid, and storing one pixel once the caller has made sure it lies inside the window.
//
// Every writer and reader of a block goes through GraphicBlockFits first, so a record that is being
// changed by another thread, or was written by hand, can never lead outside video memory.
#pragma once

#include <cstdint>
#include <type_traits>

#include "core/state.h"
#include "display/palette.h"
#include "display/window.h"

namespace vx {

inline constexpr std::int64_t kMaxWindowSide = 8192;

constexpr bool IsGraphicDepth(std::int64_t depth) {
    return depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
}

// The one place that turns a run-time bit depth into a compile-time one: calls
// f(std::integral_constant<int, D>{}) for the depth D that `depth` names. False, without calling f,
// for any other depth.
template <class F>
bool DispatchDepth(std::int64_t depth, F&& f) {
    switch (depth) {
        case 1:
            f(std::integral_constant<int, 1>{});
            return true;
        case 4:
            f(std::integral_constant<int, 4>{});
            return true;
        case 8:
            f(std::integral_constant<int, 8>{});
            return true;
        case 16:
            f(std::integral_constant<int, 16>{});
            return true;
        case 24:
            f(std::integral_constant<int, 24>{});
            return true;
        case 32:
            f(std::integral_constant<int, 32>{});
            return true;
        default:
            return false;
    }
}

// The success path of CheckWindow for graphic window n, inline so that plotting pays a few loads rather
// than a call; CheckWindow runs only when this fails, to log why.
inline bool GraphicWindowReady(std::uint8_t n) {
    return n < 8 && MemoryInitialised.load(std::memory_order_acquire) && Load(WindowTable[n].Initialized);
}

// Bytes per pixel row, or 0 when rows of this width would end inside a byte.
constexpr std::int64_t RowBytes(std::int64_t depth, std::int64_t width) {
    switch (depth) {
        case 1:
            return width % 8 == 0 ? width / 8 : 0;
        case 4:
            return width % 2 == 0 ? width / 2 : 0;
        case 8:
            return width;
        case 16:
            return width * 2;
        case 24:
            return width * 3;
        case 32:
            return width * 4;
        default:
            return 0;
    }
}

// True when a block of this geometry, starting at `start`, lies wholly in start..end and in video memory.
constexpr bool GraphicBlockFits(std::int64_t depth, std::int64_t width, std::int64_t height,
                                std::int64_t start, std::int64_t end) {
    if (width < 1 || width > kMaxWindowSide || height < 1 || height > kMaxWindowSide) return false;
    const std::int64_t row = RowBytes(depth, width);
    if (row == 0 || start < 0 || end >= kVideoMemorySize) return false;
    return start + row * height - 1 <= end;
}

// A snapshot of what drawing into one window needs, taken once per operation.
struct PixelTarget {
    std::uint8_t* block = nullptr;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::int64_t depth = 0;
    std::int64_t rowBytes = 0;
    std::uint8_t textColor = 0;
    t_RGBColor color{};
    std::int64_t mode = 0;
};

// False when video memory is missing or the record's geometry and block do not fit.
inline bool MakePixelTarget(const t_Window& w, PixelTarget& t) {
    t.depth = Load(w.BitDepth);
    t.width = Load(w.Width);
    t.height = Load(w.Height);
    const std::int64_t start = Load(w.MemoryStart);
    if (VideoMemory == nullptr || !GraphicBlockFits(t.depth, t.width, t.height, start, Load(w.MemoryEnd)))
        return false;
    t.block = VideoMemory + start;
    t.rowBytes = RowBytes(t.depth, t.width);
    t.textColor = w.TextColor;
    t.color = w.RGBColor;
    t.mode = w.DrawingMode;
    return true;
}

// Combines the colour with the stored pixel under the drawing mode (24 and 32 bits).
template <int Depth>
inline void StoreTrueColor(const PixelTarget& t, std::uint8_t* p) {
    constexpr int rgb = Depth == 32 ? 1 : 0;
    const std::uint8_t nr = t.color.Red, ng = t.color.Green, nb = t.color.Blue;
    const std::uint8_t a = t.color.Alpha;
    std::uint8_t r, g, b;
    switch (t.mode) {
        case 0:
        case 2:
        case 3:
            r = nr, g = ng, b = nb;
            break;
        case 1:
            if constexpr (Depth == 32) {
                r = std::uint8_t(nr * a / 255 + p[1] * (255 - a) / 255);
                g = std::uint8_t(ng * a / 255 + p[2] * (255 - a) / 255);
                b = std::uint8_t(nb * a / 255 + p[3] * (255 - a) / 255);
                break;
            }
            [[fallthrough]];
        case 4:
            r = std::uint8_t((nr + p[rgb]) / 2);
            g = std::uint8_t((ng + p[rgb + 1]) / 2);
            b = std::uint8_t((nb + p[rgb + 2]) / 2);
            break;
        case 5:
            r = nr & p[rgb], g = ng & p[rgb + 1], b = nb & p[rgb + 2];
            break;
        case 6:
            r = nr | p[rgb], g = ng | p[rgb + 1], b = nb | p[rgb + 2];
            break;
        case 7:
            r = nr ^ p[rgb], g = ng ^ p[rgb + 1], b = nb ^ p[rgb + 2];
            break;
        default:
            return;
    }
    if constexpr (Depth == 32) {
        if (t.mode == 0) p[0] = a;
        if (t.mode == 2) p[0] = 255;
    }
    p[rgb] = r;
    p[rgb + 1] = g;
    p[rgb + 2] = b;
}

// Stores pixel (x, y), which the caller has checked lies inside the window, in the current colour.
template <int Depth>
inline void StorePixel(const PixelTarget& t, std::int64_t x, std::int64_t y) {
    std::uint8_t* row = t.block + y * t.rowBytes;
    if constexpr (Depth == 1) {
        std::uint8_t& byte = row[x >> 3];
        const std::uint8_t bit = std::uint8_t(0x80 >> (x & 7));
        byte = t.textColor >= 144 ? byte | bit : byte & std::uint8_t(~bit);
    } else if constexpr (Depth == 4) {
        // Branch-free: along a line the nibble alternates unpredictably.
        std::uint8_t& byte = row[x >> 1];
        const unsigned shift = unsigned(~x & 1) << 2;
        const unsigned ink = unsigned(t.textColor >> 4) << shift;
        byte = std::uint8_t((byte & ~(0xFu << shift)) | ink);
    } else if constexpr (Depth == 8) {
        row[x] = GreyLevel(t.color);
    } else if constexpr (Depth == 16) {
        row[2 * x] = t.color.Alpha;
        row[2 * x + 1] = GreyLevel(t.color);
    } else if constexpr (Depth == 24) {
        StoreTrueColor<24>(t, row + 3 * x);
    } else {
        static_assert(Depth == 32);
        StoreTrueColor<32>(t, row + 4 * x);
    }
}

// StorePixel for the depth in the target; false for a depth that is not one of the six.
inline bool StorePixelAnyDepth(const PixelTarget& t, std::int64_t x, std::int64_t y) {
    return DispatchDepth(t.depth, [&](auto depth) { StorePixel<depth()>(t, x, y); });
}

}  // namespace vx
