#include "shell/key_translation.h"

#include <QKeyEvent>

#include "core/strings.h"

namespace vx::shell {

namespace {

// X11 key codes (evdev + 8) of the keys that have a place in the positional numbering.
struct ScanCode {
    std::uint32_t scanCode;
    std::int64_t keyCode;
};

constexpr ScanCode kScanCodes[] = {
    {9, 53},    {10, 18},   {11, 19},   {12, 20},   {13, 21},   {14, 23},   {15, 22},   {16, 26},
    {17, 28},   {18, 25},   {19, 29},   {20, 27},   {21, 24},   {22, 51},   {23, 48},   {24, 12},
    {25, 13},   {26, 14},   {27, 15},   {28, 17},   {29, 16},   {30, 32},   {31, 34},   {32, 31},
    {33, 35},   {34, 33},   {35, 30},   {36, 36},   {38, 0},    {39, 1},    {40, 2},    {41, 3},
    {42, 5},    {43, 4},    {44, 38},   {45, 40},   {46, 37},   {47, 41},   {48, 39},   {49, 50},
    {51, 42},   {52, 6},    {53, 7},    {54, 8},    {55, 9},    {56, 11},   {57, 45},   {58, 46},
    {59, 43},   {60, 47},   {61, 44},   {63, 67},   {65, 49},   {67, 122},  {68, 120},  {69, 99},
    {70, 118},  {71, 96},   {72, 97},   {73, 98},   {74, 100},  {75, 101},  {76, 109},  {77, 71},
    {79, 89},   {80, 91},   {81, 92},   {82, 78},   {83, 86},   {84, 87},   {85, 88},   {86, 69},
    {87, 83},   {88, 84},   {89, 85},   {90, 82},   {91, 65},   {94, 10},   {95, 103},  {96, 111},
    {104, 76},  {106, 75},  {110, 115}, {111, 126}, {112, 116}, {113, 123}, {114, 124}, {115, 119},
    {116, 125}, {117, 121}, {118, 114}, {119, 117}, {125, 81},  {146, 114}, {191, 105}, {192, 107},
    {193, 113}, {194, 106}, {195, 64},  {196, 79},  {197, 80},  {198, 90},
};

// Without a native key code (synthetic events, the offscreen platform) the Qt key stands in for the
// position: letters and punctuation as on an ANSI layout.
struct QtKey {
    int key;
    std::int64_t keyCode;
};

constexpr QtKey kQtKeys[] = {
    {Qt::Key_A, 0},          {Qt::Key_S, 1},          {Qt::Key_D, 2},
    {Qt::Key_F, 3},          {Qt::Key_H, 4},          {Qt::Key_G, 5},
    {Qt::Key_Z, 6},          {Qt::Key_X, 7},          {Qt::Key_C, 8},
    {Qt::Key_V, 9},          {Qt::Key_B, 11},         {Qt::Key_Q, 12},
    {Qt::Key_W, 13},         {Qt::Key_E, 14},         {Qt::Key_R, 15},
    {Qt::Key_Y, 16},         {Qt::Key_T, 17},         {Qt::Key_1, 18},
    {Qt::Key_2, 19},         {Qt::Key_3, 20},         {Qt::Key_4, 21},
    {Qt::Key_6, 22},         {Qt::Key_5, 23},         {Qt::Key_Equal, 24},
    {Qt::Key_9, 25},         {Qt::Key_7, 26},         {Qt::Key_Minus, 27},
    {Qt::Key_8, 28},         {Qt::Key_0, 29},         {Qt::Key_BracketRight, 30},
    {Qt::Key_O, 31},         {Qt::Key_U, 32},         {Qt::Key_BracketLeft, 33},
    {Qt::Key_I, 34},         {Qt::Key_P, 35},         {Qt::Key_Return, 36},
    {Qt::Key_L, 37},         {Qt::Key_J, 38},         {Qt::Key_Apostrophe, 39},
    {Qt::Key_K, 40},         {Qt::Key_Semicolon, 41}, {Qt::Key_Backslash, 42},
    {Qt::Key_Comma, 43},     {Qt::Key_Slash, 44},     {Qt::Key_N, 45},
    {Qt::Key_M, 46},         {Qt::Key_Period, 47},    {Qt::Key_Tab, 48},
    {Qt::Key_Backtab, 48},   {Qt::Key_Space, 49},     {Qt::Key_QuoteLeft, 50},
    {Qt::Key_Backspace, 51}, {Qt::Key_Escape, 53},    {Qt::Key_Clear, 71},
    {Qt::Key_Enter, 76},     {Qt::Key_F1, 122},       {Qt::Key_F2, 120},
    {Qt::Key_F3, 99},        {Qt::Key_F4, 118},       {Qt::Key_F5, 96},
    {Qt::Key_F6, 97},        {Qt::Key_F7, 98},        {Qt::Key_F8, 100},
    {Qt::Key_F9, 101},       {Qt::Key_F10, 109},      {Qt::Key_F11, 103},
    {Qt::Key_F12, 111},      {Qt::Key_F13, 105},      {Qt::Key_F14, 107},
    {Qt::Key_F15, 113},      {Qt::Key_F16, 106},      {Qt::Key_F17, 64},
    {Qt::Key_F18, 79},       {Qt::Key_F19, 80},       {Qt::Key_F20, 90},
    {Qt::Key_Help, 114},     {Qt::Key_Insert, 114},   {Qt::Key_Home, 115},
    {Qt::Key_PageUp, 116},   {Qt::Key_Delete, 117},   {Qt::Key_End, 119},
    {Qt::Key_PageDown, 121}, {Qt::Key_Left, 123},     {Qt::Key_Right, 124},
    {Qt::Key_Down, 125},     {Qt::Key_Up, 126},
};

// Keypad keys by Qt key, with NumLock on and off.
constexpr QtKey kQtKeypadKeys[] = {
    {Qt::Key_0, 82},        {Qt::Key_1, 83},        {Qt::Key_2, 84},      {Qt::Key_3, 85},
    {Qt::Key_4, 86},        {Qt::Key_5, 87},        {Qt::Key_6, 88},      {Qt::Key_7, 89},
    {Qt::Key_8, 91},        {Qt::Key_9, 92},        {Qt::Key_Period, 65}, {Qt::Key_Comma, 65},
    {Qt::Key_Asterisk, 67}, {Qt::Key_Plus, 69},     {Qt::Key_Slash, 75},  {Qt::Key_Enter, 76},
    {Qt::Key_Minus, 78},    {Qt::Key_Equal, 81},    {Qt::Key_Insert, 82}, {Qt::Key_End, 83},
    {Qt::Key_Down, 84},     {Qt::Key_PageDown, 85}, {Qt::Key_Left, 86},   {Qt::Key_Clear, 87},
    {Qt::Key_Right, 88},    {Qt::Key_Home, 89},     {Qt::Key_Up, 91},     {Qt::Key_PageUp, 92},
    {Qt::Key_Delete, 65},
};

bool IsKeypadCode(std::int64_t code) {
    switch (code) {
        case 65:
        case 67:
        case 69:
        case 71:
        case 75:
        case 76:
        case 78:
        case 81:
        case 82:
        case 83:
        case 84:
        case 85:
        case 86:
        case 87:
        case 88:
        case 89:
        case 91:
        case 92:
            return true;
        default:
            return false;
    }
}

// The character a keypad key types on a keyboard whose keypad has no NumLock.
char32_t KeypadCharacter(std::int64_t code) {
    switch (code) {
        case 82:
            return U'0';
        case 83:
            return U'1';
        case 84:
            return U'2';
        case 85:
            return U'3';
        case 86:
            return U'4';
        case 87:
            return U'5';
        case 88:
            return U'6';
        case 89:
            return U'7';
        case 91:
            return U'8';
        case 92:
            return U'9';
        case 65:
            return U'.';
        default:
            return 0;
    }
}

std::int64_t KeyCodeOf(const QKeyEvent& event) {
    const std::uint32_t scanCode = event.nativeScanCode();
    if (scanCode != 0) {
        std::int64_t code = KeyCodeOfScanCode(scanCode);
        return code >= 0 ? code : 128 + std::int64_t(scanCode);
    }
    const int key = event.key();
    if (event.modifiers() & Qt::KeypadModifier) {
        for (const QtKey& k : kQtKeypadKeys)
            if (k.key == key) return k.keyCode;
    }
    for (const QtKey& k : kQtKeys)
        if (k.key == key) return k.keyCode;
    return 255;
}

// Characters of keys for which Qt gives none, or another one than the toolkit expects.
char32_t SpecialCharacter(int key) {
    switch (key) {
        case Qt::Key_Backspace:
            return 0x7F;
        case Qt::Key_Delete:
            return 0xF728;
        case Qt::Key_Enter:
            return 0x03;
        case Qt::Key_Backtab:
            return 0x19;
        case Qt::Key_Up:
            return 0xF700;
        case Qt::Key_Down:
            return 0xF701;
        case Qt::Key_Left:
            return 0xF702;
        case Qt::Key_Right:
            return 0xF703;
        case Qt::Key_Insert:
        case Qt::Key_Help:
            return 0xF727;
        case Qt::Key_Home:
            return 0xF729;
        case Qt::Key_End:
            return 0xF72B;
        case Qt::Key_PageUp:
            return 0xF72C;
        case Qt::Key_PageDown:
            return 0xF72D;
        default:
            if (key >= Qt::Key_F1 && key <= Qt::Key_F35) return char32_t(0xF704 + (key - Qt::Key_F1));
            return 0;
    }
}

}  // namespace

std::int64_t KeyCodeOfScanCode(std::uint32_t scanCode) {
    for (const ScanCode& s : kScanCodes)
        if (s.scanCode == scanCode) return s.keyCode;
    return -1;
}

bool IsModifierKey(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
        case Qt::Key_Hyper_L:
        case Qt::Key_Hyper_R:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
            return true;
        default:
            return false;
    }
}

