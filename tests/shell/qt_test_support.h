// Set-up for widget tests: a QApplication on the offscreen platform with the toolkit's Qt platform.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vx::shell {
class QtPlatform;
class GraphicView;
class ToolkitWindow;
}  // namespace vx::shell

namespace vxtest {

// Makes the application (once per process), installs the Qt platform and captures the log.
vx::shell::QtPlatform& StartQt();
// Runs work on a thread of its own, as the program thread would, while this thread serves events.
void OffUserInterfaceThread(const std::function<void()>& work);
// Serves events for a moment.
void ProcessEvents();
// The captured log split into lines, and cleared.
std::vector<std::string> TakeLog();

}  // namespace vxtest
