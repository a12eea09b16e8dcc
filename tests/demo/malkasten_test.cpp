#include "demo/malkasten.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

#include "core/program.h"
#include "display/palette.h"
#include "input/key_input.h"
#include "input/mouse_input.h"
#include "support/toolkit_test.h"
#include "vxtools/menus.h"

namespace {

using malkasten::kWindow;

bool WaitFor(const std::function<bool()>& condition) {
    for (int i = 0; i < 400 && !condition(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return condition();
}

// A click at pixel (x, y) of the drawing area; the platform reports it from the window's bottom left.
void Click(std::int64_t x, std::int64_t y, bool primary = true) {
    const t_Window& w = WindowRecord(kWindow);
    const double fromBottom = double(vx::Load(w.BorderHeight) + vx::Load(w.Height) - y);
    const double fromLeft = double(x + vx::Load(w.BorderWidth));
    OnUserInterfaceThread([&] {
        viewMouseDown(kWindow, vx::MouseClick{primary ? 1u : 2u, 0, fromLeft, fromBottom}, !primary);
        viewMouseUp();
    });
}

// The palette colour of a pixel as the window shows it: composed on the user-interface thread, as a view
// does, so that the test reads nothing the program thread is writing.
int Colour(std::int64_t x, std::int64_t y) {
    const auto picture = OnUserInterfaceThread([] { return t_WindowImage(kWindow); });
    if (picture == nullptr || x < 0 || y < 0 || x >= picture->width || y >= picture->height) return -1;
    const std::uint32_t word = picture->pixels[std::size_t(y * picture->width + x)];
    for (int i = 0; i < 16; ++i) {
        const t_RGBColor c = t_PaletteColor(i);
        if (word == (0xFF000000u | std::uint32_t(c.Red) << 16 | std::uint32_t(c.Green) << 8 | c.Blue))
            return i;
    }
    return -1;
}

}  // namespace

// Saving and loading through the panels is run end to end on the real application.
TEST(Malkasten, DrawsWithTheMouseChangesColourClearsAndEndsOnEscape) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    platform.SetMainMenu({{"Ablage", {}}, {"Fenster", {}}});
    startprocess(malkasten::Program, 0x40000000);
    ASSERT_TRUE(WaitFor([] { return MemoryInitialised.load() && vx::Load(WindowTable[kWindow].Visible); }));
    ASSERT_TRUE(WaitFor([&] { return platform.MainMenu().size() == 4; }));  // Farbe and Bild joined the bar
    EXPECT_EQ(Colour(10, 10), 15);

    Click(10, 10);
    Click(110, 10);  // a black line from the first click
    EXPECT_TRUE(WaitFor([] { return Colour(60, 10) == 0 && Colour(110, 10) == 0; }));
    t_MenuEventHandler(platform.MenuItem("Farbe", 1));  // Rot
    EXPECT_TRUE(WaitFor([&] { return platform.Window(kWindow).title == "Malkasten \u2014 Rot"; }));
    Click(10, 100, false);  // moves the pen without drawing
    Click(10, 200);
    EXPECT_TRUE(WaitFor([] { return Colour(10, 150) == 1; }));
    EXPECT_EQ(Colour(10, 50), 15);
    OnUserInterfaceThread([] { viewKeyDown(kWindow, vx::KeyPress{8, "c", 0}); });
    EXPECT_TRUE(WaitFor([] { return Colour(60, 10) == 15 && Colour(10, 150) == 15; }));

    OnUserInterfaceThread([] { viewKeyDown(kWindow, vx::KeyPress{53, "\x1b", 0}); });
    EXPECT_TRUE(WaitFor([&] { return platform.Window(kWindow).title == "Malkasten \u2014 Programm Ende"; }));
}

TEST(Malkasten, LoadingTakesTheNearestColoursAndRefusesWhatIsNotAPicture) {
    vx::test::StartToolkit();
    t_InitWindow(kWindow, 4, false, 4, 2, 0, 0, t_Font{}, true);
    t_WindowVisible(kWindow, true);
    // Colours near the palette's: dark red is nearest red, near-white white, the grey is grey (10).
    const std::string path = ::testing::TempDir() + "malkasten-near.png";
    ASSERT_TRUE(vx::WritePng(vx::WindowImage{3, 1, {0xFFE01010u, 0xFFF0F0F0u, 0xFFA0A0A0u}}, path));
    ASSERT_TRUE(malkasten::LoadPicture(kWindow, path));
    std::remove(path.c_str());
    // Outside the picture: cleared to white.
    const int expected[2][4] = {{1, 15, 10, 15}, {15, 15, 15, 15}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(Colour(x, y), expected[y][x]) << x << ", " << y;

    EXPECT_FALSE(malkasten::LoadPicture(kWindow, ::testing::TempDir() + "no-such-picture.png"));
    const std::string text = ::testing::TempDir() + "malkasten-not.png";
    std::FILE* f = std::fopen(text.c_str(), "w");
    std::fputs("not a picture", f);
    std::fclose(f);
    EXPECT_FALSE(malkasten::LoadPicture(kWindow, text));
    EXPECT_TRUE(vx::test::LogContains("Malkasten: Not a PNG picture: " + text));
    std::remove(text.c_str());
}
