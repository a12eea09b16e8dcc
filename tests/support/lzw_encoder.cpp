#include "support/lzw_encoder.h"

#include <unordered_map>

namespace vx::test {

std::vector<std::uint64_t> LzwEncode(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint64_t> codes;
    if (bytes.empty()) return codes;
    std::unordered_map<std::uint64_t, std::uint64_t> dictionary;  // (prefix code << 8 | byte) -> code
    std::uint64_t next = 256, current = bytes[0];
    for (std::size_t i = 1; i < bytes.size(); ++i) {
        const std::uint64_t key = current << 8 | bytes[i];
        if (const auto found = dictionary.find(key); found != dictionary.end()) {
            current = found->second;
        } else {
            codes.push_back(current);
            dictionary.emplace(key, next++);
            current = bytes[i];
        }
    }
    codes.push_back(current);
    return codes;
}

std::vector<std::uint8_t> PackCodes(std::span<const std::uint64_t> codes, int width) {
    std::vector<std::uint8_t> out;
    std::uint8_t byte = 0;
    int bits = 0;
    for (std::uint64_t code : codes)
        for (int bit = width - 1; bit >= 0; --bit) {
            byte = std::uint8_t(byte << 1 | ((code >> bit) & 1u));  // the oldest bit falls out
            if (++bits % 8 == 0) out.push_back(byte);
        }
    if (bits % 8 > 0) out.push_back(std::uint8_t(byte << (8 - bits % 8)));
    return out;
}

t_Font CompressFont(const t_Font& font, int width) {
    t_Font compressed = font;
    compressed.Format = font.Format == 2 ? 102 : 100;
    std::vector<std::uint64_t> codes = LzwEncode(font.Data);
    int needed = 9;  // the bits the highest code needs, at least 9
    for (std::uint64_t code : codes)
        while (needed < 64 && (code >> needed) != 0) ++needed;
    if (width == 0) width = needed;
    compressed.Data.assign(1, std::uint8_t(width));
    std::vector<std::uint8_t> packed = PackCodes(codes, width);
    compressed.Data.insert(compressed.Data.end(), packed.begin(), packed.end());
    if (font.Data.empty()) compressed.Data.clear();
    return compressed;
}

}  // namespace vx::test
