// The Qt layer on real widgets, on Qt's offscreen platform: window frames, menus, the pasteboard, panels
// and the hand-over between the program thread and the user-interface thread; graphic views and their
// zoom; how Qt's key events become the toolkit's; and the applications' command line.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMap>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <functional>
#include <future>
#include <memory>
#include <sstream>
#include <thread>

#include "core/threads.h"
#include "input/key_input.h"
#include "input/mouse_input.h"
#include "shell/application.h"
#include "shell/command_line.h"
#include "shell/interface.h"
#include "shell/key_translation.h"
#include "shell/pixel_zoom.h"
#include "shell/presentation_menu.h"
#include "shell/qt_platform.h"
#include "shell/toolkit_window.h"
#include "shell/views.h"
#include "support/toolkit_test.h"
#include "vxtools/desktop.h"
#include "vxtools/extensions.h"
#include "vxtools/graphics.h"
#include "vxtools/menus.h"

namespace {

using namespace vx::test;
using vx::OpenPanelRequest;
using vx::Rect;
using vx::shell::GraphicView;
using vx::shell::QtPlatform;
using vx::shell::ToolkitWindow;
using vx::shell::Zoom;
using XY = std::pair<std::int64_t, std::int64_t>;

// The size of the picture ShowWindow0 sets up.
constexpr int kWidth = 96, kHeight = 64;

// Makes the application (once per process) and installs the Qt platform.
QtPlatform& StartQt() {
    static QtPlatform* platform = [] {
        vx::RegisterUserInterfaceThread();
        // No display needed, also when the tests are run by hand.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "shell_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
        return &vx::shell::InstallQtPlatform("shell_tests");
    }();
    return *platform;
}

// Serves events for a moment.
void ProcessEvents() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Runs work on a thread of its own, as the program thread would, while this thread serves events.
void OffUserInterfaceThread(const std::function<void()>& work) {
    const std::future<void> done = std::async(std::launch::async, work);
    while (done.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ProcessEvents();
}

ToolkitWindow* Window0() {
    return StartQt().interface().graphicWindows[0];
}

// Window 0 as a kWidth x kHeight 4-bit display with a border and an 8 x 16 blank font, "Hallo" and a line
// end printed, its first and last pixel white; shown, in front and active. The event queues are empty.
GraphicView* ShowWindow0() {
    vx::shell::Interface& ui = StartQt().interface();
    OffUserInterfaceThread([] {
        t_InitWindow(0, 4, false, kWidth, kHeight, 5, 3, TextFont(), true);
        t_Print(0, "Hallo\u008A");
        t_Color(0, 15);
        g_Plot(0, 0, 0);
        g_Plot(0, kWidth - 1, kHeight - 1);
        t_WindowFront(0);
    });
    QApplication::setActiveWindow(ui.graphicWindows[0]);
    ProcessEvents();
    KeyEventQueue.Clear();
    MouseEventQueue.Clear();
    return ui.views[0];
}

vx::WindowRef Handle(QWidget* w) {
    return reinterpret_cast<vx::WindowRef>(w);
}

// The item with this tag in the Bearbeiten menu.
QAction* EditItem(qint64 tag) {
    const QMenu* edit = reinterpret_cast<QAction*>(StartQt().mainMenuItem("Bearbeiten"))->menu();
    for (QAction* action : edit->actions())
        if (action->data() == QVariant(tag)) return action;
    return nullptr;
}

// Mouse events are sent directly: QTest would take the point 0, 0 for the middle of the view.
void Send(GraphicView* view, QEvent::Type type, QPointF point, Qt::MouseButton button, Qt::MouseButtons held,
          Qt::KeyboardModifiers mods = {}) {
    QMouseEvent event(type, point, view->mapToGlobal(point), button, held, mods);
    QApplication::sendEvent(view, &event);
}

// The pixel the toolkit posts for a click at a point of the view.
XY ClickAt(GraphicView* view, QPoint point) {
    MouseEventQueue.Clear();
    Send(view, QEvent::MouseButtonPress, point, Qt::LeftButton, Qt::LeftButton);
    Send(view, QEvent::MouseButtonRelease, point, Qt::LeftButton, Qt::NoButton);
    const std::optional<t_Event> event = MouseEventQueue.TakeFirst();
    return event ? XY{event->ClickX, event->ClickY} : XY{-9, -9};
}

// A zoomable window's scroll bars: horizontal, vertical.
std::array<QScrollBar*, 2> ScrollBars(QWidget* window) {
    std::array<QScrollBar*, 2> bars{};
    for (QScrollBar* bar : window->findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly))
        bars[bar->orientation() == Qt::Vertical] = bar;
    return bars;
}

// One notch of the wheel towards the user, over the window's point (20, 40).
void TurnWheel(QWidget* window, Qt::KeyboardModifiers mods = {}) {
    QWheelEvent wheel(QPointF(20, 40), window->mapToGlobal(QPointF(20, 40)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, mods, Qt::NoScrollPhase, false);
    QApplication::sendEvent(window, &wheel);
}

// The picture's first and last pixel, white among black, cover exactly k x k pixels of the view's shot.
void ExpectWholeBlocks(GraphicView* view, int k) {
    const QImage shot = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ((std::vector{shot.pixel(k - 1, k - 1), shot.pixel(k, 0), shot.pixel(0, k),
                           shot.pixel(k * kWidth - k, k * kHeight - k),
                           shot.pixel(k * kWidth - k - 1, k * kHeight - 1)}),
              (std::vector{0xFFFFFFFFu, 0xFF000000u, 0xFF000000u, 0xFFFFFFFFu, 0xFF000000u}));
}

// The view's region painted over red into an image of the given format, returned as RGB32.
QImage PaintedOverRed(GraphicView* view, const QRegion& region,
                      QImage::Format format = QImage::Format_RGB32) {
    QImage shot(view->size(), format);
    shot.fill(Qt::red);
    view->render(&shot, region.boundingRect().topLeft(), region, {});
    return shot.convertToFormat(QImage::Format_RGB32);
}

// The view painted over red, as a whole or only a part and its 2 x 2 top-left corner exposed: those are
// as in the whole, the rest red, also between them. Into an image of 24-bit pixels, which the view does
// not write into itself, it paints the same.
void ExpectPaintedWholeAndPart(GraphicView* view, QRect part) {
    const QImage whole = PaintedOverRed(view, view->rect());
    const QRegion exposed = QRegion(part) + QRect(0, 0, 2, 2);
    QImage expected(view->size(), QImage::Format_RGB32);
    expected.fill(Qt::red);
    QPainter painter(&expected);
    for (const QRect& r : exposed) painter.drawImage(r.topLeft(), whole, r);
    painter.end();
    const auto* words = reinterpret_cast<const QRgb*>(whole.constBits());
    EXPECT_EQ(std::tuple(PaintedOverRed(view, exposed) == expected,
                         PaintedOverRed(view, exposed, QImage::Format_RGB888) == expected,
                         std::count(words, words + whole.width() * whole.height(), qRgb(255, 0, 0))),
              std::tuple(true, true, std::ptrdiff_t(0)));
}

// The picture saved at path (removed after reading) is graphic window n's own, pixel for pixel, at size.
void ExpectSavedPicture(const std::string& path, std::uint8_t n, QSize size) {
    const QImage saved = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_ARGB32);
    std::remove(path.c_str());
    const auto composed = t_WindowImage(n);
    ASSERT_NE(composed, nullptr);
    ASSERT_EQ(saved.size(), size);
    EXPECT_EQ(saved, QImage(reinterpret_cast<const uchar*>(composed->pixels.data()), size.width(),
                            size.height(), QImage::Format_ARGB32));
}

// Calls answer once with each file panel that comes up; it is called from inside the panel's own event loop.
std::unique_ptr<QTimer> OnEachPanel(std::function<void(QFileDialog*)> answer) {
    auto poll = std::make_unique<QTimer>();
    QObject::connect(poll.get(), &QTimer::timeout, [answer, handled = QPointer<QFileDialog>()]() mutable {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || dialog == handled) return;
        handled = dialog;  // once: the timer may fire again before the panel has gone
        answer(dialog);
    });
    poll->start(10);
    return poll;
}

