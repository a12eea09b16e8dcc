#include <gtest/gtest.h>

#include <thread>

#include "core/program.h"
#include "support/toolkit_test.h"
#include "text/readback.h"

namespace {

using namespace vx::test;

bool WaitForLog(const std::string& line) {
    for (int i = 0; i < 500 && !vx::test::LogContains(line); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return vx::test::LogContains(line);
}

TEST(QuitProgram, LeavesTheEndMessageOnTheLastLineOfTheWholeWindow) {
    t_Window& w = OpenTextWindow(4, 320, 200);
    const int displaysBefore = vx::StartHeadlessPlatform().View(0).displays;
    w.TextFirstLine = 3, w.TextLastLine = 5, w.TextFirstColumn = 4;
    w.TextHpos = 20, w.TextVpos = 4;
    w.TextInverse = true;
    w.TextDisplayMode = 1;
    startprocess([] { t_QuitProgram(0); }, 1 << 20);
    ASSERT_TRUE(WaitForLog("t_QuitProgram: Quitting current thread with message in window #0.\n"));
    EXPECT_EQ(t_GetScreen(0, "\r"), std::string(24, '\r') + "(Programm Ende)");
    EXPECT_EQ(CellColour(w, 1, 25), 0x10);
    EXPECT_EQ(w.TextColor, 0x10);
    EXPECT_FALSE(w.TextInverse);
    EXPECT_GT(vx::StartHeadlessPlatform().View(0).displays, displaysBefore);
}

TEST(QuitProgram, WithoutAWindowLogsOnlyTheQuitLine) {
    OpenTextWindow(4, 320, 200);
    startprocess([] { t_QuitProgram(255); }, 1 << 20);
    ASSERT_TRUE(WaitForLog("t_QuitProgram: Quitting current thread.\n"));
    EXPECT_EQ(t_GetScreen(0, "\r"), "");
}

}  // namespace
