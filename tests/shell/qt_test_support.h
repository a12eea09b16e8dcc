// Set-up shared by the widget tests: a QApplication on the offscreen platform with the toolkit's Qt
// platform, and the headers nearly every one of them needs. The log is read with the toolkit tests'
// helpers in support/toolkit_test.h.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <functional>
#include <future>

#include "core/threads.h"
#include "input/key_input.h"
#include "input/mouse_input.h"
#include "shell/application.h"
#include "shell/interface.h"
#include "shell/qt_platform.h"
#include "shell/toolkit_window.h"
#include "shell/views.h"
#include "support/toolkit_test.h"
#include "vxtools/graphics.h"

namespace vx::test {

// The size of the picture ShowWindow0 sets up.
constexpr int kWidth = 96, kHeight = 64;

// Makes the application (once per process), installs the Qt platform and captures the log.
inline shell::QtPlatform& StartQt() {
    static shell::QtPlatform* platform = [] {
        RegisterUserInterfaceThread();
        // No display needed, also when the tests are run by hand.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "shell_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
        StartLogCapture();
        return &shell::InstallQtPlatform("shell_tests");
    }();
    return *platform;
}

// Serves events for a moment.
inline void ProcessEvents() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Runs work on a thread of its own, as the program thread would, while this thread serves events.
inline void OffUserInterfaceThread(const std::function<void()>& work) {
    const std::future<void> done = std::async(std::launch::async, work);
    while (done.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ProcessEvents();
}

// Window 0 as a kWidth x kHeight 4-bit display with a border and an 8 x 8 blank font, "Hallo" and a line
// end printed, its first and last pixel white; shown, in front and active. Every queue and the log are
// empty.
inline shell::GraphicView* ShowWindow0() {
    shell::Interface& ui = StartQt().interface();
    OffUserInterfaceThread([] {
        t_InitWindow(0, 4, false, kWidth, kHeight, 5, 3,
                     BuildFont(8, 8, [](int, int, int) { return std::uint8_t(0); }), true);
        t_Print(0, "Hallo\u008A");
        t_Color(0, 15);
        g_Plot(0, 0, 0);
        g_Plot(0, kWidth - 1, kHeight - 1);
        t_WindowFront(0);
        SettleLog();
    });
    QApplication::setActiveWindow(ui.graphicWindows[0]);
    ProcessEvents();
    KeyEventQueue.Clear();
    MouseEventQueue.Clear();
    TakeLogLines();
    return ui.views[0];
}

}  // namespace vx::test
