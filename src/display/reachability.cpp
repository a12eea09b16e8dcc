#include "display/reachability.h"

#include "core/log.h"
#include "core/platform.h"
#include "display/window.h"

namespace vx {

bool ReachabilityWatch::Tick(std::int64_t nowMillis, bool programEnded) {
    Platform& platform = CurrentPlatform();
    const bool visible = AnyWindowVisible(platform);
    if (lastSeen_ < 0 || visible) lastSeen_ = nowMillis;
    if (visible || (!programEnded && nowMillis - lastSeen_ < kPatienceMillis)) return false;
    WindowRef main = platform.auxiliaryWindow(12);
    if (main == nullptr) return false;
    platform.makeKeyAndOrderFront(main);
    Log("vxtools: No window is on screen, so the main window is shown; a program shows its own window "
        "with t_WindowFront(n).");
    return true;
}

}  // namespace vx