// What a user does: type the name into the panel's name field (a selection made in code does not reach the
// field while it has the keyboard), then QFileDialog::accept, as the button does, which checks the name.
void AcceptTyped(QFileDialog* dialog, const QString& name) {
    if (auto* field = dialog->findChild<QLineEdit*>("fileNameEdit")) field->setText(name);
    static_cast<QDialog*>(dialog)->accept();
}

}  // namespace

// ---- Windows ----

// Numbers Qt cannot hold are clamped rather than converted into nonsense, and an image whose words do not
// cover its size is refused rather than read past its end.
TEST(QtPlatformWindows, FramesCountFromTheBottomLeftHostileValuesAreRefusedAndTheMenuBarFollowsTheStyle) {
    QtPlatform& platform = StartQt();
    vx::shell::Interface& ui = platform.interface();
    const int screenHeight = QGuiApplication::primaryScreen()->geometry().height();
    platform.setWindowFrame(Handle(ui.main), Rect{100, 200, 300, 400}, false);
    EXPECT_EQ(std::pair(ui.main->geometry(), platform.windowFrame(Handle(ui.main))),
              std::pair(QRect(100, screenHeight - 600, 300, 400), Rect{100, 200, 300, 400}));
    platform.centerWindow(Handle(ui.main));
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(ui.main->geometry(), QRect(available.center() - QPoint(149, 199), QSize(300, 400)));
    // Each view belongs to the window of its own number.
    for (std::uint8_t n = 0; n < 8; ++n) EXPECT_EQ(ui.views[n]->windowNumber(), n);
    platform.setViewFrame(platform.graphicView(2), Rect{8, 8, 100, 50});
    EXPECT_EQ(ui.views[2]->geometry(), QRect(8, ui.graphicWindows[2]->height() - 58, 100, 50));

    ToolkitWindow* window = ui.graphicWindows[1];
    const double nan = std::nan(""), huge = 1e300;
    // The frame's x is never a number: the view goes to 0.
    const std::tuple<Rect, double, double, double, QColor> cases[] = {
        {{nan, huge, -huge, 50}, 7.0, -1.0, nan, QColor(255, 0, 0)},
        {{nan, -huge, nan, 1e20}, nan, huge, -huge, QColor(0, 255, 0)},
        {{nan, nan, 1e20, -huge}, -huge, nan, 1.0, QColor(0, 0, 255)},
    };
    for (const auto& [frame, red, green, blue, background] : cases) {
        platform.setViewFrame(platform.graphicView(2), frame);
        platform.setWindowFrame(platform.auxiliaryWindow(11), frame, false);
        platform.setWindowBackgroundColor(Handle(window), red, green, blue, 1.0);
        EXPECT_EQ(ui.views[2]->geometry().x(), 0);
        EXPECT_EQ(window->background()->palette().color(QPalette::Window), background);
    }
    QGuiApplication::clipboard()->setText("bleibt");
    platform.setPasteboardImage(vx::WindowImage{4, 4, {0u}});
    platform.setPasteboardImage(vx::WindowImage{0, 1, {}});
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "bleibt");
    // The style mask hides the menu bar; the background colour leaves it.
    platform.orderFront(Handle(window));
    // On the interface thread the title is set at once, and the window keeps its size.
    const QSize size = window->size();
    platform.setWindowTitle(Handle(window), "Probe");
    EXPECT_EQ(std::pair(window->windowTitle(), window->size()), std::pair(QString("Probe"), size));
    for (const auto& [mask, framed] : {std::pair{0, false}, std::pair{1, true}, std::pair{7, true}}) {
        platform.setWindowStyleMask(Handle(window), mask);
        const bool frameless = window->windowFlags() & Qt::FramelessWindowHint;
        EXPECT_EQ(
            std::tuple(window->isVisible(), frameless, window->menuBar()->isVisible(), window->styleMask()),
            std::tuple(true, !framed, framed, mask));
    }
    // The colour shows where no child covers the window (its bottom-left corner, left of the view).
    const QColor menuColour = window->menuBar()->palette().color(QPalette::Window);
    platform.setWindowBackgroundColor(Handle(window), 1.0, 0.0, 1.0, 1.0);
    EXPECT_EQ(window->menuBar()->palette().color(QPalette::Window), menuColour);
    EXPECT_EQ(window->grab(QRect(0, window->height() - 1, 1, 1)).toImage().pixelColor(0, 0),
              QColor(255, 0, 255));
}

// The text windows open laid out and follow their window's size; the other windows' children are left
// where they are.
TEST(QtPlatformWindows, TextWindowsOpenLaidOutAndResizedLayOutTheirTextAndRuler) {
    QtPlatform& platform = StartQt();
    const vx::shell::Interface& ui = platform.interface();
    EXPECT_EQ(
        std::tuple(platform.scrollViewFrame(platform.scrollView(8)),
                   platform.scrollViewFrame(platform.scrollView(9)), platform.rulerFrame(platform.ruler(10)),
                   ui.main->height() - ui.main->menuBar()->sizeHint().height(),
                   platform.windowFrame(Handle(ui.graphicWindows[3])).width),
        std::tuple(Rect{10, 10, 500, 340}, Rect{20, 20, 640, 385}, Rect{24, 407, 632, 19}, 160, 640.0));
    // A graphic window is named after the program and its number; the ruler has a column number every ten
    // columns, a bar between.
    EXPECT_EQ(std::tuple(ui.graphicWindows[3]->windowTitle(), ui.console.ruler->text().left(21),
                         ui.console.ruler->text().size(), ui.printer.text->font().styleHint()),
              std::tuple("shell_tests 3", "....|....1....|....2.", qsizetype(200), QFont::Monospace));
    TitleBarHeight = 22;
    const std::tuple<int, int, int, Rect, double> cases[] = {{10, 600, 400, {20, 20, 560, 323}, 552},
                                                             {9, 641, 433, {20, 20, 601, 356}, 593},
                                                             {8, 500, 300, {10, 10, 480, 258}, 0}};
    for (const auto& [n, width, height, scroll, rulerWidth] : cases) {
        SCOPED_TRACE(n);
        auto* window = reinterpret_cast<ToolkitWindow*>(platform.auxiliaryWindow(n));
        window->show();
        window->resize(width, height);
        ProcessEvents();
        EXPECT_EQ(platform.scrollViewFrame(platform.scrollView(n)), scroll);
        EXPECT_EQ(std::pair(window->menuBar()->geometry(), window->background()->geometry()),
                  std::pair(QRect(0, 0, width, window->menuBar()->sizeHint().height()), window->rect()));
        if (n == 8) continue;
        const Rect ruler = platform.rulerFrame(platform.ruler(n));
        EXPECT_EQ(std::pair(ruler.width, ruler.height), std::pair(rulerWidth, 19.0));
    }
    // Sized while hidden, a text window keeps that size when shown: that resize is no user's.
    t_WindowVisible(9, false);
    t_WindowSize(9, -1, -1, 600, 400);
    t_WindowVisible(9, true);
    ProcessEvents();
    EXPECT_EQ(platform.scrollViewFrame(platform.scrollView(9)), (Rect{20, 20, 560, 323}));
}

