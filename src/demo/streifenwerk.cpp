#include "streifenwerk.h"

#include <vxtools/vxtools.h>

#include <cstdlib>
#include <string>

std::int64_t LastRandom = 0;

namespace {

const std::string kDisplayName = "Streifenwerk";
const std::string kAttribution = "\u00A9 2026 vxtools";
constexpr std::int64_t kEscape = 27;

// One byte of randomness: the middle bits of the product of the generator and the clock's nanosecond
// digits, both taken non-zero where possible.
std::uint32_t Draw() {
    std::uint32_t a = 0;
    std::uint32_t t = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        a = arc4random() & 0xFFFF;
        t = std::uint32_t(std::int64_t(vx::AbsoluteTime() * 1'000'000'000.0)) & 0xFFFF;
        if (a != 0 && t != 0) break;
    }
    return a * t;
}

// One fan of line pairs; false once Escape has been read.
template <class Step>
bool Fan(std::int64_t limit, std::int64_t spacing, Step step) {
    for (std::int64_t i = 0; i < limit; i += spacing) {
        for (std::int64_t j = 0; j < 2; ++j) {
            t_Color(0, j == 0 ? 0 : 15);
            step(i, j);
            if (t_NextKeyEvent() == kEscape) return false;
        }
    }
    return true;
}

}  // namespace

std::int64_t RandomNumber(std::int64_t n) {
    if (n == 0) return LastRandom;
    if (n < 0) {
        vx::Log("RandomNumber: Range " + std::to_string(n) + " is negative.");
        return LastRandom;
    }
    std::uint64_t r = 0;
    for (int i = 0; i < 7; ++i) r = (r << 8) | ((Draw() >> 16) & 0xFF);
    r = (r << 7) | ((Draw() >> 16) & 0x7F);
    // n + 1 computed unsigned: the largest n does not overflow.
    LastRandom = std::int64_t(r % (std::uint64_t(n) + 1));
    return LastRandom;
}

void PatternLoop() {
    for (;;) {
        const std::int64_t w = t_WindowPos(0, 8);
        const std::int64_t h = t_WindowPos(0, 9);
        const std::int64_t cx = RandomNumber(w);
        const std::int64_t cy = RandomNumber(h);
        const std::int64_t s = RandomNumber(7) + 2;
        t_WindowTitle(0, kDisplayName + " \u2014 Abstand: " + std::to_string(s) + " " + kAttribution);
        g_ClearScreen(0, 0, -1);

        const bool topToBottom = Fan(w - 1, s, [&](std::int64_t x, std::int64_t j) {
            g_Plot(0, x + j, 0);
            g_LineTo(0, cx, cy);
            g_LineTo(0, w - 1 - x - j, h - 1);
        });
        if (!topToBottom) return;
        const bool rightToLeft = Fan(h - 1, s, [&](std::int64_t y, std::int64_t j) {
            g_Plot(0, w - 1, y + j);
            g_LineTo(0, cx, cy);
            g_LineTo(0, 0, h - 1 - y - j);
        });
        if (!rightToLeft) return;

        t_WindowUpdate(0, true);
        vx::SleepNanoseconds(2'000'000'000);
        if (t_NextKeyEvent() == kEscape) return;
    }
}

void MainProgram() {
    t_InitWindow(0, 4, false, 1024, 1024, 0, 0, t_Font{}, true);
    t_WindowTitle(0, kDisplayName + " " + kAttribution);
    t_WindowCenter(0);
    t_WindowFront(0);
    PatternLoop();
    t_WindowTitle(0, kDisplayName + " \u2014 Programm Ende " + kAttribution);
    t_QuitProgram(255);
}
