#include <cerrno>
#include <chrono>
#include <ctime>

#include "vxtools/core.h"

namespace vx {

// Seconds between the Unix epoch and 1 January 2001 00:00 GMT.
constexpr double kReferenceDateOffset = 978307200.0;

double AbsoluteTime() {
    auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(now).count() - kReferenceDateOffset;
}

std::int64_t AbsoluteTimeMillis() {
    return static_cast<std::int64_t>(AbsoluteTime() * 1000.0);
}

void SleepNanoseconds(std::int64_t ns) {
    if (ns <= 0) return;
    timespec request{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    timespec remaining{};
    while (nanosleep(&request, &remaining) == -1 && errno == EINTR) request = remaining;
}

}  // namespace vx
