#include "text/font.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/lzw_encoder.h"
#include "support/toolkit_test.h"
#include "text/lzw.h"

namespace {

// A field of /proc/self/status in bytes (VmRSS, VmHWM, VmPeak).
std::int64_t StatusBytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string key;
    std::int64_t kilobytes = 0;
    while (status >> key)
        if (key == field + ":" && status >> kilobytes) return kilobytes * 1024;
    return -1;
}

// How far the resident memory of the process peaks above what it is now while `work` runs.
template <class Work>
std::int64_t PeakGrowth(Work work) {
    std::ofstream("/proc/self/clear_refs") << "5";  // restarts the high-water mark where the kernel allows
    const std::int64_t before = StatusBytes("VmRSS");
    work();
    return StatusBytes("VmHWM") - before;
}

// The encoder is the decoder's reference: text with repeats comes back unchanged, whatever the code width.
TEST(LzwDecode, RoundTripsDataThroughPackedCodesOfManyWidths) {
    const std::string tobe = "TOBEORNOTTOBEORTOBEORNOT#TOBEORNOTTOBEORTOBEORNOT";
    const std::vector<std::uint8_t> text(tobe.begin(), tobe.end());
    const std::vector<std::uint64_t> codes = vx::test::LzwEncode(text);
    for (int width : {9, 10, 13, 31, 33, 64})
        EXPECT_EQ(LzwDecode(UnpackCodes(vx::test::PackCodes(codes, width), width)), text) << width;
    // Two bytes hold one code of 15 bits, first bit highest; the last bit is left over.
    EXPECT_EQ(UnpackCodes(std::vector<std::uint8_t>{0xA5, 0x5B}, 15), std::vector<std::uint64_t>{0x52AD});
}

TEST(ExpandFont, PeakMemoryStaysASmallMultipleOfTheOutputLimit) {
#if defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the thread checker's shadow memory swamps the resident figures";
#endif
    // One-bit codes of value 0: the stream with the most codes per byte that still decodes, exactly up to
    // the limit. The decoder must not hold memory in proportion to the code count times a large factor.
    t_Font font;
    font.Format = kFontCompressed;
    font.Data.assign(1 + vx::kLzwOutputLimit / 8, 0);
    font.Data[0] = 1;
    std::size_t size = 0;
    const std::int64_t peak = PeakGrowth([&] { size = ExpandFont(font).Data.size(); });
    EXPECT_EQ(size, std::size_t(64) << 20);
    EXPECT_LT(peak, std::int64_t(8 * vx::kLzwOutputLimit));

    // Twice as many codes can never fit: refused before anything is allocated for them, not even address
    // space that stays untouched.
    font.Data.assign(1 + vx::kLzwOutputLimit / 4, 0);
    font.Data[0] = 1;
    const std::int64_t addresses = StatusBytes("VmPeak");
    EXPECT_LT(PeakGrowth([&] { size = ExpandFont(font).Data.size(); }), std::int64_t(vx::kLzwOutputLimit));
    EXPECT_LT(StatusBytes("VmPeak") - addresses, std::int64_t(vx::kLzwOutputLimit));
    EXPECT_EQ(size, 0u);
    EXPECT_TRUE(UnpackCodes(std::span(font.Data).subspan(1), 1).empty());
}

