#include "menus/text_windows.h"

#include "core/log.h"
#include "core/platform.h"
#include "core/program.h"
#include "core/state.h"
#include "display/window.h"
#include "vxtools/core.h"

vx::Handler& PasteHandler = *new vx::Handler(SystemBeep);
vx::EventQueue<std::string>& VirtualPrinterBuffer = *new vx::EventQueue<std::string>;
vx::EventQueue<std::string>& SystemConsoleBuffer = *new vx::EventQueue<std::string>;

namespace {

// The view only: the program's buffer is emptied by the menu's clear actions, not by these calls.
void ClearText(int n) {
    OnUserInterfaceThread([n] {
        vx::Platform& platform = vx::CurrentPlatform();
        vx::TextViewRef view = platform.textView(n);
        if (view == nullptr) return;
        platform.setTextViewText(view, "");
        platform.markTextViewNeedsDisplay(view);
    });
}

}  // namespace

void ClearVirtualPrinterText() {
    ClearText(9);
}

void ClearSystemConsoleText() {
    ClearText(10);
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
