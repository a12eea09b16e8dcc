#include <gtest/gtest.h>

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

namespace {

std::vector<vx::HeadlessMenu> PlatformMenus() {
    return {
        {"Bearbeiten",
         {{"Kopieren", 111, "c", 0},
          {"", 0, "", 0},
          {"Start Dictation…", 0, "", 0},
          {"Emoji & Symbole", 0, "", 0},
          {"", 0, "", 0}}},
        {"Fenster",
         {{"Vollbildmodus", 0, "", 0},
          {"Grafik 0", 213, "", 0},
          {"Tile Window to Left of Screen", 0, "", 0}}},
    };
}

}  // namespace

TEST(InitVxtools, BuildsCaseAndHexTables) {
    vx::test::StartToolkit();
    initvxtools();
    for (auto [c, upper] : {std::pair{int('a'), int('A')}, {224, 192}, {229, 229}, {247, 247}, {255, 255}})
        EXPECT_EQ(UpperCaseTable[std::size_t(c)], upper) << c;
    EXPECT_EQ(LowerCaseTable['Z'], 'z');
    EXPECT_EQ(LowerCaseTable[215], 215);
    for (auto [c, value] : {std::pair{int('f'), 15}, {'A', 10}, {'9', 9}, {'g', -1}})
        EXPECT_EQ(HexValue[c], value) << c;
    EXPECT_EQ(HexDigits[11], 'B');
    EXPECT_TRUE(ToolkitInitialised);
    EXPECT_EQ(vx::test::TakeLogLines(),
              (std::vector<std::string>{"initvxtools: Start.", "initvxtools: End."}));
}

TEST(InitMemory, CreatesMemoryTableAndActionsOnce) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    t_InitMemory();
    ASSERT_TRUE(MemoryInitialised);
    EXPECT_EQ(HighMemory, 0xFFFFFF);
    EXPECT_EQ(VideoMemory[0], 0xFF);
    EXPECT_EQ(VideoMemory[kVideoMemorySize - 1], 0xFF);
    for (int n = 0; n < 8; ++n) {
        EXPECT_FALSE(WindowTable[n].Initialized);
        EXPECT_EQ(WindowTable[n].MemoryStart, -1);
        EXPECT_EQ(WindowTable[n].TextRedirectOutput, 1);
        EXPECT_EQ(WindowTable[n].Font.Identifier, (std::vector<std::uint8_t>{'v', 'x', 'f', 'n'}));
    }
    ASSERT_EQ(MenuActionTable.Count(), 37u);
    EXPECT_EQ(MenuActionTable.At(0)->Tag, 200);
    EXPECT_EQ(MenuActionTable.At(31)->Action, 231);
    EXPECT_EQ(MenuActionTable.At(32)->Tag, 110);
    EXPECT_EQ(t_MenuActionIndex(205), 5);
    EXPECT_EQ(t_MenuActionIndex(114), 36);
    vx::HeadlessTextViewState pasteboard = platform.TextView(8);
    EXPECT_TRUE(pasteboard.substitutionsDisabled);
    EXPECT_EQ(pasteboard.fontFamily, "Menlo");
    EXPECT_EQ(pasteboard.fontSize, 12.0);
    EXPECT_EQ(pasteboard.redisplayMarks, 1);

    vx::TakeCapturedLog();
    t_InitMemory();  // the second call logs nothing and changes nothing
    EXPECT_EQ(vx::TakeCapturedLog(), "");
    EXPECT_EQ(MenuActionTable.Count(), 37u);
}

TEST(InitMemory, TrimsThePlatformsEditAndWindowMenus) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    platform.SetMainMenu(PlatformMenus());
    t_InitMemory();
    auto menus = platform.MainMenu();
    ASSERT_EQ(menus.size(), 2u);
    // Dictation and emoji items go, and then the separator they left at the end.
    ASSERT_EQ(menus[0].items.size(), 2u);
    EXPECT_EQ(menus[0].items[0].title, "Kopieren");
    EXPECT_EQ(menus[0].items[1].title, "");
    ASSERT_EQ(menus[1].items.size(), 1u);
    EXPECT_EQ(menus[1].items[0].title, "Grafik 0");
    EXPECT_TRUE(vx::test::LogContains("*** Found Fenster Menu Item Vollbildmodus"));
    EXPECT_TRUE(vx::test::LogContains("*** Found Fenster Menu Item Tile Window to Left of Screen"));
    // Missing menus are reported by the item operations and skipped.
    EXPECT_GE(vx::test::CountLogLine("t_MenuItemIndex: Menu not found."), 1);
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
