#include "vxtools/records.h"

#include <gtest/gtest.h>

#include <unordered_set>

namespace {

Text T(std::initializer_list<std::uint8_t> bytes) {
    return Text{bytes};
}

TEST(TextValue, ComparesByteForByteUnsignedThenByLength) {
    EXPECT_EQ(T({1, 2, 3}), T({1, 2, 3}));
    EXPECT_NE(T({1, 2, 3}), T({1, 2}));
    EXPECT_NE(T({1, 2, 3}), T({1, 2, 4}));
    EXPECT_LT(T({1, 2}), T({1, 3}));
    EXPECT_LT(T({1, 2}), T({1, 2, 0}));  // a proper prefix sorts first
    EXPECT_LT(T({}), T({0}));
    EXPECT_GT(T({200}), T({100, 255}));  // bytes compare unsigned
}

TEST(TextValue, HashingSeparatesLengthsAndAgreesWithEquality) {
    std::hash<Text> hash;
    EXPECT_NE(hash(T({0})), hash(T({0, 0})));
    EXPECT_NE(hash(T({})), hash(T({0})));
    std::unordered_set<Text> set{T({1}), T({1}), T({1, 0}), T({})};
    EXPECT_EQ(set.size(), 3u);
}

}  // namespace
