#include "core/application_quit.h"

#include <atomic>
#include <mutex>
#include <string>

#include "core/log.h"
#include "core/platform.h"
#include "vxtools/extensions.h"

namespace vx {
namespace {

struct QuitHook {
    std::mutex mutex;
    std::function<void(int)> hook;
};

QuitHook& Hook() {
    static QuitHook* hook = new QuitHook;  // outlives threads that may still quit at exit
    return *hook;
}

std::atomic<int> requestedStatus{-1};
std::atomic<bool> explained{false};

}  // namespace

void SetQuitApplicationHook(std::function<void(int)> hook) {
    QuitHook& h = Hook();
    std::lock_guard lock(h.mutex);
    h.hook = std::move(hook);
}

void QuitApplication(int status) {
    requestedStatus.store(status);
    std::function<void(int)> hook;
    {
        QuitHook& h = Hook();
        std::lock_guard lock(h.mutex);
        hook = h.hook;
    }
    if (!hook) {
        Log("vx::QuitApplication: No application is running; status " + std::to_string(status) +
            " recorded.");
        return;
    }
    hook(status);
}

int RequestedExitStatus() {
    return requestedStatus.load();
}

void ExplainMissingApplicationOnce() {
    if (PlatformInstalled() || explained.exchange(true)) return;
    Log("vxtools: No application is running, so there are no windows to draw in. Let main return "
        "vx::RunApplication(argc, argv, program) and draw in program, which runs once the windows exist.");
}

}  // namespace vx
