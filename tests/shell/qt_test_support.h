// Set-up shared by the widget tests: a QApplication on the offscreen platform with the toolkit's Qt
// platform, and the headers nearly every one of them needs.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "display/window_init.h"
#include "input/events.h"
#include "shell/interface.h"
#include "shell/qt_platform.h"
#include "shell/toolkit_window.h"
#include "shell/views.h"
#include "vxtools/core.h"
#include "vxtools/display.h"

namespace vxtest {

// The size of the picture ShowWindow0 sets up.
constexpr int kWidth = 96, kHeight = 64;

// Makes the application (once per process), installs the Qt platform and captures the log.
vx::shell::QtPlatform& StartQt();
vx::shell::Interface& Ui();
// Runs work on a thread of its own, as the program thread would, while this thread serves events.
void OffUserInterfaceThread(const std::function<void()>& work);
// Serves events for a moment.
void ProcessEvents();
// The captured log split into lines, and cleared.
std::vector<std::string> TakeLog();

// Window 0 as a kWidth x kHeight 4-bit display with a border and an 8 x 8 font, "Hallo" and a line end
// printed, its first and last pixel white; shown, in front and active. Every queue and the log are empty.
vx::shell::GraphicView* ShowWindow0();

// The item with this tag in the menus or their submenus.
QAction* MenuItem(qint64 tag, const QList<QMenu*>& menus = Ui().menus);

}  // namespace vxtest
