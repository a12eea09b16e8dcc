#include "menus/text_windows.h"

#include "core/log.h"
#include "core/platform.h"
#include "core/program.h"
#include "core/state.h"
#include "display/window.h"
#include "menus/sound.h"

vx::Handler& PasteHandler = *new vx::Handler(SystemBeep);
vx::EventQueue<std::string>& VirtualPrinterBuffer = *new vx::EventQueue<std::string>;
vx::EventQueue<std::string>& SystemConsoleBuffer = *new vx::EventQueue<std::string>;

namespace {

constexpr int kMainWindow = 12;

// True when any of the application's thirteen windows is on screen. User-interface thread.
bool AnyWindowVisible(vx::Platform& platform) {
    for (int n = 0; n <= kMainWindow; ++n) {
        vx::WindowRef w =
            n < 8 ? platform.windowOfView(platform.graphicView(n)) : platform.auxiliaryWindow(n);
        if (w != nullptr && platform.isWindowVisible(w)) return true;
    }
    return false;
}

// Hides a window; when it was the last one on screen, the main window takes its place so that the menus
// stay reachable. User-interface thread.
void HideWindow(vx::Platform& platform, vx::WindowRef w) {
    const bool wasVisible = platform.isWindowVisible(w);
    platform.orderOut(w);
    if (!wasVisible || AnyWindowVisible(platform)) return;
    if (vx::WindowRef main = platform.auxiliaryWindow(kMainWindow)) platform.makeKeyAndOrderFront(main);
}

const char* AbsentTextViewLine(int n) {
    switch (n) {
        case 8:
            return "t_WindowVisible: Pasteboard window is nil, resource undefined.";
        case 9:
            return "t_WindowVisible: Virtual printer window is nil, resource undefined.";
        default:
            return "t_WindowVisible: System console window is nil, resource undefined.";
    }
}

void ClearText(int n, vx::EventQueue<std::string>& buffer) {
    buffer.Clear();
    OnUserInterfaceThread([n] {
        vx::Platform& platform = vx::CurrentPlatform();
        vx::TextViewRef view = platform.textView(n);
        if (view == nullptr) return;
        platform.setTextViewText(view, "");
        platform.markTextViewNeedsDisplay(view);
    });
}

}  // namespace

void t_WindowVisible(std::uint8_t window, bool visible) {
    const vx::WindowRef w = PlatformWindow(window);
    if (w == nullptr) {
        vx::Log("t_WindowVisible: Window does not exist.");
        return;
    }
    if (window >= 8 && window <= 10 && WindowTextView(window) == nullptr) {
        vx::Log(AbsentTextViewLine(window));
        SystemBeep();
        return;
    }
    OnUserInterfaceThread([&] {
        vx::Platform& platform = vx::CurrentPlatform();
        if (!visible) {
            HideWindow(platform, w);
            return;
        }
        vx::TextViewRef text = window >= 8 && window <= 10 ? platform.textView(window) : nullptr;
        if (window == 8) {
            std::string pasteboard;
            if (!platform.pasteboardText(pasteboard)) pasteboard.clear();
            platform.setTextViewText(text, pasteboard);
        }
        platform.orderFront(w);
        if (text != nullptr) platform.markTextViewNeedsDisplay(text);
    });
    if (window < 8 && MemoryInitialised.load(std::memory_order_acquire)) {
        t_Window& r = WindowTable[window];
        vx::Store(r.Visible, visible);
        if (!visible) vx::Store(r.UpdateDuration, 0);
    }
}

void ClearVirtualPrinterText() {
    ClearText(9, VirtualPrinterBuffer);
}

void ClearSystemConsoleText() {
    ClearText(10, SystemConsoleBuffer);
}

void LayoutTextWindow(vx::WindowRef window) {
    vx::Platform& platform = vx::CurrentPlatform();
    vx::WindowRef w = window != nullptr ? window : platform.mainWindow();
    if (w == nullptr) return;
    const std::uint8_t n = t_WindowNumber(w);
    if (n < 8 || n > 10) return;
    const vx::Rect frame = platform.windowFrame(w);
    const double W = frame.width, H = frame.height, T = double(TitleBarHeight);
    if (n == 8) {
        platform.setScrollViewFrame(platform.scrollView(8), vx::Rect{10, 10, W - 20, H - 20 - T});
        return;
    }
    platform.setScrollViewFrame(platform.scrollView(n), vx::Rect{20, 20, W - 40, H - 40 - T - 15});
    vx::RulerRef ruler = platform.ruler(n);
    vx::Rect rulerFrame = platform.rulerFrame(ruler);
    rulerFrame.width = W - 48;
    rulerFrame.height = 19;
    platform.setRulerFrame(ruler, rulerFrame);
}
