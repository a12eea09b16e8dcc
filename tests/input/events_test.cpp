#include "input/events.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <random>
#include <thread>

#include "display/window.h"
#include "input/key_input.h"
#include "support/toolkit_test.h"

// The flag must say what the queue holds after every step: a key that posts nothing leaves it set over a
// waiting key even when the program cleared it, and taking from an empty queue corrects a flag left set.
TEST(KeyEventAvailable, MirrorsTheQueueWhenAKeyPostsNothingAndWhenNothingIsTaken) {
    vx::test::StartWithWindow(2, 8);
    t_KeyEventHandler(2, vx::KeyPress{19, "\u20AC", 0});
    EXPECT_FALSE(KeyEventAvailable);
    t_KeyEventHandler(2, vx::KeyPress{0, "a", 0});
    KeyEventAvailable = false;
    t_KeyEventHandler(2, vx::KeyPress{19, "\u20AC", 0});
    EXPECT_TRUE(KeyEventAvailable);
    EXPECT_EQ(t_NextKeyEvent(), 'a');
    KeyEventAvailable = true;
    EXPECT_EQ(t_NextKeyEvent(), -1);
    EXPECT_FALSE(KeyEventAvailable);
    EXPECT_EQ(KeyEvent.Value, 'a');  // the last key stays
}

// The user-interface side posts keys in bursts while the program side takes them. No key may be lost or
// taken twice, and whenever both sides are quiet the flag must say what the queue holds: a flag left
// false over a waiting key would leave the program polling while Escape sits in the queue.
TEST(NextKeyEvent, FlagAndQueueAgreeWhilePostingAndTakingRace) {
    vx::test::StartToolkit();
    t_InitWindow(0, 8, false, 64, 64, 0, 0, t_Font{}, true);
    // The race is narrow: many bursts make it likely to show. Fewer under the thread checker, which
    // slows every step tenfold and watches the same code for races of its own.
#if defined(__SANITIZE_THREAD__)
    constexpr std::int64_t kKeys = 40000;
#else
    constexpr std::int64_t kKeys = 150000;
#endif
    constexpr std::int64_t kFirstCode = 1000;
    std::atomic<std::int64_t> posted{0}, settled{0};
    std::atomic<bool> stop{false};
    std::thread ui([&] {
        std::minstd_rand random(7);
        for (std::int64_t next = 0; next < kKeys && !stop;) {
            const std::int64_t burst = std::min<std::int64_t>(1 + random() % 3, kKeys - next);
            for (std::int64_t i = 0; i < burst; ++i, ++next)
                viewKeyDown(0, vx::KeyPress{kFirstCode + next, "a", 0});
            posted = next;
            while (settled < next && !stop) std::this_thread::yield();
        }
    });
    std::int64_t expected = 0, disagreements = 0;
    while (expected < kKeys && disagreements == 0) {
        if (t_NextKeyEvent() >= 0) {
            if (KeyEvent.Index != kFirstCode + expected) break;  // lost or repeated
            ++expected;
            continue;
        }
        const std::int64_t burstEnd = posted;
        if (burstEnd > settled) {
            // Quiet: the user-interface side waits for this side, so only this side changes the queue.
            if (KeyEventAvailable != !KeyEventQueue.Empty())
                ++disagreements;
            else if (expected == burstEnd)
                settled = burstEnd;
        }
    }
    stop = true;
    ui.join();
    EXPECT_EQ(disagreements, 0) << "the flag said no key while " << KeyEventQueue.Count() << " waited";
    EXPECT_EQ(expected, kKeys);
    EXPECT_FALSE(KeyEventAvailable);
    EXPECT_TRUE(KeyEventQueue.Empty());
}

TEST(WindowNumber, NamesEveryConnectedToolkitWindowAndNothingElse) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    for (std::uint8_t n = 0; n <= 12; ++n) EXPECT_EQ(t_WindowNumber(PlatformWindow(n)), n);
    int stranger = 0;
    EXPECT_EQ(t_WindowNumber(reinterpret_cast<vx::WindowRef>(&stranger)), 255);
    EXPECT_EQ(t_WindowNumber(nullptr), 255);
    vx::WindowRef printer = PlatformWindow(9);
    platform.RemoveAuxiliaryWindow(9);
    platform.RemoveGraphicView(4);
    EXPECT_EQ(t_WindowNumber(printer), 255);
    EXPECT_EQ(PlatformWindow(4), nullptr);
    EXPECT_EQ(t_WindowNumber(PlatformWindow(5)), 5);
    platform.SetMainWindow(-1);
    EXPECT_EQ(t_FrontWindowNumber(), 255);
}
