#include "input/mouse_input.h"

#include <gtest/gtest.h>

#include <atomic>

#include "core/program.h"
#include "support/toolkit_test.h"

namespace {

void Start(std::uint8_t window, std::int64_t border) {
    vx::test::StartWithWindow(window, 4, 1024, border);
}

t_Event Click(std::uint8_t window, double x, double y) {
    MouseEventQueue.Clear();
    t_MouseEventHandler(window, vx::MouseClick{1, 0, x, y}, x, y);
    std::optional<t_Event> event = MouseEventQueue.Last();
    return event ? *event : t_Event{};
}

}  // namespace

TEST(MouseInput, ClickInTheDrawingAreaPostsWindowAndPixelCoordinates) {
    Start(0, 0);
    std::atomic<int> calls{0};
    ProgramMouseHandler = [&] { ++calls; };
    t_MouseEventHandler(0, vx::MouseClick{1, vx::MouseClick{}.modifierFlags | 0x20000, 10.7, 1000.2}, 10.7,
                        1000.2);
    ASSERT_EQ(MouseEventQueue.Count(), 1u);
    const t_Event event = *MouseEventQueue.Last();
    EXPECT_EQ(event.Kind, 2);
    EXPECT_EQ(event.Index, 1);
    EXPECT_EQ(event.WindowX, 10);
    EXPECT_EQ(event.WindowY, 1000);
    EXPECT_EQ(event.ClickX, 10);
    EXPECT_EQ(event.ClickY, 24);
    EXPECT_EQ(event.Mods, 2);
    EXPECT_TRUE(event.ShiftPressed);
    EXPECT_TRUE(MouseEventAvailable);
    EXPECT_EQ(
        vx::test::TakeLogLines(),
        (std::vector<std::string>{"t_MouseEventHandler: Graphic #0 window, X = 10, Y = 24",
                                  "t_MouseEventHandler: Calling program mouse handler asynchronously."}));
    for (int i = 0; i < 5000 && calls == 0; ++i) vx::SleepNanoseconds(1'000'000);
    EXPECT_EQ(calls, 1);
}

TEST(MouseInput, ClicksOutsideTheDrawingAreaAreCoded) {
    Start(1, 8);
    EXPECT_EQ(Click(1, 3.0, 500).ClickX, -1);
    EXPECT_EQ(Click(1, 8 + 1024, 500).ClickX, -2);
    EXPECT_EQ(Click(1, 8 + 1023.9, 500).ClickX, 1023);
    EXPECT_EQ(Click(1, 100, 8 + 1024).ClickY, 0);
    EXPECT_EQ(Click(1, 100, 8).ClickY, -2);
    EXPECT_EQ(Click(1, 100, 8 + 1025).ClickY, -1);
    // Absurd coordinates are clamped, not overflowed.
    EXPECT_EQ(Click(1, 1e300, -1e300).ClickX, -2);
}

TEST(MouseInput, UnknownAndUninitialisedWindowsPostNothingButStillCallTheHandler) {
    Start(0, 0);
    MouseEventAvailable = true;
    t_MouseEventHandler(9, vx::MouseClick{}, 5.5, 6.5);
    t_MouseEventHandler(3, vx::MouseClick{}, 5.5, 6.5);
    EXPECT_EQ(MouseEventQueue.Count(), 0u);
    EXPECT_FALSE(MouseEventAvailable);
    EXPECT_EQ(
        vx::test::TakeLogLines(),
        (std::vector<std::string>{"t_MouseEventHandler: Unknown window, AbsX = 5, AbsY = 6",
                                  "t_MouseEventHandler:  window, X = -3, Y = -3",
                                  "t_MouseEventHandler: Calling program mouse handler asynchronously.",
                                  "t_MouseEventHandler: Window #3 not initialized.",
                                  "t_MouseEventHandler:  window, X = -3, Y = -3",
                                  "t_MouseEventHandler: Calling program mouse handler asynchronously."}));
}

TEST(MouseInput, ButtonFlagsFollowEveryPressEvenWhenEventsAreIgnored) {
    Start(0, 0);
    vx::Store(WindowRecord(0).IgnoreEvents, true);
    viewMouseDown(0, vx::MouseClick{2, 0, 5, 5}, true);
    EXPECT_TRUE(RightButtonDown);
    EXPECT_FALSE(LeftButtonDown);
    EXPECT_EQ(MouseEventQueue.Count(), 0u);
    EXPECT_TRUE(vx::test::TakeLogLines().empty());
    viewMouseDown(0, vx::MouseClick{1, 0, 5, 5}, false);
    EXPECT_TRUE(LeftButtonDown);
    EXPECT_FALSE(RightButtonDown);
    viewMouseUp();
    EXPECT_FALSE(LeftButtonDown || RightButtonDown);

    viewMouseDown(5, vx::MouseClick{1, 0, 5, 5}, false);
    EXPECT_EQ(vx::test::TakeLogLines(),
              (std::vector<std::string>{"viewMouseDown: Graphic window (5) not initialized."}));
}

TEST(CloseBox, HidesTheWindowAndPostsNothing) {
    vx::HeadlessPlatform& platform = vx::test::StartWithWindow(0);
    vx::WindowRef printer = PlatformWindow(9);
    OnUserInterfaceThread([&] { platform.orderFront(printer); });
    vx::test::TakeLogLines();
    t_MouseEventPostCloseBoxClick(9);
    EXPECT_FALSE(platform.Window(9).visible);
    t_MouseEventPostCloseBoxClick(255);
    EXPECT_EQ(vx::test::TakeLogLines(),
              (std::vector<std::string>{"t_MouseEventPostCloseBoxClick: Window = 9",
                                        "t_WindowVisible: Window does not exist.",
                                        "t_MouseEventPostCloseBoxClick: Window = 255"}));
    EXPECT_EQ(MouseEventQueue.Count(), 0u);
}
