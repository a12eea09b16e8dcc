#include <algorithm>
#include <cmath>
#include <limits>

#include "core/log.h"
#include "core/numbers.h"
#include "core/platform.h"
#include "core/program.h"
#include "core/state.h"
#include "display/format_number.h"
#include "display/window.h"
#include "vxtools/core.h"
#include "vxtools/display.h"

namespace {

constexpr int kMainWindow = 12;

using vx::AnyWindowVisible;

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

struct Frames {
    vx::Rect window;
    vx::Rect screen;
};

Frames ReadFrames(vx::WindowRef w) {
    return OnUserInterfaceThread([w] {
        vx::Platform& platform = vx::CurrentPlatform();
        return Frames{platform.windowFrame(w), platform.screenFrame(w)};
    });
}

// Frames are doubles; a frame beyond the 64-bit range saturates rather than overflowing the conversion,
// and a frame that is no number at all (infinite too) counts as 0.
std::int64_t Trunc(double v) {
    return std::isfinite(v) ? vx::TruncSaturating(v) : 0;
}

// Figures are added up wide and then saturated: a record or frame with absurd values (a border of
// 2^62, a frame at the edge of the double range) gives absurd but defined answers.
using Wide = __int128;
std::int64_t Sat(Wide v) {
    if (v > Wide(std::numeric_limits<std::int64_t>::max())) return std::numeric_limits<std::int64_t>::max();
    if (v < Wide(std::numeric_limits<std::int64_t>::min())) return std::numeric_limits<std::int64_t>::min();
    return std::int64_t(v);
}

// The figures every selector is computed from.
struct Outline {
    bool record = false;  // the graphic window's record answers, not the frame
    std::int64_t outerWidth = 0, outerHeight = 0, titleHeight = 0, borderWidth = 0, borderHeight = 0;
};

Outline OutlineOf(std::uint8_t n, const Frames& frames) {
    Outline o;
    if (n < 8 && MemoryInitialised.load(std::memory_order_acquire)) {
        const t_Window& w = WindowTable[n];
        o.record = true;
        o.borderWidth = vx::Load(w.BorderWidth);
        o.borderHeight = vx::Load(w.BorderHeight);
        o.titleHeight = vx::Load(w.TitleHeight);
        o.outerWidth = Sat(Wide(vx::Load(w.Width)) + 2 * Wide(o.borderWidth));
        o.outerHeight = Sat(Wide(vx::Load(w.Height)) + 2 * Wide(o.borderHeight) + o.titleHeight);
    } else {
        o.outerWidth = Trunc(frames.window.width);
        o.outerHeight = Trunc(frames.window.height);
        o.titleHeight = TitleBarHeight;
    }
    return o;
}

// The pasteboard window shows at most this much text: more freezes the text view for seconds and keeps
// gigabytes, and nobody reads it there.
constexpr std::size_t kPasteboardShown = std::size_t(1) << 20;

// Lines longer than this are shown broken into pieces of this length: a text view lays out one line of
// a megabyte for most of a minute, and a thousand short ones at once.
constexpr std::size_t kLongestShownLine = 4096;

// The start of the character that byte `at` belongs to.
std::size_t CharacterStart(const std::string& text, std::size_t at) {
    while (at > 0 && at < text.size() && (std::uint8_t(text[at]) & 0xC0) == 0x80) --at;
    return at;
}

std::string BreakLongLines(std::string text) {
    std::size_t run = 0;
    bool needed = false;
    for (const char c : text) {
        run = c == '\n' || c == '\r' ? 0 : run + 1;
        needed = needed || run > kLongestShownLine;
    }
    if (!needed) return text;
    std::string broken;
    broken.reserve(text.size() + text.size() / kLongestShownLine + 1);
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\r') {
            broken.append(text, lineStart, i + 1 - lineStart);
            lineStart = i + 1;
        } else if (i - lineStart == kLongestShownLine) {
            const std::size_t cut = std::max(CharacterStart(text, i), lineStart + 1);
            broken.append(text, lineStart, cut - lineStart);
            broken += '\n';
            lineStart = cut;
        }
    }
    broken.append(text, lineStart, std::string::npos);
    return broken;
}

