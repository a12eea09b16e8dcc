#include "display/format_number.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(FormatNumber, WritesCommaDecimalsCutNotRounded) {
    EXPECT_EQ(FormatNumber(512.0, 32, 1, 2, true), "512,00");
    EXPECT_EQ(FormatNumber(1536.5, 32, 1, 2, true), "1.536,50");
    EXPECT_EQ(FormatNumber(0.125, 32, 1, 2, true), "0,12");
    EXPECT_EQ(FormatNumber(2.999, 32, 1, 1, false), "2,9");
    EXPECT_EQ(FormatNumber(7.25, 32, 1, 0, false), "7");
}

TEST(FormatNumber, GroupsThousandsAndKeepsTheSignApart) {
    EXPECT_EQ(FormatNumber(-1234, 32, 1, 0, true), "-1.234");
    EXPECT_EQ(FormatNumber(1234567, 32, 1, 0, true), "1.234.567");
    EXPECT_EQ(FormatNumber(123456, 32, 1, 0, true), "123.456");
    EXPECT_EQ(FormatNumber(1234567, 32, 1, 0, false), "1234567");
}

TEST(FormatNumber, FillsTheIntegerPartToTheWidth) {
    EXPECT_EQ(FormatNumber(0.25, 32, 8, 2, false), "       0,25");
    EXPECT_EQ(FormatNumber(-5, 48, 4, 0, false), "00-5");
    EXPECT_EQ(FormatNumber(5, -1, 4, 0, false), "5");
    EXPECT_EQ(FormatNumber(5, 32, 1 << 30, 0, false).size(), std::size_t((1 << 16) + 1));
}

TEST(FormatNumber, NegativeDecimalsStripTrailingZeros) {
    EXPECT_EQ(FormatNumber(2.5, 32, 1, -3, false), "2,5");
    EXPECT_EQ(FormatNumber(2.0, 32, 1, -3, false), "2");
}

TEST(FormatNumber, ExpandsExponentsIntoPlainDigits) {
    EXPECT_EQ(FormatNumber(1.5e16, 32, 1, 0, false), "15000000000000000");
    EXPECT_EQ(FormatNumber(1e-05, 32, 1, 5, false), "0,00001");
    EXPECT_EQ(FormatNumber(1e-05, 32, 1, 2, false), "0,00");
    EXPECT_EQ(FormatNumber(-2.5e-7, 32, 1, -9, false), "-0,00000025");
}

TEST(FormatNumber, LeavesInfinityAndNotANumberAlone) {
    EXPECT_EQ(FormatNumber(std::numeric_limits<double>::infinity(), 32, 8, 2, true), "inf");
    EXPECT_EQ(FormatNumber(std::numeric_limits<double>::quiet_NaN(), 32, 8, 2, true), "nan");
}

}  // namespace
