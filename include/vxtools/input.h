// Input as the program reads it: the three event queues with their flags, the program's handlers, and
// the held-key, modifier and button states.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "vxtools/records.h"

// The queues, the last key event and the handlers are made once and never destroyed, so that a handler
// task or the program thread still running while the process ends never meets a destroyed object.
extern vx::EventQueue<t_Event>& KeyEventQueue;
extern vx::EventQueue<t_Event>& MouseEventQueue;
extern vx::EventQueue<t_MenuEvent>& MenuEventQueue;
// The key event last taken by t_NextKeyEvent; written and read on the program thread.
extern t_Event& KeyEvent;
// The flags of the three queues. Each queue stores its flag itself, under its lock: KeyEventAvailable
// and MouseEventAvailable mirror whether their queue holds records, MenuEventAvailable is raised by
// every menu record appended. The program may clear a flag; the next post sets it right again.
extern std::atomic<bool> KeyEventAvailable;
extern std::atomic<bool> MouseEventAvailable;
extern std::atomic<bool> MenuEventAvailable;
extern vx::Handler& ProgramMouseHandler;
extern vx::Handler& ProgramMenuHandler;

// Held-key and modifier states, set on the user-interface thread and polled by the program.
extern std::atomic<bool> KeyDown;
extern std::atomic<bool> CapsLockDown;
extern std::atomic<bool> ShiftDown;
extern std::atomic<bool> ControlDown;
extern std::atomic<bool> OptionDown;
extern std::atomic<bool> CommandDown;
extern std::atomic<bool> FunctionDown;
// Button states, set on the user-interface thread.
extern std::atomic<bool> LeftButtonDown;
extern std::atomic<bool> RightButtonDown;

// Takes the oldest key event into KeyEvent and returns its Value; -1 when none is waiting.
std::int64_t t_NextKeyEvent();
// Run on background tasks after a click or an unhandled menu item; call the program's handler.
void t_EventMouse();
void t_EventMenu();
// The toolkit's number of a platform window (0..12), 255 for any other.
[[nodiscard]] std::uint8_t t_WindowNumber(vx::WindowRef window);
// The number of the application's main window, 255 when there is none or it is not the toolkit's.
[[nodiscard]] std::uint8_t t_FrontWindowNumber();
