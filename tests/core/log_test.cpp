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
        const char* text;
        vx::LogLevel level;
    };
    for (const Case& c : {Case{"stderr", vx::LogLevel::StandardError}, Case{"off", vx::LogLevel::Quiet},
                          Case{"loud", vx::LogLevel::Standard}})
        EXPECT_EQ(vx::LogLevelFromText(c.text), c.level) << c.text;

    struct Stream {
        vx::LogLevel level;
        std::string out, err;
    };
    for (const Stream& s :
         {Stream{vx::LogLevel::Standard, "line\nraw", ""},
          Stream{vx::LogLevel::StandardError, "raw", "line\n"}, Stream{vx::LogLevel::Quiet, "raw", ""}}) {
        vx::SetLogLevel(s.level);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        vx::StartLogCapture();
        vx::Log("line");
        vx::WriteRaw("raw");
        const std::string err = testing::internal::GetCapturedStderr();
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out, s.out);
        EXPECT_EQ(err, s.err);
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
