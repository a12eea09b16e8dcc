#include "vxtools/psf_font.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/log.h"
#include "fonts/ready_font.h"
#include "vxtools/extensions.h"

namespace {

void Put16(std::vector<std::uint8_t>& b, int v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}

// Glyph g of a generated font: row r holds the bit pattern g XOR r, so every glyph is distinct.
std::vector<std::uint8_t> Psf1(int glyphs, int height, bool table) {
    std::vector<std::uint8_t> b{0x36, 0x04, std::uint8_t((glyphs == 512 ? 1 : 0) | (table ? 2 : 0)),
                                std::uint8_t(height)};
    for (int g = 0; g < glyphs; ++g)
        for (int r = 0; r < height; ++r) b.push_back(std::uint8_t(g ^ r));
    // Glyph g stands for scalar 255 - g (reversed order), glyph 0 also for the sequence 'a' + U+0301.
    for (int g = 0; table && g < glyphs; ++g) {
        Put16(b, g < 256 ? 255 - g : 0x2500 + g);
        if (g == 0)
            for (int v : {0xFFFE, int('a'), 0x0301}) Put16(b, v);
        Put16(b, 0xFFFF);
    }
    return b;
}

// Glyph g: the first byte of every row is g, the others 0xFF. Glyph 1 stands for U+00E4 and for the
// sequence that starts with 'A', glyph 2 for 'A'.
std::vector<std::uint8_t> Psf2(std::uint32_t glyphs, std::uint32_t width, std::uint32_t height, bool table) {
    const std::uint32_t rowBytes = (width + 7) / 8;
    std::vector<std::uint8_t> b{0x72, 0xB5, 0x4A, 0x86};
    for (std::uint32_t v : {0u, 32u, table ? 1u : 0u, glyphs, rowBytes * height, height, width})
        for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
    for (std::uint32_t g = 0; g < glyphs; ++g)
        for (std::uint32_t i = 0; i < height * rowBytes; ++i)
            b.push_back(i % rowBytes == 0 ? std::uint8_t(g) : 0xFF);
    for (std::uint32_t g = 0; table && g < glyphs; ++g) {
        if (g == 1) b.insert(b.end(), {0xC3, 0xA4, 0xFE, 'A'});
        if (g == 2) b.push_back('A');
        b.push_back(0xFF);
    }
    return b;
}

std::string WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes, bool gzip) {
    std::string path = testing::TempDir() + name;
    if (gzip) {
        gzFile f = gzopen(path.c_str(), "wb");
        gzwrite(f, bytes.data(), unsigned(bytes.size()));
        gzclose(f);
    } else {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    return path;
}

// The first eight pixels of row y of a code's glyph as bits, ink (255) as 1, the leftmost highest.
int RowBits(const t_Font& f, int code, int y) {
    int bits = 0;
    for (int x = 0; x < 8; ++x)
        bits = bits << 1 | (f.Data[std::size_t(code * f.Width * f.Height + y * f.Width + x)] == 255);
    return bits;
}

TEST(PsfFont, ReadsGlyphsInCodeOrderFromPlainAndGzippedFiles) {
    t_Font f = vx::LoadPsfFont(WriteFile("packed.psf.gz", Psf1(256, 14, false), true));
    EXPECT_EQ(f.Format, 2);
    EXPECT_EQ(f.Width, 8);
    EXPECT_EQ(f.Height, 14);
    EXPECT_EQ(f.End, 255);
    ASSERT_EQ(f.Data.size(), 256u * 8 * 14);
    EXPECT_EQ(RowBits(f, 0x41, 2), 0x43);

    f = vx::LoadPsfFont(WriteFile("plain.psf", Psf2(4, 12, 10, false), false));
    ASSERT_EQ(f.End, 3);  // fewer glyphs than codes: only those
    ASSERT_EQ(f.Data.size(), 4u * 12 * 10);
    EXPECT_EQ(RowBits(f, 2, 9), 0x02);
    EXPECT_EQ(f.Data[2 * 120 + 11], 255);  // the second byte of the row
}

TEST(PsfFont, MapsCodesAndLatinOneScalarsThroughTheUnicodeTable) {
    t_Font f = vx::PsfFontFromBytes(Psf1(512, 8, true));
    EXPECT_EQ(RowBits(f, 250, 0), 5);  // scalar 250 is on glyph 5
    f = vx::PsfFontFromBytes(Psf2(256, 8, 4, true));
    EXPECT_EQ(RowBits(f, 0xE4, 0), 1);
    EXPECT_EQ(RowBits(f, 'A', 0), 2);    // not glyph 1, whose sequence only starts with 'A'
    EXPECT_EQ(RowBits(f, 'B', 0), 'B');  // not in the table: the glyph of the same number
}

TEST(PsfFont, BadFilesGiveAnEmptyFontAndALogLine) {
    vx::StartLogCapture();
    EXPECT_TRUE(vx::LoadPsfFont(testing::TempDir() + "does-not-exist.psf").Data.empty());
    EXPECT_NE(vx::TakeCapturedLog().find("LoadPsfFont: Cannot open"), std::string::npos);

    auto patched = [](std::vector<std::uint8_t> b, std::size_t at, std::size_t count, std::uint8_t v) {
        std::fill_n(b.begin() + std::ptrdiff_t(at), count, v);
        return b;
    };
    std::vector<std::uint8_t> shortPsf1 = Psf1(256, 16, false);
    shortPsf1.resize(100);
    std::vector<std::uint8_t> truncated = Psf2(300, 8, 8, true);
    truncated.resize(32 + 100 * 8);
    const std::vector<std::uint8_t> bad[] = {
        {},
        {0x36},
        {1, 2, 3, 4, 5, 6},
        shortPsf1,
        Psf1(256, 0, false),
        patched(Psf2(2, 8, 8, false), 16, 4, 0xFF),  // four billion glyphs
        patched(Psf2(2, 8, 8, false), 28, 4, 0xFF),  // width beyond reason
        patched(Psf2(2, 8, 8, false), 8, 3, 0x7F),   // header larger than the file
        patched(Psf2(2, 8, 8, false), 20, 1, 3),     // bytes per glyph disagree with the geometry
        truncated};
    for (const auto& b : bad) {
        vx::TakeCapturedLog();
        EXPECT_TRUE(vx::PsfFontFromBytes(b).Data.empty());
        EXPECT_NE(vx::TakeCapturedLog().find("LoadPsfFont: "), std::string::npos);
    }
    EXPECT_TRUE(vx::LoadPsfFont(WriteFile("short.psf.gz", shortPsf1, true)).Data.empty());
}

TEST(PsfFont, TruncatedUnicodeTableIsReadAsFarAsItGoes) {
    std::vector<std::uint8_t> b = Psf2(256, 8, 2, true);
    b.resize(b.size() - 200);
    EXPECT_EQ(vx::PsfFontFromBytes(b).Data.size(), 256u * 8 * 2);
    b = Psf1(256, 2, true);
    b.resize(b.size() - 3);
    EXPECT_EQ(vx::PsfFontFromBytes(b).Data.size(), 256u * 8 * 2);
}

}  // namespace

