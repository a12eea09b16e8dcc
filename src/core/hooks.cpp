#include "core/hooks.h"

#include <mutex>
#include <utility>

namespace {

std::mutex& HooksMutex() {
    static std::mutex* mutex = new std::mutex;
    return *mutex;
}

vx::ToolkitHooks& Hooks() {
    static vx::ToolkitHooks* hooks = new vx::ToolkitHooks;
    return *hooks;
}

}  // namespace

void vx::SetToolkitHooks(ToolkitHooks hooks) {
    std::lock_guard lock(HooksMutex());
    Hooks() = std::move(hooks);
}

vx::ToolkitHooks vx::InstalledToolkitHooks() {
    std::lock_guard lock(HooksMutex());
    return Hooks();
}
