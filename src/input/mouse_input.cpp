#include "input/mouse_input.h"

#include <string>

#include "core/log.h"
#include "core/numbers.h"
#include "core/program.h"
#include "core/state.h"
#include "display/window.h"
#include "input/events.h"
#include "vxtools/core.h"
#include "vxtools/display.h"

std::atomic<bool> LeftButtonDown{false};
std::atomic<bool> RightButtonDown{false};

namespace {

// Exact: a saturated coordinate lands on the side it came from, where wrapping would flip it.
using Wide = __int128;

std::int64_t ClickCoordinate(Wide v, std::int64_t size) {
    if (v < 0) return -1;
    if (v >= size) return -2;
    return std::int64_t(v);
}

}  // namespace

void viewMouseDown(std::uint8_t window, const vx::MouseClick& click, bool secondary) {
    if (MemoryInitialised.load()) {
        if (window >= 8 || !vx::Load(WindowRecord(window).Initialized)) {
            vx::Log("viewMouseDown: Graphic window (" + std::to_string(window) + ") not initialized.");
        } else if (!vx::Load(WindowRecord(window).IgnoreEvents)) {
            t_MouseEventHandler(window, click, click.x, click.y);
        }
    }
    LeftButtonDown.store(!secondary);
    RightButtonDown.store(secondary);
}

void viewMouseUp() {
    LeftButtonDown.store(false);
    RightButtonDown.store(false);
}

void t_MouseEventHandler(std::uint8_t window, const vx::MouseClick& click, double x, double y) {
    const std::int64_t absX = vx::TruncSaturating(x);
    const std::int64_t absY = vx::TruncSaturating(y);
    const std::int64_t now = vx::AbsoluteTimeMillis();
    std::int64_t clickX = -3;
    std::int64_t clickY = -3;
    std::string description;

    if (window >= 8) {
        vx::Log("t_MouseEventHandler: Unknown window, AbsX = " + std::to_string(absX) +
                ", AbsY = " + std::to_string(absY));
    } else if (!MemoryInitialised.load() || !vx::Load(WindowRecord(window).Initialized)) {
        vx::Log("t_MouseEventHandler: Window #" + std::to_string(window) + " not initialized.");
    } else {
        const t_Window& record = WindowRecord(window);
        const std::int64_t bw = vx::Load(record.BorderWidth);
        const std::int64_t bh = vx::Load(record.BorderHeight);
        const std::int64_t width = vx::Load(record.Width);
        const std::int64_t height = vx::Load(record.Height);
        const Wide X = Wide(absX) - bw;
        const Wide Y = Wide(bh) + height - absY;
        clickX = ClickCoordinate(X, width);
        clickY = ClickCoordinate(Y, height);
        description = "Graphic #" + std::to_string(window);

        t_Event event;
        event.Kind = 2;
        event.Index = std::int64_t(click.buttons);
        event.WindowX = absX;
        event.WindowY = absY;
        event.ClickX = clickX;
        event.ClickY = clickY;
        event.Window = window;
        event.Time = now;
        vx::SetEventModifiers(event, click.modifierFlags);
        MouseEventQueue.Append(std::move(event));
    }
    vx::Log("t_MouseEventHandler: " + description + " window, X = " + std::to_string(clickX) +
            ", Y = " + std::to_string(clickY));
    MouseEventQueue.UpdateFlag();
    RunInBackground(t_EventMouse);
    vx::Log("t_MouseEventHandler: Calling program mouse handler asynchronously.");
}

void t_MouseEventPostCloseBoxClick(std::uint8_t window) {
    t_WindowVisible(window, false);
    vx::NoteWindowClosed(window, true);
    vx::Log("t_MouseEventPostCloseBoxClick: Window = " + std::to_string(window));
}
