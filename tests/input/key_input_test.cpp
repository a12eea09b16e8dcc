#include "input/key_input.h"

#include <gtest/gtest.h>

#include "core/clock.h"
#include "display/window.h"
#include "display/window_init.h"
#include "input/events.h"
#include "support/toolkit_test.h"

namespace {

using vx::KeyPress;

// The refresh process that window set-up starts logs its first line on its own thread; wait for it so
// that it does not land in the middle of a test's log.
void WaitForRefreshProcess() {
    for (int i = 0; i < 5000 && !vx::test::LogContains("t_WindowAutoUpdateProcess: Start."); ++i)
        vx::SleepNanoseconds(1'000'000);
}

// Window 2 set up, the queue empty, the log cleared.
void StartWithWindow2() {
    vx::test::StartToolkit();
    t_InitWindow(2, 8, false, 64, 64, 0, 0, t_Font{}, true);
    WaitForRefreshProcess();
    KeyEventQueue.Clear();
    KeyEventAvailable = false;
    vx::test::TakeLogLines();
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

TEST(KeyInput, LetterPostsOneEventWithTheSpecifiedFields) {
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

TEST(KeyInput, FixedKeysIgnoreWhatTheyTyped) {
    StartWithWindow2();
    struct Case {
        std::int64_t code, value;
    };
    for (Case c : {Case{117, 7}, Case{71, 27}, Case{76, 13}, Case{115, 2}, Case{116, 18}, Case{119, 5},
                   Case{121, 3}, Case{124, 21}, Case{125, 10}, Case{126, 11}})
        EXPECT_EQ(ValueOf(KeyPress{c.code, "x", 0}), c.value) << "key code " << c.code;
    // Help: no row, so the private-use character makes it a function key.
    EXPECT_EQ(ValueOf(KeyPress{114, "\uF727", 0}), 0xF727 - 0xF683);
}

TEST(KeyInput, ConditionalRowsApplyOnlyWhenTheirConditionHolds) {
    StartWithWindow2();
    EXPECT_EQ(ValueOf(KeyPress{48, "\x19", kShift}), 20);  // back-tab
    EXPECT_EQ(ValueOf(KeyPress{48, "\t", 0}), 9);
    EXPECT_EQ(ValueOf(KeyPress{37, "\x0c", kOption}), 0);
    EXPECT_EQ(ValueOf(KeyPress{37, "\x0c", kControl}), 12);
    EXPECT_EQ(ValueOf(KeyPress{24, "", kShift}), 96);
    EXPECT_EQ(ValueOf(KeyPress{24, "", 0}), 180);
    EXPECT_EQ(ValueOf(KeyPress{45, "", kOption}), 126);
    EXPECT_EQ(ValueOf(KeyPress{45, "", 0}), 0);  // a dead key without a row
    EXPECT_EQ(ValueOf(KeyPress{10, "", 0}), 94);
}

TEST(KeyInput, OptionCharactersMatchKeyAndCharacterTogether) {
    StartWithWindow2();
    EXPECT_EQ(ValueOf(KeyPress{0, "\u00E5", kOption}), 176);
    EXPECT_EQ(ValueOf(KeyPress{2, "\u2202", kOption}), 173);
    EXPECT_EQ(ValueOf(KeyPress{35, "\u03C0", kOption}), 240);
    EXPECT_EQ(ValueOf(KeyPress{35, "\u220F", kOption | kShift}), 208);
    EXPECT_EQ(ValueOf(KeyPress{50, "\u2264", kOption}), 197);
    EXPECT_EQ(ValueOf(KeyPress{50, "\u2265", kOption | kShift}), 198);
    EXPECT_EQ(ValueOf(KeyPress{14, "\u20AC", kOption}), 164);
    // The same characters on other keys have no row; above U+00FF they post nothing.
    EXPECT_EQ(ValueOf(KeyPress{3, "\u2202", kOption}), -1);
    EXPECT_EQ(ValueOf(KeyPress{19, "\u20AC", kOption}), -1);
    // Latin-1 characters post their code, whatever the key.
    EXPECT_EQ(ValueOf(KeyPress{41, "\u00F6", 0}), 0xF6);
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

TEST(KeyInput, KeypadWithOptionAndControl) {
    StartWithWindow2();
    const std::int64_t values[] = {216, 185, 178, 179, 170, 215, 186};
    for (std::int64_t code = 82; code <= 88; ++code) {
        EXPECT_EQ(ValueOf(KeyPress{code, "0", kOption | vx::kNumericPadFlag}), values[code - 82]);
        EXPECT_EQ(ValueOf(KeyPress{code, "5", vx::kNumericPadFlag}), '5');
    }
    EXPECT_EQ(ValueOf(KeyPress{89, "7", kOption}), 229);
    EXPECT_EQ(ValueOf(KeyPress{91, "8", kOption | kControl}), 230);
    EXPECT_EQ(ValueOf(KeyPress{92, "9", kOption}), 188);
    EXPECT_EQ(ValueOf(KeyPress{91, "8", 0}), '8');

    EXPECT_EQ(ValueOf(KeyPress{91, "8", kControl}), -1);
    EXPECT_EQ(WindowRecord(2).TextRedirectOutput, 2);
    EXPECT_EQ(ValueOf(KeyPress{89, "7", kControl}), -1);
    EXPECT_EQ(WindowRecord(2).TextRedirectOutput, 0);
    EXPECT_EQ(ValueOf(KeyPress{92, "9", kControl}), -1);
    EXPECT_EQ(WindowRecord(2).TextRedirectOutput, 1);
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
