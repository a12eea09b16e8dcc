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
        int depth;
        std::uint8_t red, green, blue;
        t_RGBColor read;  // what g_Scrn gives back
    };
    const Case cases[] = {
        {32, 12, 200, 99, {255, 12, 200, 99}},
        {24, 12, 200, 99, {0, 12, 200, 99}},
        {8, 30, 60, 90, {0, 60, 60, 60}},
        // Nearest palette entries: a dark blue is entry 2, a near-white 15.
        {4, 0, 10, 120, t_PaletteColor(2)},
        {1, 250, 250, 250, t_PaletteColor(15)},
    };
    for (const Case& c : cases) {
        OpenWindow(0, c.depth, 16, 8);
        vx::SetRGBColor(0, c.red, c.green, c.blue);
        g_Plot(0, 3, 2);
        EXPECT_EQ(g_Scrn(0, 3, 2), c.read) << c.depth;
    }
}

}  // namespace
