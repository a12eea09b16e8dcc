// Six 1024 x 1024 windows, one per bit depth (window n has depth kDepths[n]), opened once per process.
#pragma once

#include <cstdint>

#include "core/state.h"
#include "display/window.h"
#include "display/window_init.h"
#include "headless/headless_platform.h"
#include "menus/text_windows.h"

namespace vx::bench {

constexpr int kSide = 1024;
constexpr int kDepths[6] = {1, 4, 8, 16, 24, 32};

// `shown`: the windows are visible and hold varied bytes, so that no composing path profits from
// uniform input.
inline void OpenWindows(bool shown) {
    static const bool opened = [shown] {
        StartHeadlessPlatform();
        for (std::uint8_t n = 0; n < 6; ++n) {
            t_InitWindow(n, kDepths[n], false, kSide, kSide, 0, 0, t_Font{}, true);
            if (!shown) continue;
            t_WindowVisible(n, true);
            for (std::int64_t i = WindowTable[n].MemoryStart; i <= WindowTable[n].MemoryEnd; ++i)
                VideoMemory[i] = std::uint8_t(i * 2654435761u >> 13);
        }
        return true;
    }();
    (void)opened;
}

}  // namespace vx::bench
