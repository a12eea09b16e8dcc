#include "input/key_input.h"

#include <gtest/gtest.h>

#include "support/toolkit_test.h"

namespace {

using vx::KeyPress;

// The value a key press posts in window 2, or -1 when it posts nothing.
std::int64_t ValueOf(const KeyPress& press) {
    KeyEventQueue.Clear();
    t_KeyEventHandler(2, press);
    std::optional<t_Event> event = KeyEventQueue.TakeFirst();
    return event ? event->Value : -1;
}

}  // namespace

// Only a ready window that takes events posts the key; before the memory exists nothing is logged.
TEST(KeyInput, ReadyWindowsPostTheKeyAndEveryKeyCountsAsHeldUntilReleased) {
    vx::test::StartToolkit();
    viewKeyDown(0, KeyPress{53, "\x1b", 0});
    EXPECT_TRUE(KeyDown);
    EXPECT_EQ(KeyEventQueue.Count(), 0u);
    EXPECT_TRUE(vx::test::TakeLogLines().empty());

    vx::test::StartWithWindow(2, 8);
    viewKeyDown(2, KeyPress{0, "a", 0});
    viewKeyUp();
    EXPECT_FALSE(KeyDown);
    vx::Store(WindowRecord(2).IgnoreEvents, true);
    for (std::uint8_t window : {2, 3, 200}) viewKeyDown(window, KeyPress{0, "b", 0});
    EXPECT_TRUE(KeyDown);
    ASSERT_EQ(KeyEventQueue.Count(), 1u);
    const t_Event event = *KeyEventQueue.Last();
    EXPECT_EQ(event.Value, 'a');
    EXPECT_EQ(event.Description, "a");
    EXPECT_EQ(event.Window, 2);
    EXPECT_EQ(vx::test::TakeLogLines(),
              (std::vector<std::string>{"viewKeyDown: Graphic window (3) not initialized.",
                                        "viewKeyDown: Graphic window (200) not initialized."}));
}

TEST(KeyInput, KeyTableGivesEachKeyItsValue) {
    vx::test::StartWithWindow(2, 8);
    constexpr std::uint64_t kOption = vx::kOptionFlag, kControl = vx::kControlFlag, kShift = vx::kShiftFlag,
                            kPad = vx::kNumericPadFlag, kOptPad = kOption | kPad,
                            kOptShift = kOption | kShift, kOptCtrl = kOption | kControl;
    struct Case {
        std::int64_t code;
        const char* characters;
        std::uint64_t flags;
        std::int64_t value;  // -1: nothing posted
    };
    // Fixed keys ignore what they typed; Help has no row, so its private-use character makes it a function
    // key (value 0xA4). Conditional rows apply only when their condition holds (45 is a dead key without a
    // row). Option characters match key and character together: on other keys they have no row, and above
    // U+00FF they post nothing, while Latin-1 characters post their code whatever the key. Then the keypad.
    // clang-format off
    const Case cases[] = {
        {117, "x", 0, 7}, {71, "x", 0, 27}, {76, "x", 0, 13}, {115, "x", 0, 2}, {116, "x", 0, 18},
        {119, "x", 0, 5}, {121, "x", 0, 3}, {124, "x", 0, 21}, {125, "x", 0, 10}, {126, "x", 0, 11},
        {123, "\uF702", 0, 8}, {51, "\x7f", 0, 127}, {122, "\uF704", 0, 129},
        {114, "\uF727", 0, 0xA4}, {48, "\x19", kShift, 20}, {48, "\t", 0, 9}, {37, "\x0c", kOption, 0},
        {37, "\x0c", kControl, 12}, {24, "", kShift, 96}, {24, "", 0, 180}, {45, "", kOption, 126},
        {45, "", 0, 0}, {10, "", 0, 94}, {0, "\u00E5", kOption, 176}, {2, "\u2202", kOption, 173},
        {35, "\u03C0", kOption, 240}, {35, "\u220F", kOptShift, 208}, {50, "\u2264", kOption, 197},
        {50, "\u2265", kOptShift, 198}, {14, "\u20AC", kOption, 164}, {3, "\u2202", kOption, -1},
        {19, "\u20AC", kOption, -1}, {41, "\u00F6", 0, 0xF6}, {82, "0", kOptPad, 216},
        {83, "0", kOptPad, 185}, {84, "0", kOptPad, 178}, {85, "0", kOptPad, 179}, {86, "0", kOptPad, 170},
        {87, "0", kOptPad, 215}, {88, "0", kOptPad, 186}, {89, "7", kOption, 229}, {91, "8", kOptCtrl, 230},
        {92, "9", kOption, 188}, {91, "8", 0, '8'}};
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(ValueOf(KeyPress{c.code, c.characters, c.flags}), c.value)
            << "key code " << c.code << ", flags " << c.flags;
    for (std::int64_t code = 82; code <= 88; ++code) EXPECT_EQ(ValueOf(KeyPress{code, "5", kPad}), '5');

    // The keypad with Control switches the output channel and posts nothing.
    for (auto [code, channel] : {std::pair{91, 2}, {89, 0}, {92, 1}}) {
        EXPECT_EQ(ValueOf(KeyPress{code, "8", kControl}), -1);
        EXPECT_EQ(WindowRecord(2).TextRedirectOutput, channel);
    }
}

TEST(KeyInput, ModifierStatesFollowEveryPressAndChangeAndTheEventMarksTheKeyKind) {
    vx::test::StartWithWindow(2, 8);
    viewFlagsChanged(vx::kShiftFlag | vx::kCapsLockFlag | vx::kCommandFlag);
    EXPECT_TRUE(ShiftDown && CapsLockDown && CommandDown && !ControlDown);
    t_KeyEventHandler(2, KeyPress{123, "\uF702", vx::kNumericPadFlag | vx::kFunctionFlag});
    t_KeyEventHandler(2, KeyPress{122, "\uF704", vx::kControlFlag | vx::kOptionFlag | vx::kFunctionFlag});
    EXPECT_TRUE(ControlDown && OptionDown && FunctionDown && !ShiftDown);
    const std::vector<t_Event> events = KeyEventQueue.Snapshot();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_TRUE(events[0].CursorKeyPressed && events[0].NumericPadPressed && events[0].FnPressed);
    EXPECT_TRUE(events[1].FunctionKeyPressed && events[1].ControlPressed && events[1].OptionPressed);
    EXPECT_FALSE(events[0].FunctionKeyPressed || events[1].CursorKeyPressed || events[1].ShiftPressed);
    EXPECT_EQ(events[0].Mods, 0xA0);
    EXPECT_EQ(events[1].Mods, 0x8C);
    viewFlagsChanged(0);
    EXPECT_FALSE(ControlDown || OptionDown || FunctionDown || ShiftDown || CapsLockDown || CommandDown);
}
