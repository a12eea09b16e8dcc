// Decimal numbers as the log lines write them: comma as decimal mark, optional "." grouping.
#pragma once

#include <cstdint>
#include <string>

// `value` with `decimals` fraction digits (cut, not rounded; negative: trailing zeros stripped), the
// integer part filled up to `width` with character `fill` (none when negative), grouped in thousands.
std::string FormatNumber(double value, std::int64_t fill, std::int64_t width, std::int64_t decimals,
                         bool grouping);
