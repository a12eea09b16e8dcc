// The applications' command line: --help and --version answer and end at once, before anything of Qt
// starts (so they work without a display); an option neither the toolkit nor Qt knows ends with
// status 2. Qt's own options pass through to QApplication untouched.
#pragma once

#include <ostream>
#include <string>

namespace vx::shell {

// The name the messages go under: the file name of argv[0], "vxtools" without one.
std::string ProgramName(const char* argv0);

// What the command line asks for: -1 to run the application, otherwise the status to end with at once.
// Usage, version and messages go to `out` and `err`.
int HandleCommandLine(int argc, const char* const* argv, const std::string& about, std::ostream& out,
                      std::ostream& err);

}  // namespace vx::shell
