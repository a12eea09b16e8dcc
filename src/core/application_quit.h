// Ending the application from the toolkit's side. The toolkit cannot stop an event loop itself: the
// application layer that runs one installs a hook at start, and vx::QuitApplication calls it.
#pragma once

#include <functional>

namespace vx {

// Installs the hook that ends the application with a status; an empty function removes it. Callable
// from any thread; the hook is called on the thread that asks to quit.
void SetQuitApplicationHook(std::function<void(int)> hook);

// Logs, once per process, what a program that draws without an application has to do. Called where a
// window finds no platform view.
void ExplainMissingApplicationOnce();

}  // namespace vx
