#include "demo/streifenwerk.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>

#include "core/program.h"
#include "display/window.h"
#include "display/window_init.h"
#include "input/events.h"
#include "input/key_input.h"
#include "support/toolkit_test.h"
#include "vxtools/core.h"
#include "vxtools/display.h"
#include "vxtools/graphics.h"

namespace {

void PostKey(std::int64_t keyCode, const char* characters) {
    t_KeyEventHandler(0, vx::KeyPress{keyCode, characters, 0});
}

bool IsWhite(std::int64_t x, std::int64_t y) {
    return g_Scrn(0, x, y) == t_RGBColor{255, 255, 255, 255};
}

}  // namespace

TEST(RandomNumber, StaysInRangeAndRemembersTheLastValue) {
    std::set<std::int64_t> seen;
    for (int i = 0; i < 2000; ++i) {
        const std::int64_t v = RandomNumber(7);
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 7);
        EXPECT_EQ(LastRandom, v);
        EXPECT_EQ(RandomNumber(0), v);
        seen.insert(v);
    }
    EXPECT_EQ(seen.size(), 8u);
    for (int i = 0; i < 200; ++i) {
        const std::int64_t v = RandomNumber(1024);
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 1024);
    }
}

TEST(RandomNumber, ExtremeRangesNeitherDivideByZeroNorOverflow) {
    vx::test::StartToolkit();
    const std::int64_t kept = RandomNumber(5);
    EXPECT_EQ(RandomNumber(-1), kept);
    EXPECT_TRUE(vx::test::LogContains("RandomNumber: Range -1 is negative."));
    EXPECT_GE(RandomNumber(INT64_MAX), 0);
    EXPECT_EQ(RandomNumber(1) & ~std::int64_t(1), 0);
}

TEST(PatternLoop, EscapeStopsAfterTheCurrentLinePairAndOtherKeysAreConsumed) {
    vx::test::StartToolkit();
    t_InitWindow(0, 4, false, 1024, 1024, 0, 0, t_Font{}, true);
    PostKey(0, "a");      // read after the black line of the first pair, and discarded
    PostKey(53, "\x1b");  // read after the white line: the loop ends there
    PatternLoop();
    EXPECT_EQ(KeyEventQueue.Count(), 0u);
    // The white line of the first pair starts at (1, 0) and ends at the mirrored point of the bottom row.
    EXPECT_TRUE(IsWhite(1, 0));
    EXPECT_TRUE(IsWhite(1022, 1023));
    // Nothing was drawn after it: the last plotted point is still the end of that line.
    EXPECT_EQ(WindowRecord(0).PositionX, 1022);
    EXPECT_EQ(WindowRecord(0).PositionY, 1023);
}

TEST(MainProgram, EndsWithTheEndTitleAndTheQuitLine) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    PostKey(53, "\x1b");
    std::atomic<bool> started{false};
    startprocess(
        [&] {
            started = true;
            MainProgram();
        },
        0x40000000);
    for (int i = 0; i < 10000 && !vx::test::LogContains("t_QuitProgram: Quitting current thread."); ++i)
        vx::SleepNanoseconds(1'000'000);
    platform.Flush();
    EXPECT_TRUE(started);
    EXPECT_TRUE(vx::test::LogContains("t_QuitProgram: Quitting current thread."));
    EXPECT_EQ(platform.Window(0).title, "Streifenwerk \u2014 Programm Ende \u00A9 2026 vxtools");
    EXPECT_TRUE(platform.Window(0).visible);
    EXPECT_EQ(t_WindowPos(0, 8), 1024);
    EXPECT_EQ(t_WindowPos(0, 9), 1024);
}
