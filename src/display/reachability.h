// Keeping the application within reach of the user when the program leaves no window on screen.
#pragma once

#include <cstdint>

namespace vx {

// A program that never shows a window (t_InitWindow leaves its window hidden) would leave a process
// that nobody can see or end. The application layer ticks this watch a few times a second; when no
// window has been on screen for kPatienceMillis, or the program thread has ended with none on screen,
// it brings up the main window, whose menus show every window and quit, and logs one line saying how a
// program shows its window.
class ReachabilityWatch {
  public:
    static constexpr std::int64_t kPatienceMillis = 3000;

    // User-interface thread. `nowMillis` is any steadily increasing clock; the first tick starts the
    // wait. True when this tick brought the main window up.
    bool Tick(std::int64_t nowMillis, bool programEnded);

  private:
    std::int64_t lastSeen_ = -1;
};

}  // namespace vx
