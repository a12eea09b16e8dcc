// Installing the hooks through which core reaches the higher layers. Every platform calls this when it
// starts, before the program runs.
#pragma once

namespace vx {

void InstallToolkitHooks();

}  // namespace vx