// The pasteboard's text as the pasteboard window shows it: whole, or its first megabyte cut at a
// character boundary, with a last line saying how much was left out; very long lines broken.
std::string PasteboardWindowText(vx::Platform& platform) {
    std::string text;
    std::size_t total = 0;
    bool exact = true;
    if (!platform.pasteboardTextExcerpt(kPasteboardShown + 1, text, total, exact)) return "";
    if (text.size() <= kPasteboardShown && total <= text.size()) return BreakLongLines(std::move(text));
    std::size_t cut = std::min(text.size(), kPasteboardShown);
    while (cut > 0 && cut < text.size() && (std::uint8_t(text[cut]) & 0xC0) == 0x80) --cut;
    if (cut == text.size() && cut > 0) {  // where the excerpt itself ends, its last character may be split
        std::size_t lead = cut - 1;
        while (lead > 0 && cut - lead < 4 && (std::uint8_t(text[lead]) & 0xC0) == 0x80) --lead;
        const std::uint8_t b = std::uint8_t(text[lead]);
        const std::size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        if (lead + length > cut) cut = lead;
    }
    text.resize(cut);
    text = BreakLongLines(std::move(text));
    const std::size_t left = std::max(total, cut) - cut;
    text += std::string("\n\n[\u2026 ") + (exact ? "" : "mindestens ") +
            FormatNumber(double(left), -1, 0, 0, true) +
            " weitere Bytes der Zwischenablage werden nicht angezeigt.]";
    return text;
}

}  // namespace

std::int64_t t_WindowPos(std::uint8_t window, std::int64_t selector) {
    const vx::WindowRef platformWindow = PlatformWindow(window);
    if (platformWindow == nullptr) {
        vx::Log("t_WindowPos: Window does not exist.");
        return 0;
    }
    if (selector < 0 || selector > 20) return 0;
    const bool graphic = window < 8;
    const bool needFrames = !(graphic && MemoryInitialised.load(std::memory_order_acquire)) ||
                            (selector >= 13 && selector <= 16) || selector == 20;
    const Frames frames = needFrames ? ReadFrames(platformWindow) : Frames{};
    const Outline o = OutlineOf(window, frames);
    const std::int64_t wo = o.outerWidth, ho = o.outerHeight;

    if (selector <= 7) {
        if (!graphic) {
            static constexpr int kFrameFigure[8] = {0, 0, 1, 2, 3, 4, 3, 4};
            switch (kFrameFigure[selector]) {
                case 1:
                    return Sat(Wide(wo) - 1);
                case 2:
                    return Sat(Wide(ho) - 1);
                case 3:
                    return wo;
                case 4:
                    return ho;
                default:
                    return 0;
            }
        }
        if (!o.record) return 0;
        const t_Window& w = WindowTable[window];
        switch (selector) {
            case 0:
                return w.TextFirstColumn;
            case 1:
                return w.TextFirstLine;
            case 2:
                return w.TextLastColumn;
            case 3:
                return w.TextLastLine;
            case 4:
                return Sat(Wide(w.TextLastColumn) - w.TextFirstColumn + 1);
            case 5:
                return Sat(Wide(w.TextLastLine) - w.TextFirstLine + 1);
            case 6:
                return w.TextWidth;
            default:
                return w.TextHeight;
        }
    }
    switch (selector) {
        case 8:
            return Sat(Wide(wo) - 2 * Wide(o.borderWidth));
        case 9:
            return Sat(Wide(ho) - o.titleHeight - 2 * Wide(o.borderHeight));
        case 10:
            return wo;
        case 11:
            return Sat(Wide(ho) - o.titleHeight);
        case 12:
            return ho;
        case 13:
            return Trunc(frames.window.x);
        case 14:
            return Sat(Wide(Trunc(frames.screen.height)) - Trunc(frames.window.y) - ho);
        case 15:
            return Trunc(frames.screen.width);
        case 16:
            return Trunc(frames.screen.height);
        case 17:
            return o.titleHeight;
        case 18:
            return o.borderWidth;
        case 19:
            return o.borderHeight;
        default:
            return Trunc(frames.window.y);
    }
}

