#include "text/font.h"

#include "text/lzw.h"

std::vector<std::uint64_t> UnpackCodes(std::span<const std::uint8_t> bytes, std::int64_t width) {
    std::vector<std::uint64_t> codes;
    if (width < 1 || width > 64) return codes;
    codes.reserve(bytes.size() * 8 / std::size_t(width));
    std::uint64_t accumulator = 0;
    std::int64_t bits = 0;
    for (std::uint8_t byte : bytes) {
        for (int bit = 7; bit >= 0; --bit) {
            accumulator = (accumulator << 1) | ((byte >> bit) & 1u);
            if (++bits == width) {
                codes.push_back(accumulator);
                accumulator = 0;
                bits = 0;
            }
        }
    }
    return codes;
}

t_Font ExpandFont(const t_Font& font) {
    if (font.Format != kFontCompressed && font.Format != kFontCompressedGrey) return font;
    t_Font expanded = font;
    expanded.Format = font.Format == kFontCompressed ? kFontUncompressed : kFontUncompressedGrey;
    if (!font.Data.empty()) {
        std::span<const std::uint8_t> stream(font.Data);
        expanded.Data = LzwDecode(UnpackCodes(stream.subspan(1), font.Data[0]));
    }
    return expanded;
}
