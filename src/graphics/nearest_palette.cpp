// The nearest palette entry to a colour, for every pixel of a picture drawn into a 4-bit window: the
// colour cube is cut into 32 x 32 x 32 cells, and each cell knows the few entries that can be nearest
// anywhere in it, mostly just one.
#include <array>
#include <bit>
#include <cstdint>

#include "display/palette.h"
#include "graphics/spans.h"

namespace vx {
namespace {

using Candidates = std::array<std::uint16_t, 32 * 32 * 32>;

constexpr int kCellSide = 8;

// An entry is left out of a cell when even its nearest point of the cell is farther than the farthest
// point of some other entry: it can then be neither nearest nor equally near.
Candidates MakeCandidates() {
    const auto channel = [](int value, int low, bool farthest) {
        const int high = low + kCellSide - 1;
        int d;
        if (farthest)
            d = value - low > high - value ? value - low : high - value;
        else
            d = value < low ? low - value : value > high ? value - high : 0;
        return long(d) * d;
    };
    Candidates cells{};
    for (int cell = 0; cell < 32 * 32 * 32; ++cell) {
        const int r = (cell >> 10) * kCellSide, g = (cell >> 5 & 31) * kCellSide, b = (cell & 31) * kCellSide;
        long nearest[16], bound = -1;
        for (int i = 0; i < 16; ++i) {
            nearest[i] = channel(PaletteRed[i], r, false) + channel(PaletteGreen[i], g, false) +
                         channel(PaletteBlue[i], b, false);
            const long farthest = channel(PaletteRed[i], r, true) + channel(PaletteGreen[i], g, true) +
                                  channel(PaletteBlue[i], b, true);
            if (bound < 0 || farthest < bound) bound = farthest;
        }
        for (int i = 0; i < 16; ++i)
            if (nearest[i] <= bound) cells[std::size_t(cell)] |= std::uint16_t(1u << i);
    }
    return cells;
}

}  // namespace

int NearestPaletteEntry(int red, int green, int blue) {
    static const Candidates cells = MakeCandidates();
    const auto distance = [&](int i) {
        const long dr = red - PaletteRed[i], dg = green - PaletteGreen[i], db = blue - PaletteBlue[i];
        return dr * dr + dg * dg + db * db;
    };
    unsigned mask = cells[std::size_t((red >> 3) << 10 | (green >> 3) << 5 | (blue >> 3))];
    int best = std::countr_zero(mask);
    mask &= mask - 1;
    if (mask == 0) return best;
    long bestDistance = distance(best);
    // In ascending order, replacing only on a strictly smaller distance: ties go to the lowest entry.
    for (; mask != 0; mask &= mask - 1) {
        const int i = std::countr_zero(mask);
        const long d = distance(i);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

}  // namespace vx
