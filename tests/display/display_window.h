// Shared set-up for the display tests: shown windows on the headless platform.
#pragma once

#include <cstdint>

#include "core/state.h"
#include "display/window_init.h"
#include "menus/text_windows.h"
#include "support/toolkit_test.h"
#include "vxtools/text.h"

namespace dispwin {

using vx::test::CountLogLine;
using vx::test::TakeOwnLogLines;

[[gnu::noinline]] inline void OpenShown(std::uint8_t n, int depth = 4, bool autoUpdate = false,
                                        int width = 64, int height = 32) {
    t_InitWindow(n, depth, autoUpdate, width, height, 0, 0, t_Font{}, true);
    t_WindowVisible(n, true);
}

inline std::uint8_t* Block(std::uint8_t n) {
    return VideoMemory + WindowTable[n].MemoryStart;
}

// An empty 8 x 16 font: enough for a text layer.
inline t_Font TextFont() {
    return vx::BuildFont(8, 16, [](int, int, int) -> std::uint8_t { return 0; });
}

}  // namespace dispwin
