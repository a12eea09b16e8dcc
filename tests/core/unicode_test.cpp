#include "core/unicode.h"

#include <gtest/gtest.h>

TEST(PrecomposedUtf8, ComposesReordersAndRespectsExclusions) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"plain/ascii.txt", "plain/ascii.txt"},
        {"A\u0308pfel", "\u00C4pfel"},  // base letter and diaeresis
        {"a\u0302\u0323", "\u1EAD"},    // marks in the wrong order are reordered first
        {"a\u0323\u0302", "\u1EAD"},
        {"\u212B", "\u00C5"},                                    // a singleton decomposes for good
        {"\u1100\u1161\u11A8", "\uAC01"},                        // Hangul by rule
        {"\u0915\u093C", "\u0915\u093C"},                        // excluded from composition
        {"\u0344", "\u0308\u0301"},                              // a non-starter decomposition
        {"e\u0301\u0301", "\u00E9\u0301"},                       // the second acute is blocked
        {"\u00C4\u0304", "\u01DE"},                              // composes further
        {"\xC3\x28 not UTF-8 \xFF", "\xC3\x28 not UTF-8 \xFF"},  // passed through untouched
    };
    for (const auto& c : cases) EXPECT_EQ(vx::PrecomposedUtf8(c.in), c.out) << c.in;
}

TEST(DecodePercentEscapes, DecodesPairsOfHexDigitsOnly) {
    EXPECT_EQ(vx::DecodePercentEscapes("b%20c%2fd%2F"), "b c/d/");
    EXPECT_EQ(vx::DecodePercentEscapes("100%%4"), "100%%4");
    EXPECT_EQ(vx::DecodePercentEscapes("%zz%%41"), "%zz%A");
    EXPECT_EQ(vx::DecodePercentEscapes("%00"), std::string(1, '\0'));
}
