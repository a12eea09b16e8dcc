#include "core/log.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <thread>
#include <vector>

#include "support/toolkit_test.h"
#include "vxtools/extensions.h"

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

TEST(LogLevel, SendsLinesToTheChosenStreamOrNowhereButRawOutputStaysOnStandardOutput) {
    struct Case {
        const char* level;  // as VXTOOLS_LOG gives it; unknown words mean standard output
        std::string out, err;
    };
    for (const Case& c :
         {Case{"loud", "line\nraw", ""}, Case{"stderr", "raw", "line\n"}, Case{"off", "raw", ""}}) {
        vx::SetLogLevel(vx::LogLevelFromText(c.level));
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        vx::StartLogCapture();
        vx::Log("line");
        vx::WriteRaw("raw");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.err) << c.level;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.out) << c.level;
        // Tests read the log whatever the level.
        EXPECT_EQ(vx::TakeCapturedLog(), "line\nraw");
    }
    vx::SetLogLevel(vx::LogLevel::Standard);
}

TEST(LogLevel, ComesFromTheEnvironmentAtTheFirstLine) {
    // Runs in a process of its own, so the level is still unread here.
    ::setenv("VXTOOLS_LOG", "quiet", 1);
    testing::internal::CaptureStdout();
    vx::Log("not shown");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(vx::CurrentLogLevel(), vx::LogLevel::Quiet);
    vx::SetLogLevel(vx::LogLevel::Standard);
}
