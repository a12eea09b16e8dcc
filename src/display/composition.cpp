#include "display/composition.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <mutex>
#include <string>

#include "core/clock.h"
#include "core/log.h"
#include "core/state.h"
#include "display/window.h"
#include "graphics/palette.h"
#include "graphics/pixel_access.h"

namespace {

using vx::PaletteWord;

// Two neighbouring pixels in the order they lie in memory, as one 64-bit store.
constexpr std::uint64_t PixelPair(std::uint32_t first, std::uint32_t second) {
    if constexpr (std::endian::native == std::endian::little)
        return std::uint64_t(first) | std::uint64_t(second) << 32;
    else
        return std::uint64_t(first) << 32 | std::uint64_t(second);
}

// One byte of a 4-bit block, high nibble first, as two finished pixels.
constexpr std::array<std::uint64_t, 256> kNibblePairs = [] {
    std::array<std::uint64_t, 256> table{};
    for (int b = 0; b < 256; ++b) table[b] = PixelPair(PaletteWord(b >> 4), PaletteWord(b & 15));
    return table;
}();

// One byte of a 1-bit block, most significant bit first, as eight finished pixels.
constexpr std::array<std::array<std::uint32_t, 8>, 256> kBitOctets = [] {
    std::array<std::array<std::uint32_t, 8>, 256> table{};
    for (int b = 0; b < 256; ++b)
        for (int i = 0; i < 8; ++i) table[b][i] = PaletteWord((b >> (7 - i)) & 1 ? 15 : 0);
    return table;
}();

constexpr std::uint32_t Grey(std::uint8_t g) {
    return 0xFF000000u | std::uint32_t(g) * 0x010101u;
}
constexpr std::uint32_t Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return 0xFF000000u | std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
}

// Groups of eight pixels with a fixed count let the compiler turn each group into vector code.
template <int Bytes, class Pixel>
void Expand(const std::uint8_t* src, std::int64_t pixels, std::uint32_t* dst, Pixel pixel) {
    std::int64_t i = 0;
    for (; i + 8 <= pixels; i += 8)
        for (int k = 0; k < 8; ++k) dst[i + k] = pixel(src + (i + k) * Bytes);
    for (; i < pixels; ++i) dst[i] = pixel(src + i * Bytes);
}

// Bytes alpha, red, green, blue read as one word and turned around: one load and one swap per pixel.
inline std::uint32_t ArgbBytesToWord(const std::uint8_t* p) {
    std::uint32_t word;
    std::memcpy(&word, p, 4);
    if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap32(word);
    return word | 0xFF000000u;
}

// Bytes red, green, blue and one more, as a word without the extra byte. Needs four readable bytes.
inline std::uint32_t RgbBytesToWord(const std::uint8_t* p) {
    std::uint32_t word;
    std::memcpy(&word, p, 4);
    if constexpr (std::endian::native == std::endian::little)
        word = __builtin_bswap32(word) >> 8;
    else
        word >>= 8;
    return word | 0xFF000000u;
}

// Reads the window's block while the program thread may be drawing into it: by design pixels are not
// synchronised, and an image may show a pixel from before or after a concurrent store. The thread
// checker's suppression file names this function for that reason; keep the name.
void ComposeFromVideoMemory(std::int64_t depth, const std::uint8_t* src, std::int64_t pixels,
                            std::uint32_t* dst) {
    switch (depth) {
        case 1:
            for (std::int64_t i = 0; i < pixels / 8; ++i)
                std::memcpy(dst + 8 * i, kBitOctets[src[i]].data(), 32);
            break;
        case 4:
            for (std::int64_t i = 0; i < pixels / 2; ++i) std::memcpy(dst + 2 * i, &kNibblePairs[src[i]], 8);
            break;
        case 8:
            Expand<1>(src, pixels, dst, [](const std::uint8_t* p) { return Grey(p[0]); });
            break;
        case 16:
            Expand<2>(src, pixels, dst, [](const std::uint8_t* p) { return Grey(p[1]); });
            break;
        case 24: {
            // Four bytes per read: every pixel but the last has a byte of its neighbour after it.
            std::int64_t i = 0;
            for (; i + 1 < pixels; ++i) dst[i] = RgbBytesToWord(src + 3 * i);
            if (i < pixels) dst[i] = Rgb(src[3 * i], src[3 * i + 1], src[3 * i + 2]);
            break;
        }
        default:
            Expand<4>(src, pixels, dst, [](const std::uint8_t* p) { return ArgbBytesToWord(p); });
            break;
    }
}

// A few image buffers per window, reused once nobody but the pool holds them, so that a view showing
// one image while the next is composed costs no allocation per frame.
struct ImagePool {
    std::mutex mutex;
    std::array<std::shared_ptr<vx::WindowImage>, 4> slots;
};

ImagePool& PoolOf(std::uint8_t n) {
    static ImagePool* const pools = new ImagePool[8];
    return pools[n];
}

std::shared_ptr<vx::WindowImage> FreeImage(std::uint8_t n) {
    ImagePool& pool = PoolOf(n);
    std::lock_guard lock(pool.mutex);
    for (auto& slot : pool.slots) {
        // Only holders of the pool's lock copy a slot, so a count of 1 cannot grow behind our back.
        if (slot && slot.use_count() == 1) return slot;
        if (!slot) {
            slot = std::make_shared<vx::WindowImage>();
            return slot;
        }
    }
    return std::make_shared<vx::WindowImage>();
}

std::int64_t Micros(double seconds) {
    return std::int64_t(std::trunc(seconds * 1000000.0));
}

}  // namespace

std::shared_ptr<const vx::WindowImage> t_WindowImage(std::uint8_t window) {
    if (!MemoryInitialised.load(std::memory_order_acquire) || window >= 8) return nullptr;
    t_Window& w = WindowTable[window];
    if (!vx::Load(w.Initialized, std::memory_order_acquire)) {
        vx::Log("t_WindowImage: Graphic window #" + std::to_string(window) + " not initialized.");
        return nullptr;
    }
    if (!vx::Load(w.Visible)) return nullptr;
    const double t0 = vx::AbsoluteTime();

    // One snapshot of the geometry: the program may re-initialise the window or move its block meanwhile,
    // and every byte read below lies inside the block this snapshot describes.
    const std::int64_t depth = vx::Load(w.BitDepth);
    const std::int64_t width = vx::Load(w.Width), height = vx::Load(w.Height);
    const std::int64_t start = vx::Load(w.MemoryStart), end = vx::Load(w.MemoryEnd);
    if (!vx::IsGraphicDepth(depth)) {
        vx::Log("t_WindowImage: Illegal bit depth.");
        return nullptr;
    }
    if (VideoMemory == nullptr || !vx::GraphicBlockFits(depth, width, height, start, end)) return nullptr;

    std::shared_ptr<vx::WindowImage> image = FreeImage(window);
    image->width = int(width);
    image->height = int(height);
    image->pixels.resize(std::size_t(width * height));
    ComposeFromVideoMemory(depth, VideoMemory + start, width * height, image->pixels.data());

    const double t1 = vx::AbsoluteTime();
    vx::Store(w.UpdateDuration, Micros(t1) - Micros(t0));
    vx::Store(w.UpdateFinished, vx::AbsoluteTimeMillis());
    return image;
}
