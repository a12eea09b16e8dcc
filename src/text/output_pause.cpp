#include "core/clock.h"
#include "core/platform.h"
#include "input/events.h"
#include "text/output.h"

bool CheckOutputPause(std::int64_t key, bool wait) {
    if (!KeyEventAvailable.load()) return false;
    const std::size_t menus = MenuEventQueue.Count();
    // Test and clear in one step: a key typed after the pause key must survive, and the flag is set
    // under the queue's lock in either case.
    if (!KeyEventQueue.ClearIfNewest([key](const t_Event& newest) { return newest.Value == key; }))
        return false;
    if (!wait) return true;
    while (KeyEventQueue.Empty() && MenuEventQueue.Count() == menus && !vx::CurrentPlatform().isQuitting())
        vx::SleepNanoseconds(10'000'000);
    if (!KeyEventQueue.Empty()) t_NextKeyEvent();
    return true;
}