TEST(ReadyFont, TakesTheChosenFileThenTheFirstReadyFontInTheFolderAndSaysWhenThereIsNone) {
    vx::StartLogCapture();
    const std::string folder = testing::TempDir() + "ready-fonts/";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(vx::ReadyFontFrom("", folder).Data.empty());
    EXPECT_NE(vx::TakeCapturedLog().find("vx::ReadyFont: No console font found; install the package "
                                         "console-setup-linux"),
              std::string::npos);

    // The later name in the order is found, then the earlier one wins once it is there too.
    WriteFile("ready-fonts/default8x16.psf.gz", Psf1(256, 16, false), true);
    EXPECT_EQ(vx::ReadyFontFrom("", folder).Height, 16);
    WriteFile("ready-fonts/Lat15-VGA16.psf.gz", Psf1(256, 14, false), true);
    EXPECT_EQ(vx::ReadyFontFrom("", folder).Height, 14);
    // A chosen file comes first; a chosen file that is missing is passed over.
    const std::string chosen = WriteFile("chosen.psf", Psf1(256, 8, false), false);
    EXPECT_EQ(vx::ReadyFontFrom(chosen, folder).Height, 8);
    EXPECT_EQ(vx::ReadyFontFrom(chosen + ".missing", folder).Height, 14);
    EXPECT_EQ(vx::TakeCapturedLog(), "");
}

TEST(ReadyFont, FindsAnInstalledConsoleFont) {
    if (!std::filesystem::is_directory("/usr/share/consolefonts"))
        GTEST_SKIP() << "no console fonts installed";
    const t_Font font = vx::ReadyFont();
    EXPECT_EQ(font.Format, 2);
    EXPECT_EQ(font.Data.size(), std::size_t(256 * font.Width * font.Height));
    EXPECT_GT(font.Width, 0);
}
