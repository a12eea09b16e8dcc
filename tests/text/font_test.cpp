#include "text/font.h"

#include <gtest/gtest.h>

#include "support/lzw_encoder.h"

namespace {

TEST(ExpandFont, RestoresCompressedFontsKeepingEveryOtherFieldAndLeavesOtherFormats) {
    t_Font grey{
        .Format = 2, .Size = 99, .Start = 32, .End = 127, .Width = 2, .Height = 3, .Reserved = 5, .Data = {}};
    for (int i = 0; i < 128 * 6; ++i) grey.Data.push_back(std::uint8_t(i % 7 == 0 ? 255 : i % 3));
    t_Font expanded = ExpandFont(vxtest::CompressFont(grey));
    EXPECT_EQ(expanded.Data, grey.Data);
    EXPECT_EQ((std::vector<std::int64_t>{expanded.Format, expanded.Size, expanded.Start, expanded.End,
                                         expanded.Width, expanded.Height, expanded.Reserved}),
              (std::vector<std::int64_t>{2, 99, 32, 127, 2, 3, 5}));
    EXPECT_EQ(expanded.Identifier, grey.Identifier);

    t_Font plain = grey;
    plain.Format = 0;
    expanded = ExpandFont(vxtest::CompressFont(plain, 20));
    EXPECT_EQ(expanded.Format, 0);
    EXPECT_EQ(expanded.Data, grey.Data);

    for (std::int64_t format : {0, 1, 3, 101, 103, -100}) {
        plain.Format = format;
        expanded = ExpandFont(plain);
        EXPECT_EQ(expanded.Format, format);
        EXPECT_EQ(expanded.Data, grey.Data);
    }
}

TEST(ExpandFont, EmptyCorruptOrBadlySizedStreamsGiveEmptyData) {
    const std::vector<std::uint8_t> streams[] = {
        {},
        {0, 1, 2, 3},              // width 0: no codes
        {65, 1, 2, 3},             // width above 64
        {9},                       // a width and no stream
        {16, 0, 'a', 0x7F, 0xFF},  // second code beyond the dictionary
    };
    t_Font font;
    font.Format = 102;
    for (const auto& stream : streams) {
        font.Data = stream;
        EXPECT_TRUE(ExpandFont(font).Data.empty()) << stream.size();
        EXPECT_EQ(ExpandFont(font).Format, 2);
    }
    font.Data = {8, 'a', 0xFF};  // code 255 is a byte; fine
    EXPECT_EQ(ExpandFont(font).Data, (std::vector<std::uint8_t>{'a', 0xFF}));
}

}  // namespace
