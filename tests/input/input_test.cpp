// Keys and clicks on their way from the user-interface side into the program's queues and handlers.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <thread>

#include "core/program.h"
#include "core/threads.h"
#include "input/events.h"
#include "input/key_input.h"
#include "input/mouse_input.h"
#include "input/pointer.h"
#include "support/toolkit_test.h"
#include "vxtools/desktop.h"
#include "vxtools/extensions.h"

namespace {

using namespace vx::test;
using vx::KeyPress;

std::atomic<int> handlerCalls{0};

// Clicks window 1 and returns the event it posted.
t_Event Click(double x, double y, std::uint64_t flags = 0) {
    MouseEventQueue.Clear();
    t_MouseEventHandler(1, vx::MouseClick{1, flags, x, y}, x, y);
    return MouseEventQueue.Last().value_or(t_Event{});
}

}  // namespace

// The user-interface side posts keys in bursts while the program side takes them. No key may be lost or
// taken twice, and whenever both sides are quiet the flag must say what the queue holds: a flag left
// false over a waiting key would leave the program polling while Escape sits in the queue.
TEST(NextKeyEvent, FlagAndQueueAgreeWhilePostingAndTakingRace) {
    StartWithWindow(0, 8);
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
    // A bound on the effort, not a check of speed: on a loaded machine the threads hand over slowly, and
    // fewer keys get the same checks.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (expected < kKeys && disagreements == 0 && std::chrono::steady_clock::now() < deadline) {
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
    // Keys posted but not taken when the loop ended still come, in order.
    while (disagreements == 0 && t_NextKeyEvent() >= 0 && KeyEvent.Index == kFirstCode + expected) ++expected;
    EXPECT_EQ(disagreements, 0) << "the flag said no key while " << KeyEventQueue.Count() << " waited";
    EXPECT_TRUE(expected == posted && expected > 0 && !KeyEventAvailable && KeyEventQueue.Empty());
}

