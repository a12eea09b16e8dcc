#include "text/readback.h"

#include "core/strings.h"
#include "display/window.h"
#include "text/glyph.h"

std::vector<std::string> SplitBytes(std::string_view bytes, std::uint8_t separator) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (static_cast<std::uint8_t>(bytes[i]) == separator) {
            pieces.emplace_back(bytes.substr(start, i - start));
            start = i + 1;
        }
    }
    if (start < bytes.size()) pieces.emplace_back(bytes.substr(start));
    return pieces;
}

std::string JoinBytes(const std::vector<std::string>& pieces, std::uint8_t separator) {
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) joined.push_back(char(separator));
        joined += pieces[i];
    }
    return joined;
}

std::string t_GetScreen(std::uint8_t window, std::string_view separator) {
    if (!CheckWindow("t_GetScreen", window, true)) return {};
    vx::text::TextBlock block;
    if (!vx::text::MakeTextBlock(WindowRecord(window), block)) return {};
    std::string raw;
    raw.reserve(std::size_t(block.width * block.height * 2) + separator.size() * std::size_t(block.height));
    for (std::int64_t y = 1; y <= block.height; ++y) {
        for (std::int64_t x = 1; x <= block.width; ++x) vx::AppendUtf8(raw, *block.Char(x, y));
        raw += separator;
    }
    if (separator.empty()) return raw;

    std::vector<std::string> pieces = SplitBytes(raw, 13);
    for (std::string& piece : pieces) {
        const std::size_t keep = piece.find_last_not_of(' ');
        piece.erase(keep == std::string::npos ? 0 : keep + 1);
    }
    while (pieces.size() >= 2 && pieces.back().empty()) pieces.pop_back();
    std::string joined = JoinBytes(pieces, 13);
    return vx::IsValidUtf8(joined) ? joined : DecodeBytes(joined);
}