// Empty, corrupt, badly sized or endless streams give empty data.
TEST(ExpandFont, RestoresCompressedFontsLeavesOtherFormatsAndGivesNothingForBadStreams) {
    t_Font grey{
        .Format = 2, .Size = 99, .Start = 32, .End = 127, .Width = 2, .Height = 3, .Reserved = 5, .Data = {}};
    for (int i = 0; i < 128 * 6; ++i) grey.Data.push_back(std::uint8_t(i % 7 == 0 ? 255 : i % 3));
    const t_Font expanded = ExpandFont(vx::test::CompressFont(grey));
    EXPECT_TRUE(expanded.Format == 2 && expanded.Data == grey.Data);
    t_Font plain = grey;
    plain.Format = 0;
    EXPECT_EQ(ExpandFont(vx::test::CompressFont(plain)).Format, 0);
    for (std::int64_t format : {1, 3, 101, 103, -100}) {
        plain.Format = format;
        EXPECT_EQ(ExpandFont(plain).Data, grey.Data) << format;
    }

    // Width 0 (no codes), a width of 65 with bytes enough for a code, a width and no stream, a second code
    // beyond the dictionary (the next free one is 256) give nothing; code 255 is a byte, fine, and so is a
    // single code.
    // clang-format off
    const std::pair<std::vector<std::uint8_t>, std::vector<std::uint8_t>> streams[] = {{{0, 1, 2, 3}, {}},
        {{65, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {}}, {{9}, {}}, {{16, 0, 'a', 0x7F, 0xFF}, {}},
        {{8, 'a', 0xFF}, {'a', 0xFF}}, {{8, 'a'}, {'a'}}};
    // clang-format on
    t_Font font;
    font.Format = kFontCompressedGrey;
    for (const auto& [stream, bytes] : streams) {
        font.Data = stream;
        EXPECT_EQ(ExpandFont(font).Data, bytes) << stream.size();
    }
    // Every code refers to the one being defined: the output grows quadratically with the stream, and 2e8
    // bytes would pass the 64 MiB limit. Nor is the part up to the limit handed back.
    std::vector<std::uint64_t> selfReferences{'x'};
    for (std::uint64_t c = 256; c < 256 + 20000; ++c) selfReferences.push_back(c);
    EXPECT_TRUE(LzwDecode(selfReferences).empty());
    font.Data = vx::test::PackCodes(selfReferences, 16);
    font.Data.insert(font.Data.begin(), 16);
    EXPECT_TRUE(ExpandFont(font).Data.empty());
    // Exactly up to the limit the output is whole; one byte more and it is refused.
    std::vector<std::uint64_t> toLimit{'x'};
    std::size_t total = 1;
    for (std::uint64_t c = 256; total + (c - 254) <= vx::kLzwOutputLimit; ++c)
        toLimit.push_back(c), total += c - 254;
    toLimit.resize(toLimit.size() + (vx::kLzwOutputLimit - total), 'y');
    EXPECT_EQ(LzwDecode(toLimit).size(), vx::kLzwOutputLimit);
    toLimit.push_back('z');
    EXPECT_TRUE(LzwDecode(toLimit).empty());

    // A code may name the entry it defines (the next free one), and no higher; a first code counts only
    // with its low byte.
    const std::pair<std::vector<std::uint64_t>, std::string> decodes[] = {
        {{'a', 256}, "aaa"},       {{'a', 257}, ""},      {{'a', 'b', 256, 257}, "ababba"},
        {{'a', 'b', 257}, "abbb"}, {{'a', 'b', 258}, ""}, {{0x161}, "a"}};
    for (const auto& [codes, bytes] : decodes)
        EXPECT_EQ(LzwDecode(codes), std::vector<std::uint8_t>(bytes.begin(), bytes.end())) << codes.back();
}

// Glyph sizes from 1 to 64 pixels either way; anything else, or no pixel function, gives the empty font
// and its own line.
TEST(BuildFont, MakesGlyphsOfOneTo64PixelsEitherWayAndRefusesOtherSizes) {
    vx::test::StartToolkit();
    const auto ink = [](int c, int x, int row) { return std::uint8_t(c + 3 * x + 7 * row); };
    for (auto [width, height] : {std::pair{1, 1}, {64, 64}, {2, 3}}) {
        const t_Font f = vx::BuildFont(width, height, ink);
        EXPECT_EQ(
            std::tuple(f.Data.size(), f.Data.back(), f.Format, f.Start, f.End, f.Width, f.Height),
            std::tuple(std::size_t(256 * width * height),
                       std::uint8_t(255 + 3 * (width - 1) + 7 * (height - 1)), 2, 0, 255, width, height));
    }
    EXPECT_EQ(vx::BuildFont(2, 3, ink).Data[6 * 65 + 2 * 1 + 1], std::uint8_t(65 + 3 + 7));
    for (auto [width, height] : {std::pair{0, 8}, {65, 8}, {8, 0}, {8, 65}}) {
        EXPECT_TRUE(vx::BuildFont(width, height, ink).Data.empty());
        EXPECT_EQ(vx::test::TakeLogLines(),
                  std::vector<std::string>{"BuildFont: Cell size " + std::to_string(width) + " x " +
                                           std::to_string(height) + " is not within 1..64."});
    }
    EXPECT_TRUE(vx::BuildFont(8, 8, nullptr).Data.empty());
    EXPECT_EQ(vx::test::TakeLogLines(), std::vector<std::string>{"BuildFont: No pixel function."});
}

}  // namespace
