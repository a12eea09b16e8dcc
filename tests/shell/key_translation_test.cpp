#include "shell/key_translation.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <map>

#include "qt_test_support.h"

namespace {

using vx::KeyPress;
using vx::shell::KeyCodeOfScanCode;
using vx::shell::TranslateKeyPress;

// A key press as Qt delivers it on X11: the X key code, the X state before the key, and the text.
KeyPress X11Press(int key, std::uint32_t scanCode, const QString& text, Qt::KeyboardModifiers mods = {},
                  std::uint32_t xState = 0) {
    const QKeyEvent event(QEvent::KeyPress, key, mods, scanCode, 0, xState, text);
    return TranslateKeyPress(event);
}

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

TEST(KeyTranslation, TextsAreAdjustedWhereTheToolkitExpectsOthers) {
    vxtest::StartQt();  // key events need the application's keyboard device
    const KeyPress backspace = X11Press(Qt::Key_Backspace, 22, "\b");
    EXPECT_EQ(backspace.keyCode, 51);
    EXPECT_EQ(backspace.characters, "\x7f");
    const KeyPress del = X11Press(Qt::Key_Delete, 119, "\x7f");
    EXPECT_EQ(del.characters, "\uF728");
    EXPECT_TRUE(del.modifierFlags & vx::kFunctionFlag);
    EXPECT_EQ(X11Press(Qt::Key_Enter, 104, "\r", Qt::KeypadModifier).characters, "\x03");
    EXPECT_EQ(X11Press(Qt::Key_Backtab, 23, "", Qt::ShiftModifier).characters, "\x19");
    EXPECT_EQ(X11Press(Qt::Key_F5, 71, "").characters, "\uF708");
    EXPECT_EQ(X11Press(Qt::Key_PageDown, 117, "").characters, "\uF72D");
    EXPECT_EQ(X11Press(Qt::Key_A, 38, "a").characters, "a");
    const KeyPress unknown = X11Press(Qt::Key_Print, 107, "");
    EXPECT_GE(unknown.keyCode, 128);
    EXPECT_EQ(unknown.characters, "");
}

TEST(KeyTranslation, KeypadKeysTypeTheirDigitsWhateverNumLockSays) {
    vxtest::StartQt();  // key events need the application's keyboard device
    // NumLock off: Qt reports the navigation key; the position is keypad 8 and types 8.
    const KeyPress off = X11Press(Qt::Key_Up, 80, "", Qt::KeypadModifier);
    EXPECT_EQ(off.keyCode, 91);
    EXPECT_EQ(off.characters, "8");
    EXPECT_TRUE(off.modifierFlags & vx::kNumericPadFlag);
    EXPECT_FALSE(off.modifierFlags & vx::kFunctionFlag);
    const KeyPress on = X11Press(Qt::Key_8, 80, "8", Qt::KeypadModifier, 0x10);
    EXPECT_EQ(on.keyCode, 91);
    EXPECT_EQ(on.characters, "8");
    EXPECT_EQ(X11Press(Qt::Key_Delete, 91, "", Qt::KeypadModifier).characters, ".");
}

TEST(KeyTranslation, ModifierFlagsComeFromQtAndTheXLockBit) {
    vxtest::StartQt();  // key events need the application's keyboard device
    const KeyPress shifted = X11Press(Qt::Key_A, 38, "A", Qt::ShiftModifier | Qt::ControlModifier, 0x2 | 0x1);
    EXPECT_EQ(shifted.modifierFlags, vx::kCapsLockFlag | vx::kShiftFlag | vx::kControlFlag);
    const KeyPress altSuper = X11Press(Qt::Key_B, 56, "b", Qt::AltModifier | Qt::MetaModifier);
    EXPECT_EQ(altSuper.modifierFlags, vx::kOptionFlag | vx::kCommandFlag);
    EXPECT_EQ(X11Press(Qt::Key_Left, 113, "").modifierFlags, vx::kNumericPadFlag | vx::kFunctionFlag);

    // Caps Lock toggles with its press: the X state still shows the state before it.
    const QKeyEvent on(QEvent::KeyPress, Qt::Key_CapsLock, {}, 66, 0, 0, "");
    const QKeyEvent off(QEvent::KeyPress, Qt::Key_CapsLock, {}, 66, 0, 0x2, "");
    EXPECT_TRUE(vx::shell::IsModifierKey(on));
    EXPECT_EQ(vx::shell::ModifierFlags(on), vx::kCapsLockFlag);
    EXPECT_EQ(vx::shell::ModifierFlags(off), 0u);
    // A Shift press counts as held, its release as let go.
    const QKeyEvent shiftDown(QEvent::KeyPress, Qt::Key_Shift, {}, 50, 0, 0, "");
    const QKeyEvent shiftUp(QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier, 50, 0, 0x1, "");
    EXPECT_EQ(vx::shell::ModifierFlags(shiftDown), vx::kShiftFlag);
    EXPECT_EQ(vx::shell::ModifierFlags(shiftUp), 0u);
    EXPECT_FALSE(vx::shell::IsModifierKey(QKeyEvent(QEvent::KeyPress, Qt::Key_A, {}, 38, 0, 0, "a")));
}