// A close box hides its window; closing the main window quits once nothing else is on screen.
TEST(QtApplication, ClosingTheMainWindowQuitsOnlyWhenNoOtherWindowIsOnScreen) {
    vx::shell::Interface& ui = StartQt().interface();
    ShowWindow0();
    // The window closed, one also on screen, the status (7: still running).
    const std::tuple<ToolkitWindow*, ToolkitWindow*, int> cases[] = {
        {ui.graphicWindows[0], nullptr, 7}, {ui.main, ui.graphicWindows[1], 7}, {ui.main, nullptr, 0}};
    for (const auto& [closed, alsoShown, status] : cases) {
        for (ToolkitWindow* window : vx::shell::AllWindows(ui)) window->hide();
        for (ToolkitWindow* window : {closed, alsoShown})
            if (window) window->show();
        QTimer::singleShot(0, [w = closed] { w->close(); });
        QTimer::singleShot(300, [] { QCoreApplication::exit(7); });
        EXPECT_EQ(QCoreApplication::exec(), status);
        EXPECT_EQ(closed->isVisible(), status == 0);  // hidden, unless the application ended
        EXPECT_TRUE(alsoShown == nullptr || alsoShown->isVisible());
    }
}

// ---- Menus, the pasteboard and panels ----

// Each item of Fenster › Zeigen shows exactly the window it names, each of Ausblenden hides exactly that
// one, and Alle ausblenden hides them all but the main window, which keeps the menus in reach.
TEST(QtMenus, EveryShowAndHideItemActsOnTheWindowItNames) {
    vx::shell::Interface& ui = StartQt().interface();
    OffUserInterfaceThread([] {
        for (std::uint8_t k = 0; k < 8; ++k) t_InitWindow(k, 4, false, 32, 32, 0, 0, t_Font{}, true);
    });
    QMap<QString, ToolkitWindow*> named = {{"Hauptfenster", ui.main},
                                           {"Einstellungen", ui.preferences},
                                           {"Drucker", ui.printer.window},
                                           {"Zwischenablage", ui.pasteboard.window},
                                           {"Systemkonsole", ui.console.window}};
    for (int k = 0; k < 8; ++k) named[QString("Grafik %1").arg(k)] = ui.graphicWindows[std::size_t(k)];
    const QMenu* windowMenu = reinterpret_cast<QAction*>(StartQt().mainMenuItem("Fenster"))->menu();
    auto visible = [&] {
        QStringList titles;
        for (auto it = named.begin(); it != named.end(); ++it)
            if (it.value()->isVisible()) titles << it.key();
        return titles;
    };
    int items = 0, separators = 0;
    for (QAction* submenu : windowMenu->actions()) {
        if (submenu->menu() == nullptr) continue;
        const bool show = submenu->text() == "Zeigen";
        for (QAction* item : submenu->menu()->actions()) {
            if (item->isSeparator() && ++separators) continue;
            ++items;
            for (ToolkitWindow* window : named) window->setVisible(!show);
            item->trigger();
            ProcessEvents();
            QStringList expected = show ? QStringList{item->text()} : QStringList(named.keys());
            if (!show) expected.removeAll(item->text());
            EXPECT_EQ(visible(), expected) << item->text().toStdString();
        }
    }
    EXPECT_EQ(std::pair(items, separators), std::pair(26, 2));  // one between named and graphic windows
    for (ToolkitWindow* window : named) window->show();
    windowMenu->actions().value(0)->trigger();
    ProcessEvents();
    EXPECT_EQ(visible(), QStringList{"Hauptfenster"});  // the last one hidden brings it back
}

// What a program puts on the clipboard other programs read as Qt's image and text, and what they put there
// the program reads back; the printer's text grows at its end and its ruler holds one line.
TEST(QtDesktop, ClipboardPicturesAndTextAndThePrintersTextAndRulerReachTheWidgets) {
    QtPlatform& platform = StartQt();
    ShowWindow0();
    // Lines copied from the toolkit arrive with this system's line ends, and the other way round.
    EditItem(111)->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Hallo|");
    platform.setPasteboardText("eins\rzwei\r\ndrei");
    std::string pasted;
    EXPECT_EQ(std::pair(platform.pasteboardText(pasted), pasted),
              std::pair(true, std::string("eins\nzwei\ndrei")));
    OffUserInterfaceThread([] { EXPECT_TRUE(vx::CopyPicture(0)); });
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(kWidth, kHeight));
    EXPECT_EQ(std::pair(copied.pixel(kWidth - 1, kHeight - 1), copied.pixel(kWidth - 2, kHeight - 1)),
              std::pair(0xFFFFFFFFu, 0xFF000000u));

    QImage other(3, 2, QImage::Format_ARGB32);
    other.fill(QColor(10, 20, 30));
    other.setPixel(2, 1, qRgb(200, 100, 50));
    QGuiApplication::clipboard()->setImage(other);
    std::optional<vx::ClipboardPicture> picture;
    OffUserInterfaceThread([&] { picture = vx::ClipboardImage(); });
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->pixels, (std::vector<std::uint32_t>{0xFF0A141E, 0xFF0A141E, 0xFF0A141E, 0xFF0A141E,
                                                           0xFF0A141E, 0xFFC86432}));
    // This application's own text is measured in UTF-8 bytes, 1 to 4 a character, and cut to the limit.
    QGuiApplication::clipboard()->setText(QString::fromUtf8("\x7F\u0080\u07FF\u0800\U0001F600"));
    std::size_t total = 0;
    bool exact = false;
    EXPECT_EQ(std::tuple(platform.pasteboardTextExcerpt(5, pasted, total, exact), pasted, total, exact),
              std::tuple(true, std::string("\x7F\u0080\u07FF"), std::size_t(12), true));
    QGuiApplication::clipboard()->setText("eins\nzwei");
    OffUserInterfaceThread([&] {
        EXPECT_EQ(vx::ClipboardText().value_or("-"), "eins\nzwei");
        EXPECT_FALSE(vx::ClipboardImage().has_value());
        vx::AppendText(9, "Zeile 1\n");
        vx::AppendText(9, "Zeile 2");
        vx::SetRulerText(9, "Lineal");
    });
    const vx::shell::Interface& ui = platform.interface();
    platform.setTextViewFont(platform.textView(9), "Monospace", 17.5);
    platform.clearPasteboard();
    EXPECT_EQ(std::tuple(ui.printer.text->toPlainText(), ui.printer.ruler->text(),
                         ui.printer.text->font().pointSizeF(), platform.pasteboardText(pasted)),
              std::tuple("Zeile 1\nZeile 2", "Lineal", 17.5, false));
}

