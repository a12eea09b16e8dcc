#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "core/program.h"
#include "core/state.h"
#include "core/strings.h"
#include "display/refresh.h"
#include "display/window.h"
#include "menus/menu_items.h"
#include "menus/text_windows.h"
#include "support/toolkit_test.h"
#include "vxtools/menus.h"

namespace {

using Lines = std::vector<std::string>;

std::atomic<int> programHandlerCalls{0};

// The headless platform with an empty "Test" menu and a counting program menu handler.
vx::HeadlessPlatform& Start() {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    platform.SetMainMenu({{"Ablage", {}}, {"Test", {}}, {"Fenster", {}}});
    ProgramMenuHandler = [] { ++programHandlerCalls; };
    EnsureMemory();
    vx::test::TakeLogLines();
    return platform;
}

// A new item with this tag in the "Test" menu.
vx::MenuItemRef Item(vx::HeadlessPlatform& platform, std::int64_t tag, const std::string& key = "") {
    static int count = 0;
    EXPECT_TRUE(vx::AddMenuItem("Test", "Item " + std::to_string(count), tag, key));
    return platform.MenuItem("Test", count++);
}

void Choose(vx::MenuItemRef item) {
    t_MenuEventHandler(item);
}

// Waits until the program's handler has run `calls` times, then a little longer for any stray call.
int ProgramHandlerCallsSettled(int calls) {
    for (int i = 0; i < 400 && programHandlerCalls.load() < calls; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return programHandlerCalls.load();
}

t_MenuEvent LastMenuEvent() {
    return MenuEventQueue.Last().value_or(t_MenuEvent{});
}

// Window 0 with a 16 x 2 text screen, visible, in front.
t_Window& TextWindowInFront(vx::HeadlessPlatform& platform) {
    t_Window& w = vx::test::OpenTextWindow(4, 128, 16);
    t_WindowVisible(0, true);
    platform.SetMainWindow(0);
    return w;
}

}  // namespace

TEST(MenuEvents, RecordEveryItemAndCallTheProgramOnlyForItemsTheToolkitLeavesAlone) {
    vx::HeadlessPlatform& platform = Start();
    AppendMenuAction(0);  // a record with tag 0 never selects an action
    const struct {
        vx::MenuItemRef item;
        std::int64_t kind, action;
        bool program;
    } cases[] = {
        {platform.OrphanMenuItem(205), 0, 0, true},  // in no menu: an empty event
        {Item(platform, 0, "n"), 3, 0, true},
        {Item(platform, 4711), 3, 4711, true},  // a tag without a record
        {Item(platform, 205), 3, 205, false},   // a toolkit action
        {Item(platform, 231), 3, 231, false},   // registered, does nothing
    };
    int expectedCalls = 0;
    for (const auto& c : cases) {
        const std::size_t before = MenuEventQueue.Count();
        MenuEventAvailable = false;
        Choose(c.item);
        EXPECT_EQ(MenuEventQueue.Count(), before + 1);
        EXPECT_TRUE(MenuEventAvailable.load());
        const t_MenuEvent e = LastMenuEvent();
        EXPECT_EQ(e.Kind, c.kind);
        EXPECT_EQ(e.ItemAction, c.action);
        EXPECT_EQ(e.MenuTitle, c.kind == 3 ? "Test" : "");
        EXPECT_EQ(e.Time != 0, c.kind == 3);
        expectedCalls += c.program;
    }
    EXPECT_EQ(ProgramHandlerCallsSettled(expectedCalls), expectedCalls);

    const t_MenuEvent withKey = MenuEventQueue.Snapshot()[1];
    EXPECT_EQ(withKey.ItemTitle, "Item 0");
    EXPECT_EQ(withKey.ItemKeyChar, "n");
    EXPECT_EQ(withKey.ItemKeyAsc, 'n');
    EXPECT_EQ(withKey.ItemKeyMods, vx::kControlFlag);
    EXPECT_TRUE(platform.Window(12).visible);  // 205 showed the main window
}

TEST(MenuActions, ShowAndHideWindowsOrSayWhyNot) {
    vx::HeadlessPlatform& platform = Start();
    for (int n = 1; n < 8; ++n) platform.RemoveGraphicView(n);
    t_InitWindow(0, 4, false, 64, 32, 0, 0, t_Font{}, false);
    vx::test::TakeLogLines();

    Choose(Item(platform, 221));  // show graphic window 4, never set up
    EXPECT_EQ(vx::test::TakeOwnLogLines(), Lines{"t_MenuEventHandler: Window #4 not initialized."});
    EXPECT_EQ(platform.BeepCount(), 1);

    Choose(Item(platform, 213));
    EXPECT_TRUE(platform.Window(0).visible);
    EXPECT_TRUE(platform.Window(0).key);
    EXPECT_TRUE(WindowTable[0].Visible);
    Choose(Item(platform, 229));
    EXPECT_TRUE(platform.Window(10).visible);
    Choose(Item(platform, 230));
    EXPECT_FALSE(platform.Window(10).visible);
    platform.SetMainWindow(0);
    Choose(Item(platform, 201));  // hide the front window, the last one on screen
    EXPECT_FALSE(platform.Window(0).visible);
    EXPECT_TRUE(platform.Window(12).visible);  // the main window keeps the menus within reach

    Choose(Item(platform, 209));
    vx::test::TakeOwnLogLines();
    Choose(Item(platform, 200));  // hide all
    EXPECT_EQ(vx::test::TakeOwnLogLines(), Lines(7, "t_WindowVisible: Window does not exist."));
    for (int n : {0, 8, 9, 10, 11}) EXPECT_FALSE(platform.Window(n).visible) << n;
    EXPECT_TRUE(platform.Window(12).visible);
    EXPECT_EQ(platform.BeepCount(), 1);
}

TEST(MenuActions, CopyTextAndPicturePasteAndClear) {
    vx::HeadlessPlatform& platform = Start();
    t_Window& w = TextWindowInFront(platform);
    const std::uint8_t line[] = {'A', 138, 140, ' ', 'z'};
    std::copy(std::begin(line), std::end(line), VideoMemory + w.TextMemoryStart);
    VideoMemory[w.TextMemoryStart + w.TextWidth] = 'B';

    Choose(Item(platform, 111));
    EXPECT_EQ(platform.PasteboardText(), "A|- z\rB");
    Choose(Item(platform, 110));
    const auto picture = platform.PasteboardImage();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixels, WindowPicture(0)->pixels);
    EXPECT_FALSE(platform.PasteboardText().has_value());  // the picture replaced the text

