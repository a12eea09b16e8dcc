// Composing window images, against copying the same number of output bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench_windows.h"
#include "core/state.h"
#include "display/composition.h"
#include "display/window_init.h"
#include "headless/headless_platform.h"
#include "menus/text_windows.h"

namespace {

using vx::bench::kDepths;
using vx::bench::kSide;

void OpenWindows() {
    vx::bench::OpenWindows(true);
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