TEST(KeyInput, KeyTableGivesEachKeyItsValueEachModifierItsFieldAndOnlyReadyWindowsPostButAllKeysAreHeld) {
    StartWithWindow(2, 8);
    constexpr std::uint64_t kOption = vx::kOptionFlag, kControl = vx::kControlFlag, kShift = vx::kShiftFlag,
                            kPad = vx::kNumericPadFlag;
    using Case = std::tuple<std::int64_t, const char*, std::uint64_t, std::int64_t, char>;  // -1: no post
    // Fixed keys ignore what they typed; Help has no row, so its private-use character makes it a function
    // key (value 0xA4). Conditional rows apply only when their condition holds (45 is a dead key without a
    // row). Option characters match key and character together, before the rule that Latin-1 characters
    // post their code: on other keys they have no row, and above U+00FF they post nothing up to the last
    // arrow's character; from F1's on they are function keys. Then the keypad, whose digits post themselves
    // unless Option gives them a row or a character.
    // clang-format off
    const Case cases[] = {
        {51, "\x7f", 0, 127, 0}, {117, "\uF728", 0, 7, 0}, {71, "x", 0, 27, 0}, {76, "\x03", 0, 13, 0},
        {115, "\uF729", 0, 2, 'c'}, {116, "\uF72C", 0, 18, 'c'}, {119, "\uF72B", 0, 5, 'c'},
        {121, "\uF72D", 0, 3, 'c'}, {123, "\uF702", 0, 8, 'c'}, {124, "\uF703", 0, 21, 'c'},
        {125, "\uF701", 0, 10, 'c'}, {126, "x", 0, 11, 'c'}, {122, "\uF704", 0, 129, 'f'},
        {114, "\uF727", 0, 0xA4, 'f'}, {5, "\uF703", 0, -1, 0}, {5, "\u00FF", 0, 255, 0},
        {5, "\u0100", 0, -1, 0}, {48, "\x19", kShift, 20, 0}, {48, "\t", 0, 9, 0},
        {37, "\x0c", kOption, 0, 0}, {37, "\x0c", kControl, 12, 0}, {24, "", kShift, 96, 0},
        {24, "", 0, 180, 0}, {45, "", kOption, 126, 0}, {45, "", 0, 0, 0}, {32, "", 0, 175, 0},
        {10, "", 0, 94, 0}, {3, "\u2202", kOption, -1, 0}, {41, "\u00F6", 0, 0xF6, 0},
        {0, "\u00E5", kOption, 176, 0}, {1, "\u201A", kOption, 168, 0}, {2, "\u2202", kOption, 173, 0},
        {3, "\u0192", kOption, 130, 0}, {4, "\u00AA", kOption, 131, 0}, {7, "\u2248", kOption, 132, 0},
        {9, "\u221A", kOption, 253, 0}, {11, "\u222B", kOption, 222, 0}, {13, "\u2211", kOption, 221, 0},
        {14, "\u20AC", kOption, 164, 0}, {16, "\u03A9", kOption, 128, 0}, {17, "\u2020", kOption, 189, 0},
        {19, "\u201C", kOption, 163, 0}, {27, "\u00BF", kOption, 166, 0}, {29, "\u2260", kOption, 172, 0},
        {33, "\u2022", kOption, 184, 0}, {34, "\u2044", kOption, 129, 0}, {35, "\u03C0", kOption, 240, 0},
        {35, "\u220F", kOption | kShift, 208, 0}, {38, "\u00BA", kOption, 183, 0},
        {40, "\u2206", kOption, 254, 0}, {41, "\u0153", kOption, 190, 0}, {42, "\u2018", kOption, 180, 0},
        {43, "\u221E", kOption, 255, 0}, {44, "\u2013", kOption, 154, 0}, {47, "\u2026", kOption, 191, 0},
        {50, "\u2264", kOption, 197, 0}, {50, "\u2265", kOption, 198, 0}, {82, "0", kOption | kPad, 216, 0},
        {83, "1", kOption | kPad, 185, 0}, {84, "2", kOption | kPad, 178, 0},
        {85, "3", kOption | kPad, 179, 0}, {86, "4", kOption | kPad, 170, 0},
        {87, "5", kOption | kPad, 215, 0}, {88, "6", kOption | kPad, 186, 0}, {84, "2", kPad, '2', 0},
        {88, "6", kControl | kPad, '6', 0}, {89, "7", kOption, 229, 0}, {91, "8", kOption | kControl, 230, 0},
        {92, "9", kOption, 188, 0}, {92, "9", 0, '9', 0}};
    // clang-format on
    for (const auto& [code, characters, flags, value, mark] : cases) {
        KeyEventQueue.Clear();
        t_KeyEventHandler(2, KeyPress{code, characters, flags});
        const std::optional<t_Event> event = KeyEventQueue.TakeFirst();
        EXPECT_EQ(std::tuple(event ? event->Value : -1, event && event->CursorKeyPressed,
                             event && event->FunctionKeyPressed),
                  std::tuple(value, mark == 'c', mark == 'f'))
            << "key code " << code << ", flags " << flags;
    }
    // Control with keypad 7, 8 or 9 posts nothing and switches the window's output instead.
    for (auto [code, channel] : {std::pair{89, 0}, {91, 2}, {92, 1}}) {
        WindowRecord(2).TextRedirectOutput = 5;
        t_KeyEventHandler(2, KeyPress{code, "7", kControl | kPad});
        EXPECT_EQ(WindowRecord(2).TextRedirectOutput, channel) << code;
    }
    EXPECT_TRUE(KeyEventQueue.Empty());

    // Each modifier flag sets its own field of the event and its own held state, and Mods keeps the flags'
    // sixteen bits above bit 16.
    const std::int64_t before = vx::AbsoluteTimeMillis();
    for (int bit = 0; bit < 8; ++bit) {
        t_KeyEventHandler(2, KeyPress{0, "a", std::uint64_t(1) << (16 + bit)});
        const t_Event e = KeyEventQueue.TakeFirst().value_or(t_Event{});
        EXPECT_TRUE(e.Kind == 1 && e.Description == "a" && e.Window == 2 && e.Time >= before &&
                    e.Time <= vx::AbsoluteTimeMillis());
        const bool fields[] = {e.CapsLockPressed, e.ShiftPressed,      e.ControlPressed, e.OptionPressed,
                               e.CommandPressed,  e.NumericPadPressed, e.HelpPressed,    e.FnPressed};
        const bool held[] = {CapsLockDown, ShiftDown, ControlDown, OptionDown,
                             CommandDown,  false,     false,       FunctionDown};
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(fields[i], i == bit) << "flag bit " << bit << ", field " << i;
            EXPECT_EQ(held[i], i == bit && i != 5 && i != 6) << "flag bit " << bit << ", state " << i;
        }
        EXPECT_EQ(e.Mods, 1 << bit);
    }
    t_KeyEventHandler(2, KeyPress{0, "a", 0x1'8000'0000});
    EXPECT_EQ(KeyEventQueue.TakeFirst().value_or(t_Event{}).Mods, 0x8000);
    viewFlagsChanged(vx::kCommandFlag);
    EXPECT_TRUE(CommandDown && !CapsLockDown);

    // Only a ready window that takes events posts the key, but every key counts as held.
    // The flag must say what the queue holds after every step: a key that posts nothing leaves it set over a
    // waiting key even when the program cleared it, and taking from an empty queue corrects a flag left set.
    t_KeyEventHandler(2, KeyPress{19, "\u20AC", 0});
    EXPECT_FALSE(KeyEventAvailable);
    t_KeyEventHandler(2, KeyPress{0, "a", 0});
    KeyEventAvailable = false;
    t_KeyEventHandler(2, KeyPress{19, "\u20AC", 0});
    EXPECT_TRUE(KeyEventAvailable);
    EXPECT_EQ(t_NextKeyEvent(), 'a');
    KeyEventAvailable = true;
    EXPECT_TRUE(t_NextKeyEvent() == -1 && !KeyEventAvailable && t_NextKeyEvent() == -1);

    viewKeyDown(2, KeyPress{0, "a", 0});
    viewKeyUp();
    EXPECT_FALSE(KeyDown);
    vx::Store(WindowRecord(2).IgnoreEvents, true);
    for (std::uint8_t window : {2, 3, 8}) viewKeyDown(window, KeyPress{0, "b", 0});
    EXPECT_TRUE(KeyDown && KeyEventQueue.Count() == 1 && KeyEventQueue.Last()->Value == 'a');
    for (const char* n : {"3", "8"})
        EXPECT_EQ(CountLogLine("viewKeyDown: Graphic window (" + std::string(n) + ") not initialized."), 1);
}

