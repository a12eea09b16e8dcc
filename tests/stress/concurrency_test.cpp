// Every thread of the toolkit at once, as a busy application has them: the program thread draws,
// prints and sets windows up again while the user-interface thread composes every view as fast as it
// can, keys and clicks arrive, the program replaces its handlers while handler tasks run them, and
// finally the application quits. Run under the thread checker and the address checker, this must end
// without a report, a hang or a crash.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "display/window.h"
#include "input/events.h"
#include "input/key_input.h"
#include "input/mouse_input.h"
#include "support/toolkit_test.h"
#include "vxtools/core.h"
#include "vxtools/graphics.h"
#include "vxtools/text.h"

TEST(Concurrency, EveryThreadAtOnceAndThenQuitting) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    // Static: handler tasks and the program thread may outlive the test body by a moment.
    static std::atomic<bool> programEnded{false};
    static std::atomic<int> handlerCalls{0}, keysTaken{0}, rounds{0};

    t_InitWindow(0, 8, true, 128, 96, 0, 0, vx::test::Font(), true);
    t_InitWindow(1, 32, true, 96, 64, 0, 0, t_Font{}, true);
    t_InitWindow(2, 4, true, 64, 64, 0, 0, t_Font{}, true);
    for (std::uint8_t n = 0; n < 3; ++n) t_WindowVisible(n, true);  // hidden windows are not composed

    startprocess(
        [] {
            for (int round = 0; !vx::CurrentPlatform().isQuitting(); ++round) {
                const std::uint8_t n = std::uint8_t(round % 3);
                if (round % 7 == 0)
                    t_InitWindow(n, std::array{1, 4, 8, 16, 24, 32}[round % 6], true, 64 + 8 * (round % 5),
                                 64, 0, 0, n == 0 ? vx::test::Font() : t_Font{}, true);
                t_Color(n, round);
                g_ClearScreen(n, round, round % 40);
                for (int i = 0; i < 40; ++i) g_Line(n, i, 0, 100 - i, 80);
                t_Print(0, "Zeile " + std::to_string(round) + "\r\0335Farbe\x0e invers\x0f\r");
                t_ScrollUp(0);
                while (t_NextKeyEvent() >= 0) keysTaken++;
                ProgramMouseHandler = [round] { handlerCalls += 1 + round % 2; };
                ProgramMenuHandler = [] { handlerCalls++; };
                t_WindowUpdate(n, round % 2 == 0);
                rounds++;
            }
            programEnded = true;
        },
        0x100000);

    // The user-interface side: compositions of every view, keys and clicks, for a while. At most two
    // batches wait at a time, so that the program's own hand-overs are not queued behind a flood that a
    // slow (instrumented) build cannot serve.
    static std::atomic<int> waiting{0};
    const std::int64_t until = vx::AbsoluteTimeMillis() + 1500;
    for (int i = 0; vx::AbsoluteTimeMillis() < until; ++i) {
        if (waiting >= 2) {
            vx::SleepNanoseconds(200'000);
            continue;
        }
        waiting++;
        platform.Post([i] {
            waiting--;
            for (std::uint8_t n = 0; n < 3; ++n) vx::CurrentPlatform().displayViewNow(WindowView(n));
            viewKeyDown(std::uint8_t(i % 3), vx::KeyPress{0, std::string(1, char('a' + i % 26)), 0});
            if (i % 4 == 0)
                viewMouseDown(std::uint8_t(i % 2), vx::MouseClick{1, 0, double(i % 90), double(i % 60)},
                              false);
        });
        if (i % 16 == 0) {
            ProgramMouseHandler = [] { handlerCalls++; };
            RunInBackground(t_EventMenu);
        }
        vx::SleepNanoseconds(200'000);
    }
    platform.Flush();
    vx::test::Eventually([&] { return rounds != 0; }, std::chrono::seconds(20));
    EXPECT_GT(rounds.load(), 0);
    EXPECT_GT(handlerCalls.load(), 0);
    EXPECT_GT(platform.View(0).imagesShown + platform.View(1).imagesShown, 0);

    platform.BeginQuit();
    vx::test::Eventually([&] { return programEnded.load(); }, std::chrono::seconds(20));
    EXPECT_TRUE(programEnded) << "the program thread did not end after quitting";
}
