// Reading a PNG file into a graphic window, row by row, with memory bounded by the window's width.
#include <fcntl.h>
#include <spng.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/log.h"
#include "core/state.h"
#include "display/picture_file.h"
#include "display/pixel_access.h"
#include "display/window.h"
#include "graphics/spans.h"
#include "vxtools/extensions.h"

namespace vx {
namespace {

// Ancillary chunks are never used here, but the decoder reads (and inflates) those before the image
// data: these bounds keep a small hostile file from costing gigabytes.
constexpr std::size_t kChunkLimit = std::size_t(8) << 20;
constexpr std::size_t kCacheLimit = std::size_t(8) << 20;

bool Fail(const std::string& line, const char* reason) {
    Log("LoadPicture: " + line);
    SetPictureError(reason);
    return false;
}

// Where the pixels of a row of interlacing pass `pass` go: the first column and the step (Adam7).
void PassColumns(int pass, std::int64_t& first, std::int64_t& step) {
    static constexpr int kFirst[7] = {0, 4, 0, 2, 0, 1, 0}, kStep[7] = {8, 8, 4, 4, 2, 2, 1};
    first = pass >= 0 && pass < 7 ? kFirst[pass] : 0;
    step = pass >= 0 && pass < 7 ? kStep[pass] : 1;
}

// Pixels `first`, `first + step`, ... of a decoded RGBA row, stored at window row y from column x on,
// clipped to the window.
template <int Depth>
void StoreRow(const PixelTarget& t, const std::uint8_t* rgba, std::int64_t pictureWidth, std::int64_t first,
              std::int64_t step, std::int64_t x, std::int64_t y) {
    if (y < 0 || y >= t.height) return;
    std::uint32_t lastIn = 0, lastOut = 0;
    bool have = false;
    for (std::int64_t px = first; px < pictureWidth; px += step) {
        const std::int64_t wx = x + px;
        if (wx < 0) continue;
        if (wx >= t.width) break;
        const std::uint8_t* p = rgba + 4 * px;
        const std::uint32_t in =
            p[0] | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
        // Pictures repeat colours along a row: the last conversion spares 4-bit windows the palette search.
        if (!have || in != lastIn) {
            lastIn = in;
            lastOut = RgbaToRaw<Depth>(Rgba{p[0], p[1], p[2], p[3]});
            have = true;
        }
        WriteRaw<Depth>(t, wx, y, lastOut);
    }
}

}  // namespace

bool LoadPicture(std::uint8_t window, const std::string& path, std::int64_t x, std::int64_t y,
                 PictureSize* size) {
    if (!GraphicWindowReady(window)) {
        CheckWindow("LoadPicture", window, false, true);
        SetPictureError(window >= 8 ? "not a graphic window" : "window not initialized");
        return false;
    }
    PixelTarget t;
    if (!MakePixelTarget(WindowTable[window], t))
        return Fail("Graphic window #" + std::to_string(window) + " has no picture.", "no picture");

    // Non-blocking, so that a FIFO or a device never holds the caller; only regular files are read.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return Fail("File " + path + " could not be opened.", "not readable");
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return Fail("File " + path + " is not a regular file.", "not a regular file");
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(fdopen(fd, "rb"), std::fclose);
    if (!file) {
        close(fd);
        return Fail("File " + path + " could not be opened.", "not readable");
    }
    std::unique_ptr<spng_ctx, void (*)(spng_ctx*)> context(spng_ctx_new(0), spng_ctx_free);
    spng_ctx* ctx = context.get();
    spng_ihdr header{};
    if (ctx == nullptr || spng_set_png_file(ctx, file.get()) != 0 ||
        spng_set_chunk_limits(ctx, kChunkLimit, kCacheLimit) != 0 || spng_get_ihdr(ctx, &header) != 0)
        return Fail("File " + path + " is not a PNG picture.", "not a PNG picture");
    if (header.width > std::uint64_t(t.width) || header.height > std::uint64_t(t.height))
        return Fail("Picture " + path + " (" + std::to_string(header.width) + " x " +
                        std::to_string(header.height) + " pixel) is larger than graphic window #" +
                        std::to_string(window) + " (" + std::to_string(t.width) + " x " +
                        std::to_string(t.height) + ").",
                    "too large");
    if (size != nullptr) *size = PictureSize{header.width, header.height};
    // A picture placed wholly beside the window is still read, to report damage, but draws nothing.
    const bool visible =
        x > -std::int64_t(header.width) && x < t.width && y > -std::int64_t(header.height) && y < t.height;

    const auto damaged = [&](int error) {
        const bool limit = error == SPNG_ECHUNK_LIMITS || error == SPNG_EMEM || error == SPNG_ECHUNK_SIZE;
        return Fail("Picture " + path + " is damaged (" + spng_strerror(error) + ").",
                    limit ? "too large" : "damaged");
    };
    int error =
        spng_decode_image(ctx, nullptr, 0, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE);
    if (error != 0) return damaged(error);
    // One row of the picture, never more: its width is at most the window's.
    std::vector<std::uint8_t> row(std::size_t(header.width) * 4);
    while (error == 0) {
        spng_row_info info{};
        if ((error = spng_get_row_info(ctx, &info)) != 0) break;
        error = spng_decode_row(ctx, row.data(), row.size());
        if (error != 0 && error != SPNG_EOI) break;
        std::int64_t first = 0, step = 1;
        if (header.interlace_method != 0) PassColumns(info.pass, first, step);
        if (!visible) continue;
        DispatchDepth(t.depth, [&](auto depth) {
            StoreRow<depth()>(t, row.data(), header.width, first, step, x, y + std::int64_t(info.row_num));
        });
    }
    if (error != SPNG_EOI) return damaged(error);
    SetPictureError("");
    return true;
}

}  // namespace vx
