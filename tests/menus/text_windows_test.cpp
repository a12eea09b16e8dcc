#include "menus/text_windows.h"

#include <gtest/gtest.h>

#include "core/program.h"
#include "core/state.h"
#include "display/window.h"
#include "support/toolkit_test.h"

TEST(TextWindows, AbsentTextViewsAreReportedWithABeepAndOnlyTheBufferIsCleared) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    for (int n : {8, 9, 10}) platform.RemoveTextView(n);
    for (int n : {8, 9, 10}) t_WindowVisible(std::uint8_t(n), true);
    EXPECT_EQ(
        vx::test::TakeOwnLogLines(),
        (std::vector<std::string>{"t_WindowVisible: Pasteboard window is nil, resource undefined.",
                                  "t_WindowVisible: Virtual printer window is nil, resource undefined.",
                                  "t_WindowVisible: System console window is nil, resource undefined."}));
    EXPECT_EQ(platform.BeepCount(), 3);
    for (int n : {8, 9, 10}) EXPECT_EQ(platform.Window(n).orderFrontCount, 0) << n;
    SystemConsoleBuffer.Append("x");
    ClearSystemConsoleText();
    EXPECT_TRUE(SystemConsoleBuffer.Empty());
}

TEST(TextWindows, HidingTheLastVisibleWindowShowsTheMainWindow) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    t_WindowVisible(12, false);  // nothing was on screen: nothing changes
    EXPECT_FALSE(platform.Window(12).visible);
    t_WindowVisible(9, true);
    t_WindowVisible(2, true);
    t_WindowVisible(9, false);
    EXPECT_FALSE(platform.Window(12).visible);  // window 2 is still there
    t_WindowVisible(2, false);
    EXPECT_TRUE(platform.Window(12).visible && platform.Window(12).key);
}

// The printer's and the console's layout is checked where the window is sized; the pasteboard window has
// no ruler and narrower margins.
TEST(TextWindows, LayoutOfTheMainWindowWhenNoneIsGivenAndOfTextWindowsOnly) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    TitleBarHeight = 22;
    platform.SetWindowFrame(8, {0, 0, 520, 380});
    platform.SetMainWindow(8);
    OnUserInterfaceThread([] { LayoutTextWindow(nullptr); });
    EXPECT_EQ(platform.TextView(8).scrollFrame, (vx::Rect{10, 10, 500, 338}));
    const vx::Rect console = platform.TextView(10).scrollFrame;
    platform.SetWindowFrame(10, {0, 0, 300, 200});
    OnUserInterfaceThread([] { LayoutTextWindow(PlatformWindow(0)); });
    EXPECT_EQ(platform.TextView(10).scrollFrame, console);
}
