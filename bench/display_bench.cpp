// Composing window images, against copying the same number of output bytes; saving them as PNG.
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_windows.h"
#include "core/state.h"
#include "display/window_init.h"
#include "headless/headless_platform.h"
#include "menus/text_windows.h"
#include "vxtools/display.h"
#include "vxtools/graphics.h"

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

// A 1024 x 1024 4-bit picture saved as PNG: a fan of black and white lines 3 pixels apart through an
// off-centre point, as the demonstration draws them (arg 0), and the 4-bit window full of the hashed
// bytes of the other benchmarks (arg 1). The file size is reported as a counter.
void BM_SavePicture4Bit(benchmark::State& state) {
    OpenWindows();
    std::uint8_t n = 1;  // 4 bit, hashed bytes
    if (state.range(0) == 0) {
        n = 6;
        static const bool drawn = [] {
            t_InitWindow(6, 4, false, kSide, kSide, 0, 0, t_Font{}, true);
            t_WindowVisible(6, true);
            for (std::int64_t i = 0; i < kSide; i += 3) {
                t_Color(6, (i / 3) % 2 ? 15 : 0);
                g_Plot(6, i, 0);
                g_LineTo(6, 300, 700);
                g_LineTo(6, kSide - 1 - i, kSide - 1);
                g_Plot(6, kSide - 1, i);
                g_LineTo(6, 300, 700);
                g_LineTo(6, 0, kSide - 1 - i);
            }
            return true;
        }();
        (void)drawn;
    }
    const std::string path = "/tmp/vx-bench-" + std::to_string(::getpid()) + ".png";
    for (auto _ : state) benchmark::DoNotOptimize(vx::SavePicture(n, path));
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) state.counters["file_bytes"] = double(info.st_size);
    std::remove(path.c_str());
    state.SetLabel(state.range(0) == 0 ? "line fan" : "hashed bytes");
}
BENCHMARK(BM_SavePicture4Bit)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
