// Speed of the text layer: one glyph, a full screen of text, and a full-width scroll, beside memmove
// of the bytes a scroll moves.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/state.h"
#include "display/window_init.h"
#include "headless/headless_platform.h"
#include "text/glyph.h"
#include "text/output.h"
#include "text/scrolling.h"

namespace {

// An 8 x 16 font whose glyphs are mostly pure ink or paper, with a few shaded pixels as real fonts have.
t_Font BenchFont() {
    return vx::BuildFont(8, 16, [](int code, int x, int row) -> std::uint8_t {
        const std::size_t i = std::size_t((code * 16 + row) * 8 + x);
        return (i * 2654435761u >> 7) % 5 == 0 ? 128 : ((i * 40503u >> 5) & 1) ? 255 : 0;
    });
}

// An 80 x 25 text window of 640 x 400 pixels at the given depth.
t_Window& Window(std::uint8_t n, int depth) {
    vx::StartHeadlessPlatform();
    if (!MemoryInitialised || !WindowRecord(n).Initialized)
        t_InitWindow(n, depth, false, 640, 400, 0, 0, BenchFont(), true);
    return WindowRecord(n);
}

void BM_PrintSymbol(benchmark::State& state) {
    const int depth = int(state.range(0));
    const std::uint8_t n = depth == 4 ? 0 : 1;
    Window(n, depth);
    std::int64_t cell = 0;
    for (auto _ : state) {
        t_PrintSymbol(n, std::uint8_t(33 + cell % 90), 0xC1, 1 + cell % 80, 1 + cell / 80 % 25);
        ++cell;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PrintSymbol)->Arg(4)->Arg(32);

void BM_PrintFullScreen(benchmark::State& state) {
    t_Window& w = Window(0, 4);
    w.ScrollLock = true;  // the 2000th character would scroll; measured separately below
    std::string screen;
    for (int i = 0; i < 80 * 25; ++i) screen.push_back(char(33 + i % 90));
    for (auto _ : state) {
        w.TextHpos = 1, w.TextVpos = 1;
        t_Print(0, screen);
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(BM_PrintFullScreen)->Unit(benchmark::kMicrosecond);

void BM_ScrollUp(benchmark::State& state) {
    const int depth = int(state.range(0));
    const std::uint8_t n = depth == 4 ? 0 : 1;
    Window(n, depth).ScrollLock = false;
    for (auto _ : state) t_ScrollUp(n);
    state.SetBytesProcessed(state.iterations() * (640 * 16 * 24 * depth / 8 + 2 * 80 * 24));
}
BENCHMARK(BM_ScrollUp)->Arg(4)->Arg(32)->Unit(benchmark::kMicrosecond);

// The baseline: memmove of exactly the bytes a full-width scroll moves.
void BM_MemmoveLikeScroll(benchmark::State& state) {
    const std::size_t pixels = std::size_t(640 * 16 * 24 * state.range(0) / 8),
                      line = 640 * 16 * state.range(0) / 8;
    std::vector<std::uint8_t> block(pixels + line, 7), text(2 * 80 * 25, 1);
    for (auto _ : state) {
        std::memmove(block.data(), block.data() + line, pixels);
        std::memmove(text.data(), text.data() + 80, 80 * 24);
        std::memmove(text.data() + 2000, text.data() + 2080, 80 * 24);
        benchmark::DoNotOptimize(block.data());
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(pixels + 2 * 80 * 24));
}
BENCHMARK(BM_MemmoveLikeScroll)->Arg(4)->Arg(32)->Unit(benchmark::kMicrosecond);

}  // namespace
