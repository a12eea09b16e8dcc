#include "vxtools/psf_font.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/log.h"

namespace vx {
namespace {

// Console fonts are a few kilobytes; anything far larger is not one.
constexpr std::size_t kMaxFileSize = std::size_t(8) << 20;
constexpr std::uint32_t kMaxGlyphs = 65536;
constexpr std::uint32_t kMaxGlyphSide = 256;

std::uint32_t ReadLe32(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}

struct Layout {
    std::uint32_t width = 0, height = 0, glyphs = 0, bytesPerGlyph = 0;
    std::size_t glyphStart = 0;
    std::size_t tableStart = 0;  // 0: no Unicode table
    bool psf2 = false;
};

// Fills glyphForCode[c] with the first glyph that the Unicode table maps scalar c (0..255) to.
void ReadPsf1Table(std::span<const std::uint8_t> b, const Layout& l, std::array<std::int64_t, 256>& map) {
    std::size_t at = l.tableStart;
    for (std::uint32_t glyph = 0; glyph < l.glyphs && at + 1 < b.size(); ++glyph) {
        bool inSequence = false;
        while (at + 1 < b.size()) {
            std::uint32_t v = std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8;
            at += 2;
            if (v == 0xFFFF) break;
            if (v == 0xFFFE)
                inSequence = true;
            else if (!inSequence && v < 256 && map[v] < 0)
                map[v] = glyph;
        }
    }
}

void ReadPsf2Table(std::span<const std::uint8_t> b, const Layout& l, std::array<std::int64_t, 256>& map) {
    std::size_t at = l.tableStart;
    for (std::uint32_t glyph = 0; glyph < l.glyphs && at < b.size(); ++glyph) {
        bool inSequence = false;
        while (at < b.size()) {
            std::uint8_t lead = b[at];
            if (lead == 0xFF) {
                ++at;
                break;
            }
            if (lead == 0xFE) {
                inSequence = true;
                ++at;
                continue;
            }
            // One UTF-8 scalar; only those below 256 matter here.
            std::uint32_t v = lead;
            std::size_t extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
            if (extra > 0) v = lead & (0x3F >> extra);
            ++at;
            for (std::size_t i = 0; i < extra && at < b.size(); ++i, ++at) v = (v << 6) | (b[at] & 0x3F);
            if (!inSequence && v < 256 && map[v] < 0) map[v] = glyph;
        }
    }
}

// The layout of a PSF file; the log line that says what is wrong with it when it cannot be read.
std::string ReadLayout(std::span<const std::uint8_t> b, Layout& l) {
    if (b.size() >= 4 && b[0] == 0x36 && b[1] == 0x04) {
        std::uint8_t mode = b[2];
        l.width = 8;
        l.height = b[3];
        l.bytesPerGlyph = l.height;
        l.glyphs = (mode & 0x01) ? 512 : 256;
        l.glyphStart = 4;
        if (mode & 0x06) l.tableStart = l.glyphStart + std::size_t(l.glyphs) * l.bytesPerGlyph;
        return "";
    }
    if (b.size() >= 32 && b[0] == 0x72 && b[1] == 0xB5 && b[2] == 0x4A && b[3] == 0x86) {
        std::uint32_t headerSize = ReadLe32(b, 8), flags = ReadLe32(b, 12);
        l.glyphs = ReadLe32(b, 16);
        l.bytesPerGlyph = ReadLe32(b, 20);
        l.height = ReadLe32(b, 24);
        l.width = ReadLe32(b, 28);
        l.psf2 = true;
        if (headerSize < 32 || headerSize > b.size()) return "LoadPsfFont: Font header is damaged.";
        if (l.glyphs > kMaxGlyphs)
            return "LoadPsfFont: Font claims " + std::to_string(l.glyphs) + " glyphs; at most " +
                   std::to_string(kMaxGlyphs) + " are accepted.";
        if (l.width > kMaxGlyphSide || l.height > kMaxGlyphSide)
            return "LoadPsfFont: Glyphs of " + std::to_string(l.width) + " x " + std::to_string(l.height) +
                   " pixels are too large; at most " + std::to_string(kMaxGlyphSide) + " are accepted.";
        if (std::uint64_t(l.bytesPerGlyph) != std::uint64_t(l.height) * ((l.width + 7) / 8))
            return "LoadPsfFont: Font header is damaged.";
        l.glyphStart = headerSize;
        if (flags & 0x01) l.tableStart = l.glyphStart + std::size_t(l.glyphs) * l.bytesPerGlyph;
        return "";
    }
    return "LoadPsfFont: Not a PC Screen Font.";
}

}  // namespace

t_Font PsfFontFromBytes(std::span<const std::uint8_t> bytes) {
    Layout l;
    if (const std::string refusal = ReadLayout(bytes, l); !refusal.empty()) {
        Log(refusal);
        return {};
    }
    if (l.width == 0 || l.height == 0 || l.glyphs == 0 ||
        l.glyphStart + std::uint64_t(l.glyphs) * l.bytesPerGlyph > bytes.size()) {
        Log("LoadPsfFont: Font data is incomplete.");
        return {};
    }
    std::array<std::int64_t, 256> glyphForCode;
    glyphForCode.fill(-1);
    if (l.tableStart != 0) {
        if (l.psf2)
            ReadPsf2Table(bytes, l, glyphForCode);
        else
            ReadPsf1Table(bytes, l, glyphForCode);
    }
    std::uint32_t codes = l.glyphs < 256 ? l.glyphs : 256;

    t_Font font;
    font.Format = 2;
    font.Size = std::int64_t(codes) * l.width * l.height;
    font.Start = 0;
    font.End = std::uint8_t(codes - 1);
    font.Width = l.width;
    font.Height = l.height;
    font.Data.assign(std::size_t(font.Size), 0);
    std::uint32_t rowBytes = (l.width + 7) / 8;
    std::size_t pixel = 0;
    for (std::uint32_t c = 0; c < codes; ++c) {
        // A code the table leaves out shows the glyph of the same number.
        const std::int64_t glyph = glyphForCode[c] >= 0 ? glyphForCode[c] : c;
        const std::uint8_t* rows = bytes.data() + l.glyphStart + std::size_t(glyph) * l.bytesPerGlyph;
        for (std::uint32_t y = 0; y < l.height; ++y)
            for (std::uint32_t x = 0; x < l.width; ++x)
                font.Data[pixel++] = (rows[y * rowBytes + x / 8] & (0x80 >> (x % 8))) ? 255 : 0;
    }
    return font;
}

t_Font LoadPsfFont(const std::string& path) {
    // Never blocking: a pipe or a device named as a font must not stop the program, nor be read at all.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        Log("LoadPsfFont: Cannot open " + path + " (" + std::strerror(errno) + ").");
        return {};
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        Log("LoadPsfFont: " + path + " is not a regular file.");
        return {};
    }
    gzFile file = gzdopen(fd, "rb");
    if (!file) {
        ::close(fd);
        Log("LoadPsfFont: Cannot open " + path + ".");
        return {};
    }
    std::vector<std::uint8_t> bytes;
    std::array<std::uint8_t, 65536> chunk;
    bool tooLarge = false, failed = false;
    for (;;) {
        int n = gzread(file, chunk.data(), unsigned(chunk.size()));
        if (n < 0) {
            failed = true;
            break;
        }
        if (n == 0) break;
        if (bytes.size() + std::size_t(n) > kMaxFileSize) {
            tooLarge = true;
            break;
        }
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + n);
    }
    gzclose(file);
    if (failed) {
        Log("LoadPsfFont: Cannot read " + path + ".");
        return {};
    }
    if (tooLarge) {
        Log("LoadPsfFont: " + path + " is too large for a console font.");
        return {};
    }
    return PsfFontFromBytes(bytes);
}

std::string FindConsoleFont(std::span<const std::string> candidates) {
    std::error_code error;
    for (const std::string& name : candidates) {
        std::filesystem::path path(name);
        if (path.is_relative()) path = std::filesystem::path("/usr/share/consolefonts") / path;
        if (std::filesystem::is_regular_file(path, error)) return path.string();
    }
    return {};
}

}  // namespace vx