void t_WindowSize(std::uint8_t window, std::int64_t x, std::int64_t y, std::int64_t width,
                  std::int64_t height) {
    OnUserInterfaceThread([&] {
        vx::Platform& platform = vx::CurrentPlatform();
        const vx::WindowRef w = PlatformWindow(window);
        if (w == nullptr) {
            vx::Log("t_WindowSize: Window does not exist.");
            return;
        }
        const std::int64_t askedWidth = width, askedHeight = height;
        if (x == -1) x = t_WindowPos(window, 13);
        if (y == -1) y = t_WindowPos(window, 20);
        if (width == -1) width = t_WindowPos(window, 8);
        if (height == -1) height = t_WindowPos(window, 9);
        if (window < 8) {
            if (!MemoryInitialised.load(std::memory_order_acquire) ||
                !vx::Load(WindowTable[window].Initialized)) {
                vx::Log("t_WindowSize: Window #" + std::to_string(window) + " not initialized.");
                return;
            }
            const t_Window& r = WindowTable[window];
            const std::int64_t bw = vx::Load(r.BorderWidth), bh = vx::Load(r.BorderHeight);
            platform.setWindowFrame(w,
                                    vx::Rect{double(x), double(y), double(Wide(width) + 2 * Wide(bw)),
                                             double(Wide(height) + vx::Load(r.TitleHeight) + 2 * Wide(bh))},
                                    true);
            if (const vx::ViewRef view = WindowView(window))
                platform.setViewFrame(view, vx::Rect{double(bw), double(bh), double(width), double(height)});
            return;
        }
        if (window <= 10 && platform.isWindowVisible(w)) platform.orderFront(w);
        platform.setWindowFrame(
            w, vx::Rect{double(x), double(y), double(width), double(Wide(height) + TitleBarHeight)}, true);
        if (window > 10) return;
        if (const vx::ScrollViewRef scroll = platform.scrollView(window)) {
            vx::Rect frame = platform.scrollViewFrame(scroll);
            if (askedWidth > 0) frame.width = double(Wide(width) - 40);
            if (askedHeight > 0) frame.height = double(Wide(height) - 77);
            platform.setScrollViewFrame(scroll, frame);
        }
    });
}

void t_WindowTitle(std::uint8_t window, const std::string& title) {
    const vx::WindowRef w = PlatformWindow(window);
    if (w == nullptr) {
        vx::Log("t_WindowTitle: Window does not exist.");
        return;
    }
    vx::Platform& platform = vx::CurrentPlatform();
    if (platform.isUserInterfaceThread())
        platform.setWindowTitle(w, title);
    else
        platform.setWindowTitleLater(w, title);
}

void t_WindowTitleVisible(std::uint8_t window, bool visible) {
    const vx::WindowRef w = PlatformWindow(window);
    if (w == nullptr) {
        vx::Log("t_WindowTitleVisible: Window does not exist.");
        return;
    }
    if (window < 8 && WindowTable != nullptr)
        vx::Store(WindowTable[window].TitleHeight, visible ? TitleBarHeight : 0);
    OnUserInterfaceThread([&] { vx::CurrentPlatform().setWindowStyleMask(w, visible ? 7 : 0); });
}

void t_WindowCenter(std::uint8_t window) {
    const vx::WindowRef w = PlatformWindow(window);
    if (w == nullptr) {
        vx::Log("t_WindowCenter: Window does not exist.");
        return;
    }
    OnUserInterfaceThread([&] { vx::CurrentPlatform().centerWindow(w); });
}

void t_WindowFront(std::uint8_t window) {
    const vx::WindowRef w = PlatformWindow(window);
    if (w == nullptr) {
        vx::Log("t_WindowFront: Window does not exist.");
        return;
    }
    t_WindowVisible(window, true);
    OnUserInterfaceThread([&] { vx::CurrentPlatform().makeKeyAndOrderFront(w); });
}

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
    if (visible) vx::NoteWindowClosed(window, false);
    OnUserInterfaceThread([&] {
        vx::Platform& platform = vx::CurrentPlatform();
        if (!visible) {
            HideWindow(platform, w);
            return;
        }
        vx::TextViewRef text = window >= 8 && window <= 10 ? platform.textView(window) : nullptr;
        if (window == 8) {
            platform.setTextViewText(text, PasteboardWindowText(platform));
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
