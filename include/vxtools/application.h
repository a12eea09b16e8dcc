// Turning a program into a desktop application (the Qt application library, vxtools_shell).
#pragma once

#include <functional>

namespace vx {

// Builds the application (interface, platform, life-cycle callbacks), starts `program` on the program
// thread once launching has finished, and runs until the user quits. Never returns: the process ends
// with status 0 after the event loop has stopped, whatever the program thread is doing then.
int RunApplication(int argc, char** argv, std::function<void()> program);

}  // namespace vx
