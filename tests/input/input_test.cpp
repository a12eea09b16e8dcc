// Keys and clicks on their way from the user-interface side into the program's queues and handlers.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <random>
#include <thread>

#include "core/program.h"
#include "input/events.h"
#include "input/key_input.h"
#include "input/mouse_input.h"
#include "support/toolkit_test.h"
#include "vxtools/desktop.h"

namespace {

using vx::KeyPress;

std::atomic<int> handlerCalls{0};

// Clicks window 1 and returns the event it posted.
t_Event Click(double x, double y, std::uint64_t flags = 0) {
    MouseEventQueue.Clear();
    t_MouseEventHandler(1, vx::MouseClick{1, flags, x, y}, x, y);
    return MouseEventQueue.Last().value_or(t_Event{});
}

}  // namespace

// The flag must say what the queue holds after every step: a key that posts nothing leaves it set over a
// waiting key even when the program cleared it, and taking from an empty queue corrects a flag left set.
TEST(KeyEventAvailable, MirrorsTheQueueWhenAKeyPostsNothingAndWhenNothingIsTaken) {
    vx::test::StartWithWindow(2, 8);
    t_KeyEventHandler(2, KeyPress{19, "\u20AC", 0});
    EXPECT_FALSE(KeyEventAvailable);
    t_KeyEventHandler(2, KeyPress{0, "a", 0});
    KeyEventAvailable = false;
    t_KeyEventHandler(2, KeyPress{19, "\u20AC", 0});
    EXPECT_TRUE(KeyEventAvailable);
    EXPECT_EQ(t_NextKeyEvent(), 'a');
    KeyEventAvailable = true;
    EXPECT_EQ(t_NextKeyEvent(), -1);
    EXPECT_FALSE(KeyEventAvailable);
}

// The user-interface side posts keys in bursts while the program side takes them. No key may be lost or
// taken twice, and whenever both sides are quiet the flag must say what the queue holds: a flag left
// false over a waiting key would leave the program polling while Escape sits in the queue.
TEST(NextKeyEvent, FlagAndQueueAgreeWhilePostingAndTakingRace) {
    vx::test::StartWithWindow(0, 8);
    // The race is narrow: many bursts make it likely to show. Fewer under the thread checker, which
    // slows every step tenfold and watches the same code for races of its own.
#if defined(__SANITIZE_THREAD__)
    constexpr std::int64_t kKeys = 40000;
#else
    constexpr std::int64_t kKeys = 150000;
#endif
    constexpr std::int64_t kFirstCode = 1000;
    std::atomic<std::int64_t> posted{0}, settled{0};
    std::atomic<bool> stop{false};
    std::thread ui([&] {
        std::minstd_rand random(7);
        for (std::int64_t next = 0; next < kKeys && !stop;) {
            const std::int64_t burst = std::min<std::int64_t>(1 + random() % 3, kKeys - next);
            for (std::int64_t i = 0; i < burst; ++i, ++next)
                viewKeyDown(0, KeyPress{kFirstCode + next, "a", 0});
            posted = next;
            while (settled < next && !stop) std::this_thread::yield();
        }
    });
    std::int64_t expected = 0, disagreements = 0;
    while (expected < kKeys && disagreements == 0) {
        if (t_NextKeyEvent() >= 0) {
            if (KeyEvent.Index != kFirstCode + expected) break;  // lost or repeated
            ++expected;
            continue;
        }
        const std::int64_t burstEnd = posted;
        if (burstEnd > settled) {
            // Quiet: the user-interface side waits for this side, so only this side changes the queue.
            if (KeyEventAvailable != !KeyEventQueue.Empty())
                ++disagreements;
            else if (expected == burstEnd)
                settled = burstEnd;
        }
    }
    stop = true;
    ui.join();
    EXPECT_EQ(disagreements, 0) << "the flag said no key while " << KeyEventQueue.Count() << " waited";
    EXPECT_EQ(expected, kKeys);
    EXPECT_FALSE(KeyEventAvailable);
    EXPECT_TRUE(KeyEventQueue.Empty());
}

