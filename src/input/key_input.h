// Keyboard input of the graphic views: key presses become key events, modifier keys become states.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "input/events.h"

namespace vx {

// A key press as a platform layer hands it over, already translated: the positional key code, the
// characters the key typed (UTF-8) and the modifier flags (input/events.h).
struct KeyPress {
    std::int64_t keyCode = 0;
    std::string characters;
    std::uint64_t modifierFlags = 0;
};

}  // namespace vx

// A key press in graphic view `window`: posts a key event unless the window is not ready or ignores
// events, and marks a key as held in every case.
void viewKeyDown(std::uint8_t window, const vx::KeyPress& press);
// A key release in a graphic view.
void viewKeyUp();
// The modifier keys changed: the six modifier states follow the flags.
void viewFlagsChanged(std::uint64_t modifierFlags);
// Turns one key press into at most one key event, or switches the window's output channel.
void t_KeyEventHandler(std::uint8_t window, const vx::KeyPress& press);
