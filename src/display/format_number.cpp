#include "display/format_number.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "core/strings.h"

namespace {

constexpr std::int64_t kMaxPadding = 1 << 16;

// Shortest round-trip form, "." replaced by ",", without a trailing ",0".
std::string ShortestForm(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    for (char& c : text)
        if (c == '.') c = ',';
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, ",0") == 0) text.resize(text.size() - 2);
    return text;
}

// Rewrites "m,mmme±x" in plain positional notation.
std::string WithoutExponent(const std::string& text) {
    const auto e = text.find_first_of("eE");
    if (e == std::string::npos) return text;
    std::string mantissa = text.substr(0, e);
    const long exponent = std::strtol(text.c_str() + e + 1, nullptr, 10);
    std::string sign;
    if (!mantissa.empty() && mantissa[0] == '-') {
        sign = "-";
        mantissa.erase(0, 1);
    }
    const auto comma = mantissa.find(',');
    std::string digits = mantissa;
    long point = long(mantissa.size());
    if (comma != std::string::npos) {
        digits.erase(comma, 1);
        point = long(comma);
    }
    point += exponent;
    std::string integer, fraction;
    if (point <= 0) {
        integer = "0";
        fraction = std::string(std::size_t(-point), '0') + digits;
    } else if (point >= long(digits.size())) {
        integer = digits + std::string(std::size_t(point - long(digits.size())), '0');
    } else {
        integer = digits.substr(0, std::size_t(point));
        fraction = digits.substr(std::size_t(point));
    }
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    return sign + integer + (fraction.empty() ? "" : "," + fraction);
}

}  // namespace

std::string FormatNumber(double value, std::int64_t fill, std::int64_t width, std::int64_t decimals,
                         bool grouping) {
    std::string text = ShortestForm(value);
    if (!text.empty() && static_cast<unsigned char>(text[0]) >= 64) return text;
    text = WithoutExponent(text);

    std::string sign;
    if (!text.empty() && text[0] == '-') {
        sign = "-";
        text.erase(0, 1);
    }
    const auto comma = text.find(',');
    std::string integer = text.substr(0, comma);
    std::string fraction = comma == std::string::npos ? "" : text.substr(comma + 1);

    if (grouping) {
        std::string grouped;
        for (std::size_t i = 0; i < integer.size(); ++i) {
            if (i > 0 && (integer.size() - i) % 3 == 0) grouped += '.';
            grouped += integer[i];
        }
        integer = grouped;
    }

    // Negated without overflow; more places than the padding limit cannot show more of a double.
    const std::uint64_t magnitude = decimals < 0 ? 0 - std::uint64_t(decimals) : std::uint64_t(decimals);
    const std::size_t places = std::size_t(std::min<std::uint64_t>(magnitude, kMaxPadding));
    if (fraction.size() > places) fraction.resize(places);
    fraction.append(places - fraction.size(), '0');
    if (decimals < 0)
        while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();

    std::string head = sign + integer;
    const auto length = std::int64_t(vx::Utf8Scalars(head).size());
    if (fill >= 0 && length < width) {
        // A width beyond any sensible column count is not worth exhausting memory for.
        const std::int64_t target = width - length > kMaxPadding ? length + kMaxPadding : width;
        std::string padding;
        for (std::int64_t i = length; i < target; ++i) vx::AppendUtf8(padding, char32_t(fill));
        head = padding + head;
    }
    return fraction.empty() ? head : head + "," + fraction;
}
