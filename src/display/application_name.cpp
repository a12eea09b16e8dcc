#include "display/application_name.h"

#include <unistd.h>

#include <array>

namespace vx {

std::string ApplicationName() {
    std::array<char, 4096> path{};
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0) return "";
    const std::string full(path.data(), std::size_t(length));
    const auto slash = full.rfind('/');
    return slash == std::string::npos ? full : full.substr(slash + 1);
}

}  // namespace vx
