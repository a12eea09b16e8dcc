#include "vxtools/psf_font.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zlib.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "core/log.h"
#include "fonts/ready_font.h"
#include "vxtools/extensions.h"

namespace {

// A font file (PSF1: width 8, 256 or 512 glyphs) whose glyph g has g ^ r as the first byte of row r and
// 0xFF as any further byte; the Unicode table follows as given.
std::vector<std::uint8_t> PsfFile(int version, std::uint32_t glyphs, std::uint32_t width,
                                  std::uint32_t height, const std::vector<std::uint8_t>& table = {}) {
    const std::uint32_t rowBytes = (width + 7) / 8;
    std::vector<std::uint8_t> b{0x36, 0x04, std::uint8_t((glyphs == 512) | (table.empty() ? 0 : 2)),
                                std::uint8_t(height)};
    if (version == 2) {
        b = {0x72, 0xB5, 0x4A, 0x86};
        for (std::uint32_t v : {0u, 32u, table.empty() ? 0u : 1u, glyphs, rowBytes * height, height, width})
            for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
    }
    for (std::uint32_t i = 0; i < glyphs * height * rowBytes; ++i)
        b.push_back(i % rowBytes != 0 ? 0xFF : std::uint8_t(i / (height * rowBytes) ^ i / rowBytes % height));
    b.insert(b.end(), table.begin(), table.end());
    return b;
}

// Written through zlib, which writes a plain file when asked to.
std::string WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes, bool gzip) {
    const std::string path = testing::TempDir() + name;
    gzFile f = gzopen(path.c_str(), gzip ? "wb" : "wbT");
    gzwrite(f, bytes.data(), unsigned(bytes.size()));
    gzclose(f);
    return path;
}

// The first eight pixels of row y of a code's glyph as bits, ink (255) as 1, the leftmost highest.
int RowBits(const t_Font& f, int code, int y) {
    int bits = 0;
    for (int x = 0; x < 8; ++x)
        bits = bits << 1 | (f.Data.at(std::size_t((code * f.Height + y) * f.Width + x)) == 255);
    return bits;
}

TEST(PsfFont, ReadsGlyphRowsMapsLatinOneScalarsThroughTheUnicodeTableAsFarAsItGoesAndRefusesBadFiles) {
    vx::StartLogCapture();
    // PSF1 with 512 glyphs, the table after all of them: glyphs 0 to 4 stand for nothing, glyph 5 for
    // scalar 250; the table ends in the middle of glyph 5's terminator.
    t_Font f = vx::PsfFontFromBytes(
        PsfFile(1, 512, 8, 14, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 250, 0, 0xFF}));
    // 'A' is not in the table: the glyph of the same number.
    EXPECT_EQ(std::tuple(RowBits(f, 250, 0), RowBits(f, 'A', 2), f.Start, f.End, f.Size),
              std::tuple(5, 'A' ^ 2, 0, 255, 256 * 8 * 14));

    // PSF2, 12 pixels wide: glyph 0 stands for 'C', glyph 1 for U+00E4 and a sequence that starts with 'A',
    // glyph 2 for 'A', glyph 3 for scalars of three and four bytes at their lower edges, of three and two
    // bytes at their upper edges, an overlong two-byte form, U+0100, 'B' and 'A' (taken already), glyph 4
    // for 'B' and 'C' (taken already) and U+00FF, the last Latin-1 scalar.
    f = vx::PsfFontFromBytes(PsfFile(
        2, 256, 12, 10,
        {'C',  0xFF, 0xC3, 0xA4, 0xFE, 'A',  0xFF, 'A',  0xFF, 0xE0, 0xA0, 0x80, 0xF0, 0x90, 0x80, 0x80, 0xEF,
         0xBF, 0xBF, 0xDF, 0xBF, 0xC0, 0x80, 0xC4, 0x80, 'B',  'A',  0xFF, 'B',  'C',  0xC3, 0xBF, 0xFF}));
    // clang-format off
    for (auto [code, y, bits] :
         {std::tuple{0xE4, 9, 1 ^ 9}, {'A', 0, 2}, {'B', 0, 3}, {'C', 1, 1}, {0x80, 0, 0x80}, {0xBF, 0, 0xBF},
          {0xFF, 0, 4}})
        EXPECT_EQ(RowBits(f, code, y), bits) << code;
    // clang-format on
    EXPECT_EQ(f.Data.at(std::size_t('B' * 120 + 11)), 255);  // from the second byte of the row

    // Bad files give an empty font and a log line: a header that claims more glyphs than the file holds,
    // bytes per glyph that disagree with the geometry, a header shorter than its fields or longer than the
    // file, another magic number.
    const std::string incomplete = "LoadPsfFont: Font data is incomplete.\n",
                      damaged = "LoadPsfFont: Font header is damaged.\n",
                      alien = "LoadPsfFont: Not a PC Screen Font.\n",
                      many = "LoadPsfFont: Font claims 65538 glyphs; at most 65536 are accepted.\n";
    // clang-format off
    const std::tuple<int, int, std::string> bad[] = {{16, 44, incomplete}, {20, 3, damaged}, {8, 31, damaged},
        {8, 49, damaged}, {8, 48, incomplete}, {3, 0x87, alien}, {18, 1, many}};  // many: an absurd count
    // clang-format on
    // Whether the font came out empty, and the log line it left.
    const auto refusal = [](const std::vector<std::uint8_t>& file) {
        return std::pair{vx::PsfFontFromBytes(file).Data.empty(), vx::TakeCapturedLog()};
    };
    for (const auto& [at, value, line] : bad) {
        std::vector<std::uint8_t> file = PsfFile(2, 2, 8, 8);
        file[std::size_t(at)] = std::uint8_t(value);
        EXPECT_EQ(refusal(file), std::pair(true, line)) << at;
    }
    // A header alone is a font without data; one byte less is no font at all.
    const std::vector<std::uint8_t> one = PsfFile(1, 256, 8, 0), two = PsfFile(2, 0, 8, 8);
    for (const auto& [file, line] : {std::pair{one, incomplete},
                                     {two, incomplete},
                                     {std::vector(one.begin(), one.end() - 1), alien},
                                     {std::vector(two.begin(), two.end() - 1), alien}})
        EXPECT_EQ(refusal(file), std::pair(true, line)) << file.size();
    // No more than 65536 glyphs, sides up to 256 pixels.
    for (const auto& file : {PsfFile(2, 65537, 8, 1), PsfFile(2, 2, 257, 1), PsfFile(2, 2, 8, 257), {}})
        EXPECT_TRUE(vx::PsfFontFromBytes(file).Data.empty()) << file.size();
    // A table that maps nothing, then an entry past the last glyph, which counts for nothing: every code
    // shows its own glyph.
    std::vector<std::uint8_t> table(512, 0xFF);
    table.insert(table.end(), {'Z', 0, 0xFF, 0xFF});
    f = vx::PsfFontFromBytes(PsfFile(1, 256, 8, 8, table));
    for (int c = 0; c < 256; ++c) EXPECT_EQ(RowBits(f, c, 2), c ^ 2) << c;
    vx::TakeCapturedLog();
    EXPECT_TRUE(vx::LoadPsfFont(testing::TempDir() + "missing.psf").Data.empty());
    EXPECT_EQ(vx::TakeCapturedLog(), "LoadPsfFont: Cannot open " + testing::TempDir() +
                                         "missing.psf (No such file or directory).\n");
    // 65536 glyphs and sides up to 256 pixels pass; fewer than 256 glyphs give as many codes; 9 pixels take
    // two bytes a row.
    f = vx::PsfFontFromBytes(PsfFile(2, 3, 256, 1));
    const t_Font most = vx::PsfFontFromBytes(PsfFile(2, 65536, 8, 1));  // no table: every code its own glyph
    EXPECT_EQ(std::tuple(f.Width, f.Height, f.End, f.Size, most.Height, RowBits(most, 'J', 0),
                         vx::PsfFontFromBytes(PsfFile(2, 2, 9, 256)).Height),
              std::tuple(256, 1, 2, 768, 1, 'J', 256));
}

