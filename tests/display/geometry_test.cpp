#include <gtest/gtest.h>

#include <limits>
#include <utility>

#include "support/toolkit_test.h"
#include "vxtools/display.h"

namespace {

using namespace vx::test;

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

// What t_WindowPos answers for each selector.
void ExpectPositions(std::uint8_t n, std::initializer_list<std::pair<int, std::int64_t>> cases) {
    for (auto [selector, expected] : cases) EXPECT_EQ(t_WindowPos(n, selector), expected) << selector;
}

TEST(WindowGeometry, AnswersFromTheFrameBeforeMemoryAndForOtherWindowsAndFromTheRecordAfterwards) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    TitleBarHeight = 22;
    platform.SetWindowFrame(0, {5.7, 9.2, 300.9, 220.4});
    ExpectPositions(0, {{0, 0}, {8, 300}, {9, 198}, {13, 5}});
    platform.SetWindowFrame(9, {0, 0, 600, 420});
    ExpectPositions(9, {{2, 599}, {3, 419}, {5, 420}, {0, 0}, {11, 398}, {18, 0}});
    EXPECT_EQ(t_WindowPos(13, 8), 0);
    EXPECT_EQ(TakeOwnLogLines(), std::vector<std::string>{"t_WindowPos: Window does not exist."});

    t_InitWindow(1, 4, false, 1024, 1024, 10, 6, t_Font{}, true);
    WindowTable[1].TextFirstColumn = 3;
    WindowTable[1].TextLastColumn = 40;
    ExpectPositions(1, {{4, 38}, {6, -1}, {8, 1024}, {9, 1024}, {10, 1044}, {11, 1036}, {12, 1058}});
    ExpectPositions(1, {{17, 22}, {18, 10}, {19, 6}, {21, 0}, {-1, 0}});
    platform.SetWindowFrame(1, {30, 100, 1044, 1058});
    ExpectPositions(1, {{13, 30}, {20, 100}, {14, 1200 - 100 - 1058}, {15, 1920}, {16, 1200}});
    t_WindowTitleVisible(1, false);
    EXPECT_EQ(t_WindowPos(1, 12), 1058 - 22);
    EXPECT_EQ(platform.Window(1).styleMask, 0);
}

// Regression: borders and frames near the 64-bit limits used to overflow the sums.
TEST(WindowGeometry, AbsurdBordersAndFramesSaturateInsteadOfOverflowing) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    t_InitWindow(1, 8, false, 64, 64, kMax, kMax - 5, t_Font{}, true);
    ExpectPositions(1, {{10, kMax}, {12, kMax}, {18, kMax}, {19, kMax - 5}});
    t_WindowSize(1, -1, -1, kMax, kMin);
    platform.SetWindowFrame(9, {1e300, -1e300, 1e300, 1e19});
    ExpectPositions(9, {{2, kMax - 1}, {13, kMax}, {20, kMin}});
}

TEST(WindowGeometry, SizeKeepsWhatIsMinusOneAndPutsTheBorderAroundAndSizesScrollViews) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    TitleBarHeight = 22;
    t_InitWindow(2, 8, false, 320, 200, 8, 4, t_Font{}, true);
    platform.SetWindowFrame(2, {40, 50, 999, 999});
    t_WindowSize(2, -1, -1, -1, -1);
    EXPECT_EQ(platform.Window(2).frame, (vx::Rect{40, 50, 336, 230}));
    t_WindowSize(2, 0, -5, 640, 400);
    EXPECT_EQ(platform.Window(2).frame, (vx::Rect{0, -5, 656, 430}));
    EXPECT_EQ(platform.View(2).frame, (vx::Rect{8, 4, 640, 400}));
    t_WindowSize(3, 0, 0, 10, 10);
    t_WindowSize(13, 0, 0, 10, 10);
    EXPECT_EQ(CountLogLine("t_WindowSize: Window #3 not initialized."), 1);
    t_WindowSize(9, 10, 20, 600, 400);
    EXPECT_EQ(platform.Window(9).frame, (vx::Rect{10, 20, 600, 422}));
    EXPECT_EQ(platform.TextView(9).scrollFrame.width, 560);
    EXPECT_EQ(platform.TextView(9).scrollFrame.height, 323);
}

TEST(WindowVisibility, ShowsHidesKeepsTheRecordInStepAndLeavesTheMainWindowOnScreen) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    t_InitWindow(3, 8, false, 64, 32, 0, 0, t_Font{}, true);
    t_WindowFront(3);
    platform.Flush();
    EXPECT_TRUE(platform.Window(3).key);
    EXPECT_TRUE(WindowTable[3].Visible);
    WindowTable[3].UpdateDuration = 55;
    t_WindowVisible(3, false);
    EXPECT_FALSE(platform.Window(3).visible || WindowTable[3].Visible);
    EXPECT_EQ(WindowTable[3].UpdateDuration, 0);
    // Window 3 was the last one on screen: the main window took its place.
    EXPECT_TRUE(platform.Window(12).visible);
    for (std::uint8_t n : {8, 9, 10, 11}) {
        t_WindowVisible(n, true);
        EXPECT_TRUE(platform.Window(n).visible) << int(n);
    }
    t_WindowVisible(13, true);
    t_WindowFront(13);
    EXPECT_EQ(TakeOwnLogLines().back(), "t_WindowFront: Window does not exist.");
}

}  // namespace
