// The Qt platform on real widgets: window frames, menus, panels, the pasteboard and the hand-over between
// the program thread and the user-interface thread.
#include "shell/qt_platform.h"

#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <atomic>
#include <cmath>
#include <thread>

#include "core/state.h"
#include "core/threads.h"
#include "menus/file_dialogs.h"
#include "qt_test_support.h"
#include "vxtools/menus.h"

namespace {

using vx::Rect;
using vx::WindowRef;
using vx::shell::QtPlatform;
using vx::shell::ToolkitWindow;

WindowRef Handle(QWidget* w) {
    return reinterpret_cast<WindowRef>(w);
}

}  // namespace

TEST(QtPlatformWindows, FramesCountFromTheBottomLeftOfThePrimaryScreen) {
    QtPlatform& platform = vxtest::StartQt();
    ToolkitWindow* window = platform.interface().main;
    const int screenHeight = QGuiApplication::primaryScreen()->geometry().height();
    platform.setWindowFrame(Handle(window), Rect{100, 200, 300, 400}, false);
    EXPECT_EQ(window->geometry(), QRect(100, screenHeight - 600, 300, 400));
    EXPECT_EQ(platform.windowFrame(Handle(window)), (Rect{100, 200, 300, 400}));
    const Rect screen = platform.screenFrame(Handle(window));
    EXPECT_EQ(std::pair(screen.y, screen.height), std::pair(0.0, double(screenHeight)));
}

TEST(QtPlatformWindows, ChildrenKeepTheirPlaceFromTheBottomOrTheTop) {
    QtPlatform& platform = vxtest::StartQt();
    vx::shell::Interface& ui = platform.interface();
    WindowRef printer = platform.auxiliaryWindow(9);
    const Rect ruler = platform.rulerFrame(platform.ruler(9));
    const Rect window = platform.windowFrame(printer);
    const Rect scroll = platform.scrollViewFrame(platform.scrollView(9));
    platform.setWindowFrame(printer, Rect{window.x, window.y, window.width, window.height + 100}, false);
    // The text keeps its distance from the bottom; the ruler stays under the menu bar.
    EXPECT_EQ(platform.scrollViewFrame(platform.scrollView(9)), scroll);
    EXPECT_EQ(platform.rulerFrame(platform.ruler(9)).y, ruler.y + 100);
    EXPECT_EQ(ui.printer.ruler->geometry().top(), ui.printer.window->menuBar()->height() + 14);
    // The pasteboard's layout measures its menu bar.
    WindowRef pasteboard = platform.windowOfScrollView(platform.scrollView(8));
    ASSERT_EQ(pasteboard, platform.auxiliaryWindow(8));
    const double bar = platform.windowFrame(pasteboard).height -
                       platform.scrollViewFrame(platform.scrollView(8)).height - 20;
    EXPECT_EQ(bar, ui.pasteboard.window->menuBar()->sizeHint().height());

    platform.setViewFrame(platform.graphicView(2), Rect{8, 8, 100, 50});
    EXPECT_EQ(ui.views[2]->geometry(), QRect(8, ui.graphicWindows[2]->height() - 58, 100, 50));
    // Numbers Qt cannot hold are clamped, not converted into nonsense.
    platform.setViewFrame(platform.graphicView(2), Rect{std::nan(""), 1e300, -1e300, 50});
    EXPECT_EQ(ui.views[2]->geometry().x(), 0);
    platform.setWindowFrame(platform.auxiliaryWindow(11), Rect{1e300, -1e300, std::nan(""), 1e20}, false);
}

TEST(QtPlatformWindows, StyleMaskAndBackgroundColourLeaveOrKeepTheMenuBar) {
    QtPlatform& platform = vxtest::StartQt();
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
    // Out-of-range components are clamped, not passed on.
    platform.setWindowBackgroundColor(Handle(window), 7.0, -1.0, std::nan(""), 1.0);
    EXPECT_EQ(window->background()->palette().color(QPalette::Window), QColor(255, 0, 0));
}

TEST(QtPlatformMenus, EveryWindowSharesOneMainMenuWhoseItemsDescribeThemselves) {
    QtPlatform& platform = vxtest::StartQt();
    vx::shell::Interface& ui = platform.interface();
    for (ToolkitWindow* window : ui.graphicWindows) EXPECT_EQ(window->menuBar()->actions().size(), 3);
    EXPECT_EQ(ui.main->menuBar()->actions()[1]->menu(), ui.menus[1]);
    for (qint64 tag : {110, 111, 112, 113, 114}) EXPECT_NE(vxtest::MenuItem(tag), nullptr) << tag;
    for (qint64 tag = 200; tag <= 230; ++tag)
        EXPECT_EQ(vxtest::MenuItem(tag) == nullptr, tag >= 202 && tag <= 204) << tag;
    // Alt is the program's key, not a way into the menu bar.
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_MenuBar_AltKeyNavigation), 0);

    const vx::MenuItemInfo copyText =
        platform.menuItemInfo(reinterpret_cast<vx::MenuItemRef>(vxtest::MenuItem(111)));
    EXPECT_EQ(std::tuple(copyText.inMenu, copyText.menuTitle, copyText.tag, copyText.keyEquivalent),
              std::tuple(true, "Bearbeiten", 111, ""));
    const vx::MenuItemInfo quit = platform.menuItemInfo(reinterpret_cast<vx::MenuItemRef>(ui.quit));
    EXPECT_EQ(std::pair(quit.keyEquivalent, quit.keyModifiers),
              std::pair(std::string("q"), std::uint64_t(0x40000)));
    QAction loose("Nirgends");
    EXPECT_FALSE(platform.menuItemInfo(reinterpret_cast<vx::MenuItemRef>(&loose)).inMenu);

    vx::MenuItemRef edit = platform.mainMenuItem("Bearbeiten");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(platform.mainMenuItem("Edit"), nullptr);
    const int count = platform.submenuItemCount(edit);
    EXPECT_EQ(platform.submenuItemTitle(edit, 3), "");  // the separator
    EXPECT_EQ(platform.submenuItemTitle(edit, count), "");
    platform.removeSubmenuItem(edit, 0);
    EXPECT_EQ(platform.submenuItemCount(edit), count - 1);
    EXPECT_EQ(ui.graphicWindows[5]->menuBar()->actions()[1]->menu()->actions().size(), count - 1);
}

