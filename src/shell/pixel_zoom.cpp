#include "shell/pixel_zoom.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace vx::shell {

namespace {

// The factor as a template argument lets the compiler unroll the inner store for the common factors.
template <int K>
void WidenRow(const std::uint32_t* in, int width, std::uint32_t* out) {
    for (int i = 0; i < width; ++i) {
        const std::uint32_t word = in[i];
        for (int j = 0; j < K; ++j) out[j] = word;
        out += K;
    }
}

void WidenRow(const std::uint32_t* in, int width, int factor, std::uint32_t* out) {
    switch (factor) {
        case 1:
            std::memcpy(out, in, std::size_t(width) * 4);
            return;
        case 2:
            return WidenRow<2>(in, width, out);
        case 3:
            return WidenRow<3>(in, width, out);
        case 4:
            return WidenRow<4>(in, width, out);
        default:
            for (int i = 0; i < width; ++i)
                for (int j = 0; j < factor; ++j) *out++ = in[i];
    }
}

}  // namespace

void EnlargePart(const std::uint32_t* source, std::size_t sourceStride, int factor, int left, int top,
                 int width, int height, std::uint32_t* target, std::size_t targetStride) {
    if (factor < 1 || width <= 0 || height <= 0 || left < 0 || top < 0) return;
    const std::size_t rowBytes = std::size_t(width) * 4;
    for (int row = 0; row < height; ++row) {
        std::uint32_t* out = target + std::size_t(row) * targetStride;
        // A row inside the same block as the one above repeats it.
        if (row > 0 && (top + row) % factor != 0) {
            std::memcpy(out, out - targetStride, rowBytes);
            continue;
        }
        const std::uint32_t* in = source + std::size_t((top + row) / factor) * sourceStride;
        int column = left / factor, done = 0;
        // The rest of a block cut at the left edge, the whole blocks, then the start of one cut at the right.
        if (const int into = left % factor; into != 0) {
            done = std::min(factor - into, width);
            std::fill(out, out + done, in[column++]);
        }
        const int whole = (width - done) / factor;
        WidenRow(in + column, whole, factor, out + done);
        done += whole * factor;
        if (done < width) std::fill(out + done, out + width, in[column + whole]);
    }
}

// Whole blocks are the part of the enlargement that starts and ends on blocks' edges.
void EnlargeByFactor(const std::uint32_t* source, std::size_t sourceStride, int x, int y, int width,
                     int height, int factor, std::uint32_t* target, std::size_t targetStride) {
    EnlargePart(source, sourceStride, factor, x * factor, y * factor, width * factor, height * factor, target,
                targetStride);
}

int BandRows(int width, int factor) {
    constexpr std::size_t kBandBytes = 256 * 1024;
    const std::size_t rowBytes =
        std::size_t(width > 0 ? width : 1) * std::size_t(factor > 0 ? factor * factor : 1) * 4;
    return int(kBandBytes / rowBytes > 0 ? kBandBytes / rowBytes : 1);
}

namespace {

// The image the painter writes into when that is an image of 32-bit words it owns alone, else null.
QImage* WordImage(QPainter& painter) {
    QPaintEngine* engine = painter.paintEngine();
    QPaintDevice* device = engine != nullptr ? engine->paintDevice() : nullptr;
    if (device == nullptr || device->devType() != QInternal::Image) return nullptr;
    auto* image = static_cast<QImage*>(device);
    const QImage::Format format = image->format();
    const bool words = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
                       format == QImage::Format_ARGB32_Premultiplied;
    // A shared image would be copied by bits(), and the copy would not be the one on the screen.
    return words && image->isDetached() ? image : nullptr;
}

}  // namespace

void PaintEnlarged(QPainter& painter, const std::uint32_t* words, int width, int height, int factor,
                   double ratio, const QRect& exposed, std::vector<std::uint32_t>& scratch) {
    const QRect picture(0, 0, width * factor, height * factor);
    const QRect part = exposed & picture;
    if (factor < 2 || part.isEmpty()) return;
    const QTransform move = painter.deviceTransform();
    QImage* image = painter.hasClipping() ? nullptr : WordImage(painter);
    if (image != nullptr && move.type() <= QTransform::TxScale && move.m11() == ratio &&
        move.m22() == ratio && move.dx() == std::round(move.dx()) && move.dy() == std::round(move.dy())) {
        const QPoint origin(int(move.dx()), int(move.dy()));
        // Only where this paint may draw: the system clip is empty when it allows the whole device.
        const QRegion clip = painter.paintEngine()->systemClip();
        QRegion region = QRegion(part.translated(origin)) & image->rect();
        if (!clip.isEmpty()) region &= clip;
        auto* bits = reinterpret_cast<std::uint32_t*>(image->bits());
        const auto stride = std::size_t(image->bytesPerLine() / 4);
        for (const QRect& r : region)
            EnlargePart(words, std::size_t(width), factor, r.x() - origin.x(), r.y() - origin.y(), r.width(),
                        r.height(), bits + std::size_t(r.y()) * stride + std::size_t(r.x()), stride);
        return;
    }
    // Band by band, so that each enlarged band is still in the cache when it is copied out.
    const int x0 = part.left() / factor, x1 = part.right() / factor + 1;
    const int y0 = part.top() / factor, y1 = part.bottom() / factor + 1;
    const int w = (x1 - x0) * factor;
    const int band = BandRows(x1 - x0, factor);
    scratch.resize(std::size_t(w) * std::size_t(band) * std::size_t(factor));
    for (int y = y0; y < y1; y += band) {
        const int rows = std::min(band, y1 - y);
        EnlargeByFactor(words, std::size_t(width), x0, y, x1 - x0, rows, factor, scratch.data(),
                        std::size_t(w));
        QImage enlarged(reinterpret_cast<const uchar*>(scratch.data()), w, rows * factor, qsizetype(w) * 4,
                        QImage::Format_RGB32);
        enlarged.setDevicePixelRatio(ratio);
        // Of the whole blocks only what lies in the exposed part, as the direct path writes.
        const QRect band(x0 * factor, y * factor, w, rows * factor);
        const QRect drawn = part & band;
        painter.drawImage(QPointF(drawn.x() / ratio, drawn.y() / ratio), enlarged,
                          QRectF(drawn.translated(-band.topLeft())));
    }
}

}  // namespace vx::shell
