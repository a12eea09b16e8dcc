#include "core/platform.h"
#include "input/events.h"
#include "text/output.h"
#include "vxtools/core.h"

bool CheckOutputPause(std::int64_t key, bool wait) {
    if (!KeyEventAvailable.load()) return false;
    KeyEventAvailable.store(!KeyEventQueue.Empty());
    const std::optional<t_Event> newest = KeyEventQueue.Last();
    if (!newest) return false;
    if (newest->Value != key) return false;
    // The pause key and every key typed before it are dropped.
    KeyEventQueue.Clear();
    if (!wait) return true;
    const std::size_t keys = KeyEventQueue.Count(), menus = MenuEventQueue.Count();
    while (KeyEventQueue.Count() == keys && MenuEventQueue.Count() == menus &&
           !vx::CurrentPlatform().isQuitting())
        vx::SleepNanoseconds(10'000'000);
    if (KeyEventQueue.Count() != keys) t_NextKeyEvent();
    KeyEventAvailable.store(!KeyEventQueue.Empty());
    return true;
}
