#include "core/unicode.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/strings.h"

namespace vx {

namespace {

struct CombiningRange {
    char32_t first, last;
    std::uint8_t combiningClass;
};
struct Decomposition {
    char32_t scalar;
    std::uint16_t start, length;
};
struct Composition {
    char32_t first, second, composed;
};

#include "core/unicode_tables.inc"

// Hangul syllables decompose and compose by rule rather than by table.
constexpr char32_t kSBase = 0xAC00, kLBase = 0x1100, kVBase = 0x1161, kTBase = 0x11A7;
constexpr int kLCount = 19, kVCount = 21, kTCount = 28, kNCount = kVCount * kTCount,
              kSCount = kLCount * kNCount;

int CombiningClass(char32_t c) {
    const auto* end = std::end(kCombiningRanges);
    const auto* it = std::upper_bound(std::begin(kCombiningRanges), end, c,
                                      [](char32_t v, const CombiningRange& r) { return v < r.first; });
    if (it == std::begin(kCombiningRanges)) return 0;
    --it;
    return c <= it->last ? it->combiningClass : 0;
}

void Decompose(char32_t c, std::vector<char32_t>& out) {
    if (c >= kSBase && c < kSBase + kSCount) {
        const char32_t s = c - kSBase;
        out.push_back(kLBase + s / kNCount);
        out.push_back(kVBase + (s % kNCount) / kTCount);
        if (s % kTCount != 0) out.push_back(kTBase + s % kTCount);
        return;
    }
    const auto* end = std::end(kDecompositions);
    const auto* it = std::lower_bound(std::begin(kDecompositions), end, c,
                                      [](const Decomposition& d, char32_t v) { return d.scalar < v; });
    if (it == end || it->scalar != c) {
        out.push_back(c);
        return;
    }
    out.insert(out.end(), kDecompositionPool + it->start, kDecompositionPool + it->start + it->length);
}

// The precomposed character for a pair, or 0.
char32_t Compose(char32_t first, char32_t second) {
    if (first >= kLBase && first < kLBase + kLCount && second >= kVBase && second < kVBase + kVCount)
        return kSBase + ((first - kLBase) * kVCount + (second - kVBase)) * kTCount;
    if (first >= kSBase && first < kSBase + kSCount && (first - kSBase) % kTCount == 0 && second > kTBase &&
        second < kTBase + kTCount)
        return first + (second - kTBase);
    const auto* end = std::end(kCompositions);
    const auto* it = std::lower_bound(std::begin(kCompositions), end, Composition{first, second, 0},
                                      [](const Composition& a, const Composition& b) {
                                          return a.first != b.first ? a.first < b.first : a.second < b.second;
                                      });
    return it != end && it->first == first && it->second == second ? it->composed : 0;
}

}  // namespace

std::string PrecomposedUtf8(std::string_view text) {
    if (!IsValidUtf8(text)) return std::string(text);
    // Plain ASCII is already in every normal form.
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(text);

    std::vector<char32_t> s;
    s.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) Decompose(NextUtf8Scalar(text, i), s);

    // Canonical order: a stable sort of each run of marks by combining class.
    for (std::size_t i = 0; i < s.size();) {
        if (CombiningClass(s[i]) == 0) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < s.size() && CombiningClass(s[j]) != 0) ++j;
        std::stable_sort(s.begin() + std::ptrdiff_t(i), s.begin() + std::ptrdiff_t(j),
                         [](char32_t a, char32_t b) { return CombiningClass(a) < CombiningClass(b); });
        i = j;
    }

    // Canonical composition: each character joins the last starter unless a character of the same or a
    // higher class stands between them (-1: nothing stands between them).
    std::vector<char32_t> out;
    out.reserve(s.size());
    std::ptrdiff_t starter = -1;
    int lastClass = -1;
    for (char32_t c : s) {
        const int cc = CombiningClass(c);
        if (starter >= 0 && (lastClass == -1 || lastClass < cc)) {
            if (char32_t composed = Compose(out[std::size_t(starter)], c)) {
                out[std::size_t(starter)] = composed;
                continue;
            }
        }
        if (cc == 0) {
            starter = std::ptrdiff_t(out.size());
            lastClass = -1;
        } else {
            lastClass = cc;
        }
        out.push_back(c);
    }

    std::string result;
    result.reserve(text.size());
    for (char32_t c : out) AppendUtf8(result, c);
    return result;
}

std::string DecodePercentEscapes(std::string_view text) {
    auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hex(text[i + 1]) >= 0 && hex(text[i + 2]) >= 0) {
            out.push_back(char(hex(text[i + 1]) * 16 + hex(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

}  // namespace vx
