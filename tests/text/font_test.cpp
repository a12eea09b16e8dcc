#include "text/font.h"

#include <gtest/gtest.h>

#include "support/lzw_encoder.h"

namespace {

t_Font GreyFont() {
    t_Font font;
    font.Format = 2;
    font.Size = 99;
    font.Start = 32;
    font.End = 127;
    font.Width = 2;
    font.Height = 3;
    font.Reserved = 5;
    for (int i = 0; i < 128 * 6; ++i) font.Data.push_back(std::uint8_t(i % 7 == 0 ? 255 : i % 3));
    return font;
}

TEST(ExpandFont, RestoresCompressedFontsKeepingEveryOtherFieldAndLeavesOtherFormats) {
    t_Font grey = GreyFont();
    t_Font expanded = ExpandFont(vxtest::CompressFont(grey));
    EXPECT_EQ(expanded.Data, grey.Data);
    EXPECT_EQ((std::vector<std::int64_t>{expanded.Format, expanded.Size, expanded.Start, expanded.End,
                                         expanded.Width, expanded.Height, expanded.Reserved}),
              (std::vector<std::int64_t>{2, 99, 32, 127, 2, 3, 5}));
    EXPECT_EQ(expanded.Identifier, grey.Identifier);

    t_Font plain = grey;
    plain.Format = 0;
    t_Font expandedPlain = ExpandFont(vxtest::CompressFont(plain, 20));
    EXPECT_EQ(expandedPlain.Format, 0);
    EXPECT_EQ(expandedPlain.Data, grey.Data);

    // Other formats come back unchanged.
    for (std::int64_t format : {0, 1, 2, 3, 101, 103, -100}) {
        t_Font font = GreyFont();
        font.Format = format;
        t_Font same = ExpandFont(font);
        EXPECT_EQ(same.Format, format);
        EXPECT_EQ(same.Data, font.Data);
    }
}

TEST(ExpandFont, EmptyCorruptOrBadlySizedStreamsGiveEmptyData) {
    t_Font font = GreyFont();
    font.Format = 102;
    font.Data.clear();
    EXPECT_TRUE(ExpandFont(font).Data.empty());
    EXPECT_EQ(ExpandFont(font).Format, 2);

    font.Data = {0, 1, 2, 3};  // width 0: no codes
    EXPECT_TRUE(ExpandFont(font).Data.empty());
    font.Data = {65, 1, 2, 3};  // width above 64
    EXPECT_TRUE(ExpandFont(font).Data.empty());
    font.Data = {9};  // a width and no stream
    EXPECT_TRUE(ExpandFont(font).Data.empty());
    font.Data = {8, 'a', 0xFF};  // code 255 is a byte; fine
    EXPECT_EQ(ExpandFont(font).Data, (std::vector<std::uint8_t>{'a', 0xFF}));
    font.Data = {16, 0, 'a', 0x7F, 0xFF};  // second code far beyond the dictionary
    EXPECT_TRUE(ExpandFont(font).Data.empty());
}

}  // namespace
