// The message a window keeps when its program ends.
#pragma once

#include <cstdint>

namespace vx::text {

// Writes "(Programm Ende)" at the start of the window's last text line in colour 1 and shows it at once;
// nothing when the window does not exist. Installed as core's end-message hook.
void ShowEndMessage(std::uint8_t window);

}  // namespace vx::text
