// Shared set-up for the graphics tests: font-less windows on the headless platform.
#pragma once

#include <cstdint>

#include "core/state.h"
#include "display/window_init.h"
#include "support/toolkit_test.h"

namespace gfxwin {

using vx::test::TakeOwnLogLines;

[[gnu::noinline]] inline void Open(std::uint8_t n, int depth, int width = 64, int height = 32) {
    t_InitWindow(n, depth, false, width, height, 0, 0, t_Font{}, true);
}

inline std::uint8_t* Block(std::uint8_t n) {
    return VideoMemory + WindowTable[n].MemoryStart;
}

}  // namespace gfxwin
