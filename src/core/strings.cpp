#include "core/strings.h"

#include "core/state.h"

std::string HexString(std::int64_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    auto v = static_cast<std::uint32_t>(value);
    std::string out(8, '0');
    for (int i = 7; i >= 0; --i, v >>= 4) out[i] = kDigits[v & 15];
    return out;
}

namespace {

int HexDigitValue(unsigned char c) {
    if (ToolkitInitialised.load(std::memory_order_acquire)) return HexValue[c];
    // Before initvxtools has built the table the same answer comes from the character itself.
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string DecodeBytes(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        auto b = static_cast<unsigned char>(bytes[i]);
        if (b == 27 && i + 5 < bytes.size() && static_cast<unsigned char>(bytes[i + 5]) == 29) {
            // Digits that are not hexadecimal count as -1, as the table says; the value keeps 32 bits.
            std::uint32_t value = 0;
            for (int k = 1; k <= 4; ++k) {
                value = value * 16 + static_cast<std::uint32_t>(HexDigitValue(bytes[i + k]));
            }
            bool valid = value < 0xD800 || (value > 0xDFFF && value <= 0x10FFFF);
            vx::AppendUtf8(out, valid ? char32_t(value) : U'\0');
            i += 5;
            continue;
        }
        vx::AppendUtf8(out, char32_t(b));
    }
    return out;
}

namespace vx {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xC0 | (c >> 6)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(char(0xE0 | (c >> 12)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (c >> 18)));
        out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
}

namespace {

// Decodes one scalar at text[i]; returns its length, 0 when the bytes there are malformed.
std::size_t DecodeOne(std::string_view text, std::size_t i, char32_t& out) {
    auto b0 = static_cast<unsigned char>(text[i]);
    if (b0 < 0x80) {
        out = b0;
        return 1;
    }
    std::size_t len = b0 >= 0xF0 && b0 <= 0xF4 ? 4 : b0 >= 0xE0 ? 3 : b0 >= 0xC2 && b0 < 0xE0 ? 2 : 0;
    if (len == 0 || i + len > text.size()) return 0;
    char32_t c = b0 & (0x7F >> len);
    for (std::size_t k = 1; k < len; ++k) {
        auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        c = (c << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kMin[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    out = c;
    return len;
}

}  // namespace

char32_t NextUtf8Scalar(std::string_view text, std::size_t& i) {
    char32_t c = 0;
    const std::size_t len = DecodeOne(text, i, c);
    if (len == 0) {
        ++i;
        return 0xFFFD;
    }
    i += len;
    return c;
}

std::vector<char32_t> Utf8Scalars(std::string_view text) {
    std::vector<char32_t> out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) out.push_back(NextUtf8Scalar(text, i));
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t c = 0;
        std::size_t len = DecodeOne(bytes, i, c);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

}  // namespace vx
