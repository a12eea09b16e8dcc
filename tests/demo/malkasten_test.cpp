#include "demo/malkasten.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

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

namespace {

std::string Title(vx::HeadlessPlatform& platform) {
    platform.Flush();  // titles are set without waiting
    return platform.Window(malkasten::kWindow).title;
}

}  // namespace

// A name without ".png" never replaces NAME.png unasked: the panel is shown again with NAME.png (where it
// asks before replacing it); a new NAME.png is written at once. Failures show in the title and beep.
TEST(Malkasten, AddsTheExtensionOnlyAfterAskingAgainAndShowsFailures) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    vx::test::OpenShown(malkasten::kWindow, 4, false, 64, 32);
    char folderTemplate[] = "/tmp/malkasten-XXXXXX";
    ASSERT_NE(::mkdtemp(folderTemplate), nullptr);
    const std::string folder = folderTemplate, victim = folder + "/victim.png";
    std::FILE* f = std::fopen(victim.c_str(), "w");
    std::fputs("old", f);
    std::fclose(f);
    auto victimBytes = [&] {
        std::FILE* file = std::fopen(victim.c_str(), "rb");
        char bytes[8] = {};
        const std::size_t n = file ? std::fread(bytes, 1, sizeof bytes, file) : 0;
        if (file) std::fclose(file);
        return std::string(bytes, n);
    };

    EXPECT_FALSE(malkasten::Save(folder + "/victim"));  // asked again, and cancelled
    EXPECT_EQ(victimBytes(), "old");
    ASSERT_EQ(platform.SavePanelRequests().size(), 1u);
    EXPECT_EQ(platform.SavePanelRequests()[0].proposedName, victim);
    platform.QueueSavePanelAnswer("file://" + victim);  // asked again, and confirmed
    EXPECT_TRUE(malkasten::Save(folder + "/victim"));
    EXPECT_EQ(victimBytes().substr(1, 3), "PNG");
    EXPECT_TRUE(malkasten::Save(folder + "/neu"));  // nothing to replace: no question
    EXPECT_EQ(platform.SavePanelRequests().size(), 2u);

    const int beeps = platform.BeepCount();
    EXPECT_FALSE(malkasten::Save(folder + "/fehlt/bild.png"));
    EXPECT_EQ(Title(platform), "Malkasten \u2014 bild.png nicht gesichert (folder not found)");
    EXPECT_FALSE(malkasten::Open(folder + "/fehlt.png"));
    EXPECT_TRUE(Title(platform).starts_with("Malkasten \u2014 fehlt.png nicht ge\u00F6ffnet"));
    EXPECT_EQ(platform.BeepCount() - beeps, 2);
    std::filesystem::remove_all(folder);
}
