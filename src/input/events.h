// Event records and queues (declared with the public input header), and filling in modifier fields.
#pragma once

#include <cstdint>

#include "vxtools/input.h"

namespace vx {

// Fills Mods and the eight modifier fields of an event from the modifier flags.
void SetEventModifiers(t_Event& event, std::uint64_t flags);

}  // namespace vx
