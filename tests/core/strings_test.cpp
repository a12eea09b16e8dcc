// Byte strings, UTF-8, composition and number conversions.
#include "core/strings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "core/numbers.h"
#include "core/state.h"
#include "core/unicode.h"

using namespace std::string_literals;

TEST(DecodeBytes, TurnsEscapesIntoScalarsAndOtherBytesIntoLatin1) {
    // Before initvxtools has built its table the digits read the same: each edge of the three ranges, and
    // each character just outside one as the second digit (-1: 0x1000 - 0x100 gives U+0F00).
    std::string digits = "\03309AF\x1d\033afaf\x1d";
    for (const char outside : std::string("/:@G`g")) digits += "\0331"s + outside + "00\x1d";
    const std::string before = DecodeBytes(digits);
    initvxtools();
    EXPECT_EQ(before, "\u09AF\uAFAF\u0F00\u0F00\u0F00\u0F00\u0F00\u0F00");
    EXPECT_EQ(DecodeBytes(digits), before);
    // ESC is written \033 here, so that the hex digits after it stay digits. A surrogate is no scalar;
    // after the GS byte the walk goes on; ESC without GS five bytes later is a plain character.
    const std::pair<std::string, std::string> cases[] = {
        {"\03300e4\x1d", "\u00E4"}, {"\033D800\x1d", "\0"s},        {"ab\033", "ab\033"},
        {"\xe4", "\u00E4"},         {"x\03320AC\x1dy", "x\u20ACy"}, {"\03300E4x", "\03300E4x"},
        {"\033D7FF\x1d", "\uD7FF"}, {"\033DFFF\x1d", "\0"s},        {"\033E000\x1d", "\uE000"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(DecodeBytes(in), out) << in;
    EXPECT_TRUE(vx::IsValidUtf8(DecodeBytes("\x1bZZZZ\x1d"s)));
    // Nothing past the end is read: the GS byte lies just outside the view.
    EXPECT_EQ(DecodeBytes(std::string_view("\03300e4\x1d").substr(0, 5)), "\03300e4");
}

// Encoded surrogates, overlong forms, scalars beyond U+10FFFF and cut sequences are no UTF-8; each bad byte
// reads as one U+FFFD. The first and last scalar of each length are.
TEST(Utf8, RefusesSurrogatesOverlongFormsAndCutSequencesAndTakesEachLengthsEdges) {
    for (const char* bad :
         {"\xED\xA0\x80", "\xED\xBF\xBF", "\xC0\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF",
          "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xC3", "\xE2\x82", "\xC3\x28", "\x80"})
        EXPECT_FALSE(vx::IsValidUtf8(bad)) << bad;
    EXPECT_EQ(vx::Utf8Scalars("a\xED\xA0\x80"s + 'b'),
              (std::vector<char32_t>{'a', 0xFFFD, 0xFFFD, 0xFFFD, 'b'}));
    EXPECT_EQ(vx::Utf8Scalars("\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF\xF0\x90"
                              "\x80\x80\xF4\x8F\xBF\xBF"),
              (std::vector<char32_t>{0x7F, 0x80, 0x7FF, 0x800, 0xD7FF, 0xE000, 0xFFFF, 0x10000, 0x10FFFF}));
    std::string out;
    for (char32_t c : {0x7F, 0x80, 0x7FF, 0x800, 0xFFFF, 0x10000, 0x1F600, 0x10FFFF}) vx::AppendUtf8(out, c);
    EXPECT_EQ(out,
              "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF");
    // Percent escapes in either case; a percent sign without two hexadecimal digits stays.
    EXPECT_EQ(vx::DecodePercentEscapes("%c3%a4%C3%A4%2f%4"), "\u00E4\u00E4/%4");
    EXPECT_EQ(vx::DecodePercentEscapes("%g1%1g%%41%41%0a%30"), "%g1%1g%AA\n0");
    // Neither decoder reads past the end of its view: the byte that would complete it lies just outside.
    EXPECT_EQ(vx::DecodePercentEscapes(std::string_view("%41").substr(0, 2)), "%4");
    EXPECT_FALSE(vx::IsValidUtf8(std::string_view("\xC3\xA4").substr(0, 1)));
}

// Base letter and diaeresis; marks in the wrong order are reordered first; a singleton decomposes for
// good; Hangul by rule, up to the last syllable, but not without a leading or a vowel consonant, with no
// trailing consonant, nor beyond the syllables; a composition exclusion; a non-starter decomposition; a
// second acute blocked; a further composition; bytes that are no UTF-8, passed through untouched; marks
// reordered with no starter before them and at the last scalar of a class's range; a mark blocked by one
// of its own class, not by one of a lower class, and not past the next starter; no trailing consonant
// after the last syllable.
TEST(PrecomposedUtf8, ComposesReordersAndRespectsExclusions) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"plain/ascii.txt", "plain/ascii.txt"}, {"A\u0308pfel", "\u00C4pfel"}, {"a\u0302\u0323", "\u1EAD"},
        {"a\u0323\u0302", "\u1EAD"}, {"\u212B", "\u00C5"}, {"\u1100\u1161\u11A8", "\uAC01"},
        {"\u1112\u1175\u11C2", "\uD7A3"}, {"\u1113\u1161\u1100\u1176", "\u1113\u1161\u1100\u1176"},
        {"\uAC00\u11A7\uAC00\u11C3", "\uAC00\u11A7\uAC00\u11C3"}, {"\u1100\u1161\u0301", "\uAC00\u0301"},
        {"\uD7A3\uD7A4", "\uD7A3\uD7A4"}, {"\u0915\u093C", "\u0915\u093C"}, {"\u0344", "\u0308\u0301"},
        {"e\u0301\u0301", "\u00E9\u0301"}, {"\u00C4\u0304", "\u01DE"},
        {"\xC3\x28 not UTF-8 \xFF", "\xC3\x28 not UTF-8 \xFF"}, {"\u0302\u0323", "\u0323\u0302"},
        {"a\u0314\u0323", "\u1EA1\u0314"}, {"a\u0310\u0301", "a\u0310\u0301"}, {"a\u0316\u0301", "\u00E1\u0316"},
        {"a\u0310e\u0301", "a\u0310\u00E9"}, {"\uD7A4\u11A8", "\uD7A4\u11A8"}};
    // clang-format on
    for (const auto& [in, out] : cases) EXPECT_EQ(vx::PrecomposedUtf8(in), out) << in;
}

// Truncation toward zero that saturates at both ends of the 64-bit range, at the edge itself too.
TEST(TruncSaturating, TruncatesTowardZeroSaturatesAtTheEdgesAndTakesNaNAsZero) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max(), kMin = -kMax - 1;
    const std::pair<double, std::int64_t> cases[] = {
        {std::nan(""), 0}, {0x1p63, kMax}, {-0x1p63, kMin},     {HUGE_VAL, kMax},       {-HUGE_VAL, kMin},
        {-2.9, -2},        {2.9, 2},       {0x1p62, 1LL << 62}, {-0x1p62, -(1LL << 62)}};
    for (const auto& [value, truncated] : cases) EXPECT_EQ(vx::TruncSaturating(value), truncated) << value;
}
