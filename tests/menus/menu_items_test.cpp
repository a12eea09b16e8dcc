#include "menus/menu_items.h"

#include <gtest/gtest.h>

#include <thread>

#include "support/toolkit_test.h"

namespace {

vx::HeadlessPlatform& WithMenus() {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    platform.SetMainMenu({
        {"Ablage",
         {{"Öffnen …", 100, "o", 0}, {"", 0, "", 0}, {"Sichern", 101, "s", 0}, {"Öffnen …", 102, "", 0}}},
        {"Leer", {}},
    });
    return platform;
}

}  // namespace

TEST(MenuItemIndex, FindsTheFirstItemAndReportsMissingMenus) {
    WithMenus();
    EXPECT_EQ(t_MenuItemIndex("Ablage", "Öffnen …"), 0);  // two items share the title: the lower wins
    EXPECT_EQ(t_MenuItemIndex("Ablage", "Sichern"), 2);
    EXPECT_EQ(t_MenuItemIndex("Ablage", "Drucken"), -1);
    EXPECT_EQ(t_MenuItemIndex("Leer", "x"), -1);
    EXPECT_EQ(t_MenuItemIndex("Hilfe", "x"), -2);
    EXPECT_EQ(vx::test::TakeLogLines(), (std::vector<std::string>{"t_MenuItemIndex: Menu not found."}));
}

TEST(MenuItemTitle, ReadsByPositionWithTheLastItemAs65535) {
    WithMenus();
    EXPECT_EQ(t_MenuItemTitle("Ablage", 2), "Sichern");
    EXPECT_EQ(t_MenuItemTitle("Ablage", 1), "");  // a separator
    EXPECT_EQ(t_MenuItemTitle("Ablage", 65535), "Öffnen …");
    EXPECT_EQ(t_MenuItemTitle("Ablage", 4), "");
    EXPECT_EQ(t_MenuItemTitle("Ablage", -1), "");
    EXPECT_EQ(t_MenuItemTitle("Leer", 65535), "");
    EXPECT_EQ(t_MenuItemTitle("Hilfe", 0), "");
    EXPECT_EQ(
        vx::test::TakeLogLines(),
        (std::vector<std::string>{
            "t_MenuItemTitle: Item position out of range", "t_MenuItemTitle: Item position out of range",
            "t_MenuItemTitle: Item position out of range", "t_MenuItemTitle: Menu not found."}));
}

TEST(MenuItemDelete, RemovesOneItemOrLogsWhyNot) {
    vx::HeadlessPlatform& platform = WithMenus();
    t_MenuItemDelete("Leer", 65535);  // empty menu: nothing to remove
    t_MenuItemDelete("Ablage", 65535);
    t_MenuItemDelete("Ablage", 0);
    t_MenuItemDelete("Ablage", 7);
    t_MenuItemDelete("Hilfe", 0);
    auto menus = platform.MainMenu();
    ASSERT_EQ(menus[0].items.size(), 2u);
    EXPECT_EQ(menus[0].items[0].title, "");
    EXPECT_EQ(menus[0].items[1].title, "Sichern");
    EXPECT_EQ(vx::test::TakeLogLines(),
              (std::vector<std::string>{"t_MenuItemDelete: Item position out of range",
                                        "t_MenuItemDelete: Item position out of range",
                                        "t_MenuItemDelete: Menu not found."}));
}

TEST(MenuItems, WorkFromAnyThread) {
    WithMenus();
    std::int64_t index = -9;
    std::thread([&] { index = t_MenuItemIndex("Ablage", "Sichern"); }).join();
    EXPECT_EQ(index, 2);
}

TEST(MenuActionTable, FindsTagsAndIgnoresTagZero) {
    vx::test::StartToolkit();
    AppendMenuAction(0);
    AppendMenuAction(100);
    AppendMenuAction(100);
    EXPECT_EQ(t_MenuActionIndex(0), -1);  // even though a record has tag 0
    EXPECT_EQ(t_MenuActionIndex(100), 1);
    EXPECT_EQ(t_MenuActionIndex(999), -1);
    t_MenuAction record = *MenuActionTable.At(1);
    record.FilePath = "/tmp/x.png";
    EXPECT_TRUE(MenuActionTable.Replace(1, record));
    EXPECT_EQ(MenuActionTable.At(1)->FilePath, "/tmp/x.png");
    EXPECT_FALSE(MenuActionTable.Replace(99, record));
    EXPECT_FALSE(MenuActionTable.At(99).has_value());
}