TEST(QtPlatformHandOver, BlockingWorkRunsOnTheUserInterfaceThreadInOrder) {
    QtPlatform& platform = vxtest::StartQt();
    std::vector<int> order;
    bool onUi = false;
    vxtest::OffUserInterfaceThread([&] {
        EXPECT_FALSE(platform.isUserInterfaceThread());
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
    QtPlatform& platform = vxtest::StartQt();
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
    EXPECT_TRUE(returned);
    EXPECT_FALSE(result);
    vxtest::ProcessEvents();
    EXPECT_FALSE(ran);
    EXPECT_TRUE(platform.isQuitting());
    EXPECT_FALSE(platform.invokeBlocking([] {}) && !platform.isUserInterfaceThread());
}

TEST(QtPlatformTextViews, OnlyTextWindowsHaveTextViewsAndThePasteboardHoldsTextOrAPicture) {
    QtPlatform& platform = vxtest::StartQt();
    platform.setTextViewText(platform.textView(10), "Zeile 1\nZeile \u00C4");
    EXPECT_EQ(platform.interface().console.text->toPlainText(), "Zeile 1\nZeile \u00C4");
    EXPECT_EQ(platform.ruler(8), nullptr);
    EXPECT_EQ(platform.textView(11), nullptr);

    platform.setPasteboardText("kopiert");
    std::string pasted;
    EXPECT_TRUE(platform.pasteboardText(pasted));
    EXPECT_EQ(pasted, "kopiert");
    platform.setPasteboardImage(vx::WindowImage{2, 1, {0xFFFF0000u, 0xFF00FF00u}});
    EXPECT_FALSE(platform.pasteboardText(pasted));
    // An image whose words do not cover its size is refused rather than read past its end.
    platform.setPasteboardImage(vx::WindowImage{4, 4, {0u}});
}

TEST(QtMenus, ItemsReachTheMenuHandlerOnAnotherThreadAndPasteOnThisOne) {
    const vx::shell::Interface& ui = vxtest::Ui();
    std::atomic<int> handlerThread{0};
    ProgramMenuHandler = [&] { handlerThread = int(CurrentThreadNumber()); };
    vxtest::OffUserInterfaceThread([] { EXPECT_TRUE(vx::AddMenuItem("Farbe", "Rot", 0, "r")); });
    // The new menu sits in every window's bar, before the window menu.
    ASSERT_EQ(ui.graphicWindows[3]->menuBar()->actions().size(), 4);
    QMenu* colours = ui.graphicWindows[3]->menuBar()->actions()[2]->menu();
    ASSERT_EQ(colours->title(), "Farbe");
    QAction* red = colours->actions().value(0);
    EXPECT_EQ(red->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    red->trigger();
    const t_MenuEvent event = MenuEventQueue.Last().value_or(t_MenuEvent{});
    EXPECT_EQ(std::tuple(event.Kind, event.MenuTitle, event.ItemTitle), std::tuple(3, "Farbe", "Rot"));
    for (int i = 0; i < 400 && handlerThread == 0; ++i) vx::SleepNanoseconds(5'000'000);
    EXPECT_GT(handlerThread.load(), 1);  // a background task

    std::atomic<int> pasteThread{0};
    vxtest::ShowWindow0();
    PasteHandler = [&] { pasteThread = int(CurrentThreadNumber()); };
    vxtest::MenuItem(113)->trigger();
    EXPECT_EQ(pasteThread.load(), 1);
}

TEST(QtMenus, CopiedTextAndPastedTextKeepTheirLinesAcrossTheClipboard) {
    const vx::shell::Interface& ui = vxtest::Ui();
    vxtest::ShowWindow0();
    vxtest::MenuItem(111)->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Hallo|");

    QGuiApplication::clipboard()->setText("von anderswo\r\nzweite Zeile");
    vxtest::MenuItem(211)->trigger();  // show the pasteboard window
    EXPECT_EQ(ui.pasteboard.text->toPlainText(), "von anderswo\nzweite Zeile");
    // Lines copied from the toolkit arrive with this system's line ends.
    vxtest::StartQt().setPasteboardText("eins\rzwei\r\ndrei");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "eins\nzwei\ndrei");
}

TEST(QtMenus, APanelBlocksTheProgramThreadAndQuittingReleasesIt) {
    vxtest::StartQt();
    std::atomic<bool> returned{false};
    std::string path = "unset";
    std::thread program([&] {
        path = t_OpenDialog("Bild", "Welches?", "png", true, false);
        returned = true;
    });
    // The panel runs its own event loop; look for it from inside that loop.
    QString label;
    bool waitedForPanel = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !label.isEmpty()) return;
        label = dialog->labelText(QFileDialog::Accept);
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
    EXPECT_EQ(label, "Öffnen");
    EXPECT_EQ(path, "");
}
