// Byte strings, UTF-8 and composition.
#include "core/strings.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "core/state.h"
#include "core/unicode.h"

using namespace std::string_literals;

TEST(DecodeBytes, TurnsEscapesIntoScalarsAndOtherBytesIntoLatin1) {
    initvxtools();
    // ESC is written \033 here, so that the hex digits after it stay digits. A surrogate is no scalar;
    // after the GS byte the walk goes on; ESC without GS five bytes later is a plain character.
    const std::pair<std::string, std::string> cases[] = {
        {"\03300e4\x1d", "\u00E4"}, {"\033D800\x1d", "\0"s},        {"ab\033", "ab\033"},
        {"\xe4", "\u00E4"},         {"x\03320AC\x1dy", "x\u20ACy"}, {"\03300E4x", "\03300E4x"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(DecodeBytes(in), out) << in;
    EXPECT_TRUE(vx::IsValidUtf8(DecodeBytes("\x1bZZZZ\x1d"s)));
}

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
