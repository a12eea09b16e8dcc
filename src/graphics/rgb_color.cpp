// A true colour as the current colour (an addition beside t_Color's palette entries).
#include <cstdlib>

#include "core/state.h"
#include "display/palette.h"
#include "display/pixel_access.h"
#include "display/window.h"
#include "vxtools/extensions.h"

namespace vx {
namespace {

// 1- and 4-bit windows draw palette entries only: the one nearest in squared distance stands in.
int NearestPaletteEntry(int red, int green, int blue) {
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < 16; ++i) {
        const long dr = red - PaletteRed[i], dg = green - PaletteGreen[i], db = blue - PaletteBlue[i];
        const long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace

void SetRGBColor(std::uint8_t window, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    if (!GraphicWindowReady(window)) {
        CheckWindow("t_Color", window, false);
        return;
    }
    t_Window& w = WindowTable[window];
    const int entry = NearestPaletteEntry(red, green, blue);
    w.TextColor = std::uint8_t(entry << 4) | (w.TextColor & 0x0F);
    w.RGBColor = t_RGBColor{255, red, green, blue};
}

}  // namespace vx
