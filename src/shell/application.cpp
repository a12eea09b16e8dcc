#include "shell/application.h"

#include <fcntl.h>
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
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "core/app_lifecycle.h"
#include "core/application_quit.h"
#include "core/log.h"
#include "core/platform.h"
#include "core/threads.h"
#include "display/picture_file.h"
#include "display/reachability.h"
#include "input/events.h"
#include "input/mouse_input.h"
#include "menus/text_windows.h"
#include "menus/toolkit_hooks.h"
#include "shell/command_line.h"
#include "shell/interface.h"
#include "shell/qt_platform.h"
#include "shell/toolkit_window.h"
#include "vxtools/core.h"
#include "vxtools/extensions.h"
#include "vxtools/menus.h"

#ifdef VX_COVERAGE
extern "C" void __gcov_dump();
#endif

namespace vx {
namespace {

// Ends the process at once. _exit skips the exit handlers, among them the one that writes the coverage
// counters of a coverage build: those are written first.
[[noreturn]] void ExitNow(int status) {
#ifdef VX_COVERAGE
    __gcov_dump();
#endif
    ::_exit(status);
}

// The status the process ends with: 0 unless the program asked for another with vx::QuitApplication.
std::atomic<int> exitStatus{0};

// vx::QuitApplication from any thread: the event loop stops on its own thread, as with the Quit item.
void QuitWithStatus(int status) {
    exitStatus.store(status);
    QMetaObject::invokeMethod(
        qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

// A descriptor among 0..2 that the caller closed (prog >&-) would be the next one opened, the X
// connection's socket among them, and the log lines would go into it. They point to /dev/null instead.
void OpenClosedStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // The lower ones are open by now, so this takes the lowest free number: fd itself.
        const int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}

// SIGTERM, SIGINT and SIGHUP quit as the menu does: the handler only writes a byte that the event loop
// reads. The handlers come before anything of Qt: a signal during start-up waits in the socket until the
// event loop runs. SIGHUP that the caller ignores (nohup) stays ignored.
int signalPipe[2] = {-1, -1};

void OnQuitSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

void CatchQuitSignals() {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, signalPipe) != 0) return;
    struct sigaction action = {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigset_t quitSignals;
    sigemptyset(&quitSignals);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction previous = {};
        if (signal == SIGHUP && sigaction(SIGHUP, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        sigaction(signal, &action, nullptr);
        sigaddset(&quitSignals, signal);
    }
    // A caller may have started us with them blocked; the threads made from here on inherit the mask.
    pthread_sigmask(SIG_UNBLOCK, &quitSignals, nullptr);
}

// Needs the application object: from here on the event loop reads what the handler wrote.
void QuitOnSignals() {
    if (signalPipe[0] < 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char bytes[64];
        while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
        }
        QCoreApplication::exit(0);
    });
}

// Without a display Qt's platform plugin gives up with a page of text and abort() (status 134). While
// the application object is made, Qt's messages are kept back: a fatal one ends the process with one
// line and status 1; otherwise they go out as Qt would have written them.
std::vector<std::string>* heldMessages = nullptr;
std::string* firstMessage = nullptr;
std::string* programName = nullptr;

void HoldStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        heldMessages->push_back(qFormatLogMessage(type, context, message).toStdString());
        if (firstMessage->empty()) *firstMessage = message.toStdString();
        return;
    }
    // Qt's first message names the cause ("could not connect to display :9"); the fatal one only says
    // that no plugin could start.
    std::string cause = firstMessage->empty() ? message.toStdString() : *firstMessage;
    cause = cause.substr(0, cause.find('\n'));
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    // Built by appending: GCC 12 misreads the concatenation of temporaries as an overflow at -O3.
    const auto quoted = [](const char* value) {
        std::string text = "unset";
        if (value != nullptr) text.assign(1, '"').append(value).append(1, '"');
        return text;
    };
    std::string line = *programName;
    line.append(": Cannot start without a display (DISPLAY ").append(quoted(display));
    line.append(", WAYLAND_DISPLAY ").append(quoted(wayland)).append("): ").append(cause).append("\n");
    std::fflush(stdout);
    [[maybe_unused]] ssize_t n = ::write(STDERR_FILENO, line.data(), line.size());
    ExitNow(1);
}

