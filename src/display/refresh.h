// Views, explicit update and the background refresh.
#pragma once

#include <cstdint>
#include <memory>

#include "core/platform.h"
#include "vxtools/display.h"

// The refresh process: marks the views of auto-refreshing windows at their rate. Runs until the memory
// flag or AutoUpdateRunning drops.
void t_WindowAutoUpdateProcess();
// The window's current image for the pasteboard; null for numbers >= 8, missing views and hidden windows.
std::shared_ptr<const vx::WindowImage> WindowPicture(std::uint8_t window);

namespace vx {

// The view callbacks of graphic view n, called by a platform on the user-interface thread.
// True when the view should take the layer path (memory ready, window initialised, QuickUpdate).
bool ViewWantsUpdateLayer(std::uint8_t n);
// Composes the image a view is about to show; window 0 clears VerticalBlank while it composes.
// Null when there is nothing to show: the view keeps its old picture.
std::shared_ptr<const WindowImage> ViewComposeImage(std::uint8_t n);

}  // namespace vx
