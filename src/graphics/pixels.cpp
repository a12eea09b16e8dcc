#include "graphics/pixels.h"

#include <string>

#include "core/log.h"
#include "core/state.h"
#include "graphics/palette.h"
#include "graphics/pixel_access.h"

void t_Color(std::uint8_t window, std::int64_t index) {
    if (!vx::GraphicWindowReady(window)) {
        CheckWindow("t_Color", window, false);
        return;
    }
    t_Window& w = WindowTable[window];
    // The low four bits of the index, taken without multiplying: any 64-bit index is valid.
    w.TextColor = std::uint8_t((std::uint64_t(index) & 0x0F) << 4) | (w.TextColor & 0x0F);
    w.RGBColor = t_PaletteColor(index & 15);
}

void g_Plot(std::uint8_t window, std::int64_t x, std::int64_t y) {
    if (!vx::GraphicWindowReady(window)) {
        CheckWindow("g_Plot", window, false, true);
        return;
    }
    t_Window& w = WindowTable[window];
    if (x < 0 || y < 0 || x >= vx::Load(w.Width) || y >= vx::Load(w.Height)) return;
    const std::int64_t depth = vx::Load(w.BitDepth);
    if (!vx::IsGraphicDepth(depth)) {
        vx::Log("g_Plot: Illegal bit depth (" + std::to_string(depth) + ").");
    } else {
        vx::PixelTarget t;
        if (!vx::MakePixelTarget(w, t) || x >= t.width || y >= t.height) return;
        vx::StorePixelAnyDepth(t, x, y);
    }
    w.PositionX = x;
    w.PositionY = y;
}

t_RGBColor g_Scrn(std::uint8_t window, std::int64_t x, std::int64_t y) {
    const t_RGBColor black{255, 0, 0, 0};
    if (!vx::GraphicWindowReady(window)) {
        CheckWindow("g_Scrn", window, false, true);
        return black;
    }
    vx::PixelTarget t;
    if (!vx::MakePixelTarget(WindowTable[window], t)) return black;
    if (x < 0 || y < 0 || x >= t.width || y >= t.height) return black;
    const std::uint8_t* row = t.block + y * t.rowBytes;
    switch (t.depth) {
        case 1:
            return t_PaletteColor((row[x >> 3] >> (7 - (x & 7))) & 1 ? 15 : 0);
        case 4:
            return t_PaletteColor((x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4);
        case 8:
            return t_RGBColor{0, row[x], row[x], row[x]};
        case 16:
            return t_RGBColor{row[2 * x], row[2 * x + 1], row[2 * x + 1], row[2 * x + 1]};
        case 24:
            return t_RGBColor{0, row[3 * x], row[3 * x + 1], row[3 * x + 2]};
        default:
            return t_RGBColor{row[4 * x], row[4 * x + 1], row[4 * x + 2], row[4 * x + 3]};
    }
}