// Pixel rows count from the top, the view's from the bottom; the window's coordinates are the view's. Clicks
// that cannot post still call the program and set the flag from the queue; the button states follow every
// press, also in a window that ignores events.
TEST(MouseInput, ClicksPostViewAndPixelCoordinatesOrStillCallTheProgramAndButtonStatesFollowEveryPress) {
    StartWithWindow(1, 4, 1024, 8);  // 8 pixels from the edges
    static std::atomic<bool> handlerNamed{true};
    ProgramMouseHandler = [] {
        handlerNamed = handlerNamed && vx::CurrentThreadName() == "t_EventMouse";
        ++handlerCalls;
    };
    const std::int64_t before = vx::AbsoluteTimeMillis();
    const t_Event event = Click(18.7, 1008.2, vx::kShiftFlag);
    EXPECT_EQ(CountLogLine("t_MouseEventHandler: Graphic #1 window, X = 10, Y = 24"), 1);
    EXPECT_EQ(std::tuple(event.Kind, event.Window, event.WindowX, event.WindowY, event.ClickX, event.ClickY,
                         event.Mods, event.Time >= before && event.Time <= vx::AbsoluteTimeMillis()),
              std::tuple(2, 1, 18, 1008, 10, 24, 2, true));

    // Rows count from the drawing area's top, one point high. Saturated coordinates keep their side: y far
    // below the screen is below the picture (-2), x far to the left is left of it (-1), where wrapping
    // arithmetic swapped the two.
    std::vector<std::int64_t> clicked;
    for (double x : {3.0, 8 + 1024.0, 8 + 1023.9, 1e300, -1e300}) clicked.push_back(Click(x, 500).ClickX);
    for (double y : {8.0, 9.0, 8 + 1024.0, 8 + 1025.0, -1e300, 1e300})
        clicked.push_back(Click(100, y).ClickY);
    EXPECT_EQ(clicked, (std::vector<std::int64_t>{-1, -2, 1023, -2, -1, -2, 1023, 0, -1, -2, -1}));

    MouseEventQueue.Clear();
    MouseEventAvailable = true;
    TakeLogLines();
    for (std::uint8_t n : {8, 7}) t_MouseEventHandler(n, vx::MouseClick{}, 5.5, 6.5);
    EXPECT_FALSE(MouseEventAvailable);
    const std::string kNoWindow = "t_MouseEventHandler:  window, X = -3, Y = -3",
                      kCalling = "t_MouseEventHandler: Calling program mouse handler asynchronously.";
    EXPECT_EQ(TakeLogLines(),
              (std::vector<std::string>{"t_MouseEventHandler: Unknown window, AbsX = 5, AbsY = 6", kNoWindow,
                                        kCalling, "t_MouseEventHandler: Window #7 not initialized.",
                                        kNoWindow, kCalling}));
    // One call for each click so far, and no more: a moment after the last one arrives.
    vx::test::Eventually([&] { return handlerCalls >= 14; }, std::chrono::seconds(5));
    vx::SleepNanoseconds(50'000'000);
    EXPECT_TRUE(handlerCalls == 14 && handlerNamed) << handlerCalls;
    // Clicks in windows that are not ready post nothing and call nothing.
    for (std::uint8_t n : {3, 8}) viewMouseDown(n, vx::MouseClick{1, 0, 5, 5}, false);
    EXPECT_EQ(TakeLogLines(),
              (std::vector<std::string>{"viewMouseDown: Graphic window (3) not initialized.",
                                        "viewMouseDown: Graphic window (8) not initialized."}));
    vx::Store(WindowRecord(1).IgnoreEvents, true);
    viewMouseDown(1, vx::MouseClick{2, 0, 5, 5}, true);
    EXPECT_TRUE(RightButtonDown && !LeftButtonDown);
    viewMouseDown(1, vx::MouseClick{1, 0, 5, 5}, false);
    EXPECT_TRUE(LeftButtonDown && !RightButtonDown && MouseEventQueue.Count() == 0);
    viewMouseDown(1, vx::MouseClick{2, 0, 5, 5}, true);
    viewMouseUp();
    EXPECT_FALSE(LeftButtonDown || RightButtonDown);
}

