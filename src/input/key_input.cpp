#include "input/key_input.h"

#include <string>

#include "core/clock.h"
#include "core/log.h"
#include "core/state.h"
#include "core/strings.h"
#include "display/window.h"
#include "input/events.h"
#include "text/output.h"

std::atomic<bool> KeyDown{false};
std::atomic<bool> CapsLockDown{false};
std::atomic<bool> ShiftDown{false};
std::atomic<bool> ControlDown{false};
std::atomic<bool> OptionDown{false};
std::atomic<bool> CommandDown{false};
std::atomic<bool> FunctionDown{false};

namespace {

using vx::KeyPress;

struct FixedKey {
    std::int64_t keyCode;
    std::int64_t value;
    bool cursorKey;
};

// Keys whose value does not depend on what they typed (Tab and L have conditions of their own).
constexpr FixedKey kFixedKeys[] = {
    {51, 127, false},  // Delete (backspace)
    {117, 7, false},   // forward delete
    {71, 27, false},   // keypad Clear
    {76, 13, false},   // keypad Enter
    {115, 2, true},    // Home
    {116, 18, true},   // Page Up
    {119, 5, true},    // End
    {121, 3, true},    // Page Down
    {123, 8, true},    // left arrow
    {124, 21, true},   // right arrow
    {125, 10, true},   // down arrow
    {126, 11, true},   // up arrow
};

// Option characters and dead keys: what the key typed (0 for nothing) decides the value.
struct OptionKey {
    std::int64_t keyCode;
    char32_t character;
    std::int64_t value;
};

constexpr OptionKey kOptionKeys[] = {
    {0, U'\u00E5', 176},  {1, U'\u201A', 168},  {2, U'\u2202', 173},  {3, U'\u0192', 130},
    {4, U'\u00AA', 131},  {7, U'\u2248', 132},  {9, U'\u221A', 253},  {10, 0, 94},
    {11, U'\u222B', 222}, {13, U'\u2211', 221}, {14, U'\u20AC', 164}, {16, U'\u03A9', 128},
    {17, U'\u2020', 189}, {19, U'\u201C', 163}, {27, U'\u00BF', 166}, {29, U'\u2260', 172},
    {32, 0, 175},         {33, U'\u2022', 184}, {34, U'\u2044', 129}, {35, U'\u03C0', 240},
    {35, U'\u220F', 208}, {38, U'\u00BA', 183}, {40, U'\u2206', 254}, {41, U'\u0153', 190},
    {42, U'\u2018', 180}, {43, U'\u221E', 255}, {44, U'\u2013', 154}, {47, U'\u2026', 191},
    {50, U'\u2264', 197}, {50, U'\u2265', 198},
};

// Keypad 0..6 with Option.
struct KeypadKey {
    std::int64_t keyCode;
    std::int64_t value;
};

constexpr KeypadKey kKeypadOptionKeys[] = {
    {82, 216}, {83, 185}, {84, 178}, {85, 179}, {86, 170}, {87, 215}, {88, 186},
};

void UpdateModifierStates(std::uint64_t flags) {
    CapsLockDown.store((flags & vx::kCapsLockFlag) != 0);
    ShiftDown.store((flags & vx::kShiftFlag) != 0);
    ControlDown.store((flags & vx::kControlFlag) != 0);
    OptionDown.store((flags & vx::kOptionFlag) != 0);
    CommandDown.store((flags & vx::kCommandFlag) != 0);
    FunctionDown.store((flags & vx::kFunctionFlag) != 0);
}

// Decides the value of a key press. False when the key posts nothing.
bool DecideValue(std::uint8_t window, const KeyPress& press, char32_t c, std::int64_t& value, bool& cursorKey,
                 bool& functionKey) {
    const std::int64_t code = press.keyCode;
    const std::uint64_t flags = press.modifierFlags;
    const bool option = (flags & vx::kOptionFlag) != 0;
    const bool control = (flags & vx::kControlFlag) != 0;
    const bool shift = (flags & vx::kShiftFlag) != 0;

    for (const FixedKey& key : kFixedKeys) {
        if (key.keyCode == code) {
            value = key.value;
            cursorKey = key.cursorKey;
            return true;
        }
    }
    if (code == 48 && c == 0x19) {
        value = 20;
        return true;
    }
    if (code == 37 && c == 0x0C && option) {
        value = 0;
        return true;
    }
    if (code == 24 && c == 0) {
        value = shift ? 96 : 180;
        return true;
    }
    if (code == 45 && c == 0 && option) {
        value = 126;
        return true;
    }
    for (const OptionKey& key : kOptionKeys) {
        if (key.keyCode == code && key.character == c) {
            value = key.value;
            return true;
        }
    }
    if (option) {
        for (const KeypadKey& key : kKeypadOptionKeys) {
            if (key.keyCode == code) {
                value = key.value;
                return true;
            }
        }
    }
    if (code == 89 || code == 91 || code == 92) {
        if (option) {
            c = code == 89 ? 229 : code == 91 ? 230 : 188;
        } else if (control) {
            t_RedirectOutput(window, code == 89 ? 0 : code == 91 ? 2 : 1);
            return false;
        }
    }

    // The general rule.
    if (c <= 255) {
        value = c;
        return true;
    }
    if (c < 0xF704) return false;
    value = std::int64_t(c) - 0xF683;
    functionKey = true;
    return true;
}

}  // namespace

void t_KeyEventHandler(std::uint8_t window, const KeyPress& press) {
    const std::vector<char32_t> scalars = vx::Utf8Scalars(press.characters);
    const char32_t c = scalars.empty() ? 0 : scalars.front();
    const std::int64_t now = vx::AbsoluteTimeMillis();
    UpdateModifierStates(press.modifierFlags);

    std::int64_t value = 0;
    bool cursorKey = false;
    bool functionKey = false;
    if (DecideValue(window, press, c, value, cursorKey, functionKey)) {
        t_Event event;
        event.Kind = 1;
        event.Index = press.keyCode;
        event.Description = press.characters;
        event.Value = value;
        event.Window = window;
        event.Time = now;
        vx::SetEventModifiers(event, press.modifierFlags);
        event.CursorKeyPressed = cursorKey;
        event.FunctionKeyPressed = functionKey;
        KeyEventQueue.Append(std::move(event));
    }
    KeyEventQueue.UpdateFlag();
}

void viewKeyDown(std::uint8_t window, const KeyPress& press) {
    if (MemoryInitialised.load()) {
        if (window >= 8 || !vx::Load(WindowRecord(window).Initialized)) {
            vx::Log("viewKeyDown: Graphic window (" + std::to_string(window) + ") not initialized.");
        } else if (!vx::Load(WindowRecord(window).IgnoreEvents)) {
            t_KeyEventHandler(window, press);
        }
    }
    KeyDown.store(true);
}

void viewKeyUp() {
    KeyDown.store(false);
}

void viewFlagsChanged(std::uint64_t modifierFlags) {
    UpdateModifierStates(modifierFlags);
}
