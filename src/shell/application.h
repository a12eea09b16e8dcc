// Turning a program into a desktop application: one call does the whole Qt set-up, runs the event
// loop, and ends the process when the user quits.
#pragma once

#include <functional>
#include <string>

#include "vxtools/application.h"

namespace vx {

namespace shell {

class QtPlatform;

// The part of RunApplication that needs no event loop: builds the interface, installs the Qt platform
// and connects the windows' close boxes and resizes to the toolkit. Needs a QApplication; on its thread.
QtPlatform& InstallQtPlatform(const std::string& applicationName);

}  // namespace shell

}  // namespace vx