// The close box hides the window and posts nothing, as ever; the program learns of it from
// vx::WindowClosed until the window is shown again. Every toolkit window is known by its number, from any
// thread; anything else is 255. The pointer keeps the last pixel it crossed in each window, with the button
// flags of the moment.
TEST(Windows, CloseBoxTellsTheProgramNumbersNameEachWindowAndThePointerKeepsItsLastPixelInEach) {
    vx::HeadlessPlatform& platform = StartWithWindow(2, 8);
    // Window 2 is shown again by bringing it to the front, window 9 by showing it.
    const auto show = [](std::uint8_t n) { n == 2 ? t_WindowFront(n) : t_WindowVisible(n, true); };
    for (const std::uint8_t n : {2, 9}) {
        show(n);
        TakeLogLines();
        EXPECT_FALSE(vx::WindowClosed(n));
        t_MouseEventPostCloseBoxClick(n);
        EXPECT_TRUE(vx::WindowClosed(n) && !vx::WindowClosed(3) && !platform.Window(n).visible &&
                    !MouseEventAvailable);
        EXPECT_EQ(TakeLogLines(),
                  std::vector{"t_MouseEventPostCloseBoxClick: Window = " + std::to_string(n)});
        t_WindowVisible(n, false);
        EXPECT_TRUE(vx::WindowClosed(n));  // hiding is not showing
        show(n);
        EXPECT_FALSE(vx::WindowClosed(n));
    }
    for (std::uint8_t n : {13, 255}) t_MouseEventPostCloseBoxClick(n);
    EXPECT_FALSE(vx::WindowClosed(255) || vx::WindowClosed(12) || vx::WindowClosed(13));

    for (std::uint8_t n = 0; n <= 12; ++n) {
        platform.SetMainWindow(n);
        EXPECT_EQ(Pos(t_WindowNumber(PlatformWindow(n)), t_FrontWindowNumber()), Pos(n, n));
    }
    platform.SetMainWindow(-1);
    EXPECT_EQ(Pos(t_WindowNumber(nullptr), t_FrontWindowNumber()), Pos(255, 255));

    vx::PointerMoved(2, 10, 20, true);
    vx::PointerMoved(3, 5, 6, true);
    vx::PointerMoved(2, 30, 40, false);
    viewMouseDown(2, vx::MouseClick{2, 0, 5, 5}, true);
    const vx::PointerState left = vx::Pointer(2);
    EXPECT_EQ(std::tuple(left.x, left.y, left.inside, left.primaryDown, left.secondaryDown),
              std::tuple(10, 20, false, false, true));
    viewMouseDown(2, vx::MouseClick{1, 0, 5, 5}, false);
    EXPECT_TRUE(vx::Pointer(2).primaryDown && !vx::Pointer(2).secondaryDown);
    vx::PointerLeft(3);
    vx::PointerMoved(8, 1, 1, true);
    vx::PointerMoved(7, 7, 7, true);
    EXPECT_EQ(std::tuple(vx::Pointer(3).x, vx::Pointer(3).inside, vx::Pointer(8).x, vx::Pointer(7).x),
              std::tuple(5, false, -1, 7));
}
