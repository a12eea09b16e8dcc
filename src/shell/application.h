// Turning a program into a desktop application: one call does the whole Qt set-up, runs the event
// loop, and ends the process when the user quits.
#pragma once

#include <functional>
#include <string>

namespace vx {

// Builds the application (interface, platform, life-cycle callbacks), starts `program` on the program
// thread once launching has finished, and runs until the user quits. Never returns: the process ends
// with status 0 after the event loop has stopped, whatever the program thread is doing then.
int RunApplication(int argc, char** argv, std::function<void()> program);

namespace shell {

class QtPlatform;

// The part of RunApplication that needs no event loop: builds the interface, installs the Qt platform
// and connects the windows' close boxes and resizes to the toolkit. Needs a QApplication; on its thread.
QtPlatform& InstallQtPlatform(const std::string& applicationName);

}  // namespace shell

}  // namespace vx
