// The one fixture of the toolkit's tests: a started headless platform with initialised windows, a
// captured log, a font whose glyphs a test can predict, and ways to look into video memory.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "core/log.h"
#include "core/state.h"
#include "display/window.h"
#include "headless/headless_platform.h"
#include "vxtools/display.h"
#include "vxtools/text.h"

namespace vx::test {

// ---- The platform and the log ----

// Starts the headless platform and captures the log from here on.
HeadlessPlatform& StartToolkit();
// The captured log split into lines (a line not yet ended is left out), and cleared. The refresh process's
// lines are left out too: it logs them from its own thread whenever it gets there, once any window exists.
std::vector<std::string> TakeLogLines();
// How many captured lines equal `line` exactly; does not clear the log.
int CountLogLine(std::string_view line);
// True when a captured line contains `piece`; does not clear the log.
bool LogContains(std::string_view piece);

// Polls `condition` every 10 ms until it holds (true) or `limit` has passed (false): work on another
// thread is waited for this way, never for a fixed time. The condition is not evaluated again once it
// held, so it may act (take a lock, say).
template <class Condition>
bool Eventually(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// ---- Windows ----

// Starts the headless platform (the log is left as it is) and initialises a font-less window n of the
// given depth and size.
t_Window& OpenWindow(std::uint8_t n, int depth, int width = 64, int height = 32);
// The same, made visible.
t_Window& OpenShown(std::uint8_t n, int depth = 4, bool autoUpdate = false, int width = 64, int height = 32);
// Window n with size and borders, the event queues empty and the log captured and cleared.
HeadlessPlatform& StartWithWindow(std::uint8_t n, int depth = 4, int size = 64, std::int64_t border = 0);

inline std::uint8_t* Block(std::uint8_t n) {
    return VideoMemory + WindowTable[n].MemoryStart;
}

// ---- Text windows ----

// Glyph c, row r, column x is ink (255) where bit x of (c + r) is set, except that the space is blank.
inline bool GlyphInk(int c, int x, int r) {
    return c != 32 && (((c + r) >> (x % 8)) & 1);
}
// The font of GlyphInk, made with vx::BuildFont.
t_Font Font(int width = 8, int height = 8, int start = 0, int end = 255);
// An empty 8 x 16 font: enough for a text layer.
t_Font TextFont();
// Window n with the given depth, size and font; the log is captured and cleared.
t_Window& OpenTextWindow(int depth = 4, int width = 320, int height = 200, const t_Font& font = Font(),
                         std::uint8_t n = 0);

// Sets the text area a program may narrow: columns and lines, 1-based and inclusive.
inline void SetTextArea(t_Window& w, std::int64_t firstColumn, std::int64_t lastColumn,
                        std::int64_t firstLine, std::int64_t lastLine) {
    w.TextFirstColumn = firstColumn;
    w.TextLastColumn = lastColumn;
    w.TextFirstLine = firstLine;
    w.TextLastLine = lastLine;
}
inline void SetCursor(t_Window& w, std::int64_t column, std::int64_t line) {
    w.TextHpos = column;
    w.TextVpos = line;
}

using Pos = std::pair<std::int64_t, std::int64_t>;
inline Pos CursorOf(const t_Window& w) {
    return {w.TextHpos, w.TextVpos};
}
inline std::uint8_t CellChar(const t_Window& w, int x, int y) {
    return VideoMemory[w.TextMemoryStart + (y - 1) * w.TextWidth + (x - 1)];
}
inline std::uint8_t CellColour(const t_Window& w, int x, int y) {
    const std::int64_t half = (w.TextMemoryEnd - w.TextMemoryStart + 1) / 2;
    return VideoMemory[w.TextMemoryStart + half + (y - 1) * w.TextWidth + (x - 1)];
}
// Palette index of a pixel of a 4-bit window.
inline int Nibble(const t_Window& w, int x, int y) {
    const std::uint8_t byte = VideoMemory[w.MemoryStart + y * (w.Width / 2) + x / 2];
    return (x & 1) ? byte & 15 : byte >> 4;
}
inline std::uint8_t* PixelBytes(const t_Window& w, int x, int y) {
    return VideoMemory + w.MemoryStart + (y * w.Width + x) * w.BitDepth / 8;
}
// True when cell (cx, cy) shows glyph c in the 4-bit colours ink and paper.
bool ShowsGlyph(const t_Window& w, int cx, int cy, int c, int ink, int paper);
// Everything outside the window's two blocks, to check that nothing was written there.
std::uint64_t OutsideChecksum(const t_Window& w);
// Every pixel of graphic window `n` as g_Scrn reads it, row by row.
std::vector<t_RGBColor> Pixels(std::uint8_t n);

// ---- Files ----

// Binds a local socket at `path`: a file that is neither regular nor a folder and that a test may
// create, unlike a device node, and that nothing is lost with when a fault replaces it.
bool BindSocket(const std::string& path);

}  // namespace vx::test
