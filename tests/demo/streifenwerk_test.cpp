#include "demo/streifenwerk.h"

#include <gtest/gtest.h>

#include <set>

#include "input/key_input.h"
#include "support/toolkit_test.h"
#include "vxtools/graphics.h"

TEST(RandomNumber, StaysInRangeRemembersTheLastValueAndSurvivesNegativeAndLargestRanges) {
    vx::test::StartToolkit();
    std::set<std::int64_t> seen;
    for (int i = 0; i < 2000; ++i) {
        const std::int64_t v = RandomNumber(7);
        ASSERT_TRUE(v >= 0 && v <= 7) << v;
        EXPECT_EQ(RandomNumber(0), v);
        seen.insert(v);
    }
    EXPECT_EQ(seen.size(), 8u);
    // Neither a division by zero nor an overflow.
    EXPECT_EQ(RandomNumber(-1), LastRandom);
    EXPECT_TRUE(vx::test::LogContains("RandomNumber: Range -1 is negative."));
    EXPECT_GE(RandomNumber(INT64_MAX), 0);
}

TEST(PatternLoop, EscapeStopsAfterTheCurrentLinePairAndOtherKeysAreConsumed) {
    vx::test::StartToolkit();
    t_InitWindow(0, 4, false, 1024, 1024, 0, 0, t_Font{}, true);
    // Read after the black line of the first pair, and discarded.
    t_KeyEventHandler(0, vx::KeyPress{0, "a", 0});
    // Read after the white line: the loop ends there.
    t_KeyEventHandler(0, vx::KeyPress{53, "\x1b", 0});
    PatternLoop();
    EXPECT_EQ(KeyEventQueue.Count(), 0u);
    // The white line of the first pair starts at (1, 0) and ends at the mirrored point of the bottom row.
    EXPECT_EQ(g_Scrn(0, 1, 0), (t_RGBColor{255, 255, 255, 255}));
    EXPECT_EQ(g_Scrn(0, 1022, 1023), (t_RGBColor{255, 255, 255, 255}));
    // Nothing was drawn after it: the last plotted point is still the end of that line.
    EXPECT_EQ(vx::test::Pos(WindowRecord(0).PositionX, WindowRecord(0).PositionY), vx::test::Pos(1022, 1023));
}