TEST(QtMenus, APanelBlocksTheProgramThreadAndQuittingReleasesIt) {
    StartQt();
    std::atomic<bool> returned{false};
    std::string path = "unset";
    std::thread program([&] {
        path = t_OpenDialog("Bild", "Welches?", "png", true, false);
        returned = true;
    });
    bool waitedForPanel = false;
    const auto poll = OnEachPanel([&](QFileDialog* dialog) {
        waitedForPanel = !returned;
        // Ctrl+Q in the panel quits the application: the panel closes and the program is released.
        QApplication::setActiveWindow(dialog);
        QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_Q,
                        Qt::ControlModifier);
    });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    program.join();
    EXPECT_TRUE(waitedForPanel);
    EXPECT_EQ(path, "");
}

// A shortcut's key and modifiers come back as they were given, in the toolkit's flags.
TEST(QtMenus, ItemsKeepTheirKeyEquivalentsAndModifiers) {
    QtPlatform& platform = StartQt();
    const vx::MenuItemRef menu = platform.addMainMenu("Probe");
    const std::pair<const char*, std::uint64_t> keys[] = {
        {"a", 0x40000}, {"b", 0x20000 | 0x40000}, {"c", 0x80000 | 1}, {"d", 0x100000}, {"", 0}};
    for (int i = 0; i < 5; ++i)
        platform.addSubmenuItem(menu, {true, "", keys[i].first, keys[i].first, keys[i].second, 4000 + i});
    ASSERT_EQ(platform.submenuItemCount(menu), 5);
    QMenu* probe = reinterpret_cast<QAction*>(menu)->menu();
    for (int i = 0; i < 5; ++i) {
        const vx::MenuItemInfo info =
            platform.menuItemInfo(reinterpret_cast<vx::MenuItemRef>(probe->actions()[i]));
        EXPECT_EQ(std::tuple(info.inMenu, info.menuTitle, info.title, info.keyEquivalent, info.keyModifiers,
                             info.tag),
                  std::tuple(true, "Probe", keys[i].first, keys[i].first, keys[i].second & ~1u, 4000 + i));
    }
    EXPECT_EQ(std::pair(platform.submenuItemTitle(menu, 4), platform.submenuItemTitle(menu, 5)),
              std::pair(std::string(), std::string()));
    platform.removeSubmenuItem(menu, 5);
    platform.removeSubmenuItem(menu, 0);
    EXPECT_EQ(std::pair(platform.submenuItemCount(menu), platform.submenuItemTitle(menu, 0)),
              std::pair(4, std::string("b")));
    // A new menu comes before Fenster, in every bar; the edit menu's own items by their tags.
    const QList<QAction*> bar = platform.interface().main->menuBar()->actions();
    EXPECT_EQ(std::pair(bar.value(bar.size() - 2)->text(), bar.last()->text()),
              std::pair(QString("Probe"), QString("Fenster")));
    QStringList edit;
    for (qint64 tag = 110; tag <= 114; ++tag) edit << (EditItem(tag) ? EditItem(tag)->text() : "");
    EXPECT_EQ(edit.join("|").toStdString(),
              "Bild kopieren|Text kopieren|Drucker leeren|Einsetzen|Systemkonsole leeren");
}

// ---- The command line ----

// Help, version and the messages themselves are checked on the real applications; here the decisions.
TEST(CommandLine, HelpWinsUnknownOptionsFailAndQtsOwnOptionsPass) {
    const std::pair<std::vector<const char*>, int> cases[] = {
        {{"--platform=offscreen", "-style", "Fusion", "-reverse"}, -1},
        {{"-qwindowgeometry", "100x100+0+0", "picture.png", "-"}, -1},  // "-": standard input
        {{"--", "--not-an-option"}, -1},
        {{"-reverse=yes"}, 2},
        {{"-x"}, 2},
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
        if (expected == 0) {
            EXPECT_TRUE(out.str().starts_with("Usage: Malkasten [option...]\nPaints.\n"));
        }
    }
    // The program's own name is no option.
    const char* named[] = {"-h", "-x"};
    std::ostringstream out, err;
    EXPECT_EQ(vx::shell::HandleCommandLine(2, named, "", out, err), 2);
}

// ---- Graphic views and their zoom ----

// Every factor, also those without a loop of their own, makes each pixel of the part a block; words
// beyond the blocks, and all of them for an empty part or a factor below 1, stay as they were.
TEST(Zoom, EnlargingMakesBlocksOfThePartAloneAndBandsHoldAtLeastOneRow) {
    std::uint32_t source[20];  // 5 x 4, every word its own
    for (std::uint32_t i = 0; i < 20; ++i) source[i] = 0xFF000000u | i;
    for (const auto& [x, y, w, h] :
         {std::array{1, 1, 3, 2}, std::array{4, 3, 1, 1}, std::array{0, 0, 0, 2}, std::array{0, 0, -1, 2}}) {
        for (int k = 0; k <= 5; ++k) {
            // One word and one row to spare.
            const int stride = std::max(w, 0) * k + 1, rows = std::max(h, 0) * k + 1;
            std::vector<std::uint32_t> target(std::size_t(stride * rows), 7);
            vx::shell::EnlargeByFactor(source, 5, x, y, w, h, k, target.data(), std::size_t(stride));
            for (int ty = 0; ty < rows; ++ty)
                for (int tx = 0; tx < stride; ++tx)
                    ASSERT_EQ(target[std::size_t(ty * stride + tx)],
                              ty < rows - 1 && tx < stride - 1 ? source[(y + ty / k) * 5 + x + tx / k] : 7u)
                        << w << " wide, factor " << k << " at " << tx << ", " << ty;
        }
    }
    // A part of the enlargement may start and end inside a block, be all of it or one word of it; a part
    // that is empty or starts above the enlargement leaves everything as it was.
    for (int k = 0; k <= 5; ++k) {
        for (const auto& [left, top, w, h] :
             {std::array{k + 1, k - 1, 2 * k + 1, k + 2}, std::array{0, 0, 5 * k, 4 * k},
              std::array{1, 1, 1, 1}, std::array{0, 0, 0, 1}, std::array{1, 1, 2, -1},
              std::array{0, -1, 2, 1}, std::array{-1, 0, 2, 1}}) {
            const int stride = std::max(w, 0) + 1, rows = std::max(h, 0) + 1;
            std::vector<std::uint32_t> target(std::size_t(stride * rows), 7);
            vx::shell::EnlargePart(source, 5, k, left, top, w, h, target.data(), std::size_t(stride));
            for (int ty = 0; ty < rows; ++ty)
                for (int tx = 0; tx < stride; ++tx)
                    ASSERT_EQ(target[std::size_t(ty * stride + tx)],
                              ty < rows - 1 && tx < stride - 1 && k > 0 && top >= 0 && left >= 0
                                  ? source[(top + ty) / k * 5 + (left + tx) / k]
                                  : 7u)
                        << "part at " << left << ", " << top << ", factor " << k << " at " << tx << ", "
                        << ty;
        }
    }
    // 256 KiB a band: rows of 64 pixels by 2 x 2 are 1 KiB; a row of 64 Ki pixels or more is a band.
    EXPECT_EQ(std::tuple(vx::shell::BandRows(64, 2), vx::shell::BandRows(0, -1), vx::shell::BandRows(64, 0),
                         vx::shell::BandRows(65536, 1), vx::shell::BandRows(65537, 1)),
              std::tuple(256, 65536, 1024, 1, 1));
}

