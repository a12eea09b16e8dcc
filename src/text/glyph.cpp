#include "text/glyph.h"

#include <algorithm>
#include <string>

#include "core/log.h"
#include "core/state.h"
#include "graphics/palette.h"
#include "graphics/pixel_access.h"

namespace vx::text {
namespace {

void LogNotInitialized(std::uint8_t window) {
    Log("t_PrintSymbol: Window #" + std::to_string(window) + " not initialized.");
}

// What one ink weight g looks like at the window's depth. A glyph has few distinct weights (usually
// just 0 and 255), so each is worked out once per call, on first use.
struct Shade {
    std::uint8_t r, g, b, grey, index;
    bool lit;
};

template <int Depth>
class ShadeCache {
  public:
    ShadeCache(int ink, int paper)
        : ri_(PaletteRed[ink]),
          gi_(PaletteGreen[ink]),
          bi_(PaletteBlue[ink]),
          rp_(PaletteRed[paper]),
          gp_(PaletteGreen[paper]),
          bp_(PaletteBlue[paper]) {}

    const Shade& Get(std::uint8_t weight) {
        std::uint64_t& word = known_[weight >> 6];
        const std::uint64_t bit = std::uint64_t(1) << (weight & 63);
        if (!(word & bit)) {
            shades_[weight] = Compute(weight);
            word |= bit;
        }
        return shades_[weight];
    }

  private:
    Shade Compute(int g) const {
        Shade s{};
        s.r = std::uint8_t(g * ri_ / 255 + (255 - g) * rp_ / 255);
        s.g = std::uint8_t(g * gi_ / 255 + (255 - g) * gp_ / 255);
        s.b = std::uint8_t(g * bi_ / 255 + (255 - g) * bp_ / 255);
        const int sum = s.r + s.g + s.b;
        if constexpr (Depth == 1) s.lit = sum >= 384;
        if constexpr (Depth == 8 || Depth == 16) {
            const int ki = (ri_ + gi_ + bi_) / 3, kp = (rp_ + gp_ + bp_) / 3;
            s.grey = std::uint8_t(g * ki / 255 + (255 - g) * kp / 255);
        }
        if constexpr (Depth == 4) s.index = NearestIndex(s.r, s.g, s.b, sum);
        return s;
    }

    // Greys fall onto the four grey entries; other colours onto the nearest entry, ties to the lower.
    static std::uint8_t NearestIndex(int r, int g, int b, int sum) {
        if (r == g && g == b) return sum < 192 ? 0 : sum <= 383 ? 5 : sum <= 575 ? 10 : 15;
        int best = 65535, index = 0;
        for (int i = 0; i < 16; ++i) {
            const int dr = PaletteRed[i] - r, dg = PaletteGreen[i] - g, db = PaletteBlue[i] - b;
            const int d = dr * dr + dg * dg + db * db;
            if (d < best) best = d, index = i;
        }
        return std::uint8_t(index);
    }

    int ri_, gi_, bi_, rp_, gp_, bp_;
    std::uint64_t known_[4] = {0, 0, 0, 0};
    Shade shades_[256];
};

struct GlyphJob {
    std::uint8_t* block;     // first byte of the graphic block
    std::int64_t rowBytes;   // of the window
    std::int64_t left, top;  // first pixel of the cell
    std::int64_t width;      // glyph width
    const std::uint8_t* weights;
    std::int64_t pixels;  // weights available: the glyph, or less where Data ends early
};

template <int Depth>
void DrawGlyph(const GlyphJob& job, int ink, int paper) {
    ShadeCache<Depth> shades(ink, paper);
    for (std::int64_t r = 0; r * job.width < job.pixels; ++r) {
        const std::uint8_t* weights = job.weights + r * job.width;
        const std::int64_t columns = std::min(job.width, job.pixels - r * job.width);
        std::uint8_t* row = job.block + (job.top + r) * job.rowBytes;
        for (std::int64_t c = 0; c < columns; ++c) {
            const Shade& s = shades.Get(weights[c]);
            const std::int64_t px = job.left + c;
            if constexpr (Depth == 1) {
                std::uint8_t& byte = row[px >> 3];
                const std::uint8_t bit = std::uint8_t(0x80 >> (px & 7));
                byte = s.lit ? std::uint8_t(byte | bit) : std::uint8_t(byte & ~bit);
            } else if constexpr (Depth == 4) {
                std::uint8_t& byte = row[px >> 1];
                byte = (px & 1) ? std::uint8_t((byte & 0xF0) | s.index)
                                : std::uint8_t((byte & 0x0F) | s.index << 4);
            } else if constexpr (Depth == 8) {
                row[px] = s.grey;
            } else if constexpr (Depth == 16) {
                row[2 * px + 1] = s.grey;
            } else if constexpr (Depth == 24) {
                std::uint8_t* p = row + 3 * px;
                p[0] = s.r, p[1] = s.g, p[2] = s.b;
            } else {
                std::uint8_t* p = row + 4 * px;
                p[1] = s.r, p[2] = s.g, p[3] = s.b;
            }
        }
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
    switch (depth) {
        case 1:
            DrawGlyph<1>(job, ink, paper);
            break;
        case 4:
            DrawGlyph<4>(job, ink, paper);
            break;
        case 8:
            DrawGlyph<8>(job, ink, paper);
            break;
        case 16:
            DrawGlyph<16>(job, ink, paper);
            break;
        case 24:
            DrawGlyph<24>(job, ink, paper);
            break;
        case 32:
            DrawGlyph<32>(job, ink, paper);
            break;
        default:
            break;
    }
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

    // Written as divisions so that no coordinate a program passes can overflow.
    const std::int64_t fw = font.Width, fh = font.Height, width = Load(w.Width), height = Load(w.Height);
    const bool outside = x < 1 || y < 1 || (fw > 0 && x > width / fw) || (fh > 0 && y > height / fh);
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
