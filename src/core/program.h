// The program thread, background tasks, hand-over to the user-interface thread, and ending a thread.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

#include "core/platform.h"
#include "vxtools/core.h"

namespace vx {
// Runs work on the user-interface thread and waits; false when it could not run (quitting).
bool RunOnUserInterfaceThread(const std::function<void()>& work);
}  // namespace vx

// Runs work on the user-interface thread (at once when already there) and returns its result. When the
// application is quitting and the work cannot run, a value-initialised result comes back.
template <class F>
auto OnUserInterfaceThread(F&& work) -> std::invoke_result_t<F&> {
    using R = std::invoke_result_t<F&>;
    if constexpr (std::is_void_v<R>) {
        vx::RunOnUserInterfaceThread([&] { work(); });
    } else {
        R result{};
        vx::RunOnUserInterfaceThread([&] { result = work(); });
        return result;
    }
}
