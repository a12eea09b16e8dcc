// Inputs that once made the text layer misbehave, kept so that they stay harmless, and the refusal of
// windows the text layer cannot use.
#include <gtest/gtest.h>

#include "support/lzw_encoder.h"
#include "support/toolkit_test.h"
#include "text/font.h"
#include "text/glyph.h"
#include "text/output.h"
#include "text/scrolling.h"

namespace {

using namespace vx::test;

TEST(HostileInput, EveryTextOperationRefusesWindowsItCannotUseWithItsOwnLine) {
    struct Operation {
        std::string name;
        void (*call)(std::uint8_t);
    };
    // The operations that look at the window on their own before or beside the shared window check.
    const Operation operations[] = {
        {"t_Print", [](std::uint8_t n) { t_Print(n, "x"); }},
        {"t_PrintSymbol", [](std::uint8_t n) { t_PrintSymbol(n, 'x', 0xF0, 1, 1); }},
        {"t_PrintControl", [](std::uint8_t n) { t_PrintControl(n, 13); }},
        {"t_ScrollUp", t_ScrollUp},
    };
    vx::StartHeadlessPlatform();
    vx::StartLogCapture();
    for (const Operation& op : operations) {
        op.call(3);  // before there is any video memory
        EXPECT_EQ(vx::TakeCapturedLog(), op.name + ": Window #3 not initialized.\n");
    }
    t_Window& w = OpenTextWindow();
    for (const Operation& op : operations) {
        op.call(8);
        op.call(3);
        EXPECT_EQ(vx::TakeCapturedLog(), op.name + ": Window is not a graphic window.\n" + op.name +
                                             ": Window #3 not initialized.\n");
    }
    WindowRecord(3).TextRedirectOutput = 7;  // output off: silent
    t_PrintSymbol(3, 65, 0xF0, 1, 1);
    w.Font.Data.clear();
    t_PrintSymbol(0, 65, 0xF0, 1, 1);
    EXPECT_EQ(vx::TakeCapturedLog(), "t_PrintSymbol: Window #0 not initialized.\n");
}

TEST(HostileInput, TabFromACursorFarLeftOfTheGridIsRefusedNotWalked) {
    // Found by fuzzing: a cursor a program left at column -128000000896 made a tab to column 3 print
    // 128 billion characters, one illegal-coordinates line each.
    t_Window& w = OpenTextWindow();
    w.TextHpos = -128000000896;
    t_PrintTab(0, 3, ' ');
    t_PrintTab(0, INT64_MAX, '*');
    EXPECT_EQ(
        vx::TakeCapturedLog(),
        "t_PrintTab: Window #0 column 3 is more than a screen away from the cursor.\n"
        "t_PrintTab: Window #0 column 9223372036854775807 is more than a screen away from the cursor.\n");
    t_Print(0, "\x1Bi");  // the escape tab to the next stop is near the cursor, wherever it is
    EXPECT_EQ(w.TextHpos, -128000000879);
}

TEST(HostileInput, CompressedFontsWithAHugeWidthByteOrSelfReferencesStayBounded) {
    t_Font font;
    font.Format = 102;
    font.Data = {200, 0xFF, 0xFF, 0xFF};
    EXPECT_TRUE(ExpandFont(font).Data.empty());
    // Width 9: 'a', then 256, 257, 258, ... each the code being defined (quadratic output).
    std::vector<std::uint64_t> codes{'a'};
    for (std::uint64_t c = 256; c < 512; ++c) codes.push_back(c);
    font.Data = vxtest::PackCodes(codes, 9);
    font.Data.insert(font.Data.begin(), 9);
    EXPECT_EQ(ExpandFont(font).Data.size(), 1u + 256u * 259u / 2u);  // 2 + 3 + ... + 257 after the first byte
}

}  // namespace
