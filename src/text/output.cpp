#include "text/output.h"

#include <atomic>
#include <limits>
#include <string>

#include "core/log.h"
#include "core/state.h"
#include "core/strings.h"
#include "text/cursor.h"
#include "text/glyph.h"
#include "text/scrolling.h"
#include "vxtools/core.h"
#include "vxtools/display.h"
#include "vxtools/graphics.h"

namespace vx::text {
namespace {

constexpr std::int64_t kEscapePending = 99;

void Draw(std::uint8_t window, t_Window& w, std::uint8_t code) {
    PrintSymbolReady(window, w, code, w.TextColor, w.TextHpos, w.TextVpos);
    CursorRight(window, w);
}

void TabTo(std::uint8_t window, t_Window& w, std::int64_t stop) {
    if (stop <= Load(w.TextWidth) - ClampedArea(w).firstColumn + 1) {
        PrintTab(window, w, stop, 32);
    } else {
        ClearEndOfLine(window, w);
        Cr(window, w);
    }
}

// The first stop of a grid of `every` columns after the stop that holds `column`; a cursor that a program
// has written near the end of the 64-bit range gives the last column there is instead of overflowing.
std::int64_t NextTabStop(std::int64_t column, std::int64_t every) {
    const std::int64_t stop = column / every * every;
    return stop > std::numeric_limits<std::int64_t>::max() - every - 1
               ? std::numeric_limits<std::int64_t>::max()
               : stop + every + 1;
}

// The command after ESC; true when c was one (the mode then returns to 0).
bool EscapeCommand(std::uint8_t window, t_Window& w, std::int64_t c, std::uint8_t& colour) {
    const std::uint8_t k = colour;
    if (c >= 64 && c <= 79)
        colour = std::uint8_t((c - 64) * 16 + (k & 15));
    else if (c >= 80 && c <= 95)
        colour = std::uint8_t((k & 240) + (c - 80));
    else if (c == 'e')
        CursorEnd(window, w);
    else if (c == 'f')
        Htab(window, w, Load(w.TextWidth) - ClampedArea(w).firstColumn + 1);
    else if (c == 'i')
        TabTo(window, w, NextTabStop(w.TextHpos, 10));
    else if (c == 'j')
        TabTo(window, w, NextTabStop(w.TextHpos, 20));
    else if (c == 'k')
        TabTo(window, w, NextTabStop(w.TextHpos, 40));
    else if (c >= 110 && c <= 127)
        t_ColorBorder(window, c - 110);
    else
        return false;
    return true;
}

}  // namespace

t_DisplayModeResult ApplyDisplayMode(std::uint8_t window, t_Window& w, std::int64_t c) {
    t_DisplayModeResult result{c, w.TextInverse, w.TextColor};
    switch (w.TextDisplayMode) {
        case 1:
            if (c >= 32 && c <= 127) result.Code = c + 128;
            break;
        case 2:
            if (c >= 64 && c <= 95)
                result.Code = c - 64;
            else if (c >= 96 && c <= 127)
                result.Code = c + 32;
            break;
        case 3:
            if (c <= 31) {
                w.TextInverse = true;
                result.Code = c + 64;
            }
            break;
        case 4:
            if (c <= 31) {
                t_Color(window, 1);
                result.Code = c + 64;
            }
            break;
        case kEscapePending:
            if (EscapeCommand(window, w, c, result.Color)) {
                result.Code = -1;
                w.TextDisplayMode = 0;
            }
            break;
        default:
            break;
    }
    return result;
}

void PrintChar(std::uint8_t window, t_Window& w, std::uint8_t code) {
    const t_DisplayModeResult r = ApplyDisplayMode(window, w, code);
    if (r.Code >= 0 && r.Code <= 255) Draw(window, w, std::uint8_t(r.Code));
    w.TextInverse = r.Inverse;
    w.TextColor = r.Color;
}

void PrintTab(std::uint8_t window, t_Window& w, std::int64_t column, std::uint8_t code) {
    if (column <= w.TextHpos) return;
    // A column more than a whole screen away (a cursor or column far outside the grid) would print for
    // hours without showing more than one screen could; such a request is refused.
    const std::int64_t cells = Load(w.TextWidth) * Load(w.TextHeight);
    const std::uint64_t distance =
        std::uint64_t(column) - std::uint64_t(w.TextHpos);  // exact: column > TextHpos
    if (distance > std::uint64_t(cells < 0 ? 0 : cells)) {
        Log("t_PrintTab: Window #" + std::to_string(window) + " column " + std::to_string(column) +
            " is more than a screen away from the cursor.");
        return;
    }
    for (std::uint64_t i = 0; i < distance; ++i) PrintChar(window, w, code);
}

}  // namespace vx::text

namespace {

// After the specified line for a window that is set up without a text layer, one line (once per
// process) says what gives it one.
void ExplainMissingTextLayerOnce(std::uint8_t window) {
    static std::atomic<bool> explained{false};
    if (window >= 8 || !MemoryInitialised.load(std::memory_order_acquire) ||
        !vx::Load(WindowTable[window].Initialized, std::memory_order_acquire) ||
        vx::Load(WindowTable[window].TextMemoryStart) >= 0 || explained.exchange(true))
        return;
    vx::Log("t_Print: Window #" + std::to_string(window) +
            " has no text layer: give t_InitWindow a font, such as vx::ReadyFont(), to print in it.");
}

}  // namespace

