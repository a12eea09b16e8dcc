#include "qt_test_support.h"

#include <QApplication>
#include <atomic>
#include <sstream>
#include <thread>

#include "core/log.h"
#include "core/threads.h"
#include "shell/application.h"
#include "shell/qt_platform.h"

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

}  // namespace vxtest
