#include "core/app_lifecycle.h"

#include "core/log.h"
#include "core/platform.h"
#include "core/program.h"
#include "core/state.h"
#include "core/threads.h"

namespace vx {

void ApplicationWillFinishLaunching() {
    Log("applicationWillFinishLaunching: Called.");
    if (CurrentThreadNumber() == 1) SetCurrentThreadName("AppDelegate");
}

void ApplicationDidFinishLaunching(std::function<void()> program) {
    Log("applicationDidFinishLaunching: Start.");
    initvxtools();
    // The strip above the pasteboard's scroll view, less the 10-point margins above and below it.
    Platform& p = CurrentPlatform();
    ScrollViewRef scroll = p.scrollView(8);
    WindowRef window = p.windowOfScrollView(scroll);
    if (scroll != nullptr && window != nullptr) {
        TitleBarHeight =
            static_cast<std::int64_t>(p.windowFrame(window).height - p.scrollViewFrame(scroll).height - 20.0);
    }
    Log("Program: Start.");
    startprocess(std::move(program), 0x40000000);
    Log("applicationDidFinishLaunching: End.");
    LaunchFinished.store(true);
}

void ApplicationWillTerminate() {
    Log("applicationWillTerminate: Called.");
    TerminationHandler();
}

void ApplicationDidBecomeActive() {
    ApplicationActive.store(true);
}

void ApplicationWillResignActive() {
    ApplicationActive.store(false);
}

}  // namespace vx
