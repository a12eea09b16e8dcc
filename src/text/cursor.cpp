#include "text/cursor.h"

#include "text/glyph.h"
#include "text/scrolling.h"

namespace vx::text {

// Each movement is written so that a cursor a program placed far outside the text window comes back
// without any arithmetic overflowing.

void CursorHome(std::uint8_t, t_Window& w) {
    const TextArea a = ClampedArea(w);
    w.TextHpos = a.firstColumn;
    w.TextVpos = a.firstLine;
}

void CursorEnd(std::uint8_t, t_Window& w) {
    const TextArea a = ClampedArea(w);
    w.TextHpos = a.lastColumn;
    w.TextVpos = a.lastLine;
}

void Htab(std::uint8_t, t_Window& w, std::int64_t n) {
    const TextArea a = ClampedArea(w);
    if (!a.valid || n < 1 || n > Load(w.TextWidth) - a.firstColumn + 1) return;
    w.TextHpos = n + a.firstColumn - 1;
}

void CursorRight(std::uint8_t window, t_Window& w) {
    const TextArea a = ClampedArea(w);
    if (w.TextHpos >= a.lastColumn)
        Cr(window, w);
    else
        ++w.TextHpos;
}

void CursorLeft(std::uint8_t window, t_Window& w) {
    const TextArea a = ClampedArea(w);
    if (w.TextHpos <= a.firstColumn) {
        w.TextHpos = a.lastColumn;
        CursorUp(window, w);
    } else {
        --w.TextHpos;
    }
}

void CursorDown(std::uint8_t window, t_Window& w) {
    const TextArea a = ClampedArea(w);
    // Beyond the last line the cursor steps down, the window scrolls and the cursor steps back.
    if (w.TextVpos >= a.lastLine)
        ScrollUp(window, w);
    else
        ++w.TextVpos;
}

void CursorUp(std::uint8_t window, t_Window& w) {
    const TextArea a = ClampedArea(w);
    if (w.TextVpos <= a.firstLine)
        ScrollDown(window, w);
    else
        --w.TextVpos;
}

void Cr(std::uint8_t window, t_Window& w) {
    w.TextHpos = ClampedArea(w).firstColumn;
    CursorDown(window, w);
}

}  // namespace vx::text

namespace {

template <auto Operation, class... Args>
void Checked(const char* op, std::uint8_t window, Args... args) {
    if (!CheckWindow(op, window, true)) return;
    Operation(window, WindowRecord(window), args...);
}

}  // namespace

void t_CursorHome(std::uint8_t window) {
    Checked<vx::text::CursorHome>("t_CursorHome", window);
}
void t_CursorEnd(std::uint8_t window) {
    Checked<vx::text::CursorEnd>("t_CursorEnd", window);
}
void t_Htab(std::uint8_t window, std::int64_t n) {
    Checked<vx::text::Htab>("t_Htab", window, n);
}
void t_CursorRight(std::uint8_t window) {
    Checked<vx::text::CursorRight>("t_CursorRight", window);
}
void t_CursorLeft(std::uint8_t window) {
    Checked<vx::text::CursorLeft>("t_CursorLeft", window);
}
void t_CursorDown(std::uint8_t window) {
    Checked<vx::text::CursorDown>("t_CursorDown", window);
}
void t_CursorUp(std::uint8_t window) {
    Checked<vx::text::CursorUp>("t_CursorUp", window);
}
void t_Cr(std::uint8_t window) {
    Checked<vx::text::Cr>("t_Cr", window);
}
