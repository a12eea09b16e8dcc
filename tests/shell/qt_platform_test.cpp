// The Qt platform on real widgets: window frames, menus, panels, the pasteboard and the hand-over between
// the program thread and the user-interface thread; and the applications' command line.
#include "shell/qt_platform.h"

#include <QClipboard>
#include <QFileDialog>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTimer>
#include <cmath>
#include <sstream>

#include "menus/file_dialogs.h"
#include "qt_test_support.h"
#include "shell/command_line.h"
#include "vxtools/menus.h"

namespace {

using namespace vx::test;
using vx::Rect;
using vx::shell::QtPlatform;
using vx::shell::ToolkitWindow;

vx::WindowRef Handle(QWidget* w) {
    return reinterpret_cast<vx::WindowRef>(w);
}

// The item with this tag in the menus or their submenus.
QAction* MenuItem(qint64 tag, const QList<QMenu*>& menus = StartQt().interface().menus) {
    for (QMenu* menu : menus) {
        for (QAction* action : menu->actions()) {
            QAction* found = action->menu() ? MenuItem(tag, {action->menu()}) : action;
            if (found != nullptr && found->data() == QVariant(tag)) return found;
        }
    }
    return nullptr;
}

}  // namespace

TEST(QtPlatformWindows, FramesCountFromTheBottomLeftAndChildrenKeepTheirPlaceFromTheBottomOrTheTop) {
    QtPlatform& platform = StartQt();
    vx::shell::Interface& ui = platform.interface();
    ToolkitWindow* window = ui.main;
    const int screenHeight = QGuiApplication::primaryScreen()->geometry().height();
    platform.setWindowFrame(Handle(window), Rect{100, 200, 300, 400}, false);
    EXPECT_EQ(window->geometry(), QRect(100, screenHeight - 600, 300, 400));
    EXPECT_EQ(platform.windowFrame(Handle(window)), (Rect{100, 200, 300, 400}));

    vx::WindowRef printer = platform.auxiliaryWindow(9);
    const Rect ruler = platform.rulerFrame(platform.ruler(9));
    const Rect frame = platform.windowFrame(printer);
    const Rect scroll = platform.scrollViewFrame(platform.scrollView(9));
    platform.setWindowFrame(printer, Rect{frame.x, frame.y, frame.width, frame.height + 100}, false);
    // The text keeps its distance from the bottom; the ruler stays under the menu bar.
    EXPECT_EQ(platform.scrollViewFrame(platform.scrollView(9)), scroll);
    EXPECT_EQ(platform.rulerFrame(platform.ruler(9)).y, ruler.y + 100);

    platform.setViewFrame(platform.graphicView(2), Rect{8, 8, 100, 50});
    EXPECT_EQ(ui.views[2]->geometry(), QRect(8, ui.graphicWindows[2]->height() - 58, 100, 50));
}

// Numbers Qt cannot hold are clamped rather than converted into nonsense, and an image whose words do not
// cover its size is refused rather than read past its end.
TEST(QtPlatformWindows, HostileFramesColoursAndImagesAreClampedOrRefused) {
    QtPlatform& platform = StartQt();
    vx::shell::Interface& ui = platform.interface();
    ToolkitWindow* window = ui.graphicWindows[1];
    const double nan = std::nan(""), huge = 1e300;
    struct Case {
        Rect frame;  // x is never a number: the view stays at 0
        double red, green, blue;
        QColor background;
    };
    const Case cases[] = {
        {{nan, huge, -huge, 50}, 7.0, -1.0, nan, QColor(255, 0, 0)},
        {{nan, -huge, nan, 1e20}, nan, huge, -huge, QColor(0, 255, 0)},
        {{nan, nan, 1e20, -huge}, -huge, nan, 1.0, QColor(0, 0, 255)},
    };
    for (const Case& c : cases) {
        platform.setViewFrame(platform.graphicView(2), c.frame);
        platform.setWindowFrame(platform.auxiliaryWindow(11), c.frame, false);
        platform.setWindowBackgroundColor(Handle(window), c.red, c.green, c.blue, 1.0);
        EXPECT_EQ(ui.views[2]->geometry().x(), 0);
        EXPECT_EQ(window->background()->palette().color(QPalette::Window), c.background);
    }
    platform.setPasteboardImage(vx::WindowImage{4, 4, {0u}});
}

