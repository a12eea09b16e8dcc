#include "core/strings.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "core/state.h"

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

TEST(Utf8, RoundTripsScalarsAndReplacesMalformedBytes) {
    std::string s;
    for (char32_t c : {U'A', U'\u00E4', U'\u20AC', U'\U0001F600'}) vx::AppendUtf8(s, c);
    EXPECT_EQ(vx::Utf8Scalars(s), (std::vector<char32_t>{U'A', U'\u00E4', U'\u20AC', U'\U0001F600'}));
    EXPECT_TRUE(vx::IsValidUtf8(s));
    EXPECT_EQ(vx::Utf8Scalars("a\377b"), (std::vector<char32_t>{U'a', 0xFFFD, U'b'}));
    EXPECT_FALSE(vx::IsValidUtf8("\xe2\x82"));
    EXPECT_FALSE(vx::IsValidUtf8("\xed\xa0\x80"));  // an encoded surrogate
}
