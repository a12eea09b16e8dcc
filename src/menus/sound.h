// The toolkit's beep.
#pragma once

#include <atomic>

namespace vx {
enum class BeepSound { NotLookedUp, Missing, Loaded };
}  // namespace vx

// Whether the named sound "sysbeep.aif" was found; looked up on the first SystemBeep.
extern std::atomic<vx::BeepSound> SysbeepSound;

// Plays the named sound "sysbeep.aif" unless it is already playing; the platform's standard beep when
// there is no such sound. The sound is looked up once, on first use. Callable from any thread.
void SystemBeep();
