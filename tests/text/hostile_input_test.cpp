// Inputs that once made the text layer misbehave, kept so that they stay harmless.
#include <gtest/gtest.h>

#include "support/toolkit_test.h"
#include "text/cursor.h"
#include "text/font.h"
#include "text/output.h"
#include "text/scrolling.h"

namespace {

using namespace vx::test;

TEST(HostileInput, TabFromACursorFarLeftOfTheGridIsRefusedNotWalked) {
    // Found by fuzzing: a cursor a program left at column -128000000896 made a tab to column 3 print
    // 128 billion characters, one illegal-coordinates line each.
    t_Window& w = OpenTextWindow();
    w.TextHpos = -128000000896;
    t_PrintTab(0, 3, ' ');
    EXPECT_EQ(vx::TakeCapturedLog(),
              "t_PrintTab: Window #0 column 3 is more than a screen away from the cursor.\n");
    t_Print(0, "\x1Bi");  // the escape tab to the next stop is near the cursor, wherever it is
    EXPECT_EQ(w.TextHpos, -128000000879);
}

TEST(HostileInput, PrintingWithEveryBoundAndCursorOutsideTheGridStaysInside) {
    t_Window& w = OpenTextWindow(1, 96, 64);
    const std::uint64_t outside = OutsideChecksum(w);
    w.TextFirstColumn = 127, w.TextLastColumn = -128, w.TextFirstLine = -3, w.TextLastLine = 99;
    w.TextHpos = 100, w.TextVpos = -100;
    t_Print(0,
            "\x0C\x0B\x16\x17\x1A\x1D\x08\x1E\x1C\x0A\x0Dxy\x1B"
            "f\x1B"
            "e\x1Bk");
    t_ScrollUp(0);
    t_ScrollDown(0);
    EXPECT_EQ(OutsideChecksum(w), outside);
}

TEST(HostileInput, CompressedFontWithAHugeWidthByteAndSelfReferencesExpandsToNothing) {
    t_Font font;
    font.Format = 102;
    font.Data = {200, 0xFF, 0xFF, 0xFF};
    EXPECT_TRUE(ExpandFont(font).Data.empty());
    // Width 9: 'a', then 256, 257, 258, ... each the code being defined (quadratic output).
    std::vector<std::uint8_t> stream{9};
    std::uint32_t bits = 0;
    int count = 0;
    auto put = [&](std::uint32_t code) {
        for (int b = 8; b >= 0; --b) {
            bits = bits << 1 | ((code >> b) & 1);
            if (++count == 8) stream.push_back(std::uint8_t(bits)), bits = 0, count = 0;
        }
    };
    put('a');
    for (std::uint32_t c = 256; c < 512; ++c) put(c);
    stream.push_back(std::uint8_t(bits << (8 - count)));
    font.Data = stream;
    EXPECT_EQ(ExpandFont(font).Data.size(), 1u + 256u * 259u / 2u);  // 2 + 3 + ... + 257 after the first byte
}

}  // namespace
