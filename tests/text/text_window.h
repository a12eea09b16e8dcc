// Shared set-up for the text layer's tests: a generated font and a text window on the headless platform.
#pragma once

#include <cstdint>
#include <string>
#include <thread>
#include <utility>

#include "core/log.h"
#include "core/state.h"
#include "display/window.h"
#include "display/window_init.h"
#include "headless/headless_platform.h"
#include "vxtools/text.h"

namespace textwin {

// Glyph c, row r, column x is ink (255) where bit x of (c + r) is set, except that the space is blank.
inline bool GlyphInk(int c, int x, int r) {
    return c != 32 && (((c + r) >> (x % 8)) & 1);
}

[[gnu::noinline]] inline t_Font Font(int width = 8, int height = 8, int start = 0, int end = 255) {
    t_Font font = vx::BuildFont(
        width, height, [](int c, int x, int r) -> std::uint8_t { return GlyphInk(c, x, r) ? 255 : 0; });
    font.Start = std::uint8_t(start);
    font.End = std::uint8_t(end);
    return font;
}

// Window n with the given depth and size and the font; the log is captured from here on.
inline t_Window& Open(int depth = 4, int width = 320, int height = 200, const t_Font& font = Font(),
                      std::uint8_t n = 0) {
    vx::StartHeadlessPlatform();
    vx::StartLogCapture();
    t_InitWindow(n, depth, false, width, height, 0, 0, font, true);
    // The first window starts the refresh process, which logs its start line from another thread.
    static bool refreshStarted = false;
    for (int i = 0; i < 400 && !refreshStarted; ++i) {
        refreshStarted =
            std::string(vx::CapturedLog()).find("t_WindowAutoUpdateProcess: Start.") != std::string::npos;
        if (!refreshStarted) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    vx::TakeCapturedLog();
    return WindowRecord(n);
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
inline bool ShowsGlyph(const t_Window& w, int cx, int cy, int c, int ink, int paper) {
    const int fw = int(w.Font.Width), fh = int(w.Font.Height);
    for (int r = 0; r < fh; ++r)
        for (int x = 0; x < fw; ++x)
            if (Nibble(w, (cx - 1) * fw + x, (cy - 1) * fh + r) != (GlyphInk(c, x, r) ? ink : paper))
                return false;
    return true;
}

// Everything outside the window's two blocks, to check that nothing was written there.
inline std::uint64_t OutsideChecksum(const t_Window& w) {
    std::uint64_t sum = 0;
    for (std::int64_t i = 0; i < kVideoMemorySize; i += 7) {
        if ((i >= w.MemoryStart && i <= w.MemoryEnd) || (i >= w.TextMemoryStart && i <= w.TextMemoryEnd))
            continue;
        sum = sum * 31 + VideoMemory[i] + std::uint64_t(i);
    }
    return sum;
}

}  // namespace textwin
