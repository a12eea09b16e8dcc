#include "input/events.h"

#include "core/program.h"
#include "core/threads.h"

// Constant-initialised, so the flags exist before any queue that refers to them is made.
constinit std::atomic<bool> KeyEventAvailable{false};
constinit std::atomic<bool> MouseEventAvailable{false};
constinit std::atomic<bool> MenuEventAvailable{false};
vx::EventQueue<t_Event>& KeyEventQueue =
    *new vx::EventQueue<t_Event>(KeyEventAvailable, vx::FlagRule::kMirror);
vx::EventQueue<t_Event>& MouseEventQueue =
    *new vx::EventQueue<t_Event>(MouseEventAvailable, vx::FlagRule::kMirror);
vx::EventQueue<t_MenuEvent>& MenuEventQueue =
    *new vx::EventQueue<t_MenuEvent>(MenuEventAvailable, vx::FlagRule::kRaiseOnAppend);
t_Event& KeyEvent = *new t_Event;
vx::Handler& ProgramMouseHandler = *new vx::Handler;
vx::Handler& ProgramMenuHandler = *new vx::Handler;

void vx::SetEventModifiers(t_Event& event, std::uint64_t flags) {
    event.Mods = std::int64_t((flags >> 16) & 0xFFFF);
    event.CapsLockPressed = (flags & kCapsLockFlag) != 0;
    event.ShiftPressed = (flags & kShiftFlag) != 0;
    event.ControlPressed = (flags & kControlFlag) != 0;
    event.OptionPressed = (flags & kOptionFlag) != 0;
    event.CommandPressed = (flags & kCommandFlag) != 0;
    event.NumericPadPressed = (flags & kNumericPadFlag) != 0;
    event.HelpPressed = (flags & kHelpFlag) != 0;
    event.FnPressed = (flags & kFunctionFlag) != 0;
}

std::int64_t t_NextKeyEvent() {
    if (!KeyEventAvailable.load()) return -1;
    // Taking the record sets the flag in the same step, under the queue's lock.
    std::optional<t_Event> first = KeyEventQueue.TakeFirst();
    if (!first) return -1;
    KeyEvent = std::move(*first);
    return KeyEvent.Value;
}

void t_EventMouse() {
    if (CurrentThreadNumber() >= 3) vx::SetCurrentThreadName("t_EventMouse");
    ProgramMouseHandler();
}

void t_EventMenu() {
    if (CurrentThreadNumber() >= 3) vx::SetCurrentThreadName("t_EventMenu");
    ProgramMenuHandler();
}

namespace {

// The comparison itself; runs on the user-interface thread.
std::uint8_t NumberOfWindow(vx::WindowRef window) {
    if (window == nullptr) return 255;
    vx::Platform& platform = vx::CurrentPlatform();
    // The order of the auxiliary windows is the order in which the outlets are compared.
    for (int n : {9, 10, 8, 11, 12}) {
        vx::WindowRef candidate = platform.auxiliaryWindow(n);
        if (candidate != nullptr && candidate == window) return std::uint8_t(n);
    }
    for (int n = 0; n < 8; ++n) {
        vx::ViewRef view = platform.graphicView(n);
        if (view == nullptr) continue;
        vx::WindowRef candidate = platform.windowOfView(view);
        if (candidate != nullptr && candidate == window) return std::uint8_t(n);
    }
    return 255;
}

}  // namespace

std::uint8_t t_WindowNumber(vx::WindowRef window) {
    // A value-initialised result (0) would name window 0 when the hand-over cannot run at exit.
    std::uint8_t number = 255;
    OnUserInterfaceThread([&] { number = NumberOfWindow(window); });
    return number;
}

std::uint8_t t_FrontWindowNumber() {
    std::uint8_t number = 255;
    OnUserInterfaceThread([&] { number = NumberOfWindow(vx::CurrentPlatform().mainWindow()); });
    return number;
}