// Only a ready window that takes events posts the key, but every key counts as held.
TEST(KeyInput, OnlyReadyWindowsPostTheKeyAndEveryKeyCountsAsHeldUntilReleased) {
    vx::test::StartWithWindow(2, 8);
    viewKeyDown(2, KeyPress{0, "a", 0});
    viewKeyUp();
    EXPECT_FALSE(KeyDown);
    vx::Store(WindowRecord(2).IgnoreEvents, true);
    for (std::uint8_t window : {2, 3}) viewKeyDown(window, KeyPress{0, "b", 0});
    EXPECT_TRUE(KeyDown);
    ASSERT_EQ(KeyEventQueue.Count(), 1u);
    EXPECT_EQ(KeyEventQueue.Last()->Value, 'a');
    EXPECT_TRUE(vx::test::LogContains("viewKeyDown: Graphic window (3) not initialized."));
}

TEST(KeyInput, KeyTableGivesEachKeyItsValue) {
    vx::test::StartWithWindow(2, 8);
    constexpr std::uint64_t kOption = vx::kOptionFlag, kControl = vx::kControlFlag, kShift = vx::kShiftFlag,
                            kPad = vx::kNumericPadFlag;
    struct Case {
        std::int64_t code;
        const char* characters;
        std::uint64_t flags;
        std::int64_t value;  // -1: nothing posted
    };
    // Fixed keys ignore what they typed; Help has no row, so its private-use character makes it a function
    // key (value 0xA4). Conditional rows apply only when their condition holds (45 is a dead key without a
    // row). Option characters match key and character together, before the rule that Latin-1 characters
    // post their code: on other keys they have no row, and above U+00FF they post nothing. Then the keypad,
    // whose digits post themselves unless Option gives them a row or a character.
    // clang-format off
    const Case cases[] = {
        {51, "\x7f", 0, 127}, {123, "\uF702", 0, 8}, {126, "x", 0, 11}, {122, "\uF704", 0, 129},
        {114, "\uF727", 0, 0xA4}, {48, "\x19", kShift, 20}, {48, "\t", 0, 9}, {37, "\x0c", kOption, 0},
        {37, "\x0c", kControl, 12}, {24, "", kShift, 96}, {24, "", 0, 180}, {45, "", kOption, 126},
        {45, "", 0, 0}, {10, "", 0, 94}, {0, "\u00E5", kOption, 176}, {2, "\u2202", kOption, 173},
        {3, "\u2202", kOption, -1}, {35, "\u03C0", kOption, 240}, {35, "\u220F", kOption | kShift, 208},
        {41, "\u00F6", 0, 0xF6}, {82, "0", kOption | kPad, 216}, {88, "0", kOption | kPad, 186},
        {84, "5", kPad, '5'}, {89, "7", kOption, 229}, {91, "8", kOption | kControl, 230},
        {92, "9", kOption, 188}};
    // clang-format on
    for (const Case& c : cases) {
        KeyEventQueue.Clear();
        t_KeyEventHandler(2, KeyPress{c.code, c.characters, c.flags});
        const std::optional<t_Event> event = KeyEventQueue.TakeFirst();
        EXPECT_EQ(event ? event->Value : -1, c.value) << "key code " << c.code << ", flags " << c.flags;
    }
}

