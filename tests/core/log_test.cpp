#include "core/log.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "support/toolkit_test.h"

TEST(Log, PiecesOfOneThreadAreNeverSplitByAnotherThreadsLines) {
    vx::StartLogCapture();
    std::thread pieces([] {
        for (int i = 0; i < 200; ++i) {
            vx::LogPiece("alpha-");
            std::this_thread::yield();
            vx::LogPiece("beta-");
            vx::Log("gamma");
        }
    });
    std::thread lines([] {
        for (int i = 0; i < 200; ++i) vx::Log("other line");
    });
    pieces.join();
    lines.join();
    int whole = 0;
    for (const std::string& line : vx::test::TakeLogLines()) {
        if (line == "alpha-beta-gamma") {
            ++whole;
        } else {
            EXPECT_EQ(line, "other line");
        }
    }
    EXPECT_EQ(whole, 200);
}
