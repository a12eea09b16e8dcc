#include "shell/application.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProxyStyle>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <iostream>

#include "core/app_lifecycle.h"
#include "core/application_quit.h"
#include "core/platform.h"
#include "core/threads.h"
#include "input/events.h"
#include "input/mouse_input.h"
#include "menus/text_windows.h"
#include "menus/toolkit_hooks.h"
#include "shell/command_line.h"
#include "shell/interface.h"
#include "shell/qt_platform.h"
#include "shell/toolkit_window.h"
#include "vxtools/extensions.h"
#include "vxtools/menus.h"

#ifdef VX_COVERAGE
extern "C" void __gcov_dump();
#endif

namespace vx {

namespace {

// The status the process ends with: 0 unless the program asked for another with vx::QuitApplication.
std::atomic<int> exitStatus{0};

// vx::QuitApplication from any thread: the event loop stops on its own thread, as with the Quit item.
void QuitWithStatus(int status) {
    exitStatus.store(status);
    QMetaObject::invokeMethod(
        qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

// SIGTERM and SIGINT quit as the menu does: the handler only writes a byte that the event loop reads.
int signalPipe[2] = {-1, -1};

void OnQuitSignal(int) {
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(signalPipe[1], &byte, 1);
}

void QuitOnSignals() {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char byte = 0;
        [[maybe_unused]] ssize_t n = ::read(signalPipe[0], &byte, 1);
        QCoreApplication::exit(0);
    });
    struct sigaction action = {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

// Alt must stay a modifier for the views: with menu-bar navigation on Alt (some desktop styles switch it
// on), a menu bar that Alt opened kept the keyboard after Escape and swallowed the keys that followed.
class ToolkitStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_MenuBar_AltKeyNavigation) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// Every menu item but Quit goes to the toolkit's menu handler, which acts on its tag.
void MenuItemChosen(QAction* action) {
    t_MenuEventHandler(reinterpret_cast<MenuItemRef>(action));
}

// A close box hides its window, except the main window's when nothing else is on screen: that window
// is the application's last way in, so closing it quits, as closing a desktop application's last
// window does.
void CloseBoxClicked(const shell::Interface& ui, shell::ToolkitWindow* window) {
    if (window == ui.main) {
        const QList<shell::ToolkitWindow*> windows = shell::AllWindows(ui);
        const bool othersVisible = std::any_of(windows.begin(), windows.end(),
                                               [&](auto* w) { return w != window && w->isVisible(); });
        if (!othersVisible) {
            QCoreApplication::exit(0);
            return;
        }
    }
    t_MouseEventPostCloseBoxClick(t_WindowNumber(reinterpret_cast<WindowRef>(window)));
}

void FollowActivation() {
    QObject::connect(qApp, &QGuiApplication::applicationStateChanged, [](Qt::ApplicationState state) {
        static bool active = false;
        if (state == Qt::ApplicationActive) {
            active = true;
            ApplicationDidBecomeActive();
        } else if (active) {
            active = false;
            ApplicationWillResignActive();
        }
    });
}

}  // namespace

namespace shell {

QtPlatform& InstallQtPlatform(const std::string& applicationName) {
    QApplication::setStyle(new ToolkitStyle);
    Interface* ui = BuildInterface(QString::fromStdString(applicationName), MenuItemChosen,
                                   [] { QCoreApplication::exit(0); });
    auto* platform = new QtPlatform(ui);
    InstallPlatform(platform);
    InstallToolkitHooks();
    ToolkitWindow::SetCloseBoxHandler([ui](ToolkitWindow* window) { CloseBoxClicked(*ui, window); });
    // The window that was resized, which need not be the active one (a window manager may resize any).
    ToolkitWindow::SetResizeHandler(
        [](ToolkitWindow* window) { LayoutTextWindow(reinterpret_cast<WindowRef>(window)); });
    return *platform;
}

}  // namespace shell

int RunApplication(int argc, char** argv, std::function<void()> program) {
    return RunApplication(argc, argv, std::move(program), "");
}

int RunApplication(int argc, char** argv, std::function<void()> program, const std::string& about) {
    if (const int status = shell::HandleCommandLine(argc, argv, about, std::cout, std::cerr); status >= 0) {
        std::cout.flush();
        return status;
    }
    // The log goes to standard output; when that is a pipe whose reader has gone (| head), a write
    // fails with EPIPE and the line is lost, instead of the signal ending the application.
    std::signal(SIGPIPE, SIG_IGN);
    RegisterUserInterfaceThread();
    // QApplication keeps a reference to argc; both live as long as the process, like all platform state.
    auto* storedArgc = new int(argc);
    auto* app = new QApplication(*storedArgc, argv);
    app->setQuitOnLastWindowClosed(false);
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName();

    shell::QtPlatform* platform = &shell::InstallQtPlatform(name.toStdString());

    QuitOnSignals();
    FollowActivation();
    SetQuitApplicationHook(QuitWithStatus);
    QObject::connect(app, &QCoreApplication::aboutToQuit, [] { ApplicationWillTerminate(); });

    ApplicationWillFinishLaunching();
    QTimer::singleShot(0, app, [program = std::move(program)] { ApplicationDidFinishLaunching(program); });
    app->exec();

    // The program thread may be drawing, sleeping or waiting for the user-interface thread. Waiting
    // hand-overs give up once quitting is set; whatever was already running gets a moment to finish,
    // and then the process ends without running destructors under threads that still use them.
    SetQuitApplicationHook({});
    platform->beginQuit();
    // Windows go at once rather than when the process ends (hidden: a close would be a close-box click).
    for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < 50) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    std::fflush(stdout);
    std::fflush(stderr);
#ifdef VX_COVERAGE
    // _exit skips the exit handlers that would write the coverage counters.
    __gcov_dump();
#endif
    ::_exit(exitStatus.load());
}

}  // namespace vx
