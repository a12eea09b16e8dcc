// Turning a window's video memory into the image its view shows.
#pragma once

#include <cstdint>
#include <memory>

#include "core/platform.h"

// The window's current picture in 0xAARRGGBB words, or null (memory not ready, window not initialised
// or hidden). Buffers are recycled between calls, so composing allocates nothing per pixel and, in the
// steady state, nothing per frame. Writes UpdateDuration and UpdateFinished.
std::shared_ptr<const vx::WindowImage> t_WindowImage(std::uint8_t window);
