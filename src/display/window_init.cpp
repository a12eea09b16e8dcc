#include "display/window_init.h"

#include <cstring>

#include "core/application_quit.h"
#include "core/log.h"
#include "core/program.h"
#include "core/state.h"
#include "core/strings.h"
#include "display/application_name.h"
#include "display/palette.h"
#include "display/pixel_access.h"
#include "display/refresh.h"
#include "display/video_memory.h"
#include "vxtools/display.h"

namespace {

std::string Kilobytes(std::int64_t bytes) {
    return FormatNumber(double(bytes) / 1024.0, 32, 1, 2, true);
}

// The title a freshly set-up window shows: the application's name, marked as graphics-only.
std::string InitialTitle(bool hasTextBlock) {
    std::string title = vx::ApplicationName();
    if (title.size() >= 4) {
        std::string tail = title.substr(title.size() - 4);
        for (char& c : tail)
            if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        if (tail == ".app") title.resize(title.size() - 4);
    }
    if (!hasTextBlock) title += "-Grafik";
    return title;
}

void StartRefreshProcess() {
    bool running = false;
    // Claimed here rather than by the process itself, so that two quick initialisations start one process.
    if (AutoUpdateRunning.compare_exchange_strong(running, true)) RunInBackground(t_WindowAutoUpdateProcess);
}

}  // namespace

void t_InitWindow(std::uint8_t window, std::int64_t bitDepth, bool autoUpdate, std::int64_t width,
                  std::int64_t height, std::int64_t borderWidth, std::int64_t borderHeight,
                  const t_Font& font, bool titleVisible) {
    if (window >= 8) {
        vx::Log("t_InitWindow: Window is not a graphic window.");
        return;
    }
    const std::string p = "t_InitWindow: GraphicWindow #" + std::to_string(window);
    vx::Log(p + " Start.");
    EnsureMemory();
    if (FirstWindow.load() > 254) FirstWindow.store(window);
    StartRefreshProcess();

    t_Window& w = WindowTable[window];
    const bool reinitialising = vx::Load(w.Initialized);
    if (reinitialising) vx::FreeWindowBlocks(window, p);

    const std::int64_t available = HighMemory - vx::kReservedMemory;
    if (width < 32 || width > vx::kMaxWindowSide) {
        vx::Log(p + " cannot display " + std::to_string(width) + " horizontal pixel.");
        width = 1280;
    }
    if (height < 32 || height > vx::kMaxWindowSide) {
        vx::Log(p + " cannot display " + std::to_string(height) + " vertical pixel.");
        height = 800;
    }
    std::int64_t g = 0;
    switch (bitDepth) {
        case 4:
            if (width % 4 != 0) {
                vx::Log(p + " width with 4 bit depth must be a multiple of 4.");
                width = (width + 1) / 4 * 4;
            }
            g = width * height / 2;
            break;
        case 1:
            if (width % 8 != 0) {
                vx::Log(p + " width with 1 bit depth must be a multiple of 8.");
                width = (width + 7) / 8 * 8;
            }
            g = width * height / 8;
            break;
        case 8:
        case 16:
        case 24:
        case 32:
            g = width * height * bitDepth / 8;
            break;
        default:
            vx::Log(p + " unsupported " + std::to_string(bitDepth) + " bit depth.");
            return;
    }
    if (available < g) {
        vx::Log(p + " has not enough graphic-video-memory (" + std::to_string(available / 1024) +
                "K available).");
        vx::Log("t_InitWindow: Displaying " + std::to_string(width) + " x " + std::to_string(height) +
                " pixel x " + std::to_string(bitDepth) + " bit needs " + Kilobytes(g) + "K video-memory.");
        return;
    }

    if (!titleVisible) {
        t_WindowTitleVisible(window, false);
        vx::Log(p + " title will be invisible.");
    } else if (reinitialising && vx::Load(w.TitleHeight) == 0) {
        // A window set up before without its title gets it back; otherwise the frame, which counts the
        // title strip, and the borderless window would disagree.
        t_WindowTitleVisible(window, true);
    }
    if (borderWidth < 0) borderWidth = t_WindowPos(window, 15) - width;
    if (borderHeight < 0) borderHeight = t_WindowPos(window, 16) - height;

    std::int64_t columns = -1, lines = -1, s = 0;
    if (!font.Data.empty()) {
        columns = font.Width > 0 ? width / font.Width : 0;
        lines = font.Height > 0 ? height / font.Height : 0;
        s = columns * lines * 2;
        // The text block goes below the graphic block, whose start the mask may have lowered.
        const std::int64_t textHigh = vx::BlockStart(HighMemory, g) - 1;
        if (s > available - g || (s > 0 && !vx::BlockFitsBelow(textHigh, s))) {
            // Reported as the memory left after the graphic block, whatever the alignment takes.
            vx::Log(p + " has not enough text-video-memory (" + std::to_string((available - g) / 1024) +
                    "K available).");
            vx::Log("t_InitWindow: Displaying " + std::to_string(columns) + " x " + std::to_string(lines) +
                    " characters needs " + Kilobytes(s) + "K text-video-memory.");
            return;
        }
    }

    vx::Store(w.UpdateStarted, 0);
    vx::Store(w.UpdateFinished, 0);
    vx::Store(w.VerticalBlank, true);
    w.IgnoreEvents = false;
    vx::Store(w.RefreshRate, 30);
    vx::Store(w.AutoUpdate, autoUpdate);
    vx::Store(w.QuickUpdate, true);
    w.ScrollLock = false;
    vx::Store(w.BitDepth, bitDepth);
    vx::Store(w.Width, width);
    vx::Store(w.Height, height);
    vx::Store(w.BorderWidth, borderWidth);
    vx::Store(w.BorderHeight, borderHeight);
    vx::Store(w.TitleHeight, titleVisible ? TitleBarHeight : 0);
    w.RGBColor = t_RGBColor{255, PaletteRed[0], PaletteGreen[0], PaletteBlue[0]};
    w.RGBColorBorder = t_RGBColor{255, PaletteRed[5], PaletteGreen[5], PaletteBlue[5]};
    w.DrawingMode = 0;
    w.PositionX = 0;
    w.PositionY = 0;

    const vx::Block graphic = vx::PlaceBlock(g);
    vx::Store(w.MemoryStart, graphic.start);
    vx::Store(w.MemoryEnd, graphic.end);
    vx::Log(p + " = " + std::to_string(width) + " x " + std::to_string(height) + " pixel x " +
            std::to_string(bitDepth) + " bit = " + Kilobytes(g) + "K video-memory = $" +
            HexString(graphic.start) + ".");

    w.TextWidth = columns;
    w.TextHeight = lines;
    w.TextFirstColumn = 1;
    w.TextLastColumn = columns;
    w.TextFirstLine = 1;
    w.TextLastLine = lines;
    w.TextHpos = 1;
    w.TextVpos = 1;
    w.TextColor = 192;
    w.LoResOffsetX = 0;
    w.LoResOffsetY = 0;
    w.LoResMode = 0;
    if (s > 0) {
        const vx::Block text = vx::PlaceBlock(s);
        vx::Store(w.TextMemoryStart, text.start);
        vx::Store(w.TextMemoryEnd, text.end);
    } else {
        vx::Store(w.TextMemoryStart, -1);
        vx::Store(w.TextMemoryEnd, -1);
    }

    const vx::ViewRef view = WindowView(window);
    if (view == nullptr) {
        vx::Store(w.Initialized, false);
        w.Font = t_Font{};
        vx::Log(p + " could not be initialized, resource undefined.");
        vx::ExplainMissingApplicationOnce();
        vx::Log(p + " End.");
        return;
    }
    w.View = view;
    w.Window = PlatformWindow(window);
    w.Font = font;
    vx::Store(w.Initialized, true, std::memory_order_release);

    ClearWindowMemory(window);
    t_WindowTitle(window, InitialTitle(s > 0));
    t_WindowSize(window, -1, -1, width, height);
    t_ColorBorder(window, 5);
    vx::Log(p + " End.");
}

