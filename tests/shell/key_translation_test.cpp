#include "shell/key_translation.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <map>

#include "qt_test_support.h"

namespace {

using vx::shell::KeyCodeOfScanCode;

}  // namespace

TEST(KeyTranslation, X11KeyCodesMapToTheirPositions) {
    // The main block, then F1, F12, F13, keypad 8 and Enter, forward Delete, left, up; left Control has none.
    const std::map<std::uint32_t, std::int64_t> expected = {
        {38, 0},   {39, 1},    {40, 2},  {41, 3},   {43, 4},    {42, 5},    {52, 6},    {53, 7},  {54, 8},
        {55, 9},   {56, 11},   {24, 12}, {25, 13},  {26, 14},   {27, 15},   {29, 16},   {28, 17}, {10, 18},
        {11, 19},  {12, 20},   {13, 21}, {15, 22},  {14, 23},   {21, 24},   {18, 25},   {16, 26}, {20, 27},
        {17, 28},  {19, 29},   {35, 30}, {32, 31},  {30, 32},   {34, 33},   {31, 34},   {33, 35}, {36, 36},
        {46, 37},  {44, 38},   {48, 39}, {45, 40},  {47, 41},   {51, 42},   {59, 43},   {61, 44}, {57, 45},
        {58, 46},  {60, 47},   {23, 48}, {65, 49},  {49, 50},   {94, 10},   {22, 51},   {9, 53},  {67, 122},
        {96, 111}, {191, 105}, {80, 91}, {104, 76}, {119, 117}, {113, 123}, {111, 126}, {37, -1}};
    for (auto [scan, code] : expected) EXPECT_EQ(KeyCodeOfScanCode(scan), code) << "X key code " << scan;
}

// Key presses as Qt delivers them on X11 (the X key code, the X state before the key, the text), and
// without a key code, as on the offscreen platform, where the Qt key names the position.
TEST(KeyTranslation, PressesGetTheToolkitsCodeCharactersAndFlags) {
    vxtest::StartQt();  // key events need the application's keyboard device
    using namespace vx;
    const auto KP = Qt::KeypadModifier;
    struct Case {
        int key;
        std::uint32_t scanCode;
        const char* text;
        Qt::KeyboardModifiers mods;
        std::uint32_t xState;
        std::int64_t keyCode;
        const char* characters;
        std::uint64_t flags;
    };
    // clang-format off
    const Case cases[] = {
        {Qt::Key_Backspace, 22, "\b", {}, 0, 51, "\x7f", 0},
        {Qt::Key_Delete, 119, "\x7f", {}, 0, 117, "\uF728", kFunctionFlag},
        {Qt::Key_Enter, 104, "\r", KP, 0, 76, "\x03", kNumericPadFlag},
        {Qt::Key_Backtab, 23, "", Qt::ShiftModifier, 0x1, 48, "\x19", kShiftFlag},
        {Qt::Key_F5, 71, "", {}, 0, 96, "\uF708", kFunctionFlag},
        {Qt::Key_PageDown, 117, "", {}, 0, 121, "\uF72D", kFunctionFlag},
        {Qt::Key_Left, 113, "", {}, 0, 123, "\uF702", kNumericPadFlag | kFunctionFlag},
        {Qt::Key_Print, 107, "", {}, 0, 128 + 107, "", 0},  // no position: a code of its own
        // Keypad keys type their digits whatever NumLock says: off, Qt reports the navigation key.
        {Qt::Key_Up, 80, "", KP, 0, 91, "8", kNumericPadFlag},
        {Qt::Key_8, 80, "8", KP, 0x10, 91, "8", kNumericPadFlag},
        {Qt::Key_Delete, 91, "", KP, 0, 65, ".", kNumericPadFlag},
        // Flags come from Qt, Caps Lock from the X Lock bit.
        {Qt::Key_A, 38, "A", Qt::ShiftModifier | Qt::ControlModifier, 0x2 | 0x1, 0, "A",
         kCapsLockFlag | kShiftFlag | kControlFlag},
        {Qt::Key_B, 56, "b", Qt::AltModifier | Qt::MetaModifier, 0, 11, "b", kOptionFlag | kCommandFlag},
        // Without a key code.
        {Qt::Key_Left, 0, "", {}, 0, 123, "\uF702", kNumericPadFlag | kFunctionFlag},
        {Qt::Key_8, 0, "8", KP, 0, 91, "8", kNumericPadFlag},
        {Qt::Key_Print, 0, "", {}, 0, 255, "", 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.key) + " / " + std::to_string(c.scanCode));
        const QKeyEvent event(QEvent::KeyPress, c.key, c.mods, c.scanCode, 0, c.xState, c.text);
        const KeyPress press = vx::shell::TranslateKeyPress(event);
        EXPECT_EQ(press.keyCode, c.keyCode);
        EXPECT_EQ(press.characters, c.characters);
        EXPECT_EQ(press.modifierFlags, c.flags);
    }
}

// Shift, Control and the others go through the view; Caps Lock toggles with its press, which the X state,
// the state before it, does not show yet.
TEST(KeyTranslation, CapsLockTogglesWithItsPress) {
    vxtest::StartQt();  // key events need the application's keyboard device
    const QKeyEvent on(QEvent::KeyPress, Qt::Key_CapsLock, {}, 66, 0, 0, "");
    const QKeyEvent off(QEvent::KeyPress, Qt::Key_CapsLock, {}, 66, 0, 0x2, "");
    EXPECT_TRUE(vx::shell::IsModifierKey(on));
    EXPECT_EQ(vx::shell::ModifierFlags(on), vx::kCapsLockFlag);
    EXPECT_EQ(vx::shell::ModifierFlags(off), 0u);
}
