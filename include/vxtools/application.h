// Turning a program into a desktop application (the Qt application library, vxtools_shell).
#pragma once

#include <functional>

namespace vx {

// Builds the application (interface, platform, life-cycle callbacks), starts `program` on the program
// thread once launching has finished, and runs until the user or the program (vx::QuitApplication)
// quits. Never returns: the process ends after the event loop has stopped, whatever the program thread
// is doing then, with status 0 or the one given to vx::QuitApplication.
int RunApplication(int argc, char** argv, std::function<void()> program);

}  // namespace vx
