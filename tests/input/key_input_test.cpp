#include "input/key_input.h"

#include <gtest/gtest.h>

#include "support/toolkit_test.h"

namespace {

using vx::KeyPress;

void StartWithWindow2() {
    vx::test::StartWithWindow(2, 8);
}

// The value a key press posts in window 2, or -1 when it posts nothing.
std::int64_t ValueOf(const KeyPress& press) {
    KeyEventQueue.Clear();
    t_KeyEventHandler(2, press);
    std::optional<t_Event> event = KeyEventQueue.TakeFirst();
    return event ? event->Value : -1;
}

constexpr std::uint64_t kOption = vx::kOptionFlag;
constexpr std::uint64_t kControl = vx::kControlFlag;
constexpr std::uint64_t kShift = vx::kShiftFlag;

}  // namespace

TEST(KeyInput, LetterPostsOneEventWithAllItsFields) {
    StartWithWindow2();
    viewKeyDown(2, KeyPress{0, "a", 0});
    ASSERT_EQ(KeyEventQueue.Count(), 1u);
    const t_Event event = *KeyEventQueue.Last();
    EXPECT_EQ(event.Kind, 1);
    EXPECT_EQ(event.Index, 0);
    EXPECT_EQ(event.Description, "a");
    EXPECT_EQ(event.Value, 97);
    EXPECT_EQ(event.Window, 2);
    EXPECT_EQ(event.WindowX, 0);
    EXPECT_EQ(event.ClickY, 0);
    EXPECT_FALSE(event.CursorKeyPressed);
    EXPECT_FALSE(event.FunctionKeyPressed);
    EXPECT_GT(event.Time, 0);
    EXPECT_TRUE(KeyEventAvailable);
    EXPECT_TRUE(KeyDown);
    viewKeyUp();
    EXPECT_FALSE(KeyDown);
}

TEST(KeyInput, CursorDeleteAndFunctionKeys) {
    StartWithWindow2();
    t_KeyEventHandler(2, KeyPress{123, "\uF702", vx::kNumericPadFlag | vx::kFunctionFlag});
    t_KeyEventHandler(2, KeyPress{51, "\x7f", 0});
    t_KeyEventHandler(2, KeyPress{122, "\uF704", vx::kFunctionFlag});
    const std::vector<t_Event> events = KeyEventQueue.Snapshot();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].Value, 8);
    EXPECT_TRUE(events[0].CursorKeyPressed);
    EXPECT_TRUE(events[0].NumericPadPressed);
    EXPECT_TRUE(events[0].FnPressed);
    EXPECT_EQ(events[0].Mods, 0xA0);
    EXPECT_EQ(events[1].Value, 127);
    EXPECT_FALSE(events[1].CursorKeyPressed);
    EXPECT_EQ(events[2].Value, 129);
    EXPECT_TRUE(events[2].FunctionKeyPressed);
    EXPECT_EQ(events[2].Description, "\uF704");
}

TEST(KeyInput, KeyTableGivesEachKeyItsValue) {
    StartWithWindow2();
    constexpr std::uint64_t kPad = vx::kNumericPadFlag, kOptPad = kOption | kPad,
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

TEST(KeyInput, NothingPostedLeavesTheFlagMirroringTheQueue) {
    StartWithWindow2();
    t_KeyEventHandler(2, KeyPress{19, "\u20AC", 0});
    EXPECT_EQ(KeyEventQueue.Count(), 0u);
    EXPECT_FALSE(KeyEventAvailable);
    t_KeyEventHandler(2, KeyPress{0, "a", 0});
    KeyEventAvailable = false;  // as a program might
    t_KeyEventHandler(2, KeyPress{19, "\u20AC", 0});
    EXPECT_TRUE(KeyEventAvailable);
}

TEST(KeyInput, ModifierStatesFollowEveryPressAndChange) {
    StartWithWindow2();
    viewFlagsChanged(vx::kShiftFlag | vx::kCapsLockFlag | vx::kCommandFlag);
    EXPECT_TRUE(ShiftDown);
    EXPECT_TRUE(CapsLockDown);
    EXPECT_TRUE(CommandDown);
    EXPECT_FALSE(ControlDown);
    t_KeyEventHandler(2, KeyPress{0, "a", vx::kControlFlag | vx::kOptionFlag | vx::kFunctionFlag});
    EXPECT_FALSE(ShiftDown);
    EXPECT_TRUE(ControlDown);
    EXPECT_TRUE(OptionDown);
    EXPECT_TRUE(FunctionDown);
    const t_Event event = *KeyEventQueue.Last();
    EXPECT_EQ(event.Mods, 0x8C);
    EXPECT_TRUE(event.ControlPressed);
    EXPECT_TRUE(event.OptionPressed);
    EXPECT_FALSE(event.ShiftPressed);
    viewFlagsChanged(0);
    EXPECT_FALSE(ControlDown || OptionDown || FunctionDown || ShiftDown || CapsLockDown || CommandDown);
}

TEST(KeyInput, WindowsThatAreNotReadyOrIgnoreEventsPostNothing) {
    StartWithWindow2();
    vx::Store(WindowRecord(2).IgnoreEvents, true);
    KeyDown = false;
    viewKeyDown(2, KeyPress{0, "a", 0});
    EXPECT_TRUE(KeyDown);
    EXPECT_EQ(KeyEventQueue.Count(), 0u);

    viewKeyDown(3, KeyPress{0, "a", 0});
    viewKeyDown(200, KeyPress{0, "a", 0});
    EXPECT_EQ(KeyEventQueue.Count(), 0u);
    EXPECT_EQ(vx::test::TakeLogLines(),
              (std::vector<std::string>{"viewKeyDown: Graphic window (3) not initialized.",
                                        "viewKeyDown: Graphic window (200) not initialized."}));
}

TEST(KeyInput, BeforeTheMemoryExistsAKeyOnlyCountsAsHeld) {
    vx::test::StartToolkit();
    viewKeyDown(0, KeyPress{53, "\x1b", 0});
    EXPECT_TRUE(KeyDown);
    EXPECT_EQ(KeyEventQueue.Count(), 0u);
    EXPECT_TRUE(vx::test::TakeLogLines().empty());
}
