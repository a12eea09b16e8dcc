// Text output from hostile input: a few leading bytes set up the text window (bounds, cursor, display
// mode, colours, scroll lock, font geometry) the way a careless program might, the rest is printed.
// Nothing may crash, hang, or write outside the window's two blocks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/log.h"
#include "core/state.h"
#include "display/window_init.h"
#include "headless/headless_platform.h"
#include "text/cursor.h"
#include "text/glyph.h"
#include "text/output.h"
#include "text/readback.h"
#include "text/scrolling.h"

namespace {

constexpr std::uint8_t kWindow = 0;

t_Font MakeFont(int width, int height) {
    t_Font font;
    font.Format = 2;
    font.Start = 0;
    font.End = 255;
    font.Width = width;
    font.Height = height;
    font.Data.resize(std::size_t(256 * width * height));
    for (std::size_t i = 0; i < font.Data.size(); ++i) font.Data[i] = std::uint8_t(i * 37);
    return font;
}

std::uint64_t Sum(std::int64_t from, std::int64_t to) {
    from = from < 0 ? 0 : from;
    to = to > kVideoMemorySize ? kVideoMemorySize : to;
    std::uint64_t s = 0;
    for (std::int64_t i = from; i < to; ++i) s = s * 131 + VideoMemory[i];
    return s;
}

// Depths and sizes cycle through a few windows, set up once each.
t_Window& Setup(std::uint8_t choice) {
    static bool started = false;
    if (!started) {
        vx::StartHeadlessPlatform();
        started = true;
    }
    static int current = -1;
    const int depths[] = {1, 4, 8, 16, 24, 32};
    const int which = choice % 6;
    if (which != current) {
        t_InitWindow(kWindow, depths[which], false, 96 + 8 * (choice % 3), 64, 0, 0,
                     MakeFont(8, 8 + choice % 3), true);
        current = which;
    }
    return WindowRecord(kWindow);
}

std::int64_t Signed(std::uint8_t b) {
    return std::int64_t(std::int8_t(b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 10) return 0;
    t_Window& w = Setup(data[0]);
    // Bytes around the window's blocks must stay as they are.
    const std::int64_t low = w.TextMemoryStart, high = w.MemoryEnd;
    const std::int64_t margin = 4096;
    const std::uint64_t below = Sum(low - margin, low), above = Sum(high + 1, high + 1 + margin);

    w.TextFirstColumn = Signed(data[1]);
    w.TextLastColumn = Signed(data[2]);
    w.TextFirstLine = Signed(data[3]);
    w.TextLastLine = Signed(data[4]);
    w.TextHpos = Signed(data[5]) * (data[9] & 0x80 ? 1000000007LL : 1);
    w.TextVpos = Signed(data[6]);
    w.TextDisplayMode = data[7] % 6 == 5 ? 99 : data[7] % 6;
    w.TextColor = data[8];
    w.TextInverse = data[9] & 1;
    w.ScrollLock = data[9] & 2;
    w.TextRedirectOutput = data[9] & 4 ? 0 : 1;
    if (data[9] & 8) w.Font.Data.resize(data[8] * std::size_t(7));  // a font shorter than it claims

    const std::string_view text(reinterpret_cast<const char*>(data + 10), size - 10);
    t_Print(kWindow, text);
    t_PrintSymbol(kWindow, data[8], data[7], Signed(data[1]), Signed(data[2]));
    t_PrintTab(kWindow, Signed(data[3]), data[4]);
    t_ClearEndOfWindow(kWindow);
    t_ScrollDown(kWindow);
    (void)t_GetScreen(kWindow, data[9] & 16 ? "\r" : "");

    if (Sum(low - margin, low) != below || Sum(high + 1, high + 1 + margin) != above) std::abort();
    w.Font = MakeFont(int(w.Font.Width), int(w.Font.Height));
    return 0;
}