TEST(QtPlatformWindows, StyleMaskAndBackgroundColourLeaveOrKeepTheMenuBar) {
    QtPlatform& platform = StartQt();
    ToolkitWindow* window = platform.interface().graphicWindows[1];
    platform.orderFront(Handle(window));
    for (const auto& [mask, framed] : {std::pair{0, false}, std::pair{7, true}}) {
        platform.setWindowStyleMask(Handle(window), mask);
        const bool frameless = window->windowFlags() & Qt::FramelessWindowHint;
        EXPECT_EQ(std::tuple(window->isVisible(), frameless, window->menuBar()->isVisible()),
                  std::tuple(true, !framed, framed));
    }
    const QColor menuColour = window->menuBar()->palette().color(QPalette::Window);
    platform.setWindowBackgroundColor(Handle(window), 1.0, 0.0, 1.0, 1.0);
    EXPECT_EQ(window->background()->palette().color(QPalette::Window), QColor(255, 0, 255));
    EXPECT_EQ(window->menuBar()->palette().color(QPalette::Window), menuColour);
}

TEST(QtPlatformMenus, EveryWindowSharesOneMainMenuWhoseItemsDescribeThemselves) {
    QtPlatform& platform = StartQt();
    vx::shell::Interface& ui = platform.interface();
    // Alt is the program's key, not a way into the menu bar.
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_MenuBar_AltKeyNavigation), 0);

    vx::MenuItemRef edit = platform.mainMenuItem("Bearbeiten");
    ASSERT_NE(edit, nullptr);
    const int count = platform.submenuItemCount(edit);
    EXPECT_EQ(platform.submenuItemTitle(edit, count), "");
    platform.removeSubmenuItem(edit, 0);
    // Every window's bar shows the one main menu: the item is gone from all of them.
    EXPECT_EQ(ui.graphicWindows[5]->menuBar()->actions()[1]->menu()->actions().size(), count - 1);
}

TEST(QtPlatformHandOver, BlockingWorkRunsOnTheUserInterfaceThreadInOrder) {
    QtPlatform& platform = StartQt();
    std::vector<int> order;
    bool onUi = false;
    OffUserInterfaceThread([&] {
        platform.invokeAsync([&] { order.push_back(1); });
        EXPECT_TRUE(platform.invokeBlocking([&] {
            order.push_back(2);
            onUi = platform.isUserInterfaceThread();
        }));
    });
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_TRUE(onUi);
    // On the user-interface thread itself the work runs at once.
    bool ran = false;
    EXPECT_TRUE(platform.invokeBlocking([&] { ran = true; }));
    EXPECT_TRUE(ran);
}

TEST(QtPlatformHandOver, QuittingReleasesAWaitingCallerWithoutRunningItsWork) {
    QtPlatform& platform = StartQt();
    std::atomic<bool> ran{false}, returned{false}, result{true};
    // This thread serves no events: the work stays queued, as it would after the event loop ended.
    std::thread caller([&] {
        result = platform.invokeBlocking([&] { ran = true; });
        returned = true;
    });
    vx::SleepNanoseconds(20'000'000);
    EXPECT_FALSE(returned);
    platform.beginQuit();
    caller.join();
    EXPECT_FALSE(result);
    ProcessEvents();
    EXPECT_FALSE(ran);
}

