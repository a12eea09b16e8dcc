// The view's paint path: the composed words wrapped as an RGB32 image and drawn over the view, at the
// window's own size and stretched to twice it, beside a plain copy of the same bytes; the zoom paths
// (whole factors enlarged by word copies, fit reduced by area averaging) beside a copy of the output
// frame's bytes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

// Without the Qt layer in the build only the baseline remains.
#if __has_include(<QImage>)
#define VX_HAVE_QT 1
#include <QImage>
#include <QPainter>

#include "shell/pixel_zoom.h"
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
    target.fill(0);
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
    target.fill(0);
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

// The view's path at a whole factor, drawing the whole picture into an image as the raster engine does
// into the window's backing store.
void BM_ViewPaintWholeFactor(benchmark::State& state) {
    const int k = int(state.range(0));
    const std::vector<std::uint32_t> words = Pattern();
    const int side = kSide * k;
    std::vector<std::uint32_t> scratch;
    // Touched once before the loop, as a window's backing store is and as the baseline's vectors are.
    QImage target(side, side, QImage::Format_RGB32);
    target.fill(0);
    for (auto _ : state) {
        QPainter painter(&target);
        vx::shell::PaintEnlarged(painter, words.data(), kSide, kSide, k, 1.0, QRect(0, 0, side, side),
                                 scratch);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(side) * side * 4);
}
BENCHMARK(BM_ViewPaintWholeFactor)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

// Fit to screen: the 1024 x 1024 frame reduced to 700 x 700 by area averaging.
void BM_ViewPaintFitReduction(benchmark::State& state) {
    const std::vector<std::uint32_t> words = Pattern();
    for (auto _ : state) {
        const QImage image(reinterpret_cast<const uchar*>(words.data()), kSide, kSide, kSide * 4,
                           QImage::Format_RGB32);
        QImage reduced = image.scaled(700, 700, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        benchmark::DoNotOptimize(reduced.constBits());
    }
}
BENCHMARK(BM_ViewPaintFitReduction)->Unit(benchmark::kMicrosecond);
#endif

// Baseline for the whole factors: copying the output frame's bytes (factor² × 4 MiB).
void BM_MemcpyOutputFrame(benchmark::State& state) {
    const std::size_t bytes = std::size_t(kSide) * kSide * 4 * std::size_t(state.range(0) * state.range(0));
    std::vector<std::uint8_t> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(bytes));
}
BENCHMARK(BM_MemcpyOutputFrame)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

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
