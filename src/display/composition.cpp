#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <mutex>
#include <string>

#include "core/log.h"
#include "core/state.h"
#include "display/palette.h"
#include "display/pixel_access.h"
#include "display/window.h"
#include "vxtools/core.h"
#include "vxtools/display.h"

#if defined(__x86_64__) && defined(__SSE2__)
#include <immintrin.h>
#define VX_COMPOSE_SIMD 1
#endif

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

#ifdef VX_COMPOSE_SIMD
// Sixteen grey levels as sixteen opaque grey words.
inline void StoreGreys(__m128i g, std::uint32_t* dst) {
    const __m128i gg = _mm_unpacklo_epi8(g, g), ggHigh = _mm_unpackhi_epi8(g, g);
    const __m128i ones = _mm_set1_epi8(char(0xFF));
    const __m128i gf = _mm_unpacklo_epi8(g, ones), gfHigh = _mm_unpackhi_epi8(g, ones);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_unpacklo_epi16(gg, gf));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4), _mm_unpackhi_epi16(gg, gf));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 8), _mm_unpacklo_epi16(ggHigh, gfHigh));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 12), _mm_unpackhi_epi16(ggHigh, gfHigh));
}

// Sixteen pixels per step; returns how many pixels it composed.
std::int64_t GreysSse2(const std::uint8_t* src, std::int64_t pixels, std::uint32_t* dst) {
    std::int64_t i = 0;
    for (; i + 16 <= pixels; i += 16)
        StoreGreys(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i)), dst + i);
    return i;
}

// Pairs (alpha, grey): the grey bytes of sixteen pixels packed, then expanded as above.
std::int64_t AlphaGreysSse2(const std::uint8_t* src, std::int64_t pixels, std::uint32_t* dst) {
    std::int64_t i = 0;
    for (; i + 16 <= pixels; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 2 * i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 2 * i + 16));
        StoreGreys(_mm_packus_epi16(_mm_srli_epi16(a, 8), _mm_srli_epi16(b, 8)), dst + i);
    }
    return i;
}

// Every loop below loads a whole group before it stores any of it. A loop that stores each vector
// right after its load runs at about half the speed on some processors, depending on where the image
// lies relative to the source in memory, because each load waits until the stores before it are known
// not to overlap it.

// Four pixels per shuffle, sixteen per step: four loads at `stride` bytes apart, then four stores.
template <int stride>
__attribute__((target("ssse3"))) inline void ShuffleSixteen(const std::uint8_t* src, __m128i order,
                                                            std::uint32_t* dst) {
    const __m128i opaque = _mm_set1_epi32(std::int32_t(0xFF000000u));
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + stride));
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 2 * stride));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 3 * stride));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_or_si128(_mm_shuffle_epi8(a, order), opaque));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4), _mm_or_si128(_mm_shuffle_epi8(b, order), opaque));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 8), _mm_or_si128(_mm_shuffle_epi8(c, order), opaque));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 12), _mm_or_si128(_mm_shuffle_epi8(d, order), opaque));
}

// Bytes red, green, blue as opaque words. The fourth load of a step reads bytes 36 to 51 of its 48, so
// a step needs two more pixels behind it; the caller finishes the rest.
__attribute__((target("ssse3"))) std::int64_t RgbSsse3(const std::uint8_t* src, std::int64_t pixels,
                                                       std::uint32_t* dst) {
    const __m128i order = _mm_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1);
    std::int64_t i = 0;
    for (; i + 18 <= pixels; i += 16) ShuffleSixteen<12>(src + 3 * i, order, dst + i);
    return i;
}

// Bytes alpha, red, green, blue turned around within each word, alpha replaced by 0xFF.
__attribute__((target("ssse3"))) std::int64_t ArgbSsse3(const std::uint8_t* src, std::int64_t pixels,
                                                        std::uint32_t* dst) {
    const __m128i order = _mm_setr_epi8(3, 2, 1, -1, 7, 6, 5, -1, 11, 10, 9, -1, 15, 14, 13, -1);
    std::int64_t i = 0;
    for (; i + 16 <= pixels; i += 16) ShuffleSixteen<16>(src + 4 * i, order, dst + i);
    return i;
}

// One byte of the palette's words (0 blue, 1 green, 2 red, 3 alpha) for each of the sixteen colours.
inline __m128i PaletteBytes(int byte) {
    alignas(16) std::array<std::uint8_t, 16> bytes{};
    for (int c = 0; c < 16; ++c) bytes[std::size_t(c)] = std::uint8_t(PaletteWord(c) >> (8 * byte));
    return _mm_load_si128(reinterpret_cast<const __m128i*>(bytes.data()));
}