    std::size_t queuedBeforePaste = 99;
    PasteHandler = [&] { queuedBeforePaste = MenuEventQueue.Count(); };
    Choose(Item(platform, 113));
    EXPECT_EQ(queuedBeforePaste, MenuEventQueue.Count() - 1);  // pasted before the event was posted

    // The printer's and the console's text go to the pasteboard as they are.
    OnUserInterfaceThread([&] { platform.setTextViewText(platform.textView(9), "Zeile 1\n\u00C4 \x8A"); });
    platform.SetMainWindow(9);
    Choose(Item(platform, 111));
    EXPECT_EQ(platform.PasteboardText(), "Zeile 1\n\u00C4 \x8A");

    VirtualPrinterBuffer.Append("alt");
    SystemConsoleBuffer.Append("alt");
    OnUserInterfaceThread([&] { platform.setTextViewText(platform.textView(10), "Konsole"); });
    Choose(Item(platform, 112));
    Choose(Item(platform, 114));
    EXPECT_TRUE(VirtualPrinterBuffer.Empty());
    EXPECT_TRUE(SystemConsoleBuffer.Empty());
    EXPECT_EQ(platform.TextView(9).text, "");
    EXPECT_EQ(platform.TextView(10).text, "");
    EXPECT_EQ(platform.BeepCount(), 0);
    EXPECT_EQ(vx::test::TakeOwnLogLines(), Lines{});
}

TEST(MenuActions, RefuseWithALineAndABeep) {
    vx::HeadlessPlatform& platform = Start();
    TextWindowInFront(platform);
    platform.SetPasteboardText("vorher");
    bool pasted = false;
    PasteHandler = [&] { pasted = true; };

    platform.SetMainWindow(11);  // the preferences window: nothing to copy, nowhere to paste
    for (int tag : {110, 111, 113}) Choose(Item(platform, tag));
    EXPECT_EQ(platform.BeepCount(), 3);
    EXPECT_FALSE(pasted);
    EXPECT_EQ(platform.PasteboardText(), "vorher");

    platform.RemoveTextView(9);
    platform.RemoveTextView(10);
    platform.SetMainWindow(10);
    for (int tag : {111, 112, 114}) Choose(Item(platform, tag));
    EXPECT_EQ(vx::test::TakeOwnLogLines(),
              (Lines{"t_MenuEventHandler: System console window is nil, resource undefined.",
                     "t_MenuEventHandler: Virtual printer window is nil, resource undefined.",
                     "t_MenuEventHandler: System console window is nil, resource undefined."}));
    EXPECT_EQ(platform.BeepCount(), 6);
    EXPECT_EQ(ProgramHandlerCallsSettled(0), 0);
}

