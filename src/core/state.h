// The toolkit's process-wide state that stays inside the toolkit; the state a program sees is in
// vxtools/core.h.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "vxtools/core.h"

extern std::atomic<bool> MemoryInitStarted;
extern std::atomic<bool> AutoUpdateRunning;

extern std::array<std::uint8_t, 16> HexDigits;
extern std::array<int, 256> HexValue;

// The four bytes "vxfn" that identify the toolkit's fonts.
inline constexpr std::array<std::uint8_t, 4> FontIdentifier{'v', 'x', 'f', 'n'};
