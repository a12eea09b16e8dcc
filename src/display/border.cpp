#include "core/platform.h"
#include "core/program.h"
#include "display/palette.h"
#include "display/window.h"
#include "vxtools/display.h"

void t_ColorBorder(std::uint8_t window, std::int64_t color) {
    if (!CheckWindow("t_ColorBorder", window, false)) return;
    t_Window& w = WindowTable[window];
    const t_RGBColor c = t_PaletteColor(color & 15);
    w.RGBColorBorder = c;
    const vx::WindowRef platformWindow = w.Window;
    if (platformWindow == nullptr) return;
    OnUserInterfaceThread([&] {
        vx::CurrentPlatform().setWindowBackgroundColor(platformWindow, c.Red / 255.0, c.Green / 255.0,
                                                       c.Blue / 255.0, c.Alpha / 255.0);
    });
}

void t_FullArea(std::uint8_t window) {
    if (!CheckWindow("t_FullArea", window, false)) return;
    t_Window& w = WindowTable[window];
    w.TextFirstColumn = 1;
    w.TextLastColumn = w.TextWidth;
    w.TextFirstLine = 1;
    w.TextLastLine = w.TextHeight;
}
