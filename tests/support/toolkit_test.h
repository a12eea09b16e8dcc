// Shared set-up for toolkit tests: the headless platform and a captured log.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "headless/headless_platform.h"

namespace vx::test {

// Starts the headless platform and captures the log from here on.
HeadlessPlatform& StartToolkit();
// The captured log split into lines (a line not yet ended is left out), and cleared.
std::vector<std::string> TakeLogLines();
// TakeLogLines without the refresh process's lines, which it logs from its own thread whenever it gets there.
std::vector<std::string> TakeOwnLogLines();
// How many captured lines equal `line` exactly; does not clear the log.
int CountLogLine(std::string_view line);
// True when a captured line contains `piece`; does not clear the log.
bool LogContains(std::string_view piece);

}  // namespace vx::test
