#include "qt_test_support.h"

#include <atomic>
#include <sstream>
#include <thread>

#include "core/log.h"
#include "core/threads.h"
#include "input/key_input.h"
#include "input/mouse_input.h"
#include "shell/application.h"
#include "vxtools/graphics.h"
#include "vxtools/text.h"

// Fontconfig keeps caches that it never frees; that is not ours to report.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace vxtest {

vx::shell::QtPlatform& StartQt() {
    static vx::shell::QtPlatform* platform = [] {
        vx::RegisterUserInterfaceThread();
        // No display needed, also when the tests are run by hand.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "shell_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
        vx::StartLogCapture();
        return &vx::shell::InstallQtPlatform("shell_tests");
    }();
    return *platform;
}

vx::shell::Interface& Ui() {
    return StartQt().interface();
}

void OffUserInterfaceThread(const std::function<void()>& work) {
    std::atomic<bool> done{false};
    std::thread thread([&] {
        work();
        done = true;
    });
    while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    thread.join();
    ProcessEvents();
}

void ProcessEvents() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

std::vector<std::string> TakeLog() {
    std::vector<std::string> lines;
    std::istringstream in(vx::TakeCapturedLog());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

vx::shell::GraphicView* ShowWindow0() {
    vx::shell::Interface& ui = Ui();
    OffUserInterfaceThread([] {
        const t_Font font = vx::BuildFont(8, 8, [](int, int, int) { return std::uint8_t(0); });
        t_InitWindow(0, 4, false, kWidth, kHeight, 5, 3, font, true);
        t_Print(0, "Hallo\u008A");
        t_Color(0, 15);
        g_Plot(0, 0, 0);
        g_Plot(0, kWidth - 1, kHeight - 1);
        t_WindowFront(0);
        // The refresh process logs its first line on its own thread; it must not land in a test's log.
        for (int i = 0; i < 5000; ++i) {
            if (std::string(vx::CapturedLog()).find("t_WindowAutoUpdateProcess: Start.") != std::string::npos)
                break;
            vx::SleepNanoseconds(1'000'000);
        }
    });
    QApplication::setActiveWindow(ui.graphicWindows[0]);
    ProcessEvents();
    KeyEventQueue.Clear();
    MouseEventQueue.Clear();
    TakeLog();
    return ui.views[0];
}

QAction* MenuItem(qint64 tag, const QList<QMenu*>& menus) {
    for (QMenu* menu : menus) {
        for (QAction* action : menu->actions()) {
            if (action->menu()) {
                if (QAction* found = MenuItem(tag, {action->menu()})) return found;
            } else if (action->data().isValid() && action->data().toLongLong() == tag) {
                return action;
            }
        }
    }
    return nullptr;
}

}  // namespace vxtest
