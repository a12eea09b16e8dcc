// Filled rectangles against a memset of the same bytes, and a full-window PNG load against the decoder
// alone writing into memory.
#include <benchmark/benchmark.h>
#include <spng.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_windows.h"
#include "vxtools/display.h"
#include "vxtools/extensions.h"
#include "vxtools/graphics.h"

namespace {

using vx::bench::kDepths;
using vx::bench::kSide;

std::size_t BlockBytes(std::uint8_t n) {
    return std::size_t(kSide) * kSide * std::size_t(kDepths[n]) / 8;
}

void BM_FillRect(benchmark::State& state) {
    vx::bench::OpenWindows(false);
    const auto n = std::uint8_t(state.range(0));
    std::int64_t colour = 0;
    for (auto _ : state) {
        t_Color(n, ++colour);
        vx::FillRect(n, 0, 0, kSide, kSide);
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::to_string(kDepths[n]) + " bit");
    state.SetBytesProcessed(std::int64_t(state.iterations() * BlockBytes(n)));
}
BENCHMARK(BM_FillRect)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

// Baseline: memset of the window's bytes.
void BM_FillRectMemset(benchmark::State& state) {
    vx::bench::OpenWindows(false);
    const auto n = std::uint8_t(state.range(0));
    int value = 0;
    for (auto _ : state) {
        std::memset(VideoMemory + WindowTable[n].MemoryStart, ++value, BlockBytes(n));
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::to_string(kDepths[n]) + " bit");
    state.SetBytesProcessed(std::int64_t(state.iterations() * BlockBytes(n)));
}
BENCHMARK(BM_FillRectMemset)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

// A 1024 x 1024 picture as a drawing program makes them: a few colours in soft bands and hard edges,
// more than 256 of them so that it is stored as RGB.
const std::string& PicturePath() {
    static const std::string path = [] {
        vx::WindowImage image{kSide, kSide, std::vector<std::uint32_t>(std::size_t(kSide) * kSide)};
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x)
                image.pixels[std::size_t(y * kSide + x)] = 0xFF000000u | std::uint32_t((x / 3) & 255) << 16 |
                                                           std::uint32_t((y / 5) & 255) << 8 |
                                                           ((x + y) % 97 < 48 ? 0x40u : 0xC0u);
        const std::string p = "/tmp/vxtools-drawing-bench.png";
        vx::WritePng(image, p);
        return p;
    }();
    return path;
}

void BM_LoadPicture(benchmark::State& state) {
    vx::bench::OpenWindows(false);
    const auto n = std::uint8_t(state.range(0));
    const std::string& path = PicturePath();
    for (auto _ : state) {
        if (!vx::LoadPicture(n, path, 0, 0)) state.SkipWithError("not loaded");
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::to_string(kDepths[n]) + " bit");
}
BENCHMARK(BM_LoadPicture)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);

// Baseline: the decoder alone, the whole picture into one RGBA buffer.
void BM_LoadPictureDecoderOnly(benchmark::State& state) {
    const std::string& path = PicturePath();
    std::vector<unsigned char> pixels(std::size_t(kSide) * kSide * 4);
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        spng_ctx* ctx = spng_ctx_new(0);
        spng_set_png_file(ctx, file);
        spng_decode_image(ctx, pixels.data(), pixels.size(), SPNG_FMT_RGBA8, SPNG_DECODE_TRNS);
        spng_ctx_free(ctx);
        std::fclose(file);
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BM_LoadPictureDecoderOnly)->Unit(benchmark::kMillisecond);

}  // namespace
