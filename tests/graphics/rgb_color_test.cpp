#include <gtest/gtest.h>

#include "display/palette.h"
#include "support/toolkit_test.h"
#include "vxtools/extensions.h"
#include "vxtools/graphics.h"

namespace {

using namespace vx::test;

TEST(RGBColor, EachDepthDrawsTheColourItCanHold) {
    vx::test::StartToolkit();
    struct Case {
        std::uint8_t window;
        int depth;
        std::uint8_t red, green, blue;
        t_RGBColor read;  // what g_Scrn gives back
    };
    const Case cases[] = {
        {0, 32, 12, 200, 99, {255, 12, 200, 99}},
        {1, 24, 12, 200, 99, {0, 12, 200, 99}},
        {2, 8, 30, 60, 90, {0, 60, 60, 60}},
        // Nearest palette entries: a dark blue is entry 2, a near-white 15.
        {3, 4, 0, 10, 120, t_PaletteColor(2)},
        {4, 1, 250, 250, 250, t_PaletteColor(15)},
    };
    for (const Case& c : cases) {
        OpenWindow(c.window, c.depth, 16, 8);
        vx::SetRGBColor(c.window, c.red, c.green, c.blue);
        g_Plot(c.window, 3, 2);
        EXPECT_EQ(g_Scrn(c.window, 3, 2), c.read) << c.depth;
    }
    vx::test::TakeLogLines();
    vx::SetRGBColor(7, 1, 2, 3);
    vx::SetRGBColor(9, 1, 2, 3);
    for (const std::string& line : vx::test::TakeLogLines()) EXPECT_EQ(line.rfind("t_Color", 0), 0u) << line;
}

}  // namespace
