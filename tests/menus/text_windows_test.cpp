#include "menus/text_windows.h"

#include <gtest/gtest.h>

#include "core/program.h"
#include "core/state.h"
#include "display/window.h"
#include "support/toolkit_test.h"
#include "vxtools/core.h"
#include "vxtools/display.h"

namespace {

using Lines = std::vector<std::string>;

void Layout(vx::WindowRef window) {
    OnUserInterfaceThread([&] { LayoutTextWindow(window); });
}

}  // namespace

TEST(TextWindows, ThePasteboardWindowShowsThePasteboardTextEachTimeItIsShown) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    platform.SetPasteboardText("eins");
    t_WindowVisible(8, true);
    EXPECT_EQ(platform.TextView(8).text, "eins");
    platform.SetPasteboardText("zwei");
    EXPECT_EQ(platform.TextView(8).text, "eins");  // only showing reads the pasteboard
    t_WindowVisible(8, true);
    EXPECT_EQ(platform.TextView(8).text, "zwei");
    OnUserInterfaceThread([&] {
        platform.clearPasteboard();
        platform.setPasteboardImage(vx::WindowImage{1, 1, {0xFF000000}});
    });
    t_WindowVisible(8, true);
    EXPECT_EQ(platform.TextView(8).text, "");  // a picture only: no text
    EXPECT_GE(platform.TextView(8).redisplayMarks, 3);
}

TEST(TextWindows, AbsentTextViewsAreReportedWithABeepAndNothingMoves) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    for (int n : {8, 9, 10}) platform.RemoveTextView(n);
    for (int n : {8, 9, 10}) t_WindowVisible(std::uint8_t(n), true);
    EXPECT_EQ(vx::test::TakeOwnLogLines(),
              (Lines{"t_WindowVisible: Pasteboard window is nil, resource undefined.",
                     "t_WindowVisible: Virtual printer window is nil, resource undefined.",
                     "t_WindowVisible: System console window is nil, resource undefined."}));
    EXPECT_EQ(platform.BeepCount(), 3);
    for (int n : {8, 9, 10}) EXPECT_EQ(platform.Window(n).orderFrontCount, 0) << n;
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
    EXPECT_TRUE(platform.Window(12).visible);
    EXPECT_TRUE(platform.Window(12).key);
    t_WindowVisible(12, false);  // the main window never leaves the screen empty
    EXPECT_TRUE(platform.Window(12).visible);
}

TEST(TextWindows, LayoutFollowsTheWindowSize) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    TitleBarHeight = 22;
    platform.SetWindowFrame(10, {50, 60, 600, 400});
    const vx::Rect rulerBefore = platform.TextView(10).rulerFrame;
    Layout(PlatformWindow(10));
    EXPECT_EQ(platform.TextView(10).scrollFrame, (vx::Rect{20, 20, 560, 323}));
    EXPECT_EQ(platform.TextView(10).rulerFrame, (vx::Rect{rulerBefore.x, rulerBefore.y, 552, 19}));

    platform.SetWindowFrame(8, {0, 0, 520, 380});
    platform.SetMainWindow(8);
    Layout(nullptr);  // no window given: the main window
    EXPECT_EQ(platform.TextView(8).scrollFrame, (vx::Rect{10, 10, 500, 338}));

    const vx::Rect printer = platform.TextView(9).scrollFrame;
    platform.SetWindowFrame(9, {0, 0, 300, 200});
    Layout(PlatformWindow(0));  // not a text window
    EXPECT_EQ(platform.TextView(9).scrollFrame, printer);
}

TEST(TextWindows, ClearingEmptiesTheTextAndTheProgramsBuffer) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    OnUserInterfaceThread([&] { platform.setTextViewText(platform.textView(9), "Druck"); });
    VirtualPrinterBuffer.Append("Druck");
    ClearVirtualPrinterText();
    EXPECT_EQ(platform.TextView(9).text, "");
    EXPECT_TRUE(VirtualPrinterBuffer.Empty());
    platform.RemoveTextView(10);
    SystemConsoleBuffer.Append("x");
    ClearSystemConsoleText();  // no view: only the buffer
    EXPECT_TRUE(SystemConsoleBuffer.Empty());
}

TEST(SystemBeep, PlaysTheNamedSoundOnceWhileItIsPlaying) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    platform.ProvideNamedSound(true, 10000);
    SystemBeep();
    SystemBeep();
    EXPECT_EQ(platform.NamedSoundPlays(), 1);
    EXPECT_EQ(platform.BeepCount(), 0);
    EXPECT_EQ(SysbeepSound.load(), vx::BeepSound::Loaded);
}
