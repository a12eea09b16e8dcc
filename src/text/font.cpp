#include "text/font.h"

#include "core/log.h"
#include "text/lzw.h"

namespace {

// How many codes of `width` bits the bytes hold; 0 for a width outside 1..64.
std::size_t CodeCount(std::span<const std::uint8_t> bytes, std::int64_t width) {
    if (width < 1 || width > 64) return 0;
    return bytes.size() * 8 / std::size_t(width);
}

// Calls `take` with each code in turn until it returns false.
template <class Take>
void ForEachCode(std::span<const std::uint8_t> bytes, std::int64_t width, Take take) {
    std::uint64_t accumulator = 0;
    std::int64_t bits = 0;
    for (std::uint8_t byte : bytes) {
        for (int bit = 7; bit >= 0; --bit) {
            accumulator = (accumulator << 1) | ((byte >> bit) & 1u);
            if (++bits == width) {
                if (!take(accumulator)) return;
                accumulator = 0;
                bits = 0;
            }
        }
    }
}

}  // namespace

std::vector<std::uint64_t> UnpackCodes(std::span<const std::uint8_t> bytes, std::int64_t width) {
    std::vector<std::uint64_t> codes;
    const std::size_t count = CodeCount(bytes, width);
    if (count == 0 || count > vx::kLzwOutputLimit) return codes;
    codes.reserve(count);
    ForEachCode(bytes, width, [&](std::uint64_t code) {
        codes.push_back(code);
        return true;
    });
    return codes;
}

t_Font ExpandFont(const t_Font& font) {
    if (font.Format != kFontCompressed && font.Format != kFontCompressedGrey) return font;
    t_Font expanded = font;
    expanded.Format = font.Format == kFontCompressed ? kFontUncompressed : kFontUncompressedGrey;
    if (!font.Data.empty()) {
        std::span<const std::uint8_t> stream(font.Data);
        // Decoded straight from the bits: no list of codes, which would be eight bytes per code.
        const std::span<const std::uint8_t> bits = stream.subspan(1);
        const std::int64_t width = font.Data[0];
        const std::size_t count = CodeCount(bits, width);
        vx::LzwDecoder decoder(count);
        if (count > 0) ForEachCode(bits, width, [&](std::uint64_t code) { return decoder.Add(code); });
        expanded.Data = decoder.Finish();
    }
    return expanded;
}

t_Font vx::BuildFont(int width, int height,
                     const std::function<std::uint8_t(int code, int x, int row)>& pixel) {
    if (width < 1 || width > 64 || height < 1 || height > 64) {
        vx::Log("BuildFont: Cell size " + std::to_string(width) + " x " + std::to_string(height) +
                " is not within 1..64.");
        return t_Font{};
    }
    if (!pixel) {
        vx::Log("BuildFont: No pixel function.");
        return t_Font{};
    }
    t_Font font;
    font.Format = kFontUncompressedGrey;
    font.Start = 0;
    font.End = 255;
    font.Width = width;
    font.Height = height;
    font.Data.resize(std::size_t(256 * width * height));
    std::size_t i = 0;
    for (int code = 0; code < 256; ++code)
        for (int row = 0; row < height; ++row)
            for (int x = 0; x < width; ++x) font.Data[i++] = pixel(code, x, row);
    return font;
}
