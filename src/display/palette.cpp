#include "display/palette.h"

t_RGBColor t_PaletteColor(std::int64_t index) {
    if (index < 0 || index > 15) return t_RGBColor{255, 0, 0, 0};
    return t_RGBColor{255, PaletteRed[index], PaletteGreen[index], PaletteBlue[index]};
}
