#include "menus/text_windows.h"

#include "core/log.h"
#include "core/platform.h"
#include "core/program.h"
#include "core/state.h"
#include "display/window.h"

void t_WindowVisible(std::uint8_t window, bool visible) {
    const vx::WindowRef w = PlatformWindow(window);
    if (w == nullptr) {
        vx::Log("t_WindowVisible: Window does not exist.");
        return;
    }
    OnUserInterfaceThread([&] {
        vx::Platform& platform = vx::CurrentPlatform();
        if (visible)
            platform.orderFront(w);
        else
            platform.orderOut(w);
    });
    if (window < 8 && MemoryInitialised.load(std::memory_order_acquire)) {
        t_Window& r = WindowTable[window];
        vx::Store(r.Visible, visible);
        if (!visible) vx::Store(r.UpdateDuration, 0);
    }
}
