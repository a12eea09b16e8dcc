// The log: the public writers are in vxtools/core.h; raw output and capturing stay inside. One line per
// message, flushed at once; standard output unless vx::SetLogLevel or VXTOOLS_LOG says otherwise.
#pragma once

#include <string>
#include <string_view>

#include "vxtools/core.h"

namespace vx {

// Writes characters to standard output at once, without a line end (redirected text output).
void WriteRaw(std::string_view bytes);

// Captures everything the log writes, for tests, whatever the log level. While capturing, output still
// goes where the level sends it.
void StartLogCapture();
std::string_view CapturedLog();  // valid until the next log call; copy it
std::string TakeCapturedLog();   // returns and clears what was captured

}  // namespace vx
