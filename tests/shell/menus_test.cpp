// Menus, panels and the pasteboard on real widgets: chosen items reach the toolkit's menu handler.
#include "vxtools/menus.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "core/state.h"
#include "core/threads.h"
#include "display/window.h"
#include "display/window_init.h"
#include "input/events.h"
#include "menus/file_dialogs.h"
#include "menus/text_windows.h"
#include "qt_test_support.h"
#include "shell/interface.h"
#include "shell/qt_platform.h"
#include "shell/toolkit_window.h"
#include "text/output.h"
#include "vxtools/display.h"
#include "vxtools/text.h"

namespace {

using vx::shell::QtPlatform;

// The item with this tag anywhere in the main menu.
QAction* ItemWithTag(const vx::shell::Interface& ui, qint64 tag) {
    std::function<QAction*(QMenu*)> find = [&](QMenu* menu) -> QAction* {
        for (QAction* action : menu->actions()) {
            if (action->menu()) {
                if (QAction* found = find(action->menu())) return found;
            } else if (action->data().isValid() && action->data().toLongLong() == tag) {
                return action;
            }
        }
        return nullptr;
    };
    for (QMenu* menu : ui.menus)
        if (QAction* found = find(menu)) return found;
    return nullptr;
}

// Window 0 set up on a program thread with an 8 x 8 font, shown and active.
void GraphicWindowInFront(QtPlatform& platform) {
    vxtest::OffUserInterfaceThread([] {
        const t_Font font = vx::BuildFont(8, 8, [](int, int, int) { return std::uint8_t(0); });
        t_InitWindow(0, 4, false, 64, 16, 0, 0, font, true);
        t_Print(0, "Hallo\u008A");
        t_WindowFront(0);
    });
    QApplication::setActiveWindow(platform.interface().graphicWindows[0]);
    vxtest::ProcessEvents();
}

}  // namespace

TEST(QtMenus, ItemsReachTheMenuHandlerOnTheUserInterfaceThread) {
    QtPlatform& platform = vxtest::StartQt();
    const vx::shell::Interface& ui = platform.interface();
    std::atomic<int> handlerThread{0};
    ProgramMenuHandler = [&] { handlerThread = int(CurrentThreadNumber()); };
    vxtest::OffUserInterfaceThread([] { EXPECT_TRUE(vx::AddMenuItem("Farbe", "Rot", 0, "r")); });
    QAction* red = nullptr;
    for (QAction* action : ui.main->menuBar()->actions())
        if (action->menu() && action->menu()->title() == "Farbe") red = action->menu()->actions().value(0);
    ASSERT_NE(red, nullptr);
    EXPECT_EQ(red->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    // The new menu sits in every window's bar, before the window menu.
    EXPECT_EQ(ui.graphicWindows[3]->menuBar()->actions().size(), 4);
    EXPECT_EQ(ui.graphicWindows[3]->menuBar()->actions()[2]->menu()->title(), "Farbe");

    red->trigger();
    const t_MenuEvent event = MenuEventQueue.Last().value_or(t_MenuEvent{});
    EXPECT_EQ(event.Kind, 3);
    EXPECT_EQ(event.MenuTitle, "Farbe");
    EXPECT_EQ(event.ItemTitle, "Rot");
    EXPECT_EQ(event.ItemKeyChar, "r");
    for (int i = 0; i < 400 && handlerThread == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_GT(handlerThread.load(), 1);  // a background task

    std::atomic<int> pasteThread{0};
    GraphicWindowInFront(platform);
    PasteHandler = [&] { pasteThread = int(CurrentThreadNumber()); };
    ItemWithTag(ui, 113)->trigger();
    EXPECT_EQ(pasteThread.load(), 1);
}

TEST(QtMenus, CopyPutsTextAndPictureOnTheClipboardAndThePasteboardWindowShowsText) {
    QtPlatform& platform = vxtest::StartQt();
    const vx::shell::Interface& ui = platform.interface();
    GraphicWindowInFront(platform);
    ASSERT_EQ(t_FrontWindowNumber(), 0);

    ItemWithTag(ui, 111)->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Hallo|");
    ItemWithTag(ui, 110)->trigger();
    const QImage picture = QGuiApplication::clipboard()->image();
    EXPECT_EQ(picture.size(), QSize(int(WindowTable[0].Width), int(WindowTable[0].Height)));

    QGuiApplication::clipboard()->setText("von anderswo\r\nzweite Zeile");
    ItemWithTag(ui, 211)->trigger();  // show the pasteboard window
    EXPECT_TRUE(ui.pasteboard.window->isVisible());
    EXPECT_EQ(ui.pasteboard.text->toPlainText(), "von anderswo\nzweite Zeile");

    // Lines copied from the toolkit arrive with this system's line ends.
    platform.setPasteboardText("eins\rzwei\r\ndrei");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "eins\nzwei\ndrei");
}

TEST(QtMenus, TextWindowsFollowTheirSize) {
    QtPlatform& platform = vxtest::StartQt();
    const vx::shell::Interface& ui = platform.interface();
    ui.console.window->show();
    ui.console.window->resize(600, 400 + int(TitleBarHeight));
    vxtest::ProcessEvents();
    const vx::Rect scroll = platform.scrollViewFrame(platform.scrollView(10));
    EXPECT_EQ(scroll, (vx::Rect{20, 20, 560, 400 - 40 - 15.0}));
    EXPECT_EQ(platform.rulerFrame(platform.ruler(10)).width, 552);
}

TEST(QtMenus, ClosingTheMainWindowWithNothingElseOnScreenQuits) {
    QtPlatform& platform = vxtest::StartQt();
    const vx::shell::Interface& ui = platform.interface();
    ui.printer.window->show();
    ui.printer.window->close();  // the last window: the main window takes its place
    EXPECT_FALSE(ui.printer.window->isVisible());
    EXPECT_TRUE(ui.main->isVisible());
    bool quit = false;
    QTimer::singleShot(0, [&] {
        ui.main->close();
        QTimer::singleShot(2000, [] { QCoreApplication::exit(1); });
    });
    quit = QCoreApplication::exec() == 0;
    EXPECT_TRUE(quit);
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
