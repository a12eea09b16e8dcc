#include "display/window.h"

#include <array>
#include <cassert>
#include <string>

#include "core/log.h"
#include "core/program.h"
#include "core/state.h"
#include "vxtools/desktop.h"

t_Window& WindowRecord(std::uint8_t n) {
    assert(n < 8 && "callers check the window number first");
    return WindowTable[n];
}

bool CheckWindow(std::string_view op, std::uint8_t n, bool needsText, bool graphicWording) {
    if (n >= 8) {
        vx::Log(std::string(op) + ": Window is not a graphic window.");
        return false;
    }
    bool ready = MemoryInitialised.load(std::memory_order_acquire) &&
                 vx::Load(WindowTable[n].Initialized, std::memory_order_acquire) &&
                 (!needsText || vx::Load(WindowTable[n].TextMemoryStart) >= 0);
    if (!ready) {
        vx::Log(std::string(op) + (graphicWording ? ": Graphic window #" : ": Window #") + std::to_string(n) +
                " not initialized.");
    }
    return ready;
}

vx::ViewRef WindowView(std::uint8_t n) {
    if (n >= 8) return nullptr;
    return OnUserInterfaceThread([n] { return vx::CurrentPlatform().graphicView(n); });
}

vx::WindowRef PlatformWindow(std::uint8_t n) {
    if (n > 12) return nullptr;
    return OnUserInterfaceThread([n]() -> vx::WindowRef {
        vx::Platform& p = vx::CurrentPlatform();
        if (n < 8) return p.windowOfView(p.graphicView(n));
        return p.auxiliaryWindow(n);
    });
}

vx::TextViewRef WindowTextView(std::uint8_t n) {
    if (n < 8 || n > 10) return nullptr;
    return OnUserInterfaceThread([n] { return vx::CurrentPlatform().textView(n); });
}

void t_RedirectOutput(std::uint8_t window, std::int64_t target) {
    if (CheckWindow("t_RedirectOutput", window, false))
        vx::Store(WindowRecord(window).TextRedirectOutput, target);
}

namespace vx {
namespace {

constexpr std::uint8_t kLastWindow = 12;

std::array<std::atomic<bool>, kLastWindow + 1>& ClosedFlags() {
    static auto* flags = new std::array<std::atomic<bool>, kLastWindow + 1>{};  // lives as long as threads
    return *flags;
}

}  // namespace

bool AnyWindowVisible(Platform& platform) {
    for (int n = 0; n <= kLastWindow; ++n) {
        WindowRef w = n < 8 ? platform.windowOfView(platform.graphicView(n)) : platform.auxiliaryWindow(n);
        if (w != nullptr && platform.isWindowVisible(w)) return true;
    }
    return false;
}

void NoteWindowClosed(std::uint8_t n, bool closed) {
    if (n <= kLastWindow) ClosedFlags()[n].store(closed);
}

bool WindowClosed(std::uint8_t window) {
    return window <= kLastWindow && ClosedFlags()[window].load();
}

}  // namespace vx