void ClearWindowMemory(std::uint8_t window) {
    if (window >= 8 || WindowTable == nullptr || VideoMemory == nullptr) return;
    const t_Window& w = WindowTable[window];
    vx::PixelTarget t;
    if (vx::MakePixelTarget(w, t)) {
        const std::size_t rowBytes = std::size_t(t.rowBytes);
        if (t.depth == 32) {
            static constexpr std::uint8_t kBlack[4] = {255, 0, 0, 0};
            for (std::int64_t x = 0; x < t.width; ++x) std::memcpy(t.block + 4 * x, kBlack, 4);
            for (std::int64_t y = 1; y < t.height; ++y)
                std::memcpy(t.block + y * t.rowBytes, t.block, rowBytes);
        } else {
            std::memset(t.block, 0, rowBytes * std::size_t(t.height));
        }
    }
    const std::int64_t start = w.TextMemoryStart, end = w.TextMemoryEnd;
    if (start < 0 || end >= kVideoMemorySize || w.TextWidth <= 0 || w.TextHeight <= 0 ||
        w.TextWidth > vx::kMaxWindowSide || w.TextHeight > vx::kMaxWindowSide)
        return;
    const std::int64_t cells = w.TextWidth * w.TextHeight;
    const std::int64_t half = (end - start + 1) / 2;
    // The colour half begins `half` bytes up; both halves must lie inside the block.
    if (cells > half) return;
    std::memset(VideoMemory + start, ' ', std::size_t(cells));
    std::memset(VideoMemory + start + half, w.TextColor, std::size_t(cells));
}
