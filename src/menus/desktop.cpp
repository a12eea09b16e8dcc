// The program's side of the close boxes, the clipboard and the two text windows it may write into.
#include "vxtools/desktop.h"

#include <algorithm>
#include <string>

#include "core/log.h"
#include "core/platform.h"
#include "core/program.h"
#include "core/state.h"
#include "display/refresh.h"
#include "display/window.h"

namespace vx {
namespace {

// The text view and ruler of window 9 or 10, looked up on the user-interface thread; refused numbers
// and absent views log the call's line and give nulls.
struct TextWindow {
    TextViewRef text = nullptr;
    RulerRef ruler = nullptr;
};

TextWindow FindTextWindow(const char* op, std::uint8_t window) {
    if (window != 9 && window != 10) {
        Log(std::string(op) + ": Window #" + std::to_string(window) +
            " is neither the virtual printer (9) nor the system console (10).");
        return {};
    }
    const TextWindow found = OnUserInterfaceThread([window] {
        Platform& platform = CurrentPlatform();
        return TextWindow{platform.textView(window), platform.ruler(window)};
    });
    if (found.text == nullptr) {
        Log(std::string(op) + (window == 9 ? ": Virtual printer window is nil, resource undefined."
                                           : ": System console window is nil, resource undefined."));
        return {};
    }
    return found;
}

}  // namespace

bool CopyPicture(std::uint8_t window) {
    if (window >= 8) {
        Log("vx::CopyPicture: Window is not a graphic window.");
        return false;
    }
    const bool ready = MemoryInitialised.load(std::memory_order_acquire) &&
                       Load(WindowTable[window].Initialized, std::memory_order_acquire);
    const std::shared_ptr<const WindowImage> picture = ready ? WindowPicture(window) : nullptr;
    if (picture == nullptr) {
        Log("vx::CopyPicture: Window #" + std::to_string(window) + " has no picture to copy.");
        return false;
    }
    OnUserInterfaceThread([&picture] {
        Platform& platform = CurrentPlatform();
        platform.clearPasteboard();
        platform.setPasteboardImage(*picture);
    });
    return true;
}

void CopyText(const std::string& text) {
    OnUserInterfaceThread([&text] {
        Platform& platform = CurrentPlatform();
        platform.clearPasteboard();
        platform.setPasteboardText(text);
    });
}

std::optional<std::string> ClipboardText() {
    return OnUserInterfaceThread([]() -> std::optional<std::string> {
        std::string text;
        if (!CurrentPlatform().pasteboardText(text)) return std::nullopt;
        return text;
    });
}

std::optional<ClipboardPicture> ClipboardImage() {
    return OnUserInterfaceThread([]() -> std::optional<ClipboardPicture> {
        WindowImage image;
        if (!CurrentPlatform().pasteboardImage(image)) return std::nullopt;
        // A platform's image that claims more pixels than it carries is not handed on.
        if (image.width <= 0 || image.height <= 0 ||
            image.pixels.size() != std::size_t(image.width) * std::size_t(image.height))
            return std::nullopt;
        return ClipboardPicture{image.width, image.height, std::move(image.pixels)};
    });
}

void AppendText(std::uint8_t window, const std::string& text) {
    const TextWindow w = FindTextWindow("vx::AppendText", window);
    if (w.text == nullptr) return;
    OnUserInterfaceThread([&] {
        CurrentPlatform().appendTextViewText(w.text, text);
        CurrentPlatform().markTextViewNeedsDisplay(w.text);
    });
}

std::string WindowText(std::uint8_t window) {
    const TextWindow w = FindTextWindow("vx::WindowText", window);
    if (w.text == nullptr) return {};
    return OnUserInterfaceThread([&] { return CurrentPlatform().textViewText(w.text); });
}

void SetRulerText(std::uint8_t window, const std::string& text) {
    const TextWindow w = FindTextWindow("vx::SetRulerText", window);
    if (w.ruler == nullptr) return;
    std::string line = text;
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    OnUserInterfaceThread([&] { CurrentPlatform().setRulerText(w.ruler, line); });
}

std::string RulerText(std::uint8_t window) {
    const TextWindow w = FindTextWindow("vx::RulerText", window);
    if (w.ruler == nullptr) return {};
    return OnUserInterfaceThread([&] { return CurrentPlatform().rulerText(w.ruler); });
}

}  // namespace vx
