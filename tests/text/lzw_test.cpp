#include "text/lzw.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/lzw_encoder.h"
#include "text/font.h"

namespace {

std::vector<std::uint8_t> Bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

TEST(LzwDecode, DecodesTheClassicExampleIncludingTheCodeNotYetInTheDictionary) {
    // "ababababa" exercises the case where a code is used in the same step that defines it.
    std::vector<std::uint64_t> codes{'a', 'b', 256, 258, 257};
    std::vector<std::uint8_t> out = LzwDecode(codes);
    EXPECT_EQ(std::string(out.begin(), out.end()), "ababababa");
    EXPECT_EQ(LzwDecode(vxtest::LzwEncode(Bytes("ababababa"))), Bytes("ababababa"));
    std::vector<std::uint64_t> first{0x141};  // the low eight bits of the first code
    EXPECT_EQ(LzwDecode(first), Bytes("A"));
}

TEST(LzwDecode, EmptyInputAndBadCodesGiveNothing) {
    EXPECT_TRUE(LzwDecode({}).empty());
    std::vector<std::uint64_t> beyond{'a', 257};  // next free code is 256
    EXPECT_TRUE(LzwDecode(beyond).empty());
    std::vector<std::uint64_t> huge{'a', 'b', ~std::uint64_t(0)};
    EXPECT_TRUE(LzwDecode(huge).empty());
}

TEST(LzwDecode, RoundTripsRandomAndRepetitiveData) {
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        std::vector<std::uint8_t> data(std::size_t(random() % 5000));
        int alphabet = 1 + int(random() % 256);
        for (auto& b : data) b = std::uint8_t(random() % unsigned(alphabet));
        EXPECT_EQ(LzwDecode(vxtest::LzwEncode(data)), data);
    }
    std::vector<std::uint8_t> zeros(100000, 0);
    EXPECT_EQ(LzwDecode(vxtest::LzwEncode(zeros)), zeros);
}

TEST(LzwDecode, EndlessSelfReferenceStopsAtTheOutputLimit) {
    // Every code refers to the one being defined: the output grows quadratically with the stream.
    std::vector<std::uint64_t> codes{'x'};
    for (std::uint64_t c = 256; c < 256 + 20000; ++c) codes.push_back(c);
    EXPECT_TRUE(LzwDecode(codes).empty());  // 2e8 bytes would pass the 64 MiB limit

    std::vector<std::uint64_t> small{'x'};
    for (std::uint64_t c = 256; c < 256 + 1000; ++c) small.push_back(c);
    std::vector<std::uint8_t> out = LzwDecode(small);
    EXPECT_EQ(out.size(), 1u + 1000u * 1003u / 2u);  // lengths 2, 3, ..., 1001 after the first byte
    EXPECT_EQ(out, std::vector<std::uint8_t>(out.size(), 'x'));
}

TEST(UnpackCodes, ReadsMostSignificantBitFirstAndOnlyWidthsOneToSixtyFour) {
    std::vector<std::uint8_t> bytes{0b10110011, 0b01011100};
    EXPECT_EQ(UnpackCodes(bytes, 3), (std::vector<std::uint64_t>{0b101, 0b100, 0b110, 0b101, 0b110}));
    EXPECT_EQ(UnpackCodes(bytes, 16), (std::vector<std::uint64_t>{0b1011001101011100}));
    EXPECT_EQ(UnpackCodes(bytes, 17), (std::vector<std::uint64_t>{}));

    std::vector<std::uint8_t> ones(16, 0xFF);
    for (int width : {0, -3, 65, 255}) EXPECT_TRUE(UnpackCodes(ones, width).empty()) << width;
    EXPECT_EQ(UnpackCodes(ones, 64), (std::vector<std::uint64_t>(2, ~std::uint64_t(0))));
    EXPECT_EQ(UnpackCodes(ones, 1).size(), 128u);
}

TEST(LzwDecode, RoundTripsThroughPackedCodesAtManyWidths) {
    std::vector<std::uint8_t> data = Bytes("TOBEORNOTTOBEORTOBEORNOT#TOBEORNOTTOBEORTOBEORNOT");
    std::vector<std::uint64_t> codes = vxtest::LzwEncode(data);
    for (int width : {9, 10, 13, 31, 33, 64}) {
        std::vector<std::uint8_t> packed = vxtest::PackCodes(codes, width);
        EXPECT_EQ(LzwDecode(UnpackCodes(packed, width)), data) << width;
    }
}

}  // namespace
