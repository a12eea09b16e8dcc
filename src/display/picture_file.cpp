#include "display/picture_file.h"

#include <spng.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "core/log.h"
#include "core/program.h"
#include "vxtools/display.h"

namespace vx {

namespace {

thread_local std::string pictureError;

struct Palette {
    std::vector<std::uint32_t> colours;
    std::vector<std::uint8_t> indices;  // one per pixel
};

// The image's colours in order of first appearance, and each pixel's index; false above 256 colours.
bool CollectPalette(const WindowImage& image, Palette& palette) {
    const std::size_t count = std::size_t(image.width) * std::size_t(image.height);
    palette.indices.resize(count);
    std::uint32_t previous = 0;
    std::uint8_t previousIndex = 0;
    bool havePrevious = false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t word = image.pixels[i];
        // Runs of one colour are the rule in these pictures, so the last answer is tried first.
        if (!havePrevious || word != previous) {
            std::size_t k = 0;
            while (k < palette.colours.size() && palette.colours[k] != word) ++k;
            if (k == palette.colours.size()) {
                if (k == 256) return false;
                palette.colours.push_back(word);
            }
            previous = word;
            previousIndex = std::uint8_t(k);
            havePrevious = true;
        }
        palette.indices[i] = previousIndex;
    }
    return true;
}

int PaletteDepth(std::size_t colours) {
    if (colours <= 2) return 1;
    if (colours <= 4) return 2;
    if (colours <= 16) return 4;
    return 8;
}

// Rows packed as PNG wants them: the leftmost pixel in the high bits of a byte, rows start on a byte.
std::vector<std::uint8_t> PackIndices(const Palette& palette, int width, int height, int depth,
                                      std::size_t& rowBytes) {
    rowBytes = (std::size_t(width) * std::size_t(depth) + 7) / 8;
    std::vector<std::uint8_t> packed(rowBytes * std::size_t(height), 0);
    const int perByte = 8 / depth;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = palette.indices.data() + std::size_t(y) * std::size_t(width);
        std::uint8_t* dst = packed.data() + std::size_t(y) * rowBytes;
        for (int x = 0; x < width; ++x) {
            const int shift = 8 - depth * (x % perByte + 1);
            dst[x / perByte] |= std::uint8_t(src[x] << shift);
        }
    }
    return packed;
}

std::vector<std::uint8_t> RgbBytes(const WindowImage& image) {
    const std::size_t count = std::size_t(image.width) * std::size_t(image.height);
    std::vector<std::uint8_t> rgb(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t word = image.pixels[i];
        rgb[3 * i] = std::uint8_t(word >> 16);
        rgb[3 * i + 1] = std::uint8_t(word >> 8);
        rgb[3 * i + 2] = std::uint8_t(word);
    }
    return rgb;
}

struct Encoder {
    spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
    ~Encoder() { spng_ctx_free(ctx); }
};

int Encode(const WindowImage& image, std::FILE* file) {
    Encoder encoder;
    if (encoder.ctx == nullptr) return SPNG_EMEM;
    int error = spng_set_png_file(encoder.ctx, file);
    if (error != 0) return error;
    spng_ihdr header{};
    header.width = std::uint32_t(image.width);
    header.height = std::uint32_t(image.height);
    std::vector<std::uint8_t> data;
    Palette palette;
    if (CollectPalette(image, palette)) {
        const int depth = PaletteDepth(palette.colours.size());
        header.bit_depth = std::uint8_t(depth);
        header.color_type = SPNG_COLOR_TYPE_INDEXED;
        spng_plte plte{};
        plte.n_entries = std::uint32_t(palette.colours.size());
        for (std::size_t k = 0; k < palette.colours.size(); ++k) {
            plte.entries[k].red = std::uint8_t(palette.colours[k] >> 16);
            plte.entries[k].green = std::uint8_t(palette.colours[k] >> 8);
            plte.entries[k].blue = std::uint8_t(palette.colours[k]);
        }
        std::size_t rowBytes = 0;
        data = PackIndices(palette, image.width, image.height, depth, rowBytes);
        if ((error = spng_set_ihdr(encoder.ctx, &header)) != 0) return error;
        if ((error = spng_set_plte(encoder.ctx, &plte)) != 0) return error;
        // Filters rarely help indexed rows; skipping the choice halves the time.
        spng_set_option(encoder.ctx, SPNG_FILTER_CHOICE, SPNG_DISABLE_FILTERING);
    } else {
        header.bit_depth = 8;
        header.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
        data = RgbBytes(image);
        if ((error = spng_set_ihdr(encoder.ctx, &header)) != 0) return error;
    }
    return spng_encode_image(encoder.ctx, data.data(), data.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
}

}  // namespace

const std::string& PictureError() {
    return pictureError;
}

void SetPictureError(std::string reason) {
    pictureError = std::move(reason);
}

bool WritePng(const WindowImage& image, const std::string& path) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() < std::size_t(image.width) * std::size_t(image.height)) {
        Log("WritePng: Image is empty or incomplete.");
        SetPictureError("no picture");
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        Log("WritePng: File " + path + " could not be opened.");
        SetPictureError("not writable");
        return false;
    }
    const int error = Encode(image, file);
    const bool closed = std::fclose(file) == 0;
    if (error != 0 || !closed) {
        std::remove(path.c_str());
        Log("WritePng: File " + path + " could not be written" +
            (error != 0 ? std::string(" (") + spng_strerror(error) + ")." : std::string(".")));
        SetPictureError("could not be written");
        return false;
    }
    SetPictureError("");
    return true;
}

bool SavePicture(std::uint8_t window, const std::string& path) {
    if (window >= 8) {
        Log("SavePicture: Window is not a graphic window.");
        SetPictureError("not a graphic window");
        return false;
    }
    // Composed where the views compose, so that it never races a view for the window's buffers.
    const std::shared_ptr<const WindowImage> image =
        OnUserInterfaceThread([window] { return t_WindowImage(window); });
    if (!image) {
        Log("SavePicture: Window #" + std::to_string(window) + " has no picture.");
        SetPictureError("no picture");
        return false;
    }
    return WritePng(*image, path);
}

}  // namespace vx
