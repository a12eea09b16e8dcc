// The application's life-cycle callbacks as the toolkit handles them. A platform's application layer
// calls these on its user-interface thread; they decide everything, the platform only forwards.
#pragma once

#include <functional>

namespace vx {

// Logs and names the user-interface thread "AppDelegate".
void ApplicationWillFinishLaunching();
// The launch sequence: initvxtools, TitleBarHeight from the pasteboard window, then the program on a
// thread of its own with a 1 GiB stack; sets LaunchFinished.
void ApplicationDidFinishLaunching(std::function<void()> program);
// Logs and calls TerminationHandler.
void ApplicationWillTerminate();
void ApplicationDidBecomeActive();
void ApplicationWillResignActive();

}  // namespace vx
