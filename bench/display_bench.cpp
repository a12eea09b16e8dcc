// Composing window images, against copying the same number of output bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "core/state.h"
#include "display/composition.h"
#include "display/window_init.h"
#include "headless/headless_platform.h"
#include "menus/text_windows.h"

namespace {

constexpr int kSide = 1024;
constexpr int kDepths[6] = {1, 4, 8, 16, 24, 32};

void OpenWindows() {
    static const bool opened = [] {
        vx::StartHeadlessPlatform();
        for (std::uint8_t n = 0; n < 6; ++n) {
            t_InitWindow(n, kDepths[n], false, kSide, kSide, 0, 0, t_Font{}, true);
            t_WindowVisible(n, true);
            // Something other than one flat colour, so no path profits from uniform input.
            for (std::int64_t i = WindowTable[n].MemoryStart; i <= WindowTable[n].MemoryEnd; ++i)
                VideoMemory[i] = std::uint8_t(i * 2654435761u >> 13);
        }
        return true;
    }();
    (void)opened;
}

void BM_Memcpy4MiB(benchmark::State& state) {
    std::vector<std::uint8_t> from(kSide * kSide * 4, 1), to(kSide * kSide * 4);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), to.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(to.size()));
}
BENCHMARK(BM_Memcpy4MiB)->Unit(benchmark::kMicrosecond);

void BM_WindowImage(benchmark::State& state) {
    OpenWindows();
    const auto n = std::uint8_t(state.range(0));
    for (auto _ : state) {
        auto image = t_WindowImage(n);
        benchmark::DoNotOptimize(image.get());
    }
    state.SetLabel(std::to_string(kDepths[n]) + " bit");
    state.SetBytesProcessed(std::int64_t(state.iterations()) * kSide * kSide * 4);
}
BENCHMARK(BM_WindowImage)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

}  // namespace
