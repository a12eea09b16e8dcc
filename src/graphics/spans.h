// What shapes, flood fill, copies and pictures share: horizontal runs of pixels in the current colour,
// raw pixel values, and the conversion of a colour into each depth's stored form.
//
// Callers clip first: every function here expects coordinates inside the target's window.
#pragma once

#include <cstdint>
#include <cstring>
#include <cwchar>

#include "display/palette.h"
#include "display/pixel_access.h"

namespace vx {

// 1- and 4-bit windows draw palette entries only: the one nearest in squared distance stands in (the
// lowest of equally near ones).
int NearestPaletteEntry(int red, int green, int blue);

// Fills `count` pixels of `Bytes` bytes each from p on with one pixel's bytes: one pixel stored, the
// stored part copied forward, doubling, up to a piece that stays in the first-level cache, and that piece
// copied on from then on, so that long runs cost about what memset costs.
template <int Bytes>
inline void FillPattern(std::uint8_t* p, std::int64_t count, const std::uint8_t (&pixel)[Bytes]) {
    bool uniform = true;
    for (int i = 1; i < Bytes; ++i) uniform = uniform && pixel[i] == pixel[0];
    const std::size_t total = std::size_t(count) * Bytes;
    if (uniform) {
        std::memset(p, pixel[0], total);
        return;
    }
    if constexpr (Bytes == 2 || Bytes == 4) {
        // Pixels that repeat within four bytes: the C library's wide-character fill is a vector fill.
        // Only where the words are aligned; a record may place a block anywhere.
        static_assert(sizeof(wchar_t) == 4);
        const auto address = reinterpret_cast<std::uintptr_t>(p);
        if (address % 4 == 0 || (Bytes == 2 && address % 4 == 2)) {
            std::size_t n = std::size_t(count);
            if (address % 4 == 2) {
                if (n == 0) return;
                std::memcpy(p, pixel, 2);
                p += 2;
                --n;
            }
            std::uint8_t word[4];
            for (int i = 0; i < 4; ++i) word[i] = pixel[i % Bytes];
            wchar_t w;
            std::memcpy(&w, word, 4);
            const std::size_t words = n * Bytes / 4;
            std::wmemset(reinterpret_cast<wchar_t*>(p), w, words);
            if (n * Bytes % 4 != 0) std::memcpy(p + 4 * words, pixel, 2);
            return;
        }
    }
    constexpr std::size_t kPiece = 3072;  // whole pixels of 2, 3 and 4 bytes
    std::memcpy(p, pixel, Bytes);
    std::size_t filled = Bytes;
    while (filled < total) {
        const std::size_t step = filled < kPiece ? filled : kPiece;
        const std::size_t n = step < total - filled ? step : total - filled;
        std::memcpy(p + filled, p, n);
        filled += n;
    }
}

// Pixels x0..x1 (inclusive, inside the window) of row y in the current colour under the drawing mode,
// exactly as plotting each of them would leave them.
template <int Depth>
inline void FillSpan(const PixelTarget& t, std::int64_t y, std::int64_t x0, std::int64_t x1) {
    std::uint8_t* row = t.block + y * t.rowBytes;
    if constexpr (Depth == 1) {
        const bool on = t.textColor >= 144;
        const std::int64_t b0 = x0 >> 3, b1 = x1 >> 3;
        const auto apply = [on](std::uint8_t& byte, unsigned mask) {
            byte = on ? std::uint8_t(byte | mask) : std::uint8_t(byte & ~mask);
        };
        const unsigned m0 = 0xFFu >> (x0 & 7), m1 = (0xFF00u >> ((x1 & 7) + 1)) & 0xFFu;
        if (b0 == b1) {
            apply(row[b0], m0 & m1);
            return;
        }
        apply(row[b0], m0);
        std::memset(row + b0 + 1, on ? 0xFF : 0x00, std::size_t(b1 - b0 - 1));
        apply(row[b1], m1);
    } else if constexpr (Depth == 4) {
        const unsigned ink = t.textColor >> 4;
        if (x0 & 1) {
            row[x0 >> 1] = std::uint8_t((row[x0 >> 1] & 0xF0) | ink);
            ++x0;
        }
        if (x0 > x1) return;
        if (!(x1 & 1)) {
            row[x1 >> 1] = std::uint8_t((row[x1 >> 1] & 0x0F) | ink << 4);
            --x1;
        }
        if (x0 < x1) std::memset(row + (x0 >> 1), int(ink * 17), std::size_t((x1 - x0 + 1) / 2));
    } else if constexpr (Depth == 8) {
        std::memset(row + x0, GreyLevel(t.color), std::size_t(x1 - x0 + 1));
    } else if constexpr (Depth == 16) {
        const std::uint8_t pixel[2] = {t.color.Alpha, GreyLevel(t.color)};
        FillPattern<2>(row + 2 * x0, x1 - x0 + 1, pixel);
    } else {
        constexpr int kBytes = Depth / 8;
        const t_RGBColor c = t.color;
        if (t.mode == 0 || t.mode == 2 || (Depth == 24 && t.mode == 3)) {
            if constexpr (Depth == 24) {
                const std::uint8_t pixel[3] = {c.Red, c.Green, c.Blue};
                FillPattern<3>(row + 3 * x0, x1 - x0 + 1, pixel);
            } else {
                const std::uint8_t pixel[4] = {t.mode == 2 ? std::uint8_t(255) : c.Alpha, c.Red, c.Green,
                                               c.Blue};
                FillPattern<4>(row + 4 * x0, x1 - x0 + 1, pixel);
            }
        } else if (t.mode >= 0 && t.mode <= 7) {
            for (std::int64_t x = x0; x <= x1; ++x) StoreTrueColor<Depth>(t, row + kBytes * x);
        }
    }
}

// Depth 0 stands for a depth that is none of the six: nothing is stored.
inline void FillSpanAnyDepth(const PixelTarget& t, std::int64_t y, std::int64_t x0, std::int64_t x1) {
    DispatchDepth(t.depth, [&](auto depth) { FillSpan<depth()>(t, y, x0, x1); });
}

// A pixel's stored bits as one number: the bit, the nibble, or the bytes in memory order (first byte low).
template <int Depth>
inline std::uint32_t ReadRaw(const PixelTarget& t, std::int64_t x, std::int64_t y) {
    const std::uint8_t* row = t.block + y * t.rowBytes;
    if constexpr (Depth == 1) return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    if constexpr (Depth == 4) return (x & 1) ? row[x >> 1] & 0x0Fu : unsigned(row[x >> 1]) >> 4;
    if constexpr (Depth >= 8) {
        constexpr int kBytes = Depth / 8;
        std::uint32_t v = 0;
        for (int i = 0; i < kBytes; ++i) v |= std::uint32_t(row[kBytes * x + i]) << (8 * i);
        return v;
    }
}

template <int Depth>
inline void WriteRaw(const PixelTarget& t, std::int64_t x, std::int64_t y, std::uint32_t v) {
    std::uint8_t* row = t.block + y * t.rowBytes;
    if constexpr (Depth == 1) {
        const std::uint8_t bit = std::uint8_t(0x80 >> (x & 7));
        row[x >> 3] = v ? std::uint8_t(row[x >> 3] | bit) : std::uint8_t(row[x >> 3] & ~bit);
    } else if constexpr (Depth == 4) {
        std::uint8_t& byte = row[x >> 1];
        byte = (x & 1) ? std::uint8_t((byte & 0xF0) | v) : std::uint8_t((byte & 0x0F) | v << 4);
    } else {
        constexpr int kBytes = Depth / 8;
        for (int i = 0; i < kBytes; ++i) row[kBytes * x + i] = std::uint8_t(v >> (8 * i));
    }
}

// A colour as red, green, blue and alpha, the form in which pixels pass between depths.
struct Rgba {
    std::uint8_t red, green, blue, alpha;
};

// What a stored pixel shows: depths without alpha give 255.
template <int Depth>
inline Rgba RawToRgba(std::uint32_t v) {
    if constexpr (Depth == 1) return v ? Rgba{255, 255, 255, 255} : Rgba{0, 0, 0, 255};
    if constexpr (Depth == 4) return Rgba{PaletteRed[v], PaletteGreen[v], PaletteBlue[v], 255};
    if constexpr (Depth == 8) return Rgba{std::uint8_t(v), std::uint8_t(v), std::uint8_t(v), 255};
    if constexpr (Depth == 16) {
        const auto grey = std::uint8_t(v >> 8);
        return Rgba{grey, grey, grey, std::uint8_t(v)};
    }
    if constexpr (Depth == 24) return Rgba{std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), 255};
    if constexpr (Depth == 32)
        return Rgba{std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24), std::uint8_t(v)};
}

// The stored form of a colour: black or white, whichever is nearer, at 1 bit; the nearest palette entry
// at 4; the grey level at 8 and 16 (with the alpha); the colour at 24 and 32 (with the alpha).
template <int Depth>
inline std::uint32_t RgbaToRaw(Rgba c) {
    if constexpr (Depth == 1) return int(c.red) + c.green + c.blue >= 383 ? 1u : 0u;
    if constexpr (Depth == 4) return std::uint32_t(NearestPaletteEntry(c.red, c.green, c.blue));
    const std::uint32_t grey = (std::uint32_t(c.red) + c.green + c.blue) / 3;
    if constexpr (Depth == 8) return grey;
    if constexpr (Depth == 16) return c.alpha | grey << 8;
    if constexpr (Depth == 24) return c.red | std::uint32_t(c.green) << 8 | std::uint32_t(c.blue) << 16;
    if constexpr (Depth == 32)
        return c.alpha | std::uint32_t(c.red) << 8 | std::uint32_t(c.green) << 16 |
               std::uint32_t(c.blue) << 24;
}

}  // namespace vx
