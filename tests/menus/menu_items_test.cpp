#include "menus/menu_items.h"

#include <gtest/gtest.h>

#include "support/toolkit_test.h"

// Positions count from 0 and 65535 stands for the last item; a missing menu and a position out of range
// log lines of their own.
TEST(MenuItems, FindReadAndDeleteByPositionOrLogWhyNot) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    platform.SetMainMenu({
        {"Ablage",
         {{"Öffnen …", 100, "o", 0}, {"", 0, "", 0}, {"Sichern", 101, "s", 0}, {"Öffnen …", 102, "", 0}}},
        {"Leer", {}},
    });
    EXPECT_EQ(t_MenuItemIndex("Ablage", "Öffnen …"), 0);  // two items share the title: the lower wins
    EXPECT_EQ(t_MenuItemIndex("Ablage", "Drucken"), -1);
    EXPECT_EQ(t_MenuItemIndex("Hilfe", "x"), -2);
    EXPECT_EQ(t_MenuItemTitle("Ablage", 65535), "Öffnen …");
    for (std::int64_t position : {4, -1}) EXPECT_EQ(t_MenuItemTitle("Ablage", position), "");
    EXPECT_EQ(t_MenuItemTitle("Leer", 65535), "");
    EXPECT_EQ(t_MenuItemTitle("Hilfe", 0), "");
    t_MenuItemDelete("Leer", 65535);  // empty menu: nothing to remove
    t_MenuItemDelete("Ablage", 65535);
    t_MenuItemDelete("Ablage", 0);
    t_MenuItemDelete("Ablage", 7);
    t_MenuItemDelete("Hilfe", 0);
    const std::vector<vx::HeadlessMenuItem> items = platform.MainMenu()[0].items;
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].title + "|" + items[1].title, "|Sichern");
    EXPECT_EQ(
        vx::test::TakeLogLines(),
        (std::vector<std::string>{
            "t_MenuItemIndex: Menu not found.", "t_MenuItemTitle: Item position out of range",
            "t_MenuItemTitle: Item position out of range", "t_MenuItemTitle: Item position out of range",
            "t_MenuItemTitle: Menu not found.", "t_MenuItemDelete: Item position out of range",
            "t_MenuItemDelete: Item position out of range", "t_MenuItemDelete: Menu not found."}));
}

TEST(MenuActionTable, FindsTheFirstRecordOfATagAndStaysInsideTheTable) {
    vx::test::StartToolkit();
    AppendMenuAction(100);
    AppendMenuAction(100);
    EXPECT_EQ(t_MenuActionIndex(100), 0);
    EXPECT_EQ(t_MenuActionIndex(999), -1);
    EXPECT_FALSE(MenuActionTable.Replace(99, *MenuActionTable.At(1)));
    EXPECT_FALSE(MenuActionTable.At(99).has_value());
}
