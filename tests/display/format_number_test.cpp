#include "display/format_number.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(FormatNumber, WritesCutCommaDecimalsGroupedThousandsAndPlainDigits) {
    struct Case {
        double value;
        int base, width, decimals;
        bool group;
        const char* expect;
    };
    const double inf = std::numeric_limits<double>::infinity(),
                 nan = std::numeric_limits<double>::quiet_NaN();
    // Decimals are cut, not rounded; the sign stays apart from the groups; the fill goes before it;
    // negative decimals strip trailing zeros; exponents are written out.
    // clang-format off
    const Case cases[] = {
        {512.0, 32, 1, 2, true, "512,00"}, {1536.5, 32, 1, 2, true, "1.536,50"},
        {0.125, 32, 1, 2, true, "0,12"}, {2.999, 32, 1, 1, false, "2,9"}, {7.25, 32, 1, 0, false, "7"},
        {-1234, 32, 1, 0, true, "-1.234"},
        {1234567, 32, 1, 0, true, "1.234.567"}, {123456, 32, 1, 0, true, "123.456"},
        {1234567, 32, 1, 0, false, "1234567"}, {0.25, 32, 8, 2, false, "       0,25"},
        {-5, 48, 4, 0, false, "00-5"}, {5, -1, 4, 0, false, "5"}, {2.5, 32, 1, -3, false, "2,5"},
        {2.0, 32, 1, -3, false, "2"}, {1.5e16, 32, 1, 0, false, "15000000000000000"},
        {1e-05, 32, 1, 5, false, "0,00001"}, {1e-05, 32, 1, 2, false, "0,00"},
        {-2.5e-7, 32, 1, -9, false, "-0,00000025"}, {inf, 32, 8, 2, true, "inf"},
        {nan, 32, 8, 2, true, "nan"}};
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(FormatNumber(c.value, c.base, c.width, c.decimals, c.group), c.expect) << c.value;
    EXPECT_EQ(FormatNumber(5, 32, 1 << 30, 0, false).size(), std::size_t((1 << 16) + 1));
    // Decimals over the whole 64-bit range: bounded like the padding, and no overflow negating them.
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(FormatNumber(2.5, 32, 1, kMin, false), "2,5");
    EXPECT_EQ(FormatNumber(2.5, 32, 1, std::numeric_limits<std::int64_t>::max(), false).size(),
              std::size_t(2 + (1 << 16)));
}

}  // namespace
