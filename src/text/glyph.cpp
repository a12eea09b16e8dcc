#include "text/glyph.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <mutex>
#include <string>
#include <type_traits>

#include "core/log.h"
#include "core/state.h"
#include "display/palette.h"
#include "display/pixel_access.h"

#if defined(__x86_64__) && defined(__SSE2__)
#include <immintrin.h>
#define VX_TEXT_SIMD 1
#endif

namespace vx::text {
namespace {

static_assert(std::endian::native == std::endian::little, "32-bit pixels are written as little-endian words");

void LogNotInitialized(std::uint8_t window) {
    Log("t_PrintSymbol: Window #" + std::to_string(window) + " not initialized.");
}

// The colours of one call: ink and paper components, read once from the palette.
struct Blend {
    int ink, paper;
    int ri, gi, bi, rp, gp, bp;

    Blend(int inkIndex, int paperIndex)
        : ink(inkIndex),
          paper(paperIndex),
          ri(PaletteRed[ink]),
          gi(PaletteGreen[ink]),
          bi(PaletteBlue[ink]),
          rp(PaletteRed[paper]),
          gp(PaletteGreen[paper]),
          bp(PaletteBlue[paper]) {}

    static int Mix(int g, int ink, int paper) { return g * ink / 255 + (255 - g) * paper / 255; }
    int R(int g) const { return Mix(g, ri, rp); }
    int G(int g) const { return Mix(g, gi, gp); }
    int B(int g) const { return Mix(g, bi, bp); }
    int Grey(int g) const { return Mix(g, (ri + gi + bi) / 3, (rp + gp + bp) / 3); }
    bool Lit(int g) const { return R(g) + G(g) + B(g) >= 384; }

    // Greys fall onto the four grey entries; other colours onto the nearest entry, ties to the lower.
    std::uint8_t Index(int g) const {
        const int r = R(g), gr = G(g), b = B(g), sum = r + gr + b;
        if (r == gr && gr == b) return sum < 192 ? 0 : sum <= 383 ? 5 : sum <= 575 ? 10 : 15;
        int best = 65535, index = 0;
        for (int i = 0; i < 16; ++i) {
            const int dr = PaletteRed[i] - r, dg = PaletteGreen[i] - gr, db = PaletteBlue[i] - b;
            const int d = dr * dr + dg * dg + db * db;
            if (d < best) best = d, index = i;
        }
        return std::uint8_t(index);
    }
};

// What each ink weight looks like for each pair of ink and paper: all 256 weights of a pair are worked
// out the first time the pair draws (at 4 bits a search over the palette each, a few microseconds once)
// and kept for the rest of the run, so that drawing looks every pixel up without a further check. Any
// thread may draw: the first fills a pair under the lock and publishes it with its flag.
template <class T>
class ShadeTable {
  public:
    template <class F>
    const T* Of(int ink, int paper, F compute) {
        Pair& pair = pairs_[ink][paper];
        if (!pair.ready.load(std::memory_order_acquire)) {
            std::lock_guard lock(mutex_);
            if (!pair.ready.load(std::memory_order_relaxed)) {
                for (int g = 0; g < 256; ++g) pair.shades[g] = T(compute(g));
                pair.ready.store(true, std::memory_order_release);
            }
        }
        return pair.shades;
    }

