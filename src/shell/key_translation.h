// Qt key events in the toolkit's terms: positional key codes, the characters the toolkit expects for
// editing and navigation keys, and modifier flags.
#pragma once

#include <cstdint>

#include "input/key_input.h"

class QKeyEvent;

namespace vx::shell {

// True for presses and releases of Shift, Control, Alt, Super, Caps Lock and NumLock: these change
// modifiers and are not key presses.
bool IsModifierKey(const QKeyEvent& event);
// The modifier flags in force after this event (a Caps Lock press already counts as toggled).
std::uint64_t ModifierFlags(const QKeyEvent& event);
// The whole translation of a key press.
KeyPress TranslateKeyPress(const QKeyEvent& event);
// The positional key code of an X11 key code (evdev + 8); -1 when the key has no place in it.
std::int64_t KeyCodeOfScanCode(std::uint32_t scanCode);

}  // namespace vx::shell