// Pixel rows count from the top, the view's from the bottom; the window's coordinates are the view's. Clicks
// that cannot post still call the program and set the flag from the queue; the button states follow every
// press, also in a window that ignores events.
TEST(MouseInput, ClicksPostViewAndPixelCoordinatesOrStillCallTheProgramAndButtonStatesFollowEveryPress) {
    vx::test::StartWithWindow(1, 4, 1024, 8);  // 8 pixels from the view's edges
    ProgramMouseHandler = [] { ++handlerCalls; };
    const t_Event event = Click(18.7, 1008.2, vx::kShiftFlag);
    EXPECT_EQ(vx::test::Pos(event.WindowX, event.WindowY), vx::test::Pos(18, 1008));
    EXPECT_EQ(vx::test::Pos(event.ClickX, event.ClickY), vx::test::Pos(10, 24));
    EXPECT_EQ(event.Mods, 2);

    EXPECT_EQ(Click(3.0, 500).ClickX, -1);
    EXPECT_EQ(Click(8 + 1024, 500).ClickX, -2);
    EXPECT_EQ(Click(8 + 1023.9, 500).ClickX, 1023);
    EXPECT_EQ(Click(100, 8).ClickY, -2);
    EXPECT_EQ(Click(1e300, -1e300).ClickX, -2);  // absurd coordinates are clamped, not overflowed

    MouseEventQueue.Clear();
    MouseEventAvailable = true;
    t_MouseEventHandler(9, vx::MouseClick{}, 5.5, 6.5);
    t_MouseEventHandler(3, vx::MouseClick{}, 5.5, 6.5);
    EXPECT_FALSE(MouseEventAvailable);
    for (int i = 0; i < 5000 && handlerCalls < 8; ++i) vx::SleepNanoseconds(1'000'000);
    EXPECT_EQ(handlerCalls, 8);  // one for each click so far
    vx::Store(WindowRecord(1).IgnoreEvents, true);
    viewMouseDown(1, vx::MouseClick{2, 0, 5, 5}, true);
    EXPECT_TRUE(RightButtonDown && !LeftButtonDown);
    viewMouseDown(1, vx::MouseClick{1, 0, 5, 5}, false);
    EXPECT_TRUE(LeftButtonDown && !RightButtonDown);
    EXPECT_EQ(MouseEventQueue.Count(), 0u);
    viewMouseUp();
    EXPECT_FALSE(LeftButtonDown || RightButtonDown);
}

// The close box hides the window and posts nothing, as ever; the program learns of it from
// vx::WindowClosed until the window is shown again.
TEST(CloseBox, HidesTheWindowAndTellsTheProgramUntilTheWindowIsShownAgain) {
    vx::HeadlessPlatform& platform = vx::test::StartWithWindow(2);
    t_WindowFront(2);
    vx::test::TakeLogLines();
    EXPECT_FALSE(vx::WindowClosed(2));
    t_MouseEventPostCloseBoxClick(2);
    EXPECT_TRUE(vx::WindowClosed(2));
    EXPECT_FALSE(vx::WindowClosed(3) || platform.Window(2).visible || MouseEventAvailable.load());
    EXPECT_EQ(vx::test::TakeLogLines(),
              std::vector<std::string>{"t_MouseEventPostCloseBoxClick: Window = 2"});
    t_WindowVisible(2, false);
    EXPECT_TRUE(vx::WindowClosed(2));  // hiding is not showing
    t_WindowFront(2);
    EXPECT_FALSE(vx::WindowClosed(2));

    t_MouseEventPostCloseBoxClick(9);
    EXPECT_TRUE(vx::WindowClosed(9));
    t_WindowVisible(9, true);
    EXPECT_FALSE(vx::WindowClosed(9));
    t_MouseEventPostCloseBoxClick(255);
    EXPECT_FALSE(vx::WindowClosed(255) || vx::WindowClosed(12));
}

// Saturated coordinates keep their side: y far below the screen is below the picture (-2), x far to the
// left is left of it (-1), where wrapping arithmetic swapped the two.
TEST(MouseInput, SaturatedCoordinatesLandOnTheSideTheyCameFrom) {
    vx::test::StartWithWindow(1, 4, 1024, 8);
    const t_Event low = Click(1e300, -1e300);
    EXPECT_EQ(vx::test::Pos(low.ClickX, low.ClickY), vx::test::Pos(-2, -2));
    const t_Event high = Click(-1e300, 1e300);
    EXPECT_EQ(vx::test::Pos(high.ClickX, high.ClickY), vx::test::Pos(-1, -1));
}
