#include "shell/pixel_zoom.h"

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

void EnlargeByFactor(const std::uint32_t* source, std::size_t sourceStride, int x, int y, int width,
                     int height, int factor, std::uint32_t* target, std::size_t targetStride) {
    if (factor < 1 || width <= 0 || height <= 0) return;
    const std::size_t rowBytes = std::size_t(width) * std::size_t(factor) * 4;
    for (int row = 0; row < height; ++row) {
        std::uint32_t* first = target + std::size_t(row) * std::size_t(factor) * targetStride;
        WidenRow(source + std::size_t(y + row) * sourceStride + std::size_t(x), width, factor, first);
        // The other rows of the block repeat the first one.
        for (int r = 1; r < factor; ++r) std::memcpy(first + std::size_t(r) * targetStride, first, rowBytes);
    }
}

int BandRows(int width, int factor) {
    constexpr std::size_t kBandBytes = 256 * 1024;
    const std::size_t rowBytes =
        std::size_t(width > 0 ? width : 1) * std::size_t(factor > 0 ? factor * factor : 1) * 4;
    return int(kBandBytes / rowBytes > 0 ? kBandBytes / rowBytes : 1);
}

}  // namespace vx::shell
