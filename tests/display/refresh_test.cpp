#include "display/refresh.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/program.h"
#include "support/toolkit_test.h"
#include "vxtools/core.h"
#include "vxtools/graphics.h"

namespace {

using namespace vx::test;

TEST(WindowUpdate, ImmediateUpdateComposesOnReturnAndDeferredOnlyMarks) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    OpenShown(0);
    t_Color(0, 15);
    g_Plot(0, 1, 0);
    const int displays = platform.View(0).displays, marks = platform.View(0).marks;
    t_WindowUpdate(0, false);
    const vx::HeadlessViewState view = platform.View(0);
    EXPECT_EQ(view.displays, displays + 1);
    ASSERT_NE(view.lastImage, nullptr);
    EXPECT_EQ(view.lastImage->pixels[1], 0xFFFFFFFFu);
    // Directly on the user-interface thread too, where waiting for it would hang.
    OnUserInterfaceThread([] { t_WindowUpdate(0, false); });
    EXPECT_EQ(platform.View(0).displays, displays + 2);
    t_WindowUpdate(0, true);
    EXPECT_EQ(platform.View(0).marks, marks + 1);
    platform.RemoveGraphicView(5);
    t_WindowUpdate(5, false);
    EXPECT_EQ(CountLogLine("t_WindowUpdate: Window #5 view is nil, resource undefined."), 1);
}

TEST(ViewCallbacks, LayerPathFollowsQuickUpdateAndOnlyShownWindowsGiveAPicture) {
    vx::test::StartToolkit();
    EXPECT_EQ(vx::ViewComposeImage(0), nullptr);
    OpenShown(0);
    EXPECT_TRUE(vx::ViewWantsUpdateLayer(0));
    WindowTable[0].QuickUpdate = false;
    EXPECT_FALSE(vx::ViewWantsUpdateLayer(0));
    vx::Store(WindowTable[0].VerticalBlank, false);
    EXPECT_NE(vx::ViewComposeImage(0), nullptr);
    EXPECT_TRUE(WindowTable[0].VerticalBlank);
    EXPECT_EQ(vx::ViewComposeImage(8), nullptr);
    EXPECT_NE(WindowPicture(0), nullptr);
    t_WindowVisible(0, false);
    EXPECT_EQ(WindowPicture(0), nullptr);
    EXPECT_EQ(WindowPicture(8), nullptr);
}

TEST(RefreshProcess, MarksAutoRefreshingWindowsAtMostAtTheirRateAndNotWhileTheirViewComposes) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    OpenShown(1, 4, true);
    OpenShown(2);
    OpenShown(3, 4, true);
    platform.Flush();  // no display cycle left that would set VerticalBlank again
    vx::Store(WindowTable[3].VerticalBlank, false);
    const std::int64_t start = vx::AbsoluteTimeMillis();
    const int marks1 = platform.View(1).marks, marks2 = platform.View(2).marks,
              marks3 = platform.View(3).marks;
    vx::SleepNanoseconds(300'000'000);
    const std::int64_t elapsed = vx::AbsoluteTimeMillis() - start;
    const int marked = platform.View(1).marks - marks1;
    EXPECT_GE(marked, 1);
    EXPECT_LE(marked, elapsed / 33 + 2);
    EXPECT_EQ(platform.View(2).marks, marks2);
    EXPECT_EQ(platform.View(3).marks, marks3);
    vx::Store(WindowTable[3].RefreshRate, 0);
    vx::Store(WindowTable[3].VerticalBlank, true);
    vx::SleepNanoseconds(50'000'000);
    EXPECT_GT(platform.View(3).marks, marks3);
}

TEST(RefreshProcess, StopsWhenThePlatformQuits) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    OpenShown(0, 4, true);
    platform.BeginQuit();
    for (int i = 0; i < 200 && AutoUpdateRunning.load(); ++i) vx::SleepNanoseconds(5'000'000);
    EXPECT_FALSE(AutoUpdateRunning.load());
    EXPECT_TRUE(vx::test::LogContains("t_WindowAutoUpdateProcess: End."));
}

}  // namespace
