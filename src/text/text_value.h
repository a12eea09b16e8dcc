// Text: a byte string with value semantics, for programs that keep character codes as bytes.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

struct Text {
    std::vector<std::uint8_t> Elements;

    friend bool operator==(const Text&, const Text&) = default;
    // Byte by byte; a proper prefix sorts before the longer string.
    friend std::strong_ordering operator<=>(const Text& a, const Text& b) {
        const std::size_t common =
            a.Elements.size() < b.Elements.size() ? a.Elements.size() : b.Elements.size();
        for (std::size_t i = 0; i < common; ++i)
            if (a.Elements[i] != b.Elements[i]) return a.Elements[i] <=> b.Elements[i];
        return a.Elements.size() <=> b.Elements.size();
    }
};

template <>
struct std::hash<Text> {
    // The element count goes in first, so that strings of zero bytes of different lengths differ.
    std::size_t operator()(const Text& text) const noexcept {
        std::uint64_t h = 14695981039346656037ull;
        auto feed = [&h](std::uint8_t byte) {
            h ^= byte;
            h *= 1099511628211ull;
        };
        std::uint64_t count = text.Elements.size();
        for (int i = 0; i < 8; ++i) feed(std::uint8_t(count >> (8 * i)));
        for (std::uint8_t byte : text.Elements) feed(byte);
        return std::size_t(h);
    }
};