std::uint64_t ModifierFlags(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods = event.modifiers();
    bool shift = mods & Qt::ShiftModifier;
    bool control = mods & Qt::ControlModifier;
    bool option = mods & Qt::AltModifier;
    bool command = mods & Qt::MetaModifier;
    // The Lock bit of the X state is the state before the event.
    bool capsLock = (event.nativeModifiers() & 0x2) != 0;
    const bool press = event.type() == QEvent::KeyPress;
    switch (event.key()) {
        case Qt::Key_Shift:
            shift = press;
            break;
        case Qt::Key_Control:
            control = press;
            break;
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
            option = press;
            break;
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
        case Qt::Key_Hyper_L:
        case Qt::Key_Hyper_R:
            command = press;
            break;
        // Caps Lock toggles when it goes down; its release leaves the state as the press set it.
        case Qt::Key_CapsLock:
            capsLock = press ? !capsLock : CapsLockDown.load();
            break;
        default:
            break;
    }
    std::uint64_t flags = 0;
    if (capsLock) flags |= kCapsLockFlag;
    if (shift) flags |= kShiftFlag;
    if (control) flags |= kControlFlag;
    if (option) flags |= kOptionFlag;
    if (command) flags |= kCommandFlag;
    return flags;
}

KeyPress TranslateKeyPress(const QKeyEvent& event) {
    KeyPress press;
    press.keyCode = KeyCodeOf(event);
    const bool keypad = IsKeypadCode(press.keyCode);

    char32_t special = SpecialCharacter(event.key());
    // Navigation keys on the keypad (NumLock off) still type their digits: the key code says keypad.
    if (keypad && event.key() != Qt::Key_Enter && (special != 0 || event.text().isEmpty()))
        special = KeypadCharacter(press.keyCode);
    if (special != 0) {
        AppendUtf8(press.characters, special);
    } else {
        press.characters = event.text().toStdString();
    }

    press.modifierFlags = ModifierFlags(event);
    if (keypad || (press.keyCode >= 123 && press.keyCode <= 126)) press.modifierFlags |= kNumericPadFlag;
    const std::vector<char32_t> scalars = Utf8Scalars(press.characters);
    if (!scalars.empty() && scalars.front() >= 0xF700 && scalars.front() <= 0xF8FF)
        press.modifierFlags |= kFunctionFlag;
    return press;
}

}  // namespace vx::shell
