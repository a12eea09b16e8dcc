// Turning a program into a desktop application: one call does the whole Qt set-up, runs the event
// loop, and ends the process when the user quits.
#pragma once

#include <functional>
#include <string>

namespace vx {

// Builds the application (interface, platform, life-cycle callbacks), starts `program` on the program
// thread once launching has finished, and runs until the user or the program (vx::QuitApplication)
// quits. Never returns: the process ends after the event loop has stopped, whatever the program thread
// is doing then, with status 0 or the one given to vx::QuitApplication.
int RunApplication(int argc, char** argv, std::function<void()> program);

namespace shell {

class QtPlatform;

// The part of RunApplication that needs no event loop: builds the interface, installs the Qt platform
// and connects the windows' close boxes and resizes to the toolkit. Needs a QApplication; on its thread.
QtPlatform& InstallQtPlatform(const std::string& applicationName);

}  // namespace shell

}  // namespace vx