// Thirty-two pixels (sixteen bytes, high nibble first) per step, each byte of their palette words looked
// up by one shuffle; returns how many bytes it composed. Each half of a vector works on its own sixteen
// pixels (0 to 15 and 16 to 31 of the step), and the permutes put the words back in order.
__attribute__((target("avx2"))) std::int64_t NibblesAvx2(const std::uint8_t* src, std::int64_t bytes,
                                                         std::uint32_t* dst) {
    const __m256i blue = _mm256_broadcastsi128_si256(PaletteBytes(0));
    const __m256i green = _mm256_broadcastsi128_si256(PaletteBytes(1));
    const __m256i red = _mm256_broadcastsi128_si256(PaletteBytes(2));
    const __m256i alpha = _mm256_broadcastsi128_si256(PaletteBytes(3));
    const __m128i low = _mm_set1_epi8(0x0F);
    std::int64_t i = 0;
    for (; i + 16 <= bytes; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i high = _mm_and_si128(_mm_srli_epi16(v, 4), low), lowNibbles = _mm_and_si128(v, low);
        const __m256i index =
            _mm256_set_m128i(_mm_unpackhi_epi8(high, lowNibbles), _mm_unpacklo_epi8(high, lowNibbles));
        const __m256i b = _mm256_shuffle_epi8(blue, index), g = _mm256_shuffle_epi8(green, index);
        const __m256i r = _mm256_shuffle_epi8(red, index), a = _mm256_shuffle_epi8(alpha, index);
        const __m256i bg = _mm256_unpacklo_epi8(b, g), ra = _mm256_unpacklo_epi8(r, a);
        const __m256i bgHigh = _mm256_unpackhi_epi8(b, g), raHigh = _mm256_unpackhi_epi8(r, a);
        const __m256i w0 = _mm256_unpacklo_epi16(bg, ra), w1 = _mm256_unpackhi_epi16(bg, ra);
        const __m256i w2 = _mm256_unpacklo_epi16(bgHigh, raHigh), w3 = _mm256_unpackhi_epi16(bgHigh, raHigh);
        std::uint32_t* out = dst + 2 * i;
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_permute2x128_si256(w0, w1, 0x20));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 8), _mm256_permute2x128_si256(w2, w3, 0x20));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 16), _mm256_permute2x128_si256(w0, w1, 0x31));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 24), _mm256_permute2x128_si256(w2, w3, 0x31));
    }
    return i;
}

bool HasSsse3() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("ssse3") != 0;
    }();
    return has;
}

bool HasAvx2() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}
#endif

// Reads the window's block while the program thread may be drawing into it: by design pixels are not
// synchronised, and an image may show a pixel from before or after a concurrent store. The thread
// checker's suppression file names this function for that reason; keep the name. The vector helpers
// compose the leading whole groups; the scalar loops below finish what they leave.
void ComposeFromVideoMemory(std::int64_t depth, const std::uint8_t* src, std::int64_t pixels,
                            std::uint32_t* dst) {
    vx::DispatchDepth(depth, [&](auto d) {
        [[maybe_unused]] std::int64_t i = 0;
        if constexpr (d() == 1) {
            for (; i < pixels / 8; ++i) std::memcpy(dst + 8 * i, kBitOctets[src[i]].data(), 32);
        } else if constexpr (d() == 4) {
#ifdef VX_COMPOSE_SIMD
            if (HasAvx2()) i = NibblesAvx2(src, pixels / 2, dst);
#endif
            // Eight bytes a step, each group looked up before any of it is stored, as the vector loops do.
            for (; i + 8 <= pixels / 2; i += 8) {
                const std::uint64_t p0 = kNibblePairs[src[i]], p1 = kNibblePairs[src[i + 1]];
                const std::uint64_t p2 = kNibblePairs[src[i + 2]], p3 = kNibblePairs[src[i + 3]];
                const std::uint64_t p4 = kNibblePairs[src[i + 4]], p5 = kNibblePairs[src[i + 5]];
                const std::uint64_t p6 = kNibblePairs[src[i + 6]], p7 = kNibblePairs[src[i + 7]];
                std::memcpy(dst + 2 * i, &p0, 8);
                std::memcpy(dst + 2 * i + 2, &p1, 8);
                std::memcpy(dst + 2 * i + 4, &p2, 8);
                std::memcpy(dst + 2 * i + 6, &p3, 8);
                std::memcpy(dst + 2 * i + 8, &p4, 8);
                std::memcpy(dst + 2 * i + 10, &p5, 8);
                std::memcpy(dst + 2 * i + 12, &p6, 8);
                std::memcpy(dst + 2 * i + 14, &p7, 8);
            }
            for (; i < pixels / 2; ++i) std::memcpy(dst + 2 * i, &kNibblePairs[src[i]], 8);
        } else if constexpr (d() == 8) {
#ifdef VX_COMPOSE_SIMD
            i = GreysSse2(src, pixels, dst);
#endif
            for (; i < pixels; ++i) dst[i] = Grey(src[i]);
        } else if constexpr (d() == 16) {
#ifdef VX_COMPOSE_SIMD
            i = AlphaGreysSse2(src, pixels, dst);
#endif
            for (; i < pixels; ++i) dst[i] = Grey(src[2 * i + 1]);
        } else if constexpr (d() == 24) {
#ifdef VX_COMPOSE_SIMD
            if (HasSsse3()) i = RgbSsse3(src, pixels, dst);
#endif
            // Four bytes per read: every pixel but the last has a byte of its neighbour after it.
            for (; i + 1 < pixels; ++i) dst[i] = RgbBytesToWord(src + 3 * i);
            if (i < pixels) dst[i] = Rgb(src[3 * i], src[3 * i + 1], src[3 * i + 2]);
        } else {
#ifdef VX_COMPOSE_SIMD
            if (HasSsse3()) i = ArgbSsse3(src, pixels, dst);
#endif
            for (; i < pixels; ++i) dst[i] = ArgbBytesToWord(src + 4 * i);
        }
    });
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
