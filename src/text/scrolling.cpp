#include "text/scrolling.h"

#include <algorithm>
#include <cstring>

#include "core/log.h"
#include "core/state.h"
#include "display/pixel_access.h"
#include "text/glyph.h"

void MoveVideoMemory(std::int64_t from, std::int64_t to, std::int64_t count) {
    if (count < 1) return;
    if (VideoMemory == nullptr || from < 0 || to < 0 || count > kVideoMemorySize ||
        from > kVideoMemorySize - count || to > kVideoMemorySize - count) {
        vx::Log("MoveVideoMemory: Range outside video memory.");
        return;
    }
    std::memmove(VideoMemory + to, VideoMemory + from, std::size_t(count));
}

namespace vx::text {
namespace {

// What a full-width scroll moves, checked to lie inside the window's two blocks. False sends the
// scroll down the cell-by-cell path, which stays inside them on its own.
struct BlockScroll {
    std::int64_t lineBytes = 0, memoryStart = 0;
};

bool CanMoveBlocks(const t_Window& w, const TextArea& a, BlockScroll& s) {
    const std::int64_t depth = Load(w.BitDepth), width = Load(w.Width), height = Load(w.Height);
    const std::int64_t columns = Load(w.TextWidth), lines = Load(w.TextHeight);
    const std::int64_t fw = w.Font.Width, fh = w.Font.Height;
    if (a.firstColumn != 1 || a.lastColumn != columns) return false;
    if (!GraphicBlockFits(depth, width, height, Load(w.MemoryStart), Load(w.MemoryEnd))) return false;
    if (fw < 1 || fh < 1 || fw * columns > width || fh * lines > height) return false;
    s.memoryStart = Load(w.MemoryStart);
    s.lineBytes = depth * fh * width / 8;
    return true;
}

void Blank(std::uint8_t window, t_Window& w, std::int64_t x, std::int64_t y) {
    PrintSymbolReady(window, w, 32, w.TextColor, x, y);
}

// Draws every cell of the lines `lines` from the cells `offset` lines further down (or up), exactly as
// stored: inversion is off while redrawing.
template <class Lines>
void RedrawCells(std::uint8_t window, t_Window& w, const TextBlock& block, const TextArea& a, Lines lines,
                 std::int64_t offset) {
    const bool inverse = w.TextInverse;
    w.TextInverse = false;
    lines([&](std::int64_t line) {
        for (std::int64_t x = a.firstColumn; x <= a.lastColumn; ++x)
            PrintSymbolReady(window, w, *block.Char(x, line + offset), *block.Colour(x, line + offset), x,
                             line);
    });
    w.TextInverse = inverse;
}

// Moves `count` lines starting at line index `from` (counted from 0) one line up or down to `to`, in
// both halves of the text block and in the pixels below them.
void MoveLines(const t_Window& w, const TextBlock& block, const BlockScroll& s, std::int64_t from,
               std::int64_t to, std::int64_t count) {
    const std::int64_t tw = block.width, n = tw * count;
    const std::int64_t chars = block.chars - VideoMemory, colours = block.colours - VideoMemory;
    MoveVideoMemory(colours + tw * from, colours + tw * to, n);
    MoveVideoMemory(chars + tw * from, chars + tw * to, n);
    const std::int64_t depth = w.BitDepth, width = w.Width, fh = w.Font.Height, fw = w.Font.Width;
    const std::int64_t src = s.memoryStart + depth * fh * from * width / 8;
    const std::int64_t end = s.memoryStart + depth * ((fh * (from + count) - 1) * width + fw * tw) / 8;
    MoveVideoMemory(src, src + (to - from) * s.lineBytes, end - src);
}

// The lines between the first and the last move one line up (or down), and the line left behind is
// blanked. Lines are redrawn starting from the side they move towards, so none is overwritten before it
// has been copied.
void Scroll(std::uint8_t window, t_Window& w, bool up) {
    if (w.ScrollLock) return;
    const TextArea a = ClampedArea(w);
    TextBlock block;
    if (!a.valid || !MakeTextBlock(w, block)) return;
    const std::int64_t fl = a.firstLine, ll = a.lastLine;
    BlockScroll s;
    if (CanMoveBlocks(w, a, s)) {
        MoveLines(w, block, s, up ? fl : fl - 1, up ? fl - 1 : fl, ll - fl);
    } else {
        RedrawCells(
            window, w, block, a,
            [&](auto draw) {
                if (up)
                    for (std::int64_t line = fl; line < ll; ++line) draw(line);
                else
                    for (std::int64_t line = ll; line > fl; --line) draw(line);
            },
            up ? 1 : -1);
    }
    PrintSymbolRun(window, w, 32, w.TextColor, a.firstColumn, a.lastColumn, up ? ll : fl);
}

}  // namespace

void ScrollUp(std::uint8_t window, t_Window& w) {
    Scroll(window, w, true);
}

void ScrollDown(std::uint8_t window, t_Window& w) {
    Scroll(window, w, false);
}

void ClearEndOfLine(std::uint8_t window, t_Window& w) {
    const TextArea a = ClampedArea(w);
    const std::int64_t line = w.TextVpos, column = w.TextHpos;
    Blank(window, w, column, line);
    // Columns left of 1 could only be refused one by one; start where cells exist.
    if (column >= a.lastColumn) return;
    PrintSymbolRun(window, w, 32, w.TextColor, std::max<std::int64_t>(column, 0) + 1, a.lastColumn, line);
}

void ClearEndOfWindow(std::uint8_t window, t_Window& w) {
    ClearEndOfLine(window, w);
    const TextArea a = ClampedArea(w);
    const std::int64_t column = w.TextHpos, line = w.TextVpos;
    for (std::int64_t l = std::max<std::int64_t>(std::min(line, a.lastLine), 0) + 1; l <= a.lastLine; ++l) {
        w.TextHpos = a.firstColumn;
        w.TextVpos = l;
        ClearEndOfLine(window, w);
    }
    w.TextHpos = column;
    w.TextVpos = line;
}

}  // namespace vx::text

namespace {

bool ScrollLocked(std::uint8_t window) {
    return window < 8 && MemoryInitialised.load(std::memory_order_acquire) && WindowRecord(window).ScrollLock;
}

}  // namespace

void t_ScrollUp(std::uint8_t window) {
    if (ScrollLocked(window) || !CheckWindow("t_ScrollUp", window, true)) return;
    vx::text::ScrollUp(window, WindowRecord(window));
}

void t_ScrollDown(std::uint8_t window) {
    if (ScrollLocked(window) || !CheckWindow("t_ScrollDown", window, true)) return;
    vx::text::ScrollDown(window, WindowRecord(window));
}

void t_ClearEndOfLine(std::uint8_t window) {
    if (!CheckWindow("t_ClearEndOfLine", window, true)) return;
    vx::text::ClearEndOfLine(window, WindowRecord(window));
}

void t_ClearEndOfWindow(std::uint8_t window) {
    if (!CheckWindow("t_ClearEndOfWindow", window, true)) return;
    vx::text::ClearEndOfWindow(window, WindowRecord(window));
}
