// A true colour as the current colour (an addition beside t_Color's palette entries).
#include <cstdlib>

#include "core/state.h"
#include "display/palette.h"
#include "display/pixel_access.h"
#include "display/window.h"
#include "graphics/spans.h"
#include "vxtools/extensions.h"

namespace vx {

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
