// Conversions that stay defined for absurd values a program or a platform may hand the toolkit.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace vx {

// Truncates toward zero; values beyond the 64-bit range, infinities included, saturate, and NaN is 0.
[[nodiscard]] inline std::int64_t TruncSaturating(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 0x1p63) return std::numeric_limits<std::int64_t>::max();
    if (v < -0x1p63) return std::numeric_limits<std::int64_t>::min();
    return std::int64_t(v);
}

}  // namespace vx