void t_Print(std::uint8_t window, std::string_view text) {
    if (!CheckWindow("t_Print", window, true)) {
        ExplainMissingTextLayerOnce(window);
        return;
    }
    t_Window& w = WindowRecord(window);
    if (w.Font.Data.empty()) {
        vx::Log("t_Print: Window #" + std::to_string(window) + " has no text font.");
        return;
    }
    for (std::size_t i = 0; i < text.size();) {
        const char32_t v = vx::NextUtf8Scalar(text, i);
        if (v <= 31 && w.TextDisplayMode <= 2) {
            if (v == 13) CheckOutputPause(19, true);
            t_PrintControl(window, std::uint8_t(v));
            continue;
        }
        const t_DisplayModeResult r = vx::text::ApplyDisplayMode(window, w, v);
        if (r.Code > 255) {
            if (w.TextDisplayMode == 4) t_Color(window, 1);
            vx::text::Draw(window, w, '?');
        } else if (r.Code >= 0) {
            vx::text::Draw(window, w, std::uint8_t(r.Code));
        }
        w.TextInverse = r.Inverse;
        w.TextColor = r.Color;
    }
    CheckOutputPause(19, true);
}

void t_PrintChar(std::uint8_t window, std::uint8_t code) {
    if (!CheckWindow("t_PrintChar", window, true)) return;
    vx::text::PrintChar(window, WindowRecord(window), code);
}

void t_PrintTab(std::uint8_t window, std::int64_t column, std::uint8_t code) {
    if (!CheckWindow("t_PrintTab", window, true)) return;
    vx::text::PrintTab(window, WindowRecord(window), column, code);
}

t_DisplayModeResult t_ApplyDisplayMode(std::uint8_t window, std::int64_t code) {
    if (!CheckWindow("t_ApplyDisplayMode", window, true)) return {-2, false, 240};
    return vx::text::ApplyDisplayMode(window, WindowRecord(window), code);
}

void t_PrintControl(std::uint8_t window, std::uint8_t code) {
    using namespace vx::text;
    if (window >= 8) {
        vx::Log("t_PrintControl: Window is not a graphic window.");
        return;
    }
    if (!MemoryInitialised.load(std::memory_order_acquire)) {
        vx::Log("t_PrintControl: Window #" + std::to_string(window) + " not initialized.");
        return;
    }
    t_Window& w = WindowRecord(window);
    const std::int64_t redirect = vx::Load(w.TextRedirectOutput);
    if (!vx::Load(w.Initialized, std::memory_order_acquire) || vx::Load(w.TextMemoryStart) < 0 ||
        redirect != 1) {
        if (redirect == 2)
            WriteCharacter(code);
        else if (redirect == 1)
            vx::Log("t_PrintControl: Window #" + std::to_string(window) + " not initialized.");
        return;
    }
    switch (code) {
        case 7:
            SystemBeep();
            break;
        case 8:
            CursorLeft(window, w);
            break;
        case 10:
            CursorDown(window, w);
            break;
        case 11:
            ClearEndOfWindow(window, w);
            break;
        case 12:
            CursorHome(window, w);
            ClearEndOfWindow(window, w);
            break;
        case 13:
            Cr(window, w);
            break;
        case 14:
            w.TextInverse = false;
            break;
        case 15:
            w.TextInverse = true;
            break;
        case 17:
            w.TextInverse = !w.TextInverse;
            break;
        case 18:
            Htab(window, w, 1);
            break;
        case 19:
            w.TextDisplayMode = 0;
            break;
        case 20:
            w.TextDisplayMode = 1;
            break;
        case 22:
            ScrollDown(window, w);
            break;
        case 23:
            ScrollUp(window, w);
            break;
        case 25:
            CursorHome(window, w);
            break;
        case 26:
            Htab(window, w, 1);
            ClearEndOfLine(window, w);
            break;
        case 27:
            w.TextDisplayMode = vx::text::kEscapePending;
            break;
        case 28:
            CursorRight(window, w);
            break;
        case 29:
            ClearEndOfLine(window, w);
            break;
        case 30:
            CursorUp(window, w);
            break;
        case 31:
            w.TextDisplayMode = 2;
            break;
        default:
            break;
    }
}

void t_DisplayMode(std::uint8_t window, std::int64_t mode) {
    if (CheckWindow("t_DisplayMode", window, false)) WindowRecord(window).TextDisplayMode = mode;
}

void t_Normal(std::uint8_t window) {
    if (CheckWindow("t_Normal", window, false)) WindowRecord(window).TextInverse = false;
}

void t_Inverse(std::uint8_t window) {
    if (CheckWindow("t_Inverse", window, false)) WindowRecord(window).TextInverse = true;
}

void t_Reverse(std::uint8_t window) {
    if (!CheckWindow("t_Reverse", window, false)) return;
    t_Window& w = WindowRecord(window);
    w.TextInverse = !w.TextInverse;
}
