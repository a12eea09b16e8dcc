#include "core/strings.h"

#include <gtest/gtest.h>

#include "core/state.h"

TEST(HexString, GivesEightUpperCaseDigitsOfTheLow32Bits) {
    EXPECT_EQ(HexString(0), "00000000");
    EXPECT_EQ(HexString(-1), "FFFFFFFF");
    EXPECT_EQ(HexString(0x1F0000), "001F0000");
    EXPECT_EQ(HexString(0x123456789ABCLL), "56789ABC");
    EXPECT_EQ(HexString(0xF80000), "00F80000");
}

TEST(DecodeBytes, TurnsEscapesIntoScalarsAndOtherBytesIntoLatin1) {
    initvxtools();
    EXPECT_EQ(DecodeBytes(std::string("\x1b"
                                      "00E4\x1d",
                                      6)),
              "\u00E4");
    EXPECT_EQ(DecodeBytes(std::string("\x1b"
                                      "00e4\x1d",
                                      6)),
              "\u00E4");
    EXPECT_EQ(DecodeBytes(std::string("\x1b"
                                      "D800\x1d",
                                      6)),
              std::string(1, '\0'));
    EXPECT_EQ(DecodeBytes("ab\x1b"), "ab\x1b");
    EXPECT_EQ(DecodeBytes("\xe4"), "\u00E4");
    EXPECT_EQ(DecodeBytes(""), "");
    // An escape in the middle of text: the walk goes on after the GS byte.
    EXPECT_EQ(DecodeBytes(std::string("x\x1b"
                                      "20AC\x1dy",
                                      8)),
              "x\u20ACy");
    // ESC without GS five bytes later stays a plain character.
    EXPECT_EQ(DecodeBytes(std::string("\x1b"
                                      "00E4x",
                                      6)),
              "\x1b"
              "00E4x");
}

TEST(DecodeBytes, NonHexDigitsInAnEscapeNeverGiveAnInvalidScalar) {
    initvxtools();
    std::string out = DecodeBytes(std::string("\x1bZZZZ\x1d", 6));
    EXPECT_TRUE(vx::IsValidUtf8(out));
}

TEST(Utf8, RoundTripsScalarsAndReplacesMalformedBytes) {
    std::string s;
    for (char32_t c : {U'A', U'\u00E4', U'\u20AC', U'\U0001F600'}) vx::AppendUtf8(s, c);
    EXPECT_EQ(vx::Utf8Scalars(s), (std::vector<char32_t>{U'A', U'\u00E4', U'\u20AC', U'\U0001F600'}));
    EXPECT_TRUE(vx::IsValidUtf8(s));
    EXPECT_EQ(vx::Utf8Scalars("a\xff"
                              "b"),
              (std::vector<char32_t>{U'a', 0xFFFD, U'b'}));
    EXPECT_FALSE(vx::IsValidUtf8("\xe2\x82"));
    EXPECT_FALSE(vx::IsValidUtf8("\xed\xa0\x80"));  // an encoded surrogate
}
