#include "input/mouse_input.h"

#include <gtest/gtest.h>

#include <atomic>

#include "core/program.h"
#include "support/toolkit_test.h"

namespace {

std::atomic<int> handlerCalls{0};

// Window 1, 1024 pixels square, 8 pixels from the view's edges; a program handler that counts its calls.
void Start() {
    vx::test::StartWithWindow(1, 4, 1024, 8);
    ProgramMouseHandler = [] { ++handlerCalls; };
}

int HandlerCallsAfterWaitingFor(int calls) {
    for (int i = 0; i < 5000 && handlerCalls < calls; ++i) vx::SleepNanoseconds(1'000'000);
    return handlerCalls;
}

t_Event Click(double x, double y) {
    MouseEventQueue.Clear();
    t_MouseEventHandler(1, vx::MouseClick{1, 0, x, y}, x, y);
    return MouseEventQueue.Last().value_or(t_Event{});
}

}  // namespace

// Pixel rows count from the top, the view's from the bottom; the window's coordinates are the view's.
TEST(MouseInput, ClicksPostViewAndPixelCoordinatesAndCodeThoseOutsideTheDrawingArea) {
    Start();
    t_MouseEventHandler(1, vx::MouseClick{1, vx::MouseClick{}.modifierFlags | 0x20000, 18.7, 1008.2}, 18.7,
                        1008.2);
    ASSERT_EQ(MouseEventQueue.Count(), 1u);
    const t_Event event = *MouseEventQueue.Last();
    EXPECT_EQ(event.Index, 1);
    EXPECT_EQ(event.Window, 1);
    EXPECT_EQ(vx::test::Pos(event.WindowX, event.WindowY), vx::test::Pos(18, 1008));
    EXPECT_EQ(vx::test::Pos(event.ClickX, event.ClickY), vx::test::Pos(10, 24));
    EXPECT_EQ(event.Mods, 2);
    EXPECT_TRUE(MouseEventAvailable);
    EXPECT_EQ(HandlerCallsAfterWaitingFor(1), 1);

    EXPECT_EQ(Click(3.0, 500).ClickX, -1);
    EXPECT_EQ(Click(8 + 1024, 500).ClickX, -2);
    EXPECT_EQ(Click(8 + 1023.9, 500).ClickX, 1023);
    EXPECT_EQ(Click(100, 8 + 1024).ClickY, 0);
    EXPECT_EQ(Click(100, 8).ClickY, -2);
    EXPECT_EQ(Click(100, 8 + 1025).ClickY, -1);
    EXPECT_EQ(Click(1e300, -1e300).ClickX, -2);  // absurd coordinates are clamped, not overflowed
}

// Clicks that cannot post still call the program, and the button states follow every press.
TEST(MouseInput, WindowsThatCannotPostStillCallTheProgramAndButtonStatesFollowEveryPress) {
    Start();
    MouseEventAvailable = true;
    t_MouseEventHandler(9, vx::MouseClick{}, 5.5, 6.5);
    t_MouseEventHandler(3, vx::MouseClick{}, 5.5, 6.5);
    EXPECT_FALSE(MouseEventAvailable);
    EXPECT_EQ(HandlerCallsAfterWaitingFor(2), 2);
    vx::Store(WindowRecord(1).IgnoreEvents, true);
    viewMouseDown(1, vx::MouseClick{2, 0, 5, 5}, true);
    EXPECT_TRUE(RightButtonDown && !LeftButtonDown);
    viewMouseDown(1, vx::MouseClick{1, 0, 5, 5}, false);
    EXPECT_TRUE(LeftButtonDown && !RightButtonDown);
    viewMouseDown(5, vx::MouseClick{1, 0, 5, 5}, false);
    EXPECT_EQ(MouseEventQueue.Count(), 0u);
    viewMouseUp();
    EXPECT_FALSE(LeftButtonDown || RightButtonDown);
    for (const char* line : {"t_MouseEventHandler: Unknown window, AbsX = 5, AbsY = 6",
                             "t_MouseEventHandler: Window #3 not initialized.",
                             "viewMouseDown: Graphic window (5) not initialized."})
        EXPECT_EQ(vx::test::CountLogLine(line), 1) << line;
}
