#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <utility>
#include <vector>

#include "core/log.h"
#include "core/state.h"
#include "display/window.h"
#include "menus/menu_items.h"
#include "support/toolkit_test.h"
#include "vxtools/core.h"

TEST(InitVxtools, BuildsTheLatin1CaseTables) {
    initvxtools();
    // Latin-1 letters change case, the multiplication sign and the letters without a partner do not.
    for (auto [c, upper] : {std::pair{int('a'), int('A')}, {224, 192}, {247, 247}, {255, 255}})
        EXPECT_EQ(UpperCaseTable[std::size_t(c)], upper) << c;
    EXPECT_EQ(LowerCaseTable[215], 215);
}

TEST(InitMemory, FillsVideoMemoryAndBuildsTheMenuActionsOnceAndTrimsThePlatformMenus) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    platform.SetMainMenu({{"Bearbeiten",
                           {{"Kopieren", 111, "c", 0},
                            {"", 0, "", 0},
                            {"Start Dictation…", 0, "", 0},
                            {"Emoji & Symbole", 0, "", 0},
                            {"", 0, "", 0}}},
                          {"Fenster", {{"Vollbildmodus", 0, "", 0}, {"Grafik 0", 213, "", 0}}}});
    t_InitMemory();
    ASSERT_TRUE(MemoryInitialised);
    EXPECT_EQ(std::count(VideoMemory, VideoMemory + kVideoMemorySize, 0xFF), kVideoMemorySize);
    for (int n = 0; n < 8; ++n) EXPECT_EQ(WindowTable[n].MemoryStart, -1);
    ASSERT_EQ(MenuActionTable.Count(), 37u);
    EXPECT_EQ(t_MenuActionIndex(205), 5);
    EXPECT_EQ(t_MenuActionIndex(114), 36);
    // Dictation and emoji items go, and then the separator they left at the end.
    const auto menus = platform.MainMenu();
    ASSERT_EQ(menus.size(), 2u);
    ASSERT_EQ(menus[0].items.size(), 2u);
    EXPECT_EQ(menus[0].items[1].title, "");
    ASSERT_EQ(menus[1].items.size(), 1u);
    EXPECT_EQ(menus[1].items[0].title, "Grafik 0");
    EXPECT_TRUE(platform.TextView(8).substitutionsDisabled);

    vx::TakeCapturedLog();
    t_InitMemory();  // the second call logs nothing and changes nothing
    EXPECT_EQ(vx::TakeCapturedLog(), "");
    EXPECT_EQ(MenuActionTable.Count(), 37u);
}

TEST(InitMemory, WithoutAPasteboardViewStillFinishes) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    platform.RemoveTextView(8);
    t_InitMemory();
    EXPECT_TRUE(MemoryInitialised);
}

TEST(EnsureMemory, ThreadsArrivingDuringInitialisationWaitForIt) {
    vx::test::StartToolkit();
    std::atomic<int> sawReady{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&] {
            EnsureMemory();
            if (MemoryInitialised && VideoMemory != nullptr && WindowTable != nullptr) sawReady++;
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(sawReady.load(), 4);
    EXPECT_EQ(vx::test::CountLogLine("t_InitMemory: Start."), 1);
}
