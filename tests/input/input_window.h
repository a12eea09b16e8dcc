// Shared set-up for the input tests.
#pragma once

#include <cstdint>

#include "display/window.h"
#include "display/window_init.h"
#include "input/events.h"
#include "support/toolkit_test.h"
#include "vxtools/core.h"

namespace inputwin {

// Window n set up with the given size and borders, the queues empty, the log cleared. The refresh process
// that window set-up starts logs its first line on its own thread; it is awaited so that it does not land
// in the middle of a test's log.
[[gnu::noinline]] inline vx::HeadlessPlatform& Start(std::uint8_t n, int depth = 4, int size = 64,
                                                     std::int64_t border = 0) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    t_InitWindow(n, depth, false, size, size, border, border, t_Font{}, true);
    for (int i = 0; i < 5000 && !vx::test::LogContains("t_WindowAutoUpdateProcess: Start."); ++i)
        vx::SleepNanoseconds(1'000'000);
    KeyEventQueue.Clear();
    KeyEventAvailable = false;
    MouseEventQueue.Clear();
    vx::test::TakeLogLines();
    return platform;
}

}  // namespace inputwin
