// The application's name, as window titles show it.
#pragma once

#include <string>

namespace vx {

// The file name of the running executable; "" when it cannot be found.
std::string ApplicationName();

}  // namespace vx
