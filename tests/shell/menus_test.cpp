// Menus, panels and the pasteboard on real widgets: chosen items reach the toolkit's menu handler.
#include "vxtools/menus.h"

#include <QClipboard>
#include <QFileDialog>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTimer>
#include <atomic>
#include <thread>

#include "core/state.h"
#include "core/threads.h"
#include "menus/file_dialogs.h"
#include "menus/text_windows.h"
#include "qt_test_support.h"

TEST(QtMenus, ItemsReachTheMenuHandlerOnAnotherThreadAndPasteOnThisOne) {
    const vx::shell::Interface& ui = vxtest::Ui();
    std::atomic<int> handlerThread{0};
    ProgramMenuHandler = [&] { handlerThread = int(CurrentThreadNumber()); };
    vxtest::OffUserInterfaceThread([] { EXPECT_TRUE(vx::AddMenuItem("Farbe", "Rot", 0, "r")); });
    // The new menu sits in every window's bar, before the window menu.
    ASSERT_EQ(ui.graphicWindows[3]->menuBar()->actions().size(), 4);
    EXPECT_EQ(ui.graphicWindows[3]->menuBar()->actions()[2]->menu()->title(), "Farbe");
    QAction* red = vxtest::MenuItem("Rot");
    ASSERT_NE(red, nullptr);
    EXPECT_EQ(red->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));

    red->trigger();
    const t_MenuEvent event = MenuEventQueue.Last().value_or(t_MenuEvent{});
    EXPECT_EQ(event.Kind, 3);
    EXPECT_EQ(event.MenuTitle, "Farbe");
    EXPECT_EQ(event.ItemTitle, "Rot");
    EXPECT_EQ(event.ItemKeyChar, "r");
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

TEST(QtMenus, TextWindowsFollowTheirSize) {
    vx::shell::QtPlatform& platform = vxtest::StartQt();
    const vx::shell::Interface& ui = platform.interface();
    ui.console.window->show();
    ui.console.window->resize(600, 400 + int(TitleBarHeight));
    vxtest::ProcessEvents();
    EXPECT_EQ(platform.scrollViewFrame(platform.scrollView(10)), (vx::Rect{20, 20, 560, 400 - 40 - 15.0}));
    EXPECT_EQ(platform.rulerFrame(platform.ruler(10)).width, 552);
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
