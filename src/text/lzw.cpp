#include "text/lzw.h"

namespace {

// A dictionary entry costs a constant whatever the length of its string: the string is its prefix
// code's string followed by one byte, so hostile streams that build long strings cannot blow up memory.
struct Entry {
    std::uint64_t prefix;
    std::uint32_t length;
    std::uint8_t last;
    std::uint8_t first;
};

}  // namespace

std::vector<std::uint8_t> LzwDecode(std::span<const std::uint64_t> codes) {
    std::vector<std::uint8_t> out;
    if (codes.empty()) return out;

    std::vector<Entry> dictionary;  // codes 256 and up; codes below stand for their own byte
    dictionary.reserve(codes.size());
    auto lengthOf = [&](std::uint64_t code) -> std::uint32_t {
        return code < 256 ? 1 : dictionary[code - 256].length;
    };
    auto firstOf = [&](std::uint64_t code) -> std::uint8_t {
        return code < 256 ? std::uint8_t(code) : dictionary[code - 256].first;
    };
    // Writes the string of `code` at the end of the output, walking the prefix chain backwards.
    auto emit = [&](std::uint64_t code) -> bool {
        std::uint32_t length = lengthOf(code);
        if (out.size() + length > vx::kLzwOutputLimit) return false;
        std::size_t at = out.size() + length;
        out.resize(at);
        while (code >= 256) {
            const Entry& e = dictionary[code - 256];
            out[--at] = e.last;
            code = e.prefix;
        }
        out[--at] = std::uint8_t(code);
        return true;
    };

    std::uint64_t previous = codes[0] & 0xFF;
    out.push_back(std::uint8_t(previous));
    for (std::size_t i = 1; i < codes.size(); ++i) {
        std::uint64_t code = codes[i];
        std::uint64_t next = 256 + dictionary.size();
        std::uint8_t first;
        if (code < next) {
            first = firstOf(code);
        } else if (code == next) {
            first = firstOf(previous);
        } else {
            return {};
        }
        dictionary.push_back({previous, lengthOf(previous) + 1, first, firstOf(previous)});
        if (!emit(code)) return {};
        previous = code;
    }
    return out;
}