TEST(QtMenus, ItemsReachTheMenuHandlerOnAnotherThreadAndPasteOnThisOne) {
    const vx::shell::Interface& ui = StartQt().interface();
    std::atomic<int> handlerThread{0};
    ProgramMenuHandler = [&] { handlerThread = int(CurrentThreadNumber()); };
    OffUserInterfaceThread([] { EXPECT_TRUE(vx::AddMenuItem("Farbe", "Rot", 0, "r")); });
    // The new menu sits in every window's bar, before the window menu.
    ASSERT_EQ(ui.graphicWindows[3]->menuBar()->actions().size(), 4);
    QMenu* colours = ui.graphicWindows[3]->menuBar()->actions()[2]->menu();
    ASSERT_EQ(colours->title(), "Farbe");
    QAction* red = colours->actions().value(0);
    red->trigger();
    const t_MenuEvent event = MenuEventQueue.Last().value_or(t_MenuEvent{});
    EXPECT_EQ(std::tuple(event.Kind, event.MenuTitle, event.ItemTitle), std::tuple(3, "Farbe", "Rot"));
    for (int i = 0; i < 400 && handlerThread == 0; ++i) vx::SleepNanoseconds(5'000'000);
    EXPECT_GT(handlerThread.load(), 1);  // a background task

    std::atomic<int> pasteThread{0};
    ShowWindow0();
    PasteHandler = [&] { pasteThread = int(CurrentThreadNumber()); };
    MenuItem(113)->trigger();
    EXPECT_EQ(pasteThread.load(), 1);
}

TEST(QtMenus, TextKeepsItsLinesAndLettersAcrossTheClipboardAndTextViews) {
    QtPlatform& platform = StartQt();
    const vx::shell::Interface& ui = platform.interface();
    ShowWindow0();
    MenuItem(111)->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Hallo|");

    QGuiApplication::clipboard()->setText("von anderswo\r\nzweite Zeile");
    MenuItem(211)->trigger();  // show the pasteboard window
    EXPECT_EQ(ui.pasteboard.text->toPlainText(), "von anderswo\nzweite Zeile");
    // Lines copied from the toolkit arrive with this system's line ends; a picture replaces the text.
    platform.setPasteboardText("eins\rzwei\r\ndrei");
    std::string pasted;
    EXPECT_TRUE(platform.pasteboardText(pasted));
    EXPECT_EQ(pasted, "eins\nzwei\ndrei");
    platform.setPasteboardImage(vx::WindowImage{2, 1, {0xFFFF0000u, 0xFF00FF00u}});
    EXPECT_FALSE(platform.pasteboardText(pasted));

    platform.setTextViewText(platform.textView(10), "Zeile 1\nZeile \u00C4");
    EXPECT_EQ(ui.console.text->toPlainText(), "Zeile 1\nZeile \u00C4");
}

TEST(QtMenus, APanelBlocksTheProgramThreadAndQuittingReleasesIt) {
    StartQt();
    std::atomic<bool> returned{false};
    std::string path = "unset";
    std::thread program([&] {
        path = t_OpenDialog("Bild", "Welches?", "png", true, false);
        returned = true;
    });
    // The panel runs its own event loop; look for it from inside that loop.
    bool seen = false, waitedForPanel = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || seen) return;
        seen = true;
        waitedForPanel = !returned;
        // Ctrl+Q in the panel quits the application: the panel closes and the program is released.
        QApplication::setActiveWindow(dialog);
        QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_Q,
                        Qt::ControlModifier);
    });
    poll.start(10);
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    program.join();
    EXPECT_TRUE(waitedForPanel);
    EXPECT_EQ(path, "");
}

// Help, version and the messages themselves are checked on the real applications; here the decisions.
TEST(CommandLine, HelpWinsUnknownOptionsFailAndQtsOwnOptionsPass) {
    const std::pair<std::vector<const char*>, int> cases[] = {
        {{"--platform=offscreen", "-style", "Fusion", "-reverse"}, -1},
        {{"-qwindowgeometry", "100x100+0+0", "picture.png"}, -1},
        {{"--", "--not-an-option"}, -1},
        {{"-reverse=yes"}, 2},
        {{"-platform", "offscreen", "--frobnicate"}, 2},
        {{"--bogus", "--help"}, 0},  // wherever it stands
    };
    for (auto [args, expected] : cases) {
        args.insert(args.begin(), "/usr/bin/Malkasten");
        std::ostringstream out, err;
        const int status = vx::shell::HandleCommandLine(int(args.size()), args.data(), "Paints.", out, err);
        EXPECT_EQ(status, expected) << args.back();
        EXPECT_EQ(out.str().empty(), status != 0) << args.back();
        EXPECT_EQ(err.str().empty(), status != 2) << args.back();
    }
}