  private:
    struct Pair {
        std::atomic<bool> ready{false};
        T shades[256];
    };
    std::mutex mutex_;
    Pair pairs_[16][16];
};

ShadeTable<std::uint8_t> litTable, indexTable, greyTable;
ShadeTable<std::uint32_t> rgbTable;

struct GlyphJob {
    std::uint8_t* block;     // first byte of the graphic block
    std::int64_t rowBytes;   // of the window
    std::int64_t left, top;  // first pixel of the cell
    std::int64_t width;      // glyph width
    const std::uint8_t* weights;
    std::int64_t pixels;  // weights available: the glyph, or less where Data ends early
};

// Calls row(pixelRow, weights, columns) for each glyph row that Data covers. With W > 0 the glyph is W
// pixels wide and full rows get `columns` as a constant, so that the row loops unroll.
template <int W, class Row>
void ForEachRow(const GlyphJob& job, Row row) {
    if constexpr (W > 0) {
        std::uint8_t* pixels = job.block + job.top * job.rowBytes;
        const std::uint8_t* weights = job.weights;
        const std::int64_t rows = job.pixels / W;
        for (std::int64_t r = 0; r < rows; ++r, pixels += job.rowBytes, weights += W)
            row(pixels, weights, std::integral_constant<std::int64_t, W>{});
        if (job.pixels % W != 0) row(pixels, weights, job.pixels % W);
    } else {
        for (std::int64_t r = 0; r * job.width < job.pixels; ++r)
            row(job.block + (job.top + r) * job.rowBytes, job.weights + r * job.width,
                std::min(job.width, job.pixels - r * job.width));
    }
}

template <int W>
void DrawGlyph1(const GlyphJob& job, const Blend& blend) {
    const std::uint8_t* lit = litTable.Of(blend.ink, blend.paper, [&blend](int w) { return blend.Lit(w); });
    ForEachRow<W>(job, [&](std::uint8_t* row, const std::uint8_t* weights, auto columns) {
        for (std::int64_t c = 0; c < columns; ++c) {
            const std::int64_t px = job.left + c;
            std::uint8_t& byte = row[px >> 3];
            const std::uint8_t bit = std::uint8_t(0x80 >> (px & 7));
            byte = std::uint8_t((byte & ~bit) | (-lit[weights[c]] & bit));
        }
    });
}

template <int W>
void DrawGlyph4(const GlyphJob& job, const Blend& blend) {
    const std::uint8_t* index =
        indexTable.Of(blend.ink, blend.paper, [&blend](int w) { return blend.Index(w); });
    if constexpr (W == 8) {
        if (job.pixels % 8 == 0) {
            // Eight-pixel cells start on whole bytes: each row is one 32-bit word of eight nibbles, first
            // pixel highest.
            std::uint8_t* p = job.block + job.top * job.rowBytes + (job.left >> 1);
            const std::uint8_t* g = job.weights;
            for (std::int64_t r = job.pixels / 8; r > 0; --r, p += job.rowBytes, g += 8) {
                const std::uint32_t word = std::uint32_t(index[g[0]] << 4 | index[g[1]]) |
                                           std::uint32_t(index[g[2]] << 4 | index[g[3]]) << 8 |
                                           std::uint32_t(index[g[4]] << 4 | index[g[5]]) << 16 |
                                           std::uint32_t(index[g[6]] << 4 | index[g[7]]) << 24;
                std::memcpy(p, &word, 4);
            }
            return;
        }
    }
    ForEachRow<W>(job, [&](std::uint8_t* row, const std::uint8_t* weights, auto columns) {
        std::int64_t c = 0;
        std::int64_t px = job.left;
        if (px & 1) {  // a first pixel in a low nibble
            row[px >> 1] = std::uint8_t((row[px >> 1] & 0xF0) | index[weights[0]]);
            ++c, ++px;
        }
        for (; c + 1 < columns; c += 2, px += 2)
            row[px >> 1] = std::uint8_t(index[weights[c]] << 4 | index[weights[c + 1]]);
        if (c < columns) row[px >> 1] = std::uint8_t((row[px >> 1] & 0x0F) | index[weights[c]] << 4);
    });
}

// 8 and 16 bits: the grey byte. 24 and 32 bits: red, green, blue after `First` bytes of the pixel.
template <int W, int BytesPerPixel, int First>
void DrawGlyphBytes(const GlyphJob& job, const Blend& blend) {
    if constexpr (BytesPerPixel <= 2) {
        const std::uint8_t* grey =
            greyTable.Of(blend.ink, blend.paper, [&blend](int w) { return blend.Grey(w); });
        ForEachRow<W>(job, [&](std::uint8_t* row, const std::uint8_t* weights, auto columns) {
            std::uint8_t* p = row + job.left * BytesPerPixel + First;
            for (std::int64_t c = 0; c < columns; ++c, p += BytesPerPixel) *p = grey[weights[c]];
        });
    } else {
        const std::uint32_t* rgb = rgbTable.Of(blend.ink, blend.paper, [&blend](int w) {
            return std::uint32_t(blend.R(w)) | std::uint32_t(blend.G(w)) << 8 |
                   std::uint32_t(blend.B(w)) << 16;
        });
#ifdef VX_TEXT_SIMD
        if constexpr (W == 8 && BytesPerPixel == 4) {
            if (job.pixels % 8 == 0) {
                // Eight words a row, two vectors: the colour bytes from the table, each alpha byte kept.
                const __m128i keep = _mm_set1_epi32(0xFF);
                std::uint8_t* p = job.block + job.top * job.rowBytes + job.left * 4;
                const std::uint8_t* g = job.weights;
                for (std::int64_t r = job.pixels / 8; r > 0; --r, p += job.rowBytes, g += 8) {
                    const __m128i low =
                        _mm_setr_epi32(int(rgb[g[0]]), int(rgb[g[1]]), int(rgb[g[2]]), int(rgb[g[3]]));
                    const __m128i high =
                        _mm_setr_epi32(int(rgb[g[4]]), int(rgb[g[5]]), int(rgb[g[6]]), int(rgb[g[7]]));
                    __m128i* to = reinterpret_cast<__m128i*>(p);
                    _mm_storeu_si128(
                        to, _mm_or_si128(_mm_and_si128(_mm_loadu_si128(to), keep), _mm_slli_epi32(low, 8)));
                    _mm_storeu_si128(to + 1, _mm_or_si128(_mm_and_si128(_mm_loadu_si128(to + 1), keep),
                                                          _mm_slli_epi32(high, 8)));
                }
                return;
            }
        }
#endif
        ForEachRow<W>(job, [&](std::uint8_t* row, const std::uint8_t* weights, auto columns) {
            std::uint8_t* p = row + job.left * BytesPerPixel;
            for (std::int64_t c = 0; c < columns; ++c, p += BytesPerPixel) {
                const std::uint32_t v = rgb[weights[c]];
                if constexpr (BytesPerPixel == 4) {
                    // One word per pixel, alpha byte kept (the word is little-endian: alpha is its low byte).
                    std::uint32_t word;
                    std::memcpy(&word, p, 4);
                    word = (word & 0xFFu) | v << 8;
                    std::memcpy(p, &word, 4);
                } else {
                    p[0] = std::uint8_t(v), p[1] = std::uint8_t(v >> 8), p[2] = std::uint8_t(v >> 16);
                }
            }
        });
    }
}

// Draws the glyph of `code` in cell (x, y), which the caller has checked lies inside the window.
void DrawCell(const t_Window& w, std::uint8_t code, int ink, int paper, std::int64_t x, std::int64_t y) {
    const t_Font& font = w.Font;
    const std::int64_t fw = font.Width, fh = font.Height;
    const std::int64_t depth = Load(w.BitDepth), width = Load(w.Width), height = Load(w.Height);
    if (fw < 1 || fh < 1 || VideoMemory == nullptr) return;
    if (!GraphicBlockFits(depth, width, height, Load(w.MemoryStart), Load(w.MemoryEnd))) return;
    // The glyph is found by its code; Data may be shorter than its header promises: draw what is there.
    const std::uint64_t offset = std::uint64_t(code) * std::uint64_t(fw * fh);
    if (offset >= font.Data.size()) return;
    GlyphJob job{VideoMemory + Load(w.MemoryStart),
                 RowBytes(depth, width),
                 fw * (x - 1),
                 fh * (y - 1),
                 fw,
                 font.Data.data() + offset,
                 std::int64_t(std::min<std::uint64_t>(std::uint64_t(fw * fh), font.Data.size() - offset))};
    const Blend blend(ink, paper);
    // Glyphs eight pixels wide, the usual ones, get row loops of a fixed length.
    auto draw = [&](auto w) {
        DispatchDepth(depth, [&](auto d) {
            if constexpr (d() == 1)
                DrawGlyph1<w()>(job, blend);
            else if constexpr (d() == 4)
                DrawGlyph4<w()>(job, blend);
            else
                DrawGlyphBytes<w(), d() / 8, d() == 16 || d() == 32 ? 1 : 0>(job, blend);
        });
    };
    if (fw == 8)
        draw(std::integral_constant<int, 8>{});
    else
        draw(std::integral_constant<int, 0>{});
}

}  // namespace

bool MakeTextBlock(const t_Window& w, TextBlock& block) {
    const std::int64_t start = Load(w.TextMemoryStart), end = Load(w.TextMemoryEnd);
    const std::int64_t width = Load(w.TextWidth), height = Load(w.TextHeight);
    if (VideoMemory == nullptr || start < 0 || end >= kVideoMemorySize || end < start) return false;
    if (width < 1 || height < 1 || width > kMaxWindowSide || height > kMaxWindowSide) return false;
    const std::int64_t half = (end - start + 1) / 2;
    if (width * height > half) return false;
    block = {VideoMemory + start, VideoMemory + start + half, width, height};
    return true;
}

TextArea ClampedArea(const t_Window& w) {
    TextArea a;
    const std::int64_t columns = Load(w.TextWidth), lines = Load(w.TextHeight);
    if (columns < 1 || lines < 1) return a;
    a.firstColumn = std::clamp<std::int64_t>(w.TextFirstColumn, 1, columns);
    a.lastColumn = std::clamp<std::int64_t>(w.TextLastColumn, a.firstColumn, columns);
    a.firstLine = std::clamp<std::int64_t>(w.TextFirstLine, 1, lines);
    a.lastLine = std::clamp<std::int64_t>(w.TextLastLine, a.firstLine, lines);
    a.valid = true;
    return a;
}

void WriteCharacter(std::int64_t code) {
    const unsigned c = unsigned(code & 0xFF);
    char bytes[2] = {char(c), 0};
    if (c < 0x80) {
        WriteRaw(std::string_view(bytes, 1));
    } else {
        bytes[0] = char(0xC0 | (c >> 6));
        bytes[1] = char(0x80 | (c & 0x3F));
        WriteRaw(std::string_view(bytes, 2));
    }
}

void PrintSymbolReady(std::uint8_t window, t_Window& w, std::uint8_t code, std::uint8_t colour,
                      std::int64_t x, std::int64_t y) {
    const std::int64_t redirect = Load(w.TextRedirectOutput);
    if (redirect == 2) {
        WriteCharacter(code);
        return;
    }
    if (redirect != 1) return;
    const t_Font& font = w.Font;
    if (font.Data.empty()) {
        LogNotInitialized(window);
        return;
    }
    int ink = colour >> 4, paper = colour & 15;
    if (w.TextInverse) std::swap(ink, paper);

    // x > width / fw without dividing: for x >= 1 and fw >= 1 it is x * fw > width, and a product that
    // overflows lies beyond any width.
    const std::int64_t fw = font.Width, fh = font.Height, width = Load(w.Width), height = Load(w.Height);
    auto beyond = [](std::int64_t c, std::int64_t f, std::int64_t side) {
        std::int64_t product;
        return f > 0 && (__builtin_mul_overflow(c, f, &product) || product > side);
    };
    const bool outside = x < 1 || y < 1 || beyond(x, fw, width) || beyond(y, fh, height);
    if (outside) {
        Log("t_PrintSymbol: Window #" + std::to_string(window) +
            " illegal coordinates (x = " + std::to_string(x) + ", y = " + std::to_string(y) + ").");
        return;
    }
    if (font.Start <= code && code <= font.End) {
        switch (font.Format) {
            case 2:
                DrawCell(w, code, ink, paper, x, y);
                break;
            // Expanding a compressed font turns 100 into 0 and 102 into 2, and the message depends only
            // on that; decoding the whole font for each character would change nothing else.
            case 0:
            case 100:
            case 102:
                Log("t_PrintSymbol: Font format must be uncompressed grey for text-printing.");
                break;
            default:
                Log("t_PrintSymbol: Illegal font format.");
                break;
        }
    }
    TextBlock block;
    if (MakeTextBlock(w, block) && x <= block.width && y <= block.height) {
        *block.Char(x, y) = code;
        *block.Colour(x, y) = std::uint8_t(paper + 16 * ink);
    }
}

void PrintSymbolRun(std::uint8_t window, t_Window& w, std::uint8_t code, std::uint8_t colour, std::int64_t x1,
                    std::int64_t x2, std::int64_t y) {
    if (x1 > x2) return;
    const t_Font& font = w.Font;
    const std::int64_t fw = font.Width, fh = font.Height, depth = Load(w.BitDepth);
    const std::int64_t width = Load(w.Width), height = Load(w.Height);
    TextBlock block;
    const bool copyable = Load(w.TextRedirectOutput) == 1 && font.Format == 2 && font.Start <= code &&
                          code <= font.End && IsGraphicDepth(depth) && fw >= 1 && fh >= 1 &&
                          (fw * depth) % 8 == 0 && x1 >= 1 && y >= 1 && x2 <= width / fw &&
                          y <= height / fh &&
                          std::uint64_t(code + 1) * std::uint64_t(fw * fh) <= font.Data.size() &&
                          GraphicBlockFits(depth, width, height, Load(w.MemoryStart), Load(w.MemoryEnd)) &&
                          MakeTextBlock(w, block) && x2 <= block.width && y <= block.height;
    if (!copyable) {
        for (std::int64_t x = x1; x <= x2; ++x) PrintSymbolReady(window, w, code, colour, x, y);
        return;
    }
    PrintSymbolReady(window, w, code, colour, x1, y);
    const std::int64_t cellBytes = fw * depth / 8, rowBytes = RowBytes(depth, width);
    const std::int64_t total = (x2 - x1 + 1) * cellBytes;  // bytes of the run in each pixel row
    for (std::int64_t r = 0; r < fh; ++r) {
        std::uint8_t* row = VideoMemory + Load(w.MemoryStart) + (fh * (y - 1) + r) * rowBytes;
        std::uint8_t* const run = row + (x1 - 1) * cellBytes;  // its first cell is drawn
        const std::uint8_t* first = run;
        if (depth != 16 && depth != 32 && 8 % cellBytes == 0) {
            // A cell of 1, 2, 4 or 8 bytes repeats every eight bytes: the run is filled word by word.
            std::uint64_t word = 0;
            for (int i = 0; i < 8; ++i) word |= std::uint64_t(first[i & (cellBytes - 1)]) << (8 * i);
            std::int64_t i = 0;
#ifdef VX_TEXT_SIMD
            const __m128i words = _mm_set1_epi64x(std::int64_t(word));
            for (; i + 16 <= total; i += 16) _mm_storeu_si128(reinterpret_cast<__m128i*>(run + i), words);
#endif
            for (; i + 8 <= total; i += 8) std::memcpy(run + i, &word, 8);
            for (; i < total; ++i) run[i] = std::uint8_t(word >> (8 * (i & 7)));
            continue;
        }
        if (depth != 16 && depth != 32) {
            // The cells drawn so far copied after themselves, doubling the run with each copy.
            for (std::int64_t done = cellBytes; done < total; done *= 2)
                std::memcpy(run + done, first, std::size_t(std::min(done, total - done)));
            continue;
        }
#ifdef VX_TEXT_SIMD
        if (cellBytes % 16 == 0) {
            // Sixteen bytes at a time: the bytes of `keep` stay as they are, the others come from the
            // first cell.
            const __m128i keep = depth == 16 ? _mm_set1_epi16(0x00FF) : _mm_set1_epi32(0xFF);
            for (std::int64_t x = x1 + 1; x <= x2; ++x) {
                std::uint8_t* cell = row + (x - 1) * cellBytes;
                for (std::int64_t i = 0; i < cellBytes; i += 16) {
                    const __m128i from = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first + i));
                    __m128i* to = reinterpret_cast<__m128i*>(cell + i);
                    _mm_storeu_si128(to, _mm_or_si128(_mm_and_si128(_mm_loadu_si128(to), keep),
                                                      _mm_andnot_si128(keep, from)));
                }
            }
            continue;
        }
#endif
        for (std::int64_t x = x1 + 1; x <= x2; ++x) {
            std::uint8_t* cell = row + (x - 1) * cellBytes;
            if (depth == 16) {
                // Drawing writes only the grey byte; each pixel's alpha byte stays its own.
                for (std::int64_t i = 1; i < cellBytes; i += 2) cell[i] = first[i];
            } else {
                for (std::int64_t i = 0; i < cellBytes; i += 4) {
                    std::uint32_t from, to;
                    std::memcpy(&from, first + i, 4);
                    std::memcpy(&to, cell + i, 4);
                    to = (to & 0xFFu) | (from & ~0xFFu);
                    std::memcpy(cell + i, &to, 4);
                }
            }
        }
    }
    std::memset(block.Char(x1 + 1, y), code, std::size_t(x2 - x1));
    std::memset(block.Colour(x1 + 1, y), *block.Colour(x1, y), std::size_t(x2 - x1));
}

}  // namespace vx::text

void t_PrintSymbol(std::uint8_t window, std::uint8_t code, std::uint8_t colour, std::int64_t x,
                   std::int64_t y) {
    if (window >= 8) {
        vx::Log("t_PrintSymbol: Window is not a graphic window.");
        return;
    }
    if (!MemoryInitialised.load(std::memory_order_acquire)) {
        vx::text::LogNotInitialized(window);
        return;
    }
    t_Window& w = WindowRecord(window);
    if (!vx::Load(w.Initialized, std::memory_order_acquire) || vx::Load(w.TextMemoryStart) < 0) {
        const std::int64_t redirect = vx::Load(w.TextRedirectOutput);
        if (redirect == 2)
            vx::text::WriteCharacter(code);
        else if (redirect == 1)
            vx::text::LogNotInitialized(window);
        return;
    }
    vx::text::PrintSymbolReady(window, w, code, colour, x, y);
}
