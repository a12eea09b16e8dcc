#include "demo/malkasten.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "support/toolkit_test.h"

// Drawing, colours, saving, loading and Escape are run end to end on the real application.
TEST(Malkasten, LoadingTakesTheNearestColoursAndRefusesWhatIsNotAPicture) {
    using malkasten::kWindow;
    vx::test::StartToolkit();
    const t_Window& w = vx::test::OpenShown(kWindow, 4, false, 4, 2);
    // Colours near the palette's: dark red is nearest red, near-white white, the grey is grey (10).
    const std::string path = ::testing::TempDir() + "malkasten-near.png";
    ASSERT_TRUE(vx::WritePng(vx::WindowImage{3, 1, {0xFFE01010u, 0xFFF0F0F0u, 0xFFA0A0A0u}}, path));
    ASSERT_TRUE(malkasten::LoadPicture(kWindow, path));
    std::remove(path.c_str());
    // Outside the picture: cleared to white.
    const int expected[2][4] = {{1, 15, 10, 15}, {15, 15, 15, 15}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(vx::test::Nibble(w, x, y), expected[y][x]) << x << ", " << y;

    EXPECT_FALSE(malkasten::LoadPicture(kWindow, ::testing::TempDir() + "no-such-picture.png"));
    const std::string text = ::testing::TempDir() + "malkasten-not.png";
    std::FILE* f = std::fopen(text.c_str(), "w");
    std::fputs("not a picture", f);
    std::fclose(f);
    EXPECT_FALSE(malkasten::LoadPicture(kWindow, text));
    EXPECT_TRUE(vx::test::LogContains("LoadPicture: File " + text + " is not a PNG picture."));
    EXPECT_EQ(vx::PictureError(), "not a PNG picture");
    std::remove(text.c_str());
}