QApplication* MakeApplication(int& argc, char** argv) {
    heldMessages = new std::vector<std::string>;
    firstMessage = new std::string;
    programName = new std::string(shell::ProgramName(argc > 0 ? argv[0] : nullptr));
    const QtMessageHandler previous = qInstallMessageHandler(HoldStartMessage);
    auto* app = new QApplication(argc, argv);
    qInstallMessageHandler(previous);
    for (const std::string& message : *heldMessages) std::fprintf(stderr, "%s\n", message.c_str());
    heldMessages->clear();
    return app;
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

// Runs the program and notes when its thread has ended, also through t_QuitProgram's thread exit, which
// unwinds the stack.
std::function<void()> NotingTheEnd(std::function<void()> program, std::atomic<bool>& ended) {
    return [program = std::move(program), &ended] {
        struct Mark {
            std::atomic<bool>& ended;
            ~Mark() { ended.store(true); }
        } mark{ended};
        program();
    };
}

// The watch that brings up the main window when the program leaves nothing on screen; it stops as soon
// as the program asks to quit, so that the main window does not flash up on the way out.
QTimer* WatchReachability(QObject* parent, const std::atomic<bool>& programEnded) {
    auto* timer = new QTimer(parent);
    timer->setInterval(250);
    QObject::connect(timer, &QTimer::timeout, [&programEnded, watch = ReachabilityWatch()]() mutable {
        if (RequestedExitStatus() < 0) watch.Tick(AbsoluteTimeMillis(), programEnded.load());
    });
    timer->start();
    return timer;
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
    OpenClosedStandardDescriptors();
    if (const int status = shell::HandleCommandLine(argc, argv, about, std::cout, std::cerr); status >= 0) {
        // Usage or version that never reached the file (a full disk, /dev/full) is a failure.
        if (!std::cout.flush()) {
            std::cerr << shell::ProgramName(argc > 0 ? argv[0] : nullptr)
                      << ": Cannot write to standard output: " << std::strerror(errno) << "\n";
            return 1;
        }
        return status;
    }
    CatchQuitSignals();
    // The log goes to standard output; when that is a pipe whose reader has gone (| head), a write
    // fails with EPIPE and the line is lost, instead of the signal ending the application.
    std::signal(SIGPIPE, SIG_IGN);
    RegisterUserInterfaceThread();
    // QApplication keeps a reference to argc; both live as long as the process, like all platform state.
    auto* storedArgc = new int(argc);
    QApplication* app = MakeApplication(*storedArgc, argv);
    app->setQuitOnLastWindowClosed(false);
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName();

    shell::QtPlatform* platform = &shell::InstallQtPlatform(name.toStdString());

    QuitOnSignals();
    FollowActivation();
    SetQuitApplicationHook(QuitWithStatus);
    QObject::connect(app, &QCoreApplication::aboutToQuit, [] { ApplicationWillTerminate(); });

    ApplicationWillFinishLaunching();
    static std::atomic<bool> programEnded{false};
    QTimer::singleShot(0, app, [program = NotingTheEnd(std::move(program), programEnded)] {
        ApplicationDidFinishLaunching(program);
    });
    QTimer* reachability = WatchReachability(app, programEnded);
    app->exec();
    reachability->stop();

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
    // A picture being written is finished first: ending the process under it would leave only the
    // temporary file (the old picture stays either way). Bounded, so that quitting never hangs.
    bool saveFailed = false;
    if (!WaitForPictureSaves(5000, saveFailed))
        Log("vx::RunApplication: A picture was still being saved after 5 s; the file it was to replace is "
            "unchanged.");
    if (saveFailed && exitStatus.load() == 0) exitStatus.store(1);
    std::fflush(stdout);
    std::fflush(stderr);
    ExitNow(exitStatus.load());
}

}  // namespace vx