TEST(Zoom, ClicksCarryTheirButtonsAndFindThePixelUnderThePointerAtEveryZoom) {
    GraphicView* view = ShowWindow0();
    EXPECT_TRUE(view->hasMouseTracking());
    // The secondary button reports as button 2 with the modifiers held; the middle one is not the toolkit's.
    // It is held from press to release.
    for (const Qt::MouseButton button : {Qt::MiddleButton, Qt::RightButton}) {
        Send(view, QEvent::MouseButtonPress, QPointF(4.5, 2.5), button, button,
             Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        const bool held = RightButtonDown.load();
        Send(view, QEvent::MouseButtonRelease, QPointF(4.5, 2.5), button, {});
        EXPECT_EQ(std::pair(held, RightButtonDown.load()), std::pair(button == Qt::RightButton, false));
    }
    ASSERT_EQ(MouseEventQueue.Count(), 1u);
    const t_Event e = MouseEventQueue.TakeFirst().value_or(t_Event{});
    EXPECT_EQ(std::tuple(e.Index, e.ShiftPressed, e.ControlPressed, e.OptionPressed, e.CommandPressed),
              std::tuple(2, false, true, true, true));
    for (const Zoom zoom : {Zoom{false, 1}, Zoom{false, 2}, Zoom{false, 3}, Zoom{true, 1}}) {
        SCOPED_TRACE(zoom.fit ? "fit" : std::to_string(zoom.factor).c_str());
        Window0()->setZoom(zoom);
        ProcessEvents();
        // Logical pixels per picture pixel: the offscreen screen has device pixel ratio 1.
        const double s = Window0()->contentScale();
        EXPECT_TRUE(zoom.fit || s == zoom.factor) << s;
        for (const QPoint pixel : {QPoint(0, 0), QPoint(kWidth - 1, kHeight - 1), QPoint(37, 21)}) {
            // The middle of the pixel's block on the screen.
            const QPoint centre(int((pixel.x() + 0.5) * s), int((pixel.y() + 0.5) * s));
            EXPECT_EQ(ClickAt(view, centre), XY(pixel.x(), pixel.y()));
        }
        // The view's last column and row still belong to the last pixel.
        EXPECT_EQ(ClickAt(view, QPoint(view->width() - 1, view->height() - 1)), XY(kWidth - 1, kHeight - 1));

        const double w = view->width(), h = view->height();
        // Outside, the last pixel inside is kept.
        for (const auto& [point, pixel, inside] :
             {std::tuple{QPointF(w - 0.5, h - 0.5), XY(kWidth - 1, kHeight - 1), true},
              std::tuple{QPointF(0, 0), XY(0, 0), true},
              std::tuple{QPointF(w - 0.5, 0), XY(kWidth - 1, 0), true},
              std::tuple{QPointF(w + 2, h / 2), XY(kWidth - 1, 0), false}}) {
            Send(view, QEvent::MouseMove, point, Qt::NoButton, Qt::NoButton);
            const vx::PointerState p = vx::Pointer(0);
            EXPECT_EQ(std::tuple(p.x, p.y, p.inside), std::tuple(pixel.first, pixel.second, inside))
                << point.x() << ", " << point.y();
        }
        // Leaving the view leaves the picture.
        Send(view, QEvent::MouseMove, QPointF(0, 0), Qt::NoButton, Qt::NoButton);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(view, &leave);
        EXPECT_FALSE(vx::Pointer(0).inside);
    }
}

TEST(Zoom, PictureIsEnlargedInWholeBlocksWhileQueriesAndTheSavedPictureKeepTheWindowsOwnPixels) {
    GraphicView* view = ShowWindow0();
    Window0()->setZoom(Zoom{false, 3});
    ProcessEvents();
    OffUserInterfaceThread([] {
        EXPECT_EQ(t_WindowPos(0, 8), kWidth);
        // Moving keeps the zoom: the frame is the toolkit's, the scale the window's.
        t_WindowSize(0, 40, -1, -1, -1);
    });
    EXPECT_EQ(view->size(), QSize(3 * kWidth, 3 * kHeight));
    ExpectWholeBlocks(view, 3);
    ExpectPaintedWholeAndPart(view, QRect(7, 4, 30, 20));
    const std::string path = testing::TempDir() + "zoomed-" + std::to_string(::getpid()) + ".png";
    ASSERT_TRUE(vx::shell::SaveFrontPicture(StartQt().interface(), QString::fromStdString(path)));
    ExpectSavedPicture(path, 0, QSize(kWidth, kHeight));

    // A view frame twice the picture's size stretches it, still without smoothing.
    Window0()->setZoom(Zoom{false, 1});
    ExpectWholeBlocks(view, 1);
    ExpectPaintedWholeAndPart(view, QRect(7, 4, 30, 20));
    OffUserInterfaceThread([] { t_WindowSize(0, -1, -1, 2 * kWidth, 2 * kHeight); });
    ASSERT_EQ(view->size(), QSize(2 * kWidth, 2 * kHeight));
    ExpectWholeBlocks(view, 2);
    // A view larger than its frame is black beyond the picture.
    view->resize(2 * kWidth + 3, 2 * kHeight + 2);
    ExpectPaintedWholeAndPart(view, QRect(2 * kWidth - 5, 2 * kHeight - 4, 8, 6));
    // A frame 1.5 times the picture's stretches it without smoothing: only black and white, the first
    // and last pixel white. A frame of half its size averages: the corner is grey.
    const auto shot = [view] {
        const QImage image = PaintedOverRed(view, view->rect());
        const auto* words = reinterpret_cast<const QRgb*>(image.constBits());
        const auto greys = std::count_if(words, words + image.width() * image.height(),
                                         [](QRgb c) { return c != 0xFF000000u && c != 0xFFFFFFFFu; });
        return std::tuple(image.pixel(0, 0), image.pixel(image.width() - 1, image.height() - 1), greys);
    };
    OffUserInterfaceThread([] { t_WindowSize(0, -1, -1, 3 * kWidth / 2, 3 * kHeight / 2); });
    EXPECT_EQ(shot(), std::tuple(0xFFFFFFFFu, 0xFFFFFFFFu, std::ptrdiff_t(0)));
    OffUserInterfaceThread([] { t_WindowSize(0, -1, -1, kWidth / 2, kHeight / 2); });
    const auto [corner, last, greys] = shot();
    EXPECT_TRUE(qRed(corner) > 0 && qRed(corner) < 255 && qGreen(corner) == qRed(corner) && greys > 0)
        << std::hex << corner;
}

// A window smaller than its zoomed picture shows bars for the rest. A bar takes room that can make the
// other one necessary; at exactly the picture's size neither shows, and a fitted zoom never needs one.
TEST(Zoom, ScrollBarsShowWhatDoesNotFitAndScrollThePicture) {
    GraphicView* view = ShowWindow0();
    ToolkitWindow* window = Window0();
    window->setZoom(Zoom{false, 2});
    ProcessEvents();
    const QSize whole = window->size();
    const QPoint at = view->pos();
    const std::array<QScrollBar*, 2> bars = ScrollBars(window);
    ASSERT_TRUE(bars[0] && bars[1]);
    const int across = bars[1]->sizeHint().width(), top = window->menuBar()->sizeHint().height();
    const auto shown = [&](QSize size) {
        window->resize(size);
        ProcessEvents();
        return std::pair(bars[0]->isVisible(), bars[1]->isVisible());
    };
    EXPECT_EQ(shown(whole), std::pair(false, false));
    EXPECT_EQ(shown(whole - QSize(0, 1)), std::pair(true, true));
    EXPECT_EQ(shown(whole - QSize(1, 0)), std::pair(true, true));
    const int high = bars[0]->sizeHint().height();
    EXPECT_EQ(bars[0]->geometry(), QRect(0, whole.height() - high, whole.width() - 1 - across, high));
    // The menu bar and the background follow the window.
    EXPECT_EQ(std::pair(window->menuBar()->geometry(), window->background()->geometry()),
              std::pair(QRect(0, 0, whole.width() - 1, top), window->rect()));
    EXPECT_EQ(shown(whole + QSize(across, -1)), std::pair(false, true));
    EXPECT_EQ(bars[1]->geometry(), QRect(whole.width(), top, across, whole.height() - 1 - top));
    const int page = whole.height() - 1 - top;
    EXPECT_EQ(std::tuple(bars[1]->maximum(), bars[1]->pageStep(), bars[1]->singleStep(), view->pos()),
              std::tuple(1, page, std::max(1, page / 20), at));
    bars[1]->setValue(1);
    EXPECT_EQ(view->pos(), at - QPoint(0, 1));
    window->setZoom(Zoom{true, 1});
    EXPECT_EQ(shown(whole / 2), std::pair(false, false));
    window->setZoom(Zoom{false, 1});
}

// The zoom steps go one factor at a time within 1 to 16, and from a fitted zoom to the whole factor above
// or below the scale shown. The wheel scrolls a picture larger than the window, sideways with Shift.
// Full screen shows the picture alone on black at the largest factor that fits the screen, and gives
// back the zoom, the frame and the menu bar it took.
TEST(Zoom, StepsStayWithinTheFactorsWheelScrollsAndFullScreenTakesTheLargestFactorThatFits) {
    GraphicView* view = ShowWindow0();
    ToolkitWindow* window = Window0();
    EXPECT_EQ(window->zoom(), (Zoom{false, 1}));  // the picture fits at its own size
    // Sized beyond the screen's edges, the window, frame and all, is kept inside the available area.
    const QRect area = window->screen()->availableGeometry();
    window->setToolkitGeometry(QRect(QPoint(9000, 9000), window->toolkitGeometry().size()));
    EXPECT_EQ(window->frameGeometry().bottomRight(), area.bottomRight());
    window->setToolkitGeometry(QRect(QPoint(-9000, -9000), window->toolkitGeometry().size()));
    EXPECT_EQ(window->frameGeometry().topLeft(), area.topLeft());
    const auto stepped = [window](Zoom from, void (ToolkitWindow::*step)()) {
        window->setZoom(from);
        (window->*step)();
        return window->zoom();
    };
    EXPECT_EQ(stepped(Zoom{false, 1}, &ToolkitWindow::zoomOut), (Zoom{false, 1}));
    EXPECT_EQ(stepped(Zoom{false, 1}, &ToolkitWindow::zoomIn), (Zoom{false, 2}));
    EXPECT_EQ(stepped(Zoom{false, 15}, &ToolkitWindow::zoomIn), (Zoom{false, 16}));
    EXPECT_EQ(stepped(Zoom{false, 16}, &ToolkitWindow::zoomIn), (Zoom{false, 16}));
    EXPECT_EQ(stepped(Zoom{false, 2}, &ToolkitWindow::zoomOut), (Zoom{false, 1}));
    window->setZoom(Zoom{true, 1});
    const double fitted = window->contentScale();
    ASSERT_NE(fitted, std::floor(fitted));
    EXPECT_EQ(stepped(Zoom{true, 1}, &ToolkitWindow::zoomIn), (Zoom{false, int(std::floor(fitted)) + 1}));
    EXPECT_EQ(stepped(Zoom{true, 1}, &ToolkitWindow::zoomOut), (Zoom{false, int(std::floor(fitted))}));

    window->setZoom(Zoom{false, 2});
    ProcessEvents();
    const std::array<QScrollBar*, 2> bars = ScrollBars(window);
    ASSERT_TRUE(bars[0] && bars[1]);
    window->resize(window->size() - QSize(40, 40));
    ProcessEvents();
    TurnWheel(window);
    TurnWheel(window, Qt::ShiftModifier);
    EXPECT_GT(bars[0]->value(), 0);
    EXPECT_GT(bars[1]->value(), 0);
    // Where the picture fits, the wheel scrolls nothing.
    window->setZoom(Zoom{false, 1});
    ProcessEvents();
    ASSERT_FALSE(bars[1]->isVisible());
    bars[1]->setValue(0);
    TurnWheel(window);
    EXPECT_EQ(bars[1]->value(), 0);

    window->setZoom(Zoom{false, 2});
    ProcessEvents();
    const QRect normal = window->geometry();
    const QColor paper = window->background()->palette().color(QPalette::Window);
    window->setFullScreen(true);
    window->setFullScreen(true);  // already: nothing changes, also not the frame given back at the end
    QTest::qWait(200);
    const QSize screen = window->screen()->geometry().size();
    const int k = std::min(screen.width() / kWidth, screen.height() / kHeight);
    EXPECT_EQ(window->zoom(), (Zoom{false, k}));
    EXPECT_EQ(window->size(), screen);
    EXPECT_EQ(view->geometry(), QRect((screen.width() - k * kWidth) / 2, (screen.height() - k * kHeight) / 2,
                                      k * kWidth, k * kHeight));
    EXPECT_FALSE(window->menuBar()->isVisible());
    EXPECT_EQ(window->background()->palette().color(QPalette::Window), QColor(Qt::black));
    window->setFullScreen(false);
    ProcessEvents();
    EXPECT_EQ(window->zoom(), (Zoom{false, 2}));
    EXPECT_EQ(window->geometry(), normal);
    EXPECT_TRUE(window->menuBar()->isVisible());
    EXPECT_EQ(window->background()->palette().color(QPalette::Window), paper);
    window->setZoom(Zoom{false, 1});
}

// "Bild sichern …" saves the window in front, which need not be the first one on screen; without a
// graphic window in front it saves the first one on screen.
TEST(Zoom, SavingTakesTheFrontWindowsPictureAtItsOwnSize) {
    vx::shell::Interface& ui = StartQt().interface();
    ShowWindow0();
    OffUserInterfaceThread([] {
        t_InitWindow(1, 4, false, 32, 48, 0, 0, t_Font{}, true);
        t_Color(1, 12);
        g_Plot(1, 31, 0);
        t_WindowFront(1);
    });
    const std::string path = testing::TempDir() + "front-" + std::to_string(::getpid()) + ".png";
    QAction* save = nullptr;
    for (QAction* action : ui.menus.value(0)->actions())
        if (action->text() == "Bild sichern \u2026") save = action;
    ASSERT_NE(save, nullptr);
    // A panel answered with a typed path saves there; the cancelled one must leave no file under the
    // name it proposed, in whatever folder it opened, even where one was left before.
    QString proposed, proposedPath;
    const auto poll = OnEachPanel([&](QFileDialog* dialog) {
        proposedPath = dialog->selectedFiles().value(0);
        proposed = QFileInfo(proposedPath).fileName();
        if (proposed != "Grafik 2.png") return AcceptTyped(dialog, QString::fromStdString(path));
        QFile::remove(proposedPath);
        dialog->reject();
    });
    for (const auto& [active, n, name, size] :
         {std::tuple{ui.graphicWindows[1], 1, "Grafik 1.png", QSize(32, 48)},
          std::tuple{ui.main, 0, "Grafik 0.png", QSize(kWidth, kHeight)}}) {
        ui.main->show();
        ProcessEvents();
        QApplication::setActiveWindow(active);
        ASSERT_EQ(QApplication::activeWindow(), active);
        save->trigger();
        EXPECT_EQ(proposed.toStdString(), name);
        ExpectSavedPicture(path, std::uint8_t(n), size);
    }
    // A cancelled panel saves nothing, not even under the proposed name.
    OffUserInterfaceThread([] {
        t_InitWindow(2, 4, false, 32, 48, 0, 0, t_Font{}, true);
        t_WindowFront(2);
    });
    QApplication::setActiveWindow(ui.graphicWindows[2]);
    save->trigger();
    EXPECT_EQ(proposed, "Grafik 2.png");
    EXPECT_FALSE(QFileInfo::exists(proposedPath));
}

// At device pixel ratio 1.5 a window opens at factor 2: each pixel is a 2 x 2 block of device pixels,
// not the uneven 1- and 2-pixel runs of a 1.5 stretch, and clicks still find their pixel.
// The scale factor counts only when the application starts, so the check runs in a fresh process of its
// own, also when the other tests share this one.
TEST(Zoom, FractionalDensityOpensAtAWholeNumberOfDevicePixels) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto check = [] {
        qputenv("QT_SCALE_FACTOR", "1.5");
        GraphicView* view = ShowWindow0();
        EXPECT_DOUBLE_EQ(view->devicePixelRatioF(), 1.5);
        EXPECT_EQ(Window0()->zoom(), (Zoom{false, 2}));
        ExpectWholeBlocks(view, 2);
        // Logical point 31 is device pixel 46.5: picture pixel 23.
        EXPECT_EQ(ClickAt(view, QPoint(31, 31)), XY(23, 23));
        std::fflush(nullptr);
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    };
    EXPECT_EXIT(check(), ::testing::ExitedWithCode(0), "");
}

