#include "toolkit_test.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <ranges>

#include "input/events.h"
#include "vxtools/graphics.h"

namespace vx::test {

namespace {

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    for (auto line : std::views::split(text, '\n')) lines.emplace_back(line.begin(), line.end());
    if (!lines.empty()) lines.pop_back();  // empty, or a line not yet ended
    return lines;
}

}  // namespace

HeadlessPlatform& StartToolkit() {
    HeadlessPlatform& platform = StartHeadlessPlatform();
    StartLogCapture();
    return platform;
}

std::vector<std::string> TakeLogLines() {
    std::vector<std::string> lines = SplitLines(TakeCapturedLog());
    std::erase_if(lines, [](const std::string& l) { return l.starts_with("t_WindowAutoUpdateProcess:"); });
    return lines;
}

int CountLogLine(std::string_view line) {
    int count = 0;
    for (const std::string& l : SplitLines(std::string(CapturedLog()))) count += l == line;
    return count;
}

bool LogContains(std::string_view piece) {
    return std::string(CapturedLog()).find(piece) != std::string::npos;
}

// Waits until the refresh process, which the first window starts, has logged its start line from its own
// thread, then clears the log, so that the line does not land in the middle of a test's log.
static void SettleLog() {
    static bool refreshStarted = false;
    for (int i = 0; i < 5000 && !refreshStarted; ++i) {
        refreshStarted = LogContains("t_WindowAutoUpdateProcess: Start.");
        if (!refreshStarted) SleepNanoseconds(1'000'000);
    }
    TakeCapturedLog();
}

t_Window& OpenWindow(std::uint8_t n, int depth, int width, int height) {
    StartHeadlessPlatform();
    t_InitWindow(n, depth, false, width, height, 0, 0, t_Font{}, true);
    return WindowTable[n];
}

t_Window& OpenShown(std::uint8_t n, int depth, bool autoUpdate, int width, int height) {
    StartHeadlessPlatform();
    t_InitWindow(n, depth, autoUpdate, width, height, 0, 0, t_Font{}, true);
    t_WindowVisible(n, true);
    return WindowTable[n];
}

HeadlessPlatform& StartWithWindow(std::uint8_t n, int depth, int size, std::int64_t border) {
    HeadlessPlatform& platform = StartToolkit();
    t_InitWindow(n, depth, false, size, size, border, border, t_Font{}, true);
    SettleLog();
    KeyEventQueue.Clear();
    KeyEventAvailable = false;
    MouseEventQueue.Clear();
    return platform;
}

t_Font Font(int width, int height, int start, int end) {
    t_Font font = BuildFont(width, height,
                            [](int c, int x, int r) -> std::uint8_t { return GlyphInk(c, x, r) ? 255 : 0; });
    font.Start = std::uint8_t(start);
    font.End = std::uint8_t(end);
    return font;
}

t_Font TextFont() {
    return BuildFont(8, 16, [](int, int, int) -> std::uint8_t { return 0; });
}

t_Window& OpenTextWindow(int depth, int width, int height, const t_Font& font, std::uint8_t n) {
    StartToolkit();
    t_InitWindow(n, depth, false, width, height, 0, 0, font, true);
    SettleLog();
    return WindowTable[n];
}

bool ShowsGlyph(const t_Window& w, int cx, int cy, int c, int ink, int paper) {
    const int fw = int(w.Font.Width), fh = int(w.Font.Height);
    for (int r = 0; r < fh; ++r)
        for (int x = 0; x < fw; ++x)
            if (Nibble(w, (cx - 1) * fw + x, (cy - 1) * fh + r) != (GlyphInk(c, x, r) ? ink : paper))
                return false;
    return true;
}

std::uint64_t OutsideChecksum(const t_Window& w) {
    std::uint64_t sum = 0;
    for (std::int64_t i = 0; i < kVideoMemorySize; i += 7) {
        if ((i >= w.MemoryStart && i <= w.MemoryEnd) || (i >= w.TextMemoryStart && i <= w.TextMemoryEnd))
            continue;
        sum = sum * 31 + VideoMemory[i] + std::uint64_t(i);
    }
    return sum;
}

std::vector<t_RGBColor> Pixels(std::uint8_t n) {
    std::vector<t_RGBColor> all;
    for (std::int64_t y = 0; y < WindowTable[n].Height; ++y)
        for (std::int64_t x = 0; x < WindowTable[n].Width; ++x) all.push_back(g_Scrn(n, x, y));
    return all;
}

bool BindSocket(const std::string& path) {
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path) return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound =
        fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0) ::close(fd);  // the socket file stays until it is removed
    return bound;
}

}  // namespace vx::test