TEST(MenuActions, FilePanelsWriteTheirResultIntoTheRecord) {
    vx::HeadlessPlatform& platform = Start();
    MenuActionTable.Append({9001, 100, "Bild laden", "Welches?", "", "png,bmp", ""});
    MenuActionTable.Append({9002, 101, "Bild sichern", "Wohin?", "bild.png", "png", ""});
    const std::int64_t open = t_MenuActionIndex(9001), save = t_MenuActionIndex(9002);

    platform.QueueOpenPanelAnswer({"file:///tmp/A%CC%88pfel%20rot.png"});
    Choose(Item(platform, 9001));
    EXPECT_EQ(MenuActionTable.At(std::size_t(open))->FilePath, "/tmp/\u00C4pfel rot.png");
    EXPECT_EQ(MenuActionTable.At(std::size_t(open))->FileName, "\u00C4pfel rot.png");
    EXPECT_EQ(LastMenuEvent().ItemAction, 9001);

    platform.QueueSavePanelAnswer("file:///tmp/x.png");
    Choose(Item(platform, 9002));
    EXPECT_EQ(MenuActionTable.At(std::size_t(save))->FilePath, "/tmp/x.png");
    EXPECT_EQ(MenuActionTable.At(std::size_t(save))->FileName, "x.png");
    ASSERT_EQ(platform.SavePanelRequests().size(), 1u);
    EXPECT_EQ(platform.SavePanelRequests()[0].proposedName, "bild.png");
    EXPECT_EQ(platform.OpenPanelRequests()[0].fileTypes, (std::vector<std::string>{"png", "bmp"}));

    Choose(Item(platform, 9001));  // cancelled
    EXPECT_EQ(MenuActionTable.At(std::size_t(open))->FilePath, "");
    EXPECT_EQ(MenuActionTable.At(std::size_t(open))->FileName, "");
    EXPECT_EQ(ProgramHandlerCallsSettled(0), 0);
}

TEST(PasteboardText, ReplacesTheGraphicCharactersAndKeepsTheRest) {
    // Codes 127..160, in order.
    const char* const graphics[] = {"#", "*", "#", "<", "=", ">", "O", "+", "+", "+",     "+", "|",
                                    "|", "-", "-", "+", "+", "+", "+", "+", "+", "+",     "+", "+",
                                    "+", "+", "+", "-", "-", "|", "|", "+", "=", "\u02FD"};
    for (char32_t code = 0; code < 0x300; ++code) {
        std::string text, expected;
        vx::AppendUtf8(text, code);
        if (code >= 127 && code <= 160)
            expected = graphics[code - 127];
        else
            expected = text;
        EXPECT_EQ(PasteboardText(text), expected) << int(code);
    }
    EXPECT_EQ(PasteboardText("Gr\u00FC\u00DF"
                             "e\r\u008B\u20AC"),
              "Gr\u00FC\u00DFe\r|\u20AC");
}

TEST(ProgramMenuItems, JoinTheMenuBarAndLeaveIt) {
    vx::HeadlessPlatform& platform = Start();
    EXPECT_TRUE(vx::AddMenuItem("Farbe", "Rot", 5001, "r", vx::kControlFlag | vx::kShiftFlag));
    EXPECT_TRUE(vx::AddMenuItem("Farbe", "Gr\u00FCn", 5002));
    EXPECT_FALSE(vx::AddMenuItem("Farbe", "", 5003));
    const std::vector<vx::HeadlessMenu> menus = platform.MainMenu();
    ASSERT_EQ(menus.size(), 4u);
    EXPECT_EQ(menus[2].title, "Farbe");  // new menus go before the window menu
    ASSERT_EQ(menus[2].items.size(), 2u);
    EXPECT_EQ(menus[2].items[0].keyEquivalent, "r");
    EXPECT_EQ(menus[2].items[0].keyModifiers, vx::kControlFlag | vx::kShiftFlag);
    EXPECT_EQ(menus[2].items[1].keyEquivalent, "");

    Choose(platform.MenuItem("Farbe", 1));
    EXPECT_EQ(LastMenuEvent().ItemTitle, "Gr\u00FCn");
    EXPECT_EQ(LastMenuEvent().ItemAction, 5002);
    EXPECT_EQ(ProgramHandlerCallsSettled(1), 1);

    EXPECT_TRUE(vx::RemoveMenuItem("Farbe", "Rot"));
    EXPECT_FALSE(vx::RemoveMenuItem("Farbe", "Rot"));
    EXPECT_EQ(platform.MainMenu()[2].items.size(), 1u);
    EXPECT_EQ(vx::test::TakeOwnLogLines(), Lines{"AddMenuItem: Menu and item need a title."});
}
