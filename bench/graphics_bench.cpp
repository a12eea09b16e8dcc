// The demonstration's densest pattern and clearing, against plain memory fills.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench_windows.h"
#include "core/state.h"
#include "display/window_init.h"
#include "headless/headless_platform.h"
#include "vxtools/graphics.h"

namespace {

using vx::bench::kDepths;
using vx::bench::kSide;

void OpenWindows() {
    vx::bench::OpenWindows(false);
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

// Baselines: the same pattern's lines by integer Bresenham straight into a nibble buffer (4 bit) or a
// word buffer (32 bit), with no checks beyond the window's bounds: about as fast as drawing these pixels
// can be.
template <int Depth>
void BresenhamLine(std::uint8_t* block, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
                   std::uint8_t c) {
    const std::int64_t dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
    const std::int64_t sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    const std::uint32_t word = 0xFF000000u | c * 0x111111u;
    std::int64_t err = dx + dy;
    for (;;) {
        if (std::uint64_t(x1) < std::uint64_t(kSide) && std::uint64_t(y1) < std::uint64_t(kSide)) {
            if constexpr (Depth == 4) {
                std::uint8_t& b = block[(y1 * kSide + x1) >> 1];
                b = (x1 & 1) ? std::uint8_t((b & 0xF0) | c) : std::uint8_t((b & 0x0F) | c << 4);
            } else {
                std::memcpy(block + (y1 * kSide + x1) * 4, &word, 4);
            }
        }
        if (x1 == x2 && y1 == y2) break;
        const std::int64_t e2 = 2 * err;
        if (e2 >= dy) err += dy, x1 += sx;
        if (e2 <= dx) err += dx, y1 += sy;
    }
}

template <int Depth>
void BM_BresenhamPatternBaseline(benchmark::State& state) {
    std::vector<std::uint8_t> block(std::size_t(kSide) * kSide * Depth / 8);
    std::uint8_t* const b = block.data();
    const std::int64_t w = kSide, h = kSide, cx = 512, cy = 512;
    for (auto _ : state) {
        for (std::int64_t x = 0; x < w - 1; x += 2)
            for (int j = 0; j < 2; ++j) {
                BresenhamLine<Depth>(b, x + j, 0, cx, cy, std::uint8_t(j * 15));
                BresenhamLine<Depth>(b, cx, cy, w - 1 - x - j, h - 1, std::uint8_t(j * 15));
            }
        for (std::int64_t y = 0; y < h - 1; y += 2)
            for (int j = 0; j < 2; ++j) {
                BresenhamLine<Depth>(b, w - 1, y + j, cx, cy, std::uint8_t(j * 15));
                BresenhamLine<Depth>(b, cx, cy, 0, h - 1 - y - j, std::uint8_t(j * 15));
            }
        benchmark::DoNotOptimize(b);
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::to_string(Depth) + " bit");
    state.counters["ns_per_pixel"] =
        benchmark::Counter(double(PatternPoints(2, 512, 512)) * double(state.iterations()) * 1e-9,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_BresenhamPatternBaseline<4>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BresenhamPatternBaseline<32>)->Unit(benchmark::kMillisecond);

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