// ---- Key translation ----

namespace {

// The ANSI main block in the order of the positions: 0 is "a"; position 10, the ISO key, is "?".
const std::string kAnsi = "asdfhgzxcv?bqweryt123465=97-80]ou[ip\rlj'k;\\,/nm.\t `";
// The positions of F1..F20 and of the keypad's digits 0..9.
const std::int64_t kFunctionKeys[] = {122, 120, 99,  118, 96,  97,  98, 100, 101, 109,
                                      103, 111, 105, 107, 113, 106, 64, 79,  80,  90};
const std::int64_t kKeypadDigits[] = {82, 83, 84, 85, 86, 87, 88, 89, 91, 92};

}  // namespace

// Key presses as Qt delivers them on X11 (the X key code, the X state before the key, the text), and
// without a key code, as on the offscreen platform, where the Qt key names the position.
TEST(KeyTranslation, PressesGetTheToolkitsCodeCharactersAndFlags) {
    StartQt();  // key events need the application's keyboard device
    using namespace vx;
    const auto KP = Qt::KeypadModifier;
    // Qt key, X key code, text, modifiers, X state; then the toolkit's key code, characters and flags.
    // clang-format off
    const std::tuple<int, std::uint32_t, const char*, Qt::KeyboardModifiers, std::uint32_t, std::int64_t,
                     const char*, std::uint64_t> cases[] = {
        {Qt::Key_Backspace, 22, "\b", {}, 0, 51, "\x7f", 0},
        {Qt::Key_Delete, 119, "\x7f", {}, 0, 117, "\uF728", kFunctionFlag},
        {Qt::Key_Enter, 104, "\r", KP, 0, 76, "\x03", kNumericPadFlag},
        {Qt::Key_Backtab, 23, "", Qt::ShiftModifier, 0x1, 48, "\x19", kShiftFlag},
        {Qt::Key_Left, 113, "", {}, 0, 123, "\uF702", kNumericPadFlag | kFunctionFlag},
        {Qt::Key_Print, 107, "", {}, 0, 128 + 107, "", 0},  // no position: a code of its own
        // Keypad keys type their digits whatever NumLock says: off, Qt reports the navigation key.
        {Qt::Key_Up, 80, "", KP, 0, 91, "8", kNumericPadFlag},
        {Qt::Key_8, 80, "8", KP, 0x10, 91, "8", kNumericPadFlag},
        {Qt::Key_Delete, 91, "", KP, 0, 65, ".", kNumericPadFlag},
        // Flags come from Qt, Caps Lock from the X Lock bit.
        {Qt::Key_A, 38, "A", Qt::ShiftModifier | Qt::ControlModifier, 0x2 | 0x1, 0, "A",
         kCapsLockFlag | kShiftFlag | kControlFlag},
        {Qt::Key_B, 56, "b", Qt::AltModifier | Qt::MetaModifier, 0, 11, "b", kOptionFlag | kCommandFlag},
        // Without a key code.
        {Qt::Key_Print, 0, "", {}, 0, 255, "", 0},
        // The navigation keys, and Control, which types a control character.
        {Qt::Key_Home, 110, "", {}, 0, 115, "\uF729", kFunctionFlag},
        {Qt::Key_End, 115, "", {}, 0, 119, "\uF72B", kFunctionFlag},
        {Qt::Key_PageUp, 112, "", {}, 0, 116, "\uF72C", kFunctionFlag},
        {Qt::Key_PageDown, 0, "", {}, 0, 121, "\uF72D", kFunctionFlag},
        {Qt::Key_Insert, 118, "", {}, 0, 114, "\uF727", kFunctionFlag},
        {Qt::Key_Help, 0, "", {}, 0, 114, "\uF727", kFunctionFlag},
        {Qt::Key_Right, 114, "", {}, 0, 124, "\uF703", kNumericPadFlag | kFunctionFlag},
        {Qt::Key_Down, 0, "", {}, 0, 125, "\uF701", kNumericPadFlag | kFunctionFlag},
        {Qt::Key_Up, 111, "", {}, 0, 126, "\uF700", kNumericPadFlag | kFunctionFlag},
        {Qt::Key_F35, 0, "", {}, 0, 255, "\uF726", kFunctionFlag},
        {Qt::Key_C, 54, "\x03", Qt::ControlModifier, 0x4, 8, "\x03", kControlFlag},
        {Qt::Key_Enter, 0, "\r", KP, 0, 76, "\x03", kNumericPadFlag},
        {Qt::Key_Clear, 84, "", KP, 0, 87, "5", kNumericPadFlag},
        {Qt::Key_Asterisk, 0, "*", KP, 0, 67, "*", kNumericPadFlag},
    };
    // clang-format on
    for (const auto& [key, scanCode, text, mods, xState, keyCode, characters, flags] : cases) {
        SCOPED_TRACE(std::to_string(key) + " / " + std::to_string(scanCode));
        const KeyPress p =
            vx::shell::TranslateKeyPress(QKeyEvent(QEvent::KeyPress, key, mods, scanCode, 0, xState, text));
        EXPECT_EQ(std::tuple(p.keyCode, p.characters, p.modifierFlags),
                  std::tuple(keyCode, std::string(characters), flags));
    }
    // Caps Lock toggles with its press, which the X state, the state before it, does not show yet.
    const QKeyEvent on(QEvent::KeyPress, Qt::Key_CapsLock, {}, 66, 0, 0, "");
    const QKeyEvent off(QEvent::KeyPress, Qt::Key_CapsLock, {}, 66, 0, 0x2, "");
    EXPECT_EQ(
        std::tuple(vx::shell::IsModifierKey(on), vx::shell::ModifierFlags(on), vx::shell::ModifierFlags(off)),
        std::tuple(true, vx::kCapsLockFlag, std::uint64_t(0)));
    // A modifier key's press counts before Qt reports it, and its release no longer counts.
    const auto all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    const std::uint64_t allFlags = kShiftFlag | kControlFlag | kOptionFlag | kCommandFlag;
    const std::pair<int, std::uint64_t> modifiers[] = {
        {Qt::Key_Shift, kShiftFlag},     {Qt::Key_Control, kControlFlag}, {Qt::Key_Alt, kOptionFlag},
        {Qt::Key_AltGr, kOptionFlag},    {Qt::Key_Meta, kCommandFlag},    {Qt::Key_Super_L, kCommandFlag},
        {Qt::Key_Super_R, kCommandFlag}, {Qt::Key_Hyper_L, kCommandFlag}, {Qt::Key_Hyper_R, kCommandFlag}};
    for (const auto& [key, flag] : modifiers) {
        const QKeyEvent down(QEvent::KeyPress, key, {}, 0, 0, 0, "");
        const QKeyEvent up(QEvent::KeyRelease, key, all, 0, 0, 0, "");
        EXPECT_EQ(std::tuple(vx::shell::IsModifierKey(down), vx::shell::ModifierFlags(down),
                             vx::shell::ModifierFlags(up)),
                  std::tuple(true, flag, allFlags & ~flag))
            << key;
    }
    EXPECT_EQ(
        std::pair(vx::shell::IsModifierKey(QKeyEvent(QEvent::KeyPress, Qt::Key_NumLock, {}, 0, 0, 0, "")),
                  vx::shell::IsModifierKey(QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, {}, 0, 0, 0, ""))),
        std::pair(true, false));
}

