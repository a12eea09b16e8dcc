#include "text/end_message.h"

#include <string>

#include "core/log.h"
#include "display/refresh.h"
#include "display/window.h"
#include "text/cursor.h"
#include "text/output.h"
#include "vxtools/display.h"
#include "vxtools/graphics.h"

void vx::text::ShowEndMessage(std::uint8_t window) {
    if (PlatformWindow(window) == nullptr) return;
    t_FullArea(window);
    t_CursorEnd(window);
    t_Htab(window, 1);
    t_DisplayMode(window, 0);
    t_Normal(window);
    t_Color(window, 1);
    t_Print(window, "(Programm Ende)");
    t_WindowUpdate(window, false);
    vx::SleepNanoseconds(100'000'000);
    vx::LogPiece(" with message in window #" + std::to_string(window));
}