// Refusals say what is wrong: a chosen file that is missing, a folder, a pipe (which would block a reader for
// good) or a device is named in a line and passed over.
TEST(ReadyFont, TakesTheChosenFileThenTheFirstReadyFontInTheFolderSaysWhenThereIsNoneAndWhyOneIsRefused) {
    vx::StartLogCapture();
    const std::string folder = testing::TempDir() + "ready-fonts/";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(vx::ReadyFontFrom("", folder).Data.empty());
    EXPECT_TRUE(vx::TakeCapturedLog().starts_with("vx::ReadyFont: No console font found"));
    ASSERT_EQ(::mkfifo((folder + "pipe").c_str(), 0600), 0);
    const std::string kIrregular = " is not a regular file.";
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {folder + "missing", " (No such file or directory)."},
        {folder, kIrregular}, {folder + "pipe", kIrregular}, {"/dev/zero", kIrregular}};
    // clang-format on
    for (const auto& [chosen, reason] : cases) {
        const bool empty = vx::ReadyFontFrom(chosen, folder).Data.empty();
        const std::string log = vx::TakeCapturedLog();
        EXPECT_TRUE(empty && log.find(chosen + reason + "\nvx::ReadyFont: VXTOOLS_FONT=" + chosen +
                                      " is not used.\n") != std::string::npos)
            << log;
    }

    // The earlier name in the order wins; gzipped or not.
    WriteFile("ready-fonts/default8x16.psf.gz", PsfFile(1, 256, 8, 16), true);
    WriteFile("ready-fonts/Lat15-VGA16.psf.gz", PsfFile(2, 256, 8, 14), true);
    // A chosen file comes first; a chosen file that is missing is passed over.
    const std::string chosen = WriteFile("chosen.psf", PsfFile(1, 256, 8, 8), false);
    EXPECT_EQ(std::tuple(vx::ReadyFontFrom("", folder).Height, vx::ReadyFontFrom(chosen, folder).Height,
                         vx::ReadyFontFrom(chosen + ".missing", folder).Height),
              std::tuple(14, 8, 14));
    std::filesystem::remove_all(folder);
}

}  // namespace
