// Wall-clock time as the toolkit counts it, and sleeping.
#pragma once

#include <cstdint>

namespace vx {

// Seconds since 1 January 2001 00:00 GMT.
double AbsoluteTime();
// Milliseconds of AbsoluteTime, truncated: the toolkit's time stamps.
std::int64_t AbsoluteTimeMillis();
// Sleeps for the given nanoseconds (nanosleep, resumed after signals).
void SleepNanoseconds(std::int64_t ns);

}  // namespace vx
