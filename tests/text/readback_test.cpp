#include "text/readback.h"

#include <gtest/gtest.h>

#include "support/toolkit_test.h"
#include "text/glyph.h"
#include "text/output.h"

namespace {

using namespace vx::test;

TEST(GetScreen, TidiesLinesAtCarriageReturnsReadsCodesAsLatinOneAndGivesTheRawGridWithoutSeparator) {
    OpenTextWindow(4, 64, 32);  // 8 x 4
    t_Print(0, "A\r\rB");       // blank lines in the middle stay, those at the bottom go
    EXPECT_EQ(t_GetScreen(0, "\r"), "A\r\rB");
    EXPECT_EQ(t_GetScreen(0, ""), "A" + std::string(15, ' ') + "B" + std::string(15, ' '));
    t_Print(0, "\x0C");
    EXPECT_EQ(t_GetScreen(0, "\r"), "");

    t_PrintSymbol(0, 0xE4, 0xC0, 1, 1);
    t_PrintSymbol(0, 13, 0xC0, 3, 1);
    t_PrintSymbol(0, 'z', 0xC0, 4, 1);
    // Any separator tidies at the carriage-return cells: the space before one goes, line feeds stay.
    EXPECT_EQ(t_GetScreen(0, "\r"), "\xC3\xA4\rz");
    const std::string blank(8, ' ');
    EXPECT_EQ(t_GetScreen(0, "\n"), "\xC3\xA4\rz    \n" + blank + "\n" + blank + "\n" + blank + "\n");
}

TEST(SplitBytes, KeepsInnerEmptyPiecesAndDropsTheOneAfterAFinalSeparatorAndJoinPutsThemBack) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitBytes("ab\rcd\r", 13), (V{"ab", "cd"}));
    EXPECT_EQ(SplitBytes("\r\r", 13), (V{"", ""}));
    EXPECT_EQ(SplitBytes("\rx", 13), (V{"", "x"}));
    EXPECT_EQ(SplitBytes("", 13), V{});
    EXPECT_EQ(JoinBytes({"a", "", "b"}, ','), "a,,b");
    EXPECT_EQ(JoinBytes({""}, ','), "");
}

}  // namespace
