// The demonstration's densest pattern and clearing, against plain memory fills.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/state.h"
#include "display/window_init.h"
#include "graphics/clear.h"
#include "graphics/lines.h"
#include "graphics/pixels.h"
#include "headless/headless_platform.h"

namespace {

constexpr int kSide = 1024;
constexpr int kDepths[6] = {1, 4, 8, 16, 24, 32};

void OpenWindows() {
    static const bool opened = [] {
        vx::StartHeadlessPlatform();
        for (std::uint8_t n = 0; n < 6; ++n)
            t_InitWindow(n, kDepths[n], false, kSide, kSide, 0, 0, t_Font{}, true);
        return true;
    }();
    (void)opened;
}

// Both fans of one pattern, drawn as the pattern loop draws them.
void DrawPattern(std::uint8_t n, std::int64_t s, std::int64_t cx, std::int64_t cy) {
    const std::int64_t w = kSide, h = kSide;
    for (std::int64_t x = 0; x < w - 1; x += s) {
        for (int j = 0; j < 2; ++j) {
            t_Color(n, j == 0 ? 0 : 15);
            g_Plot(n, x + j, 0);
            g_LineTo(n, cx, cy);
            g_LineTo(n, w - 1 - x - j, h - 1);
        }
    }
    for (std::int64_t y = 0; y < h - 1; y += s) {
        for (int j = 0; j < 2; ++j) {
            t_Color(n, j == 0 ? 0 : 15);
            g_Plot(n, w - 1, y + j);
            g_LineTo(n, cx, cy);
            g_LineTo(n, 0, h - 1 - y - j);
        }
    }
}

std::int64_t LinePoints(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
    return std::max(std::abs(x2 - x1), std::abs(y2 - y1)) + 1;
}

// Calls of g_Plot that the pattern makes, counted as the line rules count them.
std::int64_t PatternPoints(std::int64_t s, std::int64_t cx, std::int64_t cy) {
    const std::int64_t w = kSide, h = kSide;
    std::int64_t points = 0;
    for (std::int64_t x = 0; x < w - 1; x += s)
        for (int j = 0; j < 2; ++j)
            points += 1 + LinePoints(x + j, 0, cx, cy) + LinePoints(cx, cy, w - 1 - x - j, h - 1);
    for (std::int64_t y = 0; y < h - 1; y += s)
        for (int j = 0; j < 2; ++j)
            points += 1 + LinePoints(w - 1, y + j, cx, cy) + LinePoints(cx, cy, 0, h - 1 - y - j);
    return points;
}

void BM_DensestPattern(benchmark::State& state) {
    OpenWindows();
    const auto n = std::uint8_t(state.range(0));
    for (auto _ : state) {
        DrawPattern(n, 2, 512, 512);
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::to_string(kDepths[n]) + " bit");
    state.counters["ns_per_pixel"] =
        benchmark::Counter(double(PatternPoints(2, 512, 512)) * double(state.iterations()) * 1e-9,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DensestPattern)->Arg(1)->Arg(0)->Arg(5)->Unit(benchmark::kMillisecond);

void BM_Memset(benchmark::State& state) {
    std::vector<std::uint8_t> block(std::size_t(kSide) * kSide * std::size_t(state.range(0)) / 8);
    for (auto _ : state) {
        std::memset(block.data(), int(state.iterations() & 0xFF), block.size());
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::to_string(state.range(0)) + " bit block");
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(block.size()));
}
BENCHMARK(BM_Memset)->Arg(1)->Arg(4)->Arg(8)->Arg(16)->Arg(24)->Arg(32)->Unit(benchmark::kMicrosecond);

void BM_ClearScreen(benchmark::State& state) {
    OpenWindows();
    const auto n = std::uint8_t(state.range(0));
    std::int64_t colour = 0;
    for (auto _ : state) {
        g_ClearScreen(n, ++colour & 15, -1);
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::to_string(kDepths[n]) + " bit");
    state.SetBytesProcessed(std::int64_t(state.iterations()) * kSide * kSide * kDepths[n] / 8);
}
BENCHMARK(BM_ClearScreen)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

}  // namespace
