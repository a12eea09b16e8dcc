// The view's paint path: the composed words wrapped as an RGB32 image and drawn over the view, at the
// window's own size and stretched to twice it, beside a plain copy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

// Without the Qt layer in the build only the baseline remains.
#if __has_include(<QImage>)
#define VX_HAVE_QT 1
#include <QImage>
#include <QPainter>
#endif

namespace {

constexpr int kSide = 1024;

std::vector<std::uint32_t> Pattern() {
    std::vector<std::uint32_t> words(std::size_t(kSide) * kSide);
    for (std::size_t i = 0; i < words.size(); ++i)
        words[i] = (i / 3 + i / kSide) % 2 ? 0xFFFFFFFFu : 0xFF000000u;
    return words;
}

#ifdef VX_HAVE_QT
void DrawInto(benchmark::State& state, int targetSide) {
    const std::vector<std::uint32_t> words = Pattern();
    QImage target(targetSide, targetSide, QImage::Format_RGB32);
    for (auto _ : state) {
        const QImage image(reinterpret_cast<const uchar*>(words.data()), kSide, kSide, kSide * 4,
                           QImage::Format_RGB32);
        QPainter painter(&target);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(QRect(0, 0, targetSide, targetSide), image);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(words.size()) * 4);
}

void BM_ViewPaintSameSize(benchmark::State& state) {
    DrawInto(state, kSide);
}
BENCHMARK(BM_ViewPaintSameSize);

void BM_ViewPaintStretchedTwice(benchmark::State& state) {
    DrawInto(state, 2 * kSide);
}
BENCHMARK(BM_ViewPaintStretchedTwice);

// The same frame drawn from ARGB32 words, which Qt must blend: what RGB32 avoids.
void BM_ViewPaintAsArgb32(benchmark::State& state) {
    const std::vector<std::uint32_t> words = Pattern();
    QImage target(kSide, kSide, QImage::Format_RGB32);
    for (auto _ : state) {
        const QImage image(reinterpret_cast<const uchar*>(words.data()), kSide, kSide, kSide * 4,
                           QImage::Format_ARGB32);
        QPainter painter(&target);
        painter.drawImage(QRect(0, 0, kSide, kSide), image);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(words.size()) * 4);
}
BENCHMARK(BM_ViewPaintAsArgb32);
#endif

// Baseline: copying the frame's 4 MiB.
void BM_MemcpyFrame(benchmark::State& state) {
    const std::vector<std::uint32_t> words = Pattern();
    std::vector<std::uint32_t> copy(words.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), words.data(), words.size() * 4);
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(words.size()) * 4);
}
BENCHMARK(BM_MemcpyFrame);

}  // namespace
