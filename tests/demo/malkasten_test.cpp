#include "demo/malkasten.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>

#include "input/key_input.h"
#include "support/toolkit_test.h"
#include "vxtools/menus.h"

namespace {

std::string Title(vx::HeadlessPlatform& platform) {
    platform.Flush();  // titles are set without waiting
    return platform.Window(malkasten::kWindow).title;
}

void Click(std::uint8_t window, std::int64_t buttons, std::int64_t x, std::int64_t y) {
    t_Event click;
    std::tie(click.Kind, click.Index, click.Window, click.ClickX, click.ClickY) =
        std::tuple(2, buttons, window, x, y);
    MouseEventQueue.Append(click);
}

// Chooses an item of the program's own and waits until the program has acted on it: it acts on menu
// choices after the clicks taken before them.
bool Choose(vx::HeadlessPlatform& platform, std::int64_t tag, const std::string& title) {
    t_MenuEvent choice;
    choice.Kind = 3;
    choice.ItemAction = tag;
    MenuEventQueue.Append(choice);
    return vx::test::Eventually([&] { return MenuEventQueue.Empty() && platform.Window(0).title == title; });
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
    std::ofstream(victim) << "old";
    auto victimBytes = [&] {
        std::ifstream in(victim, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {}).substr(0, 4);
    };

    EXPECT_FALSE(malkasten::Save(folder + "/victim"));  // asked again, and cancelled
    EXPECT_EQ(victimBytes(), "old");
    ASSERT_EQ(platform.SavePanelRequests().size(), 1u);
    EXPECT_EQ(platform.SavePanelRequests()[0].proposedName, victim);
    platform.QueueSavePanelAnswer("file://" + victim);  // asked again, and confirmed
    EXPECT_TRUE(malkasten::Save(folder + "/victim"));
    EXPECT_EQ(victimBytes(), "\x89PNG");
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

// The program on its own thread, driven by queued clicks, keys and menu choices.
TEST(Malkasten, PrimaryClicksDrawFromThePenSecondaryOnesOnlyMoveItAndCStartsAfresh) {
    using malkasten::kWindow;
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    startprocess(malkasten::Program, 1 << 24);
    // The first colour is black; Bild holds Öffnen and Sichern.
    ASSERT_TRUE(vx::test::Eventually([&] { return platform.Window(0).title == "Malkasten \u2014 Schwarz"; }));
    EXPECT_EQ(platform.menuItemInfo(platform.MenuItem("Bild", 1)).tag, malkasten::kSaveTag);
    const vx::MenuItemInfo white = platform.menuItemInfo(platform.MenuItem("Farbe", 15));
    EXPECT_EQ(std::pair(white.title, white.tag),
              std::pair(std::string("Wei\u00DF"), malkasten::kColourTag + 15));
    ASSERT_TRUE(Choose(platform, malkasten::kColourTag + 1, "Malkasten \u2014 Rot"));
    Click(kWindow, 1, 12, 20);   // pen up: a dot
    Click(kWindow, 2, 100, 10);  // moves the pen only
    Click(kWindow, 3, 100, 50);  // both buttons: a line
    Click(kWindow, 1, -1, 30);   // outside the picture
    Click(kWindow, 1, 30, -1);
    Click(1, 1, 0, 0);  // another window's
    ASSERT_TRUE(vx::test::Eventually([] { return MouseEventQueue.Empty(); }));
    ASSERT_TRUE(Choose(platform, malkasten::kColourTag + 12, "Malkasten \u2014 Gr\u00FCn"));
    const t_Window& w = WindowRecord(kWindow);
    const int before[][3] = {{12, 20, 1},  {20, 12, 15}, {50, 10, 15},  {100, 9, 15},
                             {100, 10, 1}, {100, 50, 1}, {100, 51, 15}, {99, 30, 15},
                             {50, 25, 15}, {0, 30, 15},  {86, 40, 15}};
    for (const auto& [x, y, colour] : before) EXPECT_EQ(vx::test::Nibble(w, x, y), colour) << x << ", " << y;

    // A fresh picture: the next click is a dot again, now green.
    t_KeyEventHandler(kWindow, vx::KeyPress{8, "c", 0});
    Click(kWindow, 1, 30, 30);
    Click(kWindow, 2, 0, 0);  // the first column and row are inside
    Click(kWindow, 1, 0, 5);
    ASSERT_TRUE(vx::test::Eventually([] { return MouseEventQueue.Empty() && KeyEventQueue.Empty(); }));
    // Saving adds the suffix a name lacks.
    const std::string path = ::testing::TempDir() + "malkasten-" + std::to_string(::getpid());
    MenuActionTable.Replace(std::size_t(t_MenuActionIndex(malkasten::kSaveTag)),
                            {malkasten::kSaveTag, 101, "", "", "", "png", path});
    ASSERT_TRUE(Choose(platform, malkasten::kSaveTag, "Malkasten \u2014 Gr\u00FCn"));
    // The last colour, and a tag past it that is none.
    ASSERT_TRUE(Choose(platform, malkasten::kColourTag + 15, "Malkasten \u2014 Wei\u00DF"));
    ASSERT_TRUE(Choose(platform, malkasten::kColourTag + 16, "Malkasten \u2014 Wei\u00DF"));
    ASSERT_TRUE(Choose(platform, malkasten::kColourTag, "Malkasten \u2014 Schwarz"));
    t_KeyEventHandler(kWindow, vx::KeyPress{53, "\x1b", 0});
    ASSERT_TRUE(
        vx::test::Eventually([&] { return platform.Window(0).title == "Malkasten \u2014 Programm Ende"; }));
    EXPECT_EQ(vx::test::CountLogLine("t_QuitProgram: Quitting current thread."), 1);
    const int after[][3] = {{12, 20, 15}, {100, 30, 15}, {30, 30, 12}, {65, 40, 15}, {0, 0, 12}, {0, 5, 12}};
    for (const auto& [x, y, colour] : after) EXPECT_EQ(vx::test::Nibble(w, x, y), colour) << x << ", " << y;
    EXPECT_TRUE(vx::test::LogContains("Malkasten: Saved " + path + ".png"));
    const t_Window& copy = vx::test::OpenShown(1, 4, false, 640, 400);
    EXPECT_TRUE(malkasten::LoadPicture(1, path + ".png"));
    std::remove((path + ".png").c_str());
    EXPECT_EQ(std::pair(vx::test::Nibble(copy, 30, 30), vx::test::Nibble(copy, 10, 10)), std::pair(12, 15));
}