// From their X key codes, and without a key code from the Qt key, as on the offscreen platform: the ANSI main
// block in the order of the positions (0 is "a"; position 10, the ISO key, has no Qt key), the function
// keys, the keypad with NumLock on (digits) and off (navigation keys that type the digits all the same).
TEST(KeyTranslation, X11KeyCodesAndQtKeysWithoutOneFindTheirPositions) {
    StartQt();
    auto press = [](int key, Qt::KeyboardModifiers mods, const QString& text) {
        return vx::shell::TranslateKeyPress(QKeyEvent(QEvent::KeyPress, key, mods, 0, 0, 0, text));
    };
    // Runs of X key codes over the main block, the positions read off kAnsi.
    const std::pair<std::uint32_t, const char*> rows[] = {{10, "1234567890-="},
                                                          {23, "\tqwertyuiop[]\r"},
                                                          {38, "asdfghjkl;'`"},
                                                          {51, "\\zxcvbnm,./"},
                                                          {65, " "}};
    for (const auto& [first, keys] : rows)
        for (std::uint32_t i = 0; keys[i] != 0; ++i)
            EXPECT_EQ(vx::shell::KeyCodeOfScanCode(first + i), std::int64_t(kAnsi.find(keys[i]))) << keys[i];
    for (std::size_t position = 0; position < kAnsi.size(); ++position) {
        const char c = kAnsi[position];
        if (c == '?') continue;
        const int key = c == '\r' ? Qt::Key_Return : c == '\t' ? Qt::Key_Tab : std::toupper(c);
        EXPECT_EQ(press(key, {}, QString(QChar(c))).keyCode, std::int64_t(position)) << c;
    }
    // F1..F10 are X key codes 67..76, F11 and F12 95 and 96, F13..F20 191..198.
    for (std::uint32_t i = 0; i < 20; ++i) {
        const std::uint32_t scan = i < 10 ? 67 + i : i < 12 ? 85 + i : 179 + i;
        EXPECT_EQ(std::pair(vx::shell::KeyCodeOfScanCode(scan), press(Qt::Key_F1 + int(i), {}, "").keyCode),
                  std::pair(kFunctionKeys[i], kFunctionKeys[i]))
            << "F" << i + 1;
    }
    const std::uint32_t digits[] = {90, 87, 88, 89, 83, 84, 85, 79, 80, 81};
    const int navigation[] = {Qt::Key_Insert, Qt::Key_End,   Qt::Key_Down, Qt::Key_PageDown, Qt::Key_Left,
                              Qt::Key_Clear,  Qt::Key_Right, Qt::Key_Home, Qt::Key_Up,       Qt::Key_PageUp};
    for (int d = 0; d < 10; ++d) {
        EXPECT_EQ(vx::shell::KeyCodeOfScanCode(digits[d]), kKeypadDigits[d]) << d;
        const std::string digit(1, char('0' + d));
        for (const vx::KeyPress& p : {press(Qt::Key_0 + d, Qt::KeypadModifier, QString::fromStdString(digit)),
                                      press(navigation[d], Qt::KeypadModifier, "")}) {
            EXPECT_EQ(std::tuple(p.keyCode, p.characters, p.modifierFlags),
                      std::tuple(kKeypadDigits[d], digit, vx::kNumericPadFlag));
        }
    }
    // The ISO key, Escape, the rest of the keypad, Page Down, Help and the down arrow; left Control and
    // the codes either side of the table have none. The other keys' X key codes are in the presses' table.
    const std::pair<std::uint32_t, std::int64_t> others[] = {
        {94, 10},  {9, 53},    {63, 67},   {77, 71},   {82, 78}, {86, 69}, {106, 75},
        {125, 81}, {117, 121}, {146, 114}, {116, 125}, {37, -1}, {8, -1},  {199, -1}};
    for (auto [scan, code] : others)
        EXPECT_EQ(vx::shell::KeyCodeOfScanCode(scan), code) << "X key code " << scan;
    // The rest of the keypad, then keys off it.
    const std::tuple<int, bool, std::int64_t> keypadAndOthers[] = {
        {Qt::Key_Period, true, 65},     {Qt::Key_Comma, true, 65},    {Qt::Key_Delete, true, 65},
        {Qt::Key_Plus, true, 69},       {Qt::Key_Slash, true, 75},    {Qt::Key_Minus, true, 78},
        {Qt::Key_Equal, true, 81},      {Qt::Key_Backtab, false, 48}, {Qt::Key_Backspace, false, 51},
        {Qt::Key_Escape, false, 53},    {Qt::Key_Clear, false, 71},   {Qt::Key_Space, false, 49},
        {Qt::Key_Help, false, 114},     {Qt::Key_Insert, false, 114}, {Qt::Key_Home, false, 115},
        {Qt::Key_PageUp, false, 116},   {Qt::Key_Delete, false, 117}, {Qt::Key_End, false, 119},
        {Qt::Key_PageDown, false, 121}, {Qt::Key_Left, false, 123},   {Qt::Key_Right, false, 124},
        {Qt::Key_Down, false, 125},     {Qt::Key_Up, false, 126}};
    for (const auto& [key, keypad, code] : keypadAndOthers)
        EXPECT_EQ(press(key, keypad ? Qt::KeypadModifier : Qt::NoModifier, "").keyCode, code) << key;
}
