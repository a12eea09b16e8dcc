#include "vxtools/psf_font.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/log.h"
#include "fonts/ready_font.h"
#include "vxtools/extensions.h"

namespace {

// Glyph g of a generated font: row r holds the bit pattern g XOR r, so every glyph is distinct.
std::vector<std::uint8_t> Psf1(int glyphs, int height, bool table) {
    std::vector<std::uint8_t> b{0x36, 0x04, std::uint8_t((glyphs == 512 ? 1 : 0) | (table ? 2 : 0)),
                                std::uint8_t(height)};
    for (int g = 0; g < glyphs; ++g)
        for (int r = 0; r < height; ++r) b.push_back(std::uint8_t(g ^ r));
    if (table) {
        // Glyph g stands for scalar 255 - g (reversed order), glyph 0 also for the sequence 'a' + U+0301.
        for (int g = 0; g < glyphs; ++g) {
            int scalar = g < 256 ? 255 - g : 0x2500 + g;
            b.push_back(std::uint8_t(scalar));
            b.push_back(std::uint8_t(scalar >> 8));
            if (g == 0) {
                for (int v : {0xFFFE, int('a'), 0x0301}) {
                    b.push_back(std::uint8_t(v));
                    b.push_back(std::uint8_t(v >> 8));
                }
            }
            b.push_back(0xFF);
            b.push_back(0xFF);
        }
    }
    return b;
}

void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
}

std::vector<std::uint8_t> Psf2(std::uint32_t glyphs, std::uint32_t width, std::uint32_t height, bool table) {
    std::vector<std::uint8_t> b{0x72, 0xB5, 0x4A, 0x86};
    std::uint32_t rowBytes = (width + 7) / 8;
    Put32(b, 0);
    Put32(b, 32);
    Put32(b, table ? 1 : 0);
    Put32(b, glyphs);
    Put32(b, rowBytes * height);
    Put32(b, height);
    Put32(b, width);
    for (std::uint32_t g = 0; g < glyphs; ++g)
        for (std::uint32_t r = 0; r < height; ++r)
            for (std::uint32_t i = 0; i < rowBytes; ++i) b.push_back(i == 0 ? std::uint8_t(g) : 0xFF);
    if (table) {
        for (std::uint32_t g = 0; g < glyphs; ++g) {
            if (g == 1) {  // glyph 1 shows U+00E4 (two UTF-8 bytes) and, in a sequence, nothing else
                b.push_back(0xC3);
                b.push_back(0xA4);
                b.push_back(0xFE);
                b.push_back('A');
            } else if (g == 2) {
                b.push_back('A');
            }
            b.push_back(0xFF);
        }
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
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    return path;
}

std::uint8_t Pixel(const t_Font& f, int code, int x, int y) {
    return f.Data[std::size_t(code * f.Width * f.Height + y * f.Width + x)];
}

TEST(PsfFont, ReadsPsf1GlyphsInCodeOrderWithoutTable) {
    t_Font f = vx::PsfFontFromBytes(Psf1(256, 14, false));
    EXPECT_EQ(f.Format, 2);
    EXPECT_EQ(f.Width, 8);
    EXPECT_EQ(f.Height, 14);
    EXPECT_EQ(f.Start, 0);
    EXPECT_EQ(f.End, 255);
    ASSERT_EQ(f.Data.size(), 256u * 8 * 14);
    // Glyph 0x41 row 2 is 0x43 = 0100 0011.
    std::vector<int> row;
    for (int x = 0; x < 8; ++x) row.push_back(Pixel(f, 0x41, x, 2));
    EXPECT_EQ(row, (std::vector<int>{0, 255, 0, 0, 0, 0, 255, 255}));
}

TEST(PsfFont, MapsCodesAndLatinOneScalarsThroughTheUnicodeTableAsFarAsItGoes) {
    t_Font f = vx::PsfFontFromBytes(Psf1(512, 8, true));
    ASSERT_EQ(f.End, 255);
    // Code 250 is scalar 250, which the table puts on glyph 5; row 0 of glyph 5 is 0000 0101.
    EXPECT_EQ(Pixel(f, 250, 7, 0), 255);
    EXPECT_EQ(Pixel(f, 250, 6, 0), 0);
    EXPECT_EQ(Pixel(f, 250, 5, 0), 255);

    t_Font f2 = vx::PsfFontFromBytes(Psf2(4, 12, 10, true));
    ASSERT_EQ(f2.Width, 12);
    ASSERT_EQ(f2.End, 3);  // fewer glyphs than codes: only those
    // U+00E4 is beyond End here, 'A' (65) too: the table maps nothing inside 0..3, so glyphs stay.
    EXPECT_EQ(Pixel(f2, 2, 6, 0), 255);  // glyph 2 row 0: 0000 0010, then 0xFF
    EXPECT_EQ(Pixel(f2, 2, 8, 0), 255);
    EXPECT_EQ(Pixel(f2, 2, 0, 0), 0);

    f = vx::PsfFontFromBytes(Psf2(256, 8, 4, true));
    ASSERT_EQ(f.End, 255);
    // Glyph 1 (row pattern 0000 0001) stands for U+00E4, glyph 2 (0000 0010) for 'A'.
    EXPECT_EQ(Pixel(f, 0xE4, 7, 0), 255);
    EXPECT_EQ(Pixel(f, 'A', 6, 0), 255);
    EXPECT_EQ(Pixel(f, 'A', 7, 0), 0);
    EXPECT_EQ(Pixel(f, 'B', 1, 0), 255);  // 'B' is not in the table: glyph 66 = 0100 0010
}

TEST(PsfFont, LoadsPlainAndGzippedFiles) {
    std::vector<std::uint8_t> bytes = Psf2(256, 8, 16, false);
    t_Font plain = vx::LoadPsfFont(WriteFile("plain.psf", bytes, false));
    t_Font packed = vx::LoadPsfFont(WriteFile("packed.psf.gz", bytes, true));
    EXPECT_EQ(plain.Height, 16);
    EXPECT_FALSE(plain.Data.empty());
    EXPECT_EQ(plain.Data, packed.Data);
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

TEST(PsfFont, FindsASystemConsoleFontWhenOneIsInstalled) {
    std::vector<std::string> names{"Lat15-Fixed16.psf.gz", "default8x16.psf.gz", "Lat15-VGA16.psf.gz"};
    std::string path = vx::FindConsoleFont(names);
    if (path.empty()) GTEST_SKIP() << "no console fonts installed";
    t_Font f = vx::LoadPsfFont(path);
    EXPECT_EQ(f.Format, 2);
    EXPECT_GE(f.Width, 8);
    EXPECT_FALSE(f.Data.empty());
}

}  // namespace

TEST(ReadyFont, TakesTheChosenFileThenTheFirstReadyFontInTheFolderAndSaysWhenThereIsNone) {
    vx::StartLogCapture();
    const std::string folder = testing::TempDir() + "ready-fonts/";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    // An empty folder: an empty font and one line saying what to install.
    t_Font none = vx::ReadyFontFrom("", folder);
    EXPECT_TRUE(none.Data.empty());
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
