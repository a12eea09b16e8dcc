#include "display/refresh.h"

#include <string>

#include "core/log.h"
#include "core/platform.h"
#include "core/program.h"
#include "core/state.h"
#include "core/threads.h"
#include "display/window.h"
#include "vxtools/core.h"
#include "vxtools/display.h"

namespace {

bool Due(const t_Window& w) {
    if (!vx::Load(w.Initialized) || !vx::Load(w.AutoUpdate) || !vx::Load(w.VerticalBlank)) return false;
    const std::int64_t rate = vx::Load(w.RefreshRate);
    const std::int64_t interval = rate == 0 ? 0 : 1000 / rate;
    return vx::AbsoluteTimeMillis() - vx::Load(w.UpdateStarted) >= interval;
}

}  // namespace

void t_WindowUpdate(std::uint8_t window, bool deferred) {
    if (!MemoryInitialised.load(std::memory_order_acquire)) return;
    if (window >= 8) {
        vx::Log("t_WindowUpdate: Window is not a graphic window.");
        return;
    }
    const vx::ViewRef view = WindowView(window);
    if (view == nullptr) {
        vx::Log("t_WindowUpdate: Window #" + std::to_string(window) + " view is nil, resource undefined.");
        return;
    }
    OnUserInterfaceThread([&] {
        if (deferred)
            vx::CurrentPlatform().markViewNeedsDisplay(view);
        else
            vx::CurrentPlatform().displayViewNow(view);
    });
}

void t_WindowAutoUpdateProcess() {
    vx::Log("t_WindowAutoUpdateProcess: Start.");
    if (CurrentThreadNumber() >= 3) vx::SetCurrentThreadName("t_WindowAutoUpdate");
    AutoUpdateRunning.store(true);
    if (MemoryInitialised.load(std::memory_order_acquire)) {
        while (MemoryInitialised.load(std::memory_order_acquire) && AutoUpdateRunning.load() &&
               !vx::CurrentPlatform().isQuitting()) {
            bool refreshed = false;
            for (std::uint8_t n = 0; n < 8; ++n) {
                t_Window& w = WindowTable[n];
                if (!Due(w)) continue;
                // Looking the view up, stamping and marking it in one visit to the user-interface thread.
                OnUserInterfaceThread([&] {
                    const vx::ViewRef view = WindowView(n);
                    if (view == nullptr) {
                        vx::Log("t_WindowAutoUpdateProcess: Window #" + std::to_string(n) +
                                " view is nil, resource undefined.");
                        return;
                    }
                    vx::Store(w.UpdateStarted, vx::AbsoluteTimeMillis());
                    vx::CurrentPlatform().markViewNeedsDisplay(view);
                    refreshed = true;
                });
            }
            if (!refreshed) vx::SleepNanoseconds(1000000);
        }
    }
    AutoUpdateRunning.store(false);
    vx::Log("t_WindowAutoUpdateProcess: End.");
}

std::shared_ptr<const vx::WindowImage> WindowPicture(std::uint8_t window) {
    if (window >= 8 || WindowView(window) == nullptr) return nullptr;
    return t_WindowImage(window);
}

namespace vx {

bool ViewWantsUpdateLayer(std::uint8_t n) {
    if (n >= 8 || !MemoryInitialised.load(std::memory_order_acquire)) return false;
    const t_Window& w = WindowTable[n];
    return Load(w.Initialized) && Load(w.QuickUpdate);
}

std::shared_ptr<const WindowImage> ViewComposeImage(std::uint8_t n) {
    if (n >= 8 || !MemoryInitialised.load(std::memory_order_acquire)) return nullptr;
    t_Window& w = WindowTable[n];
    if (n == 0) Store(w.VerticalBlank, false);
    std::shared_ptr<const WindowImage> image = t_WindowImage(n);
    if (n == 0) Store(w.VerticalBlank, true);
    return image;
}

}  // namespace vx
