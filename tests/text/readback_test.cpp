#include "text/readback.h"

#include <gtest/gtest.h>

#include "support/toolkit_test.h"
#include "text/glyph.h"
#include "text/output.h"

namespace {

using namespace vx::test;

TEST(GetScreen, TidiesLinesWithACarriageReturnKeepingInnerBlankLinesAndTheRawGridWithout) {
    OpenTextWindow(4, 320, 192);  // 40 x 24
    t_Print(0, "HELLO");
    EXPECT_EQ(t_GetScreen(0, "\r"), "HELLO");
    const std::string raw = t_GetScreen(0, "");
    EXPECT_EQ(raw.size(), 960u);
    EXPECT_EQ(raw, "HELLO" + std::string(955, ' '));
    t_Print(0,
            "\x0C"
            "A\r\rB");  // blank lines in the middle stay, those at the bottom go
    EXPECT_EQ(t_GetScreen(0, "\r"), "A\r\rB");
    t_Print(0, "\x0C");
    EXPECT_EQ(t_GetScreen(0, "\r"), "");
}

TEST(GetScreen, ReadsCodesAsLatinOneAndSplitsAtCarriageReturnCells) {
    t_Window& w = OpenTextWindow(4, 64, 32);  // 8 x 4
    t_PrintSymbol(0, 0xE4, 0xC0, 1, 1);
    t_PrintSymbol(0, 13, 0xC0, 3, 1);
    t_PrintSymbol(0, 'z', 0xC0, 4, 1);
    // Any separator tidies: the space before the carriage-return cell goes, the line feeds stay.
    EXPECT_EQ(t_GetScreen(0, "\r"), "\xC3\xA4\rz");
    const std::string blank(8, ' ');
    EXPECT_EQ(t_GetScreen(0, "\n"), "\xC3\xA4\rz    \n" + blank + "\n" + blank + "\n" + blank + "\n");
    EXPECT_EQ(CellChar(w, 1, 1), 0xE4);
}

TEST(SplitBytes, KeepsInnerEmptyPiecesAndDropsTheOneAfterAFinalSeparatorAndJoinPutsThemBack) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitBytes("ab\rcd\r", 13), (V{"ab", "cd"}));
    EXPECT_EQ(SplitBytes("\r\r", 13), (V{"", ""}));
    EXPECT_EQ(SplitBytes("\rx", 13), (V{"", "x"}));
    EXPECT_EQ(SplitBytes("", 13), V{});
    EXPECT_EQ(SplitBytes("abc", 13), V{"abc"});
    EXPECT_EQ(JoinBytes({"a", "", "b"}, ','), "a,,b");
    EXPECT_EQ(JoinBytes({}, ','), "");
    EXPECT_EQ(JoinBytes({""}, ','), "");
}

}  // namespace
