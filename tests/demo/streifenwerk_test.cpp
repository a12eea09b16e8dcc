#include "demo/streifenwerk.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>

#include "input/key_input.h"
#include "support/toolkit_test.h"
#include "vxtools/graphics.h"

TEST(RandomNumber, StaysInRangeRemembersTheLastValueAndSurvivesNegativeAndLargestRanges) {
    vx::test::StartToolkit();
    // Every value of 0..255 comes up, and bits 6 and 15 are as often set as not: each draw adds its bits.
    std::set<std::int64_t> seen;
    int bit6 = 0, bit15 = 0;
    for (int i = 0; i < 4000; ++i) {
        const std::int64_t v = RandomNumber(255);
        ASSERT_TRUE(v >= 0 && v <= 255) << v;
        EXPECT_EQ(RandomNumber(0), v);
        seen.insert(v);
        bit6 += (v & 64) != 0;
        bit15 += (RandomNumber(65535) & 32768) != 0;
    }
    EXPECT_EQ(seen.size(), 256u);
    EXPECT_TRUE(bit6 > 1600 && bit6 < 2400 && bit15 > 1600 && bit15 < 2400) << bit6 << ", " << bit15;
    // Neither a division by zero nor an overflow.
    EXPECT_EQ(RandomNumber(-1), LastRandom);
    EXPECT_TRUE(vx::test::LogContains("RandomNumber: Range -1 is negative."));
    EXPECT_GE(RandomNumber(INT64_MAX), 0);
}

// The whole program with Escape typed before it starts: its window opens centred and in front, the key is
// read after the first line, and the program ends with the end title and without an end message.
TEST(MainProgram, OpensItsWindowStopsAtEscapeAndEndsWithTheEndTitle) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    t_KeyEventHandler(0, vx::KeyPress{53, "\x1b", 0});
    startprocess(MainProgram, 1 << 24);
    const std::string end = "t_QuitProgram: Quitting current thread.";
    ASSERT_TRUE(vx::test::Eventually([&] { return vx::test::LogContains(end); }));
    EXPECT_EQ(vx::test::CountLogLine(end), 1);
    EXPECT_EQ(vx::test::CountLogLine("t_InitWindow: GraphicWindow #0 = 1024 x 1024 pixel x 4 bit = 512,00K "
                                     "video-memory = $00F80000."),
              1);
    EXPECT_EQ(KeyEventQueue.Count(), 0u);
    platform.Flush();
    const vx::HeadlessWindowState& window = platform.Window(0);
    EXPECT_EQ(window.title, "Streifenwerk \u2014 Programm Ende \u00A9 2026 vxtools");
    EXPECT_EQ(std::tuple(window.centerCount, window.visible, window.key), std::tuple(1, true, true));
}

// One whole pattern in a small window: the two fans of line pairs, black then white, through one centre
// within reach of the window's sides. Escape, typed during the pause after the pattern, ends the loop
// before another pattern begins.
// Some spacings (5 and 7 across, 2, 4 and 8 down) reach the last pair's place exactly.
TEST(PatternLoop, DrawsBothFansThroughOneCentre) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    constexpr std::int64_t w = 36, h = 33;
    for (std::uint8_t window : {0, 1}) t_InitWindow(window, 4, false, w, h, 0, 0, t_Font{}, true);
    const auto pixels = [](std::uint8_t window) {
        std::vector<int> all;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) all.push_back(vx::test::Nibble(WindowRecord(window), x, y));
        return all;
    };
    // Whether window 0 shows the pattern of spacing s around some centre, drawn again in window 1.
    const auto shown = [&](std::int64_t s) {
        for (std::int64_t cx = 0; cx <= w; ++cx)
            for (std::int64_t cy = 0; cy <= h; ++cy) {
                g_ClearScreen(1, 0, -1);
                for (bool down : {true, false})
                    for (std::int64_t i = 0; i < (down ? w : h) - 1; i += s)
                        for (std::int64_t j : {0, 1}) {
                            t_Color(1, 15 * j);
                            down ? g_Plot(1, i + j, 0) : g_Plot(1, w - 1, i + j);
                            g_LineTo(1, cx, cy);
                            down ? g_LineTo(1, w - 1 - i - j, h - 1) : g_LineTo(1, 0, h - 1 - i - j);
                        }
                if (pixels(1) == pixels(0)) return true;
            }
        return false;
    };
    static std::atomic<bool> ended{false};
    startprocess(
        [] {
            PatternLoop();
            ended.store(true);
        },
        1 << 24);
    // The spacing is read from the title: the program thread writes LastRandom unguarded.
    const auto spacing = [&] {
        platform.Flush();
        const std::string title = platform.Window(0).title, label = "Abstand: ";
        const std::size_t at = title.find(label);
        return at == std::string::npos ? 0 : std::stoll(title.substr(at + label.size()));
    };
    EXPECT_TRUE(vx::test::Eventually([&] {
        const std::int64_t s = spacing();
        return s > 0 && shown(s);
    }));
    const std::vector<int> pattern = pixels(0);
    t_KeyEventHandler(0, vx::KeyPress{53, "\x1b", 0});
    vx::test::Eventually([&] { return ended.load(); });
    EXPECT_EQ(std::pair(ended.load(), KeyEventQueue.Count()), std::pair(true, std::size_t(0)));
    EXPECT_TRUE(pixels(0) == pattern);  // no second pattern was begun
}
