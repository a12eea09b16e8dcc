// The toolkit as a careless or hostile program uses it: the input is a sequence of program-side calls
// with arbitrary arguments (64-bit extremes, NaN and infinities, empty and long strings). After every
// call no sanitizer may have reported, and no drawing call may have changed video memory outside the
// blocks of the windows that are set up. Hangs are caught by libFuzzer's -timeout.
//
// Each input starts with every window given up (a set-up that fails frees the window's blocks), an
// empty key queue and the same menus, so that a single input replays what it found.
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/program.h"
#include "core/state.h"
#include "core/strings.h"
#include "display/format_number.h"
#include "display/palette.h"
#include "display/refresh.h"
#include "display/window_init.h"
#include "headless/headless_platform.h"
#include "input/events.h"
#include "input/key_input.h"
#include "input/mouse_input.h"
#include "menus/menu_items.h"
#include "menus/text_windows.h"
#include "text/cursor.h"
#include "text/glyph.h"
#include "text/output.h"
#include "text/readback.h"
#include "text/scrolling.h"
#include "vxtools/display.h"
#include "vxtools/graphics.h"
#include "vxtools/vxtools.h"

namespace {

class Reader {
  public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Done() const { return at_ >= size_; }
    std::uint8_t Peek() const { return at_ < size_ ? data_[at_] : 0; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::uint64_t Raw(int bytes) {
        std::uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) v = v << 8 | Byte();
        return v;
    }
    // Mostly small values, as coordinates are; now and then an extreme.
    std::int64_t Int() {
        constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
        constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
        switch (Byte() % 16) {
            case 0:
                return kMin;
            case 1:
                return kMax;
            case 2:
                return kMin + std::int64_t(Byte());
            case 3:
                return kMax - std::int64_t(Byte());
            case 4:
                return std::int64_t(Raw(8));
            case 5:
                return std::int64_t(std::int32_t(Raw(4)));
            case 6:
                return std::int64_t(std::int16_t(Raw(2)));
            case 7:
                return -std::int64_t(Byte());
            case 8:
                return std::int64_t(1) << (Byte() % 63);
            default:
                return std::int64_t(Raw(2) % 1100) - 50;
        }
    }
    double Real() {
        switch (Byte() % 8) {
            case 0:
                return std::numeric_limits<double>::quiet_NaN();
            case 1:
                return std::numeric_limits<double>::infinity();
            case 2:
                return -std::numeric_limits<double>::infinity();
            case 3:
                return std::numeric_limits<double>::max() * (Byte() & 1 ? 1 : -1);
            case 4:
                return std::numeric_limits<double>::denorm_min();
            case 5: {
                const std::uint64_t bits = Raw(8);
                double d;
                std::memcpy(&d, &bits, sizeof d);
                return d;
            }
            default:
                return double(Int()) / double(1 + Byte());
        }
    }
    std::string Text() {
        const std::uint8_t kind = Byte();
        if (kind % 8 == 0) return std::string(std::size_t(Raw(2)) * 4, char(Byte()));  // up to 256 KiB
        const std::size_t length = kind % 64;
        std::string s;
        for (std::size_t i = 0; i < length && !Done(); ++i) s.push_back(char(Byte()));
        return s;
    }
    std::uint8_t Window() {
        const std::uint8_t b = Byte();
        return b < 240 ? b % 9 : b;  // mostly 0..7 and 8, sometimes anything
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

t_Font MakeFont(Reader& in) {
    t_Font font;
    font.Format = in.Byte() & 1 ? 2 : 0;
    font.Start = in.Byte();
    font.End = in.Byte();
    const std::uint8_t shape = in.Byte();
    font.Width = shape & 0x80 ? in.Int() : 4 + shape % 13;
    font.Height = shape & 0x40 ? in.Int() : 4 + (shape >> 2) % 13;
    const std::uint8_t fill = in.Byte();
    // A font is usually as long as it claims; sometimes shorter, sometimes empty.
    std::size_t size = 0;
    if (font.Width > 0 && font.Height > 0 && font.Width <= 64 && font.Height <= 64)
        size = std::size_t(256 * font.Width * font.Height);
    if (fill % 4 == 0) size = size / 3;
    if (fill % 16 == 1) size = 0;
    font.Data.resize(size);
    for (std::size_t i = 0; i < font.Data.size(); ++i) font.Data[i] = std::uint8_t(i * fill);
    return font;
}

// Video memory as the last set-up left it, and the guard that every drawing call keeps the bytes
// outside the set-up windows' blocks as they were.
class Guard {
  public:
    void Snapshot() {
        copy_.assign(VideoMemory, VideoMemory + kVideoMemorySize);
        blocks_.clear();
        for (std::uint8_t n = 0; n < 8; ++n) {
            const t_Window& w = WindowRecord(n);
            if (!vx::Load(w.Initialized)) continue;
            Add(w.MemoryStart, w.MemoryEnd);
            Add(w.TextMemoryStart, w.TextMemoryEnd);
        }
    }
    // The bytes just around every block on each call; everything outside the blocks when `full`.
    void Check(bool full) const {
        std::int64_t gap = 0;  // start of the gap before the next block
        for (const auto& [start, end] : blocks_) {
            CheckGap(gap, start, full);
            gap = std::max(gap, end + 1);
        }
        CheckGap(gap, kVideoMemorySize, full);
    }

  private:
    static constexpr std::int64_t kBand = 4096;

    void Add(std::int64_t start, std::int64_t end) {
        if (start < 0 || end < start) return;
        auto at = blocks_.begin();
        while (at != blocks_.end() && at->first < start) ++at;
        blocks_.insert(at, {start, std::min(end, kVideoMemorySize - 1)});
    }
    // A gap between blocks (blocks may touch): wholly, or its ends next to the blocks.
    void CheckGap(std::int64_t from, std::int64_t to, bool full) const {
        if (full || to - from <= 2 * kBand) {
            Compare(from, to);
        } else {
            Compare(from, from + kBand);
            Compare(to - kBand, to);
        }
    }
    void Compare(std::int64_t from, std::int64_t to) const {
        from = std::max<std::int64_t>(from, 0);
        if (to <= from) return;
        if (std::memcmp(VideoMemory + from, copy_.data() + from, std::size_t(to - from)) != 0) {
            std::int64_t at = from;
            while (VideoMemory[at] == copy_[std::size_t(at)]) ++at;
            std::fprintf(stderr, "video memory at $%llx changed outside every window's blocks\n",
                         static_cast<unsigned long long>(at));
            std::abort();
        }
    }

    std::vector<std::uint8_t> copy_;
    std::vector<std::pair<std::int64_t, std::int64_t>> blocks_;
};

void Start() {
    static vx::HeadlessPlatform& platform = vx::StartHeadlessPlatform();
    for (std::uint8_t n = 0; n < 8; ++n)
        if (MemoryInitialised.load() && vx::Load(WindowRecord(n).Initialized))
            t_InitWindow(n, 0, false, 64, 64, 0, 0, t_Font{}, true);
    KeyEventQueue.Clear();
    MouseEventQueue.Clear();
    platform.SetMainMenu({{"Ablage", {{"Neu", 1, "n", 0}, {"", 0, "", 0}, {"Beenden", 2, "q", 0}}},
                          {"Fenster", {{"Grafik 0", 10, "0", 0}, {"Text", 11, "", 0}}}});
    t_InitWindow(0, 8, false, 64, 64, 0, 0, t_Font{}, true);
}

constexpr std::uint8_t kOperations = 54;

// One call. Operation 0 sets a window up, which may move or clear blocks; the guard starts over after it.
void Call(Reader& in) {
    const std::uint8_t op = in.Byte();
    const std::uint8_t w = in.Window();
    switch (op % kOperations) {
        case 0: {
            static constexpr std::int64_t kDepths[] = {1, 4, 8, 16, 24, 32};
            const std::uint8_t d = in.Byte();
            const std::int64_t depth = d < 240 ? kDepths[d % 6] : in.Int();
            const std::uint8_t s = in.Byte();
            const std::int64_t width = s & 0x80 ? in.Int() : 32 + (s & 0x3F) * 5;
            const std::int64_t height = s & 0x40 ? in.Int() : 32 + in.Byte() % 96 * 3;
            const std::uint8_t b = in.Byte();
            const std::int64_t bw = b & 0x80 ? in.Int() : b & 0x3F, bh = b & 0x40 ? in.Int() : b & 0x1F;
            const t_Font font = b & 0x20 ? t_Font{} : MakeFont(in);
            t_InitWindow(w, depth, in.Byte() & 1, width, height, bw, bh, font, in.Byte() & 1);
            break;
        }
        case 1:
            t_Color(w, in.Int());
            break;
        case 2:
            t_ColorBorder(w, in.Int());
            break;
        case 3:
        case 4:
            g_Plot(w, in.Int(), in.Int());
            break;
        case 5:
        case 6: {
            const std::int64_t x1 = in.Int(), y1 = in.Int(), x2 = in.Int(), y2 = in.Int();
            g_Line(w, x1, y1, x2, y2);
            break;
        }
        case 7: {
            const std::int64_t x = in.Int(), y = in.Int();
            g_LineTo(w, x, y);
            break;
        }
        case 8: {
            const std::int64_t color = in.Int(), rows = in.Int();
            g_ClearScreen(w, color, rows);
            break;
        }
        case 9: {
            const std::int64_t x = in.Int(), y = in.Int();
            (void)g_Scrn(w, x, y);
            break;
        }
        case 10:
            t_FullArea(w);
            break;
        case 11:
        case 12:
        case 13:
            t_Print(w, in.Text());
            break;
        case 14:
            t_PrintChar(w, in.Byte());
            break;
        case 15: {
            const std::int64_t column = in.Int();
            t_PrintTab(w, column, in.Byte());
            break;
        }
        case 16:
            t_PrintControl(w, in.Byte());
            break;
        case 17: {
            const std::uint8_t code = in.Byte(), colour = in.Byte();
            const std::int64_t x = in.Int(), y = in.Int();
            t_PrintSymbol(w, code, colour, x, y);
            break;
        }
        case 18:
            t_DisplayMode(w, in.Int());
            break;
        case 19:
            t_Normal(w);
            break;
        case 20:
            t_Inverse(w);
            break;
        case 21:
            t_Reverse(w);
            break;
        case 22:
            t_RedirectOutput(w, in.Byte() & 1 ? in.Int() : 1);
            break;
        case 23:
            t_CursorHome(w);
            break;
        case 24:
            t_CursorEnd(w);
            break;
        case 25:
            t_Htab(w, in.Int());
            break;
        case 26:
            t_CursorRight(w);
            break;
        case 27:
            t_CursorLeft(w);
            break;
        case 28:
            t_CursorDown(w);
            break;
        case 29:
            t_CursorUp(w);
            break;
        case 30:
            t_Cr(w);
            break;
        case 31:
            t_ScrollUp(w);
            break;
        case 32:
            t_ScrollDown(w);
            break;
        case 33:
            t_ClearEndOfLine(w);
            break;
        case 34:
            t_ClearEndOfWindow(w);
            break;
        case 35:
            (void)t_GetScreen(w, in.Text());
            break;
        case 36:
            (void)t_WindowPos(w, in.Int());
            break;
        case 37: {
            const std::int64_t x = in.Int(), y = in.Int(), width = in.Int(), height = in.Int();
            t_WindowSize(w, x, y, width, height);
            break;
        }
        case 38:
            t_WindowTitle(w, in.Text());
            break;
        case 39:
            t_WindowTitleVisible(w, in.Byte() & 1);
            break;
        case 40:
            in.Byte() & 1 ? t_WindowCenter(w) : t_WindowFront(w);
            break;
        case 41:
            t_WindowUpdate(w, in.Byte() & 1);
            break;
        case 42:
            t_WindowVisible(w, in.Byte() & 1);
            break;
        case 43: {
            // Events as the user-interface thread posts them, and the program's reads.
            const std::uint8_t kind = in.Byte();
            const std::int64_t code = in.Int();
            const std::string characters = in.Text();
            if (kind % 4 == 0) {
                OnUserInterfaceThread([&] {
                    viewKeyDown(w, vx::KeyPress{code, characters, in.Raw(4) << 16});
                });
            } else if (kind % 4 == 1) {
                const double x = in.Real(), y = in.Real();
                OnUserInterfaceThread([&] { viewMouseDown(w, vx::MouseClick{1, 0, x, y}, kind & 8); });
            } else if (kind % 4 == 2) {
                (void)t_NextKeyEvent();
            } else {
                (void)CheckOutputPause(code, false);
            }
            break;
        }
        case 44: {
            const std::string menu = in.Byte() & 1 ? "Ablage" : in.Text();
            const std::uint8_t what = in.Byte();
            if (what % 3 == 0) (void)t_MenuItemIndex(menu, in.Text());
            if (what % 3 == 1) (void)t_MenuItemTitle(menu, in.Int());
            if (what % 3 == 2) t_MenuItemDelete(menu, in.Int());
            break;
        }
        case 45:
            in.Byte() & 1 ? AppendMenuAction(in.Int()) : (void)t_MenuActionIndex(in.Int());
            break;
        case 46: {
            const double value = in.Real();
            const std::int64_t fill = in.Int(), width = in.Int(), decimals = in.Int();
            (void)FormatNumber(value, fill, width, decimals, in.Byte() & 1);
            break;
        }
        case 47: {
            (void)t_PaletteColor(in.Int());
            (void)HexString(in.Int());
            break;
        }
        case 48:
            vx::SetDrawMode(w, in.Byte() & 1 ? in.Int() : in.Byte() % 8);
            break;
        case 49: {
            const bool fill = in.Byte() & 1;
            const std::int64_t x = in.Int(), y = in.Int(), width = in.Int(), height = in.Int();
            fill ? vx::FillRect(w, x, y, width, height) : vx::DrawRect(w, x, y, width, height);
            break;
        }
        case 50: {
            const std::uint8_t shape = in.Byte();
            const std::int64_t x = in.Int(), y = in.Int(), rx = in.Int(), ry = in.Int();
            if (shape % 4 == 0) vx::Circle(w, x, y, rx);
            if (shape % 4 == 1) vx::FillCircle(w, x, y, rx);
            if (shape % 4 == 2) vx::Ellipse(w, x, y, rx, ry);
            if (shape % 4 == 3) vx::FillEllipse(w, x, y, rx, ry);
            break;
        }
        case 51: {
            const std::int64_t x = in.Int(), y = in.Int();
            vx::FloodFill(w, x, y);
            break;
        }
        case 52: {
            const std::int64_t x = in.Int(), y = in.Int(), width = in.Int(), height = in.Int();
            const std::uint8_t to = in.Window();
            const std::int64_t toX = in.Int(), toY = in.Int();
            vx::CopyRect(w, x, y, width, height, to, toX, toY);
            break;
        }
        case 53: {
            // The input's bytes as a picture file.
            static const struct PictureFile {
                std::string path = "/tmp/api-fuzzer-" + std::to_string(::getpid()) + ".png";
                ~PictureFile() { std::remove(path.c_str()); }
            } file;
            const std::string& path = file.path;
            if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
                const std::string bytes = in.Text();
                std::fwrite(bytes.data(), 1, bytes.size(), f);
                std::fclose(f);
            }
            const std::int64_t x = in.Int(), y = in.Int();
            (void)vx::LoadPicture(w, path, x, y);
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Start();
    static Guard guard;
    guard.Snapshot();
    Reader in(data, size);
    for (int calls = 0; calls < 64 && !in.Done(); ++calls) {
        // Before a set-up may move blocks, everything the drawing calls so far could have reached.
        const bool setUp = in.Peek() % kOperations == 0;
        if (setUp) guard.Check(true);
        Call(in);
        if (setUp)
            guard.Snapshot();
        else
            guard.Check(false);
    }
    guard.Check(true);
    return 0;
}
