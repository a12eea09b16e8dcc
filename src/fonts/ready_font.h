// The ready font (vx::ReadyFont) with its search made testable: the folder and the environment's
// choice are parameters here.
#pragma once

#include <string>

#include "display/window.h"

namespace vx {

// The console fonts vx::ReadyFont tries in the system's console-font folder, in order.
inline constexpr const char* kReadyFontNames[] = {"Lat15-Fixed16.psf.gz",    "Lat15-VGA16.psf.gz",
                                                  "Lat15-Terminus16.psf.gz", "Uni2-Fixed16.psf.gz",
                                                  "Uni2-VGA16.psf.gz",       "default8x16.psf.gz"};

// The first sound font of: the file `chosen` (when not empty), then the ready fonts in `folder`.
// Logs one line and gives an empty font when none is.
t_Font ReadyFontFrom(const std::string& chosen, const std::string& folder);

}  // namespace vx
