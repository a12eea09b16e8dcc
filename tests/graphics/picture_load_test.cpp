#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "support/toolkit_test.h"
#include "vxtools/extensions.h"
#include "vxtools/graphics.h"

namespace {

using namespace vx::test;

std::string Temp(const std::string& name) {
    return ::testing::TempDir() + "load-" + name;
}

// Writes a file under a temporary name and gives its path.
std::string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(Temp(name), std::ios::binary) << bytes;
    return Temp(name);
}

std::string Be32(std::uint32_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string Chunk(const std::string& type, const std::string& data) {
    const std::string body = type + data;
    return Be32(std::uint32_t(data.size())) + body +
           Be32(std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
}

std::string Deflate(const std::string& data) {
    uLongf size = compressBound(uLong(data.size()));
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
             uLong(data.size()));
    out.resize(size);
    return out;
}

// The signature and header of an 8-bit RGB PNG (RGBA with type 6).
std::string Header(std::uint32_t width, std::uint32_t height, char interlace = 0, char type = 2) {
    return "\x89PNG\r\n\x1a\n" +
           Chunk("IHDR", Be32(width) + Be32(height) + std::string{8, type, 0, 0, interlace});
}

// A PNG of black pixels, with `extra` chunks before its image data.
std::string Png(std::uint32_t width, std::uint32_t height, const std::string& extra = "") {
    const std::string rows(std::size_t(height) * (1 + 3 * std::size_t(width)), '\0');
    return Header(width, height) + extra + Chunk("IDAT", Deflate(rows)) + Chunk("IEND", "");
}

// Two rows of three colours: dark red, near white, blue; then blue, dark red, near white.
TEST(LoadPicture, DrawsEachDepthsFormOfTheColoursClippedToTheWindow) {
    StartToolkit();
    const std::string path = Temp("three.png");
    const std::uint32_t c0 = 0xFFE01010u, c1 = 0xFFF0F0F0u, c2 = 0xFF0000FFu;
    ASSERT_TRUE(vx::WritePng(vx::WindowImage{3, 2, {c0, c1, c2, c2, c0, c1}}, path));
    const std::tuple<int, t_RGBColor, t_RGBColor, t_RGBColor> rows[] = {
        {1, {255, 0, 0, 0}, {255, 255, 255, 255}, {255, 0, 0, 0}},
        {4, {255, 255, 0, 0}, {255, 255, 255, 255}, {255, 0, 0, 255}},
        {8, {0, 85, 85, 85}, {0, 240, 240, 240}, {0, 85, 85, 85}},
        {16, {255, 85, 85, 85}, {255, 240, 240, 240}, {255, 85, 85, 85}},
        {24, {0, 224, 16, 16}, {0, 240, 240, 240}, {0, 0, 0, 255}},
        {32, {255, 224, 16, 16}, {255, 240, 240, 240}, {255, 0, 0, 255}}};
    for (const auto& [depth, red, white, blue] : rows) {
        SCOPED_TRACE(depth);
        OpenWindow(1, depth, 64, 32);
        std::vector<t_RGBColor> expected = Pixels(1);
        vx::PictureSize size;
        ASSERT_TRUE(vx::LoadPicture(1, path, 62, 30, &size));
        EXPECT_EQ(Pos(size.width, size.height), Pos(3, 2));
        const std::uint64_t outside = OutsideChecksum(WindowTable[1]);
        ASSERT_TRUE(vx::LoadPicture(1, path, -1, -1));
        EXPECT_EQ(OutsideChecksum(WindowTable[1]), outside);
        EXPECT_EQ(vx::PictureError(), "");
        const int at[][2] = {{62, 30}, {63, 30}, {62, 31}, {63, 31}, {0, 0}, {1, 0}};
        const t_RGBColor shown[] = {red, white, blue, red, red, white};
        for (int i = 0; i < 6; ++i) expected[std::size_t(at[i][1] * 64 + at[i][0])] = shown[i];
        EXPECT_TRUE(Pixels(1) == expected);
    }
    std::remove(path.c_str());
}

// An interlaced picture arrives pass by pass, each pass's pixels spread over the row at their own columns.
TEST(LoadPicture, PlacesEveryPassOfAnInterlacedPicture) {
    StartToolkit();
    OpenWindow(1, 32, 64, 32);
    std::string raw;
    const int passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                              {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    for (const auto& [x0, y0, dx, dy] : passes)
        for (int y = y0; y < 8; y += dy) {
            raw += '\0';  // no filter
            for (int x = x0; x < 8; x += dx) raw += {char(x * 30), char(y * 30), char(7)};
        }
    const std::string path =
        Write("interlaced.png", Header(8, 8, 1) + Chunk("IDAT", Deflate(raw)) + Chunk("IEND", ""));
    ASSERT_TRUE(vx::LoadPicture(1, path, 1, 2));
    for (int i = 0; i < 64; ++i)  // x = i % 8, y = i / 8
        EXPECT_EQ(g_Scrn(1, i % 8 + 1, i / 8 + 2),
                  (t_RGBColor{255, std::uint8_t(i % 8 * 30), std::uint8_t(i / 8 * 30), 7}))
            << i;
    // Colours the conversion cache must tell apart: green 0x80 from blue 1, and alpha 0x80 from 0xFF.
    const std::string rgba("\0\0\x80\0\xFF\0\0\x01\xFF\x0A\x14\x1E\xFF\x0A\x14\x1E\x80\x0A\0\0\xFF", 21);
    Write("interlaced.png", Header(5, 1, 0, 6) + Chunk("IDAT", Deflate(rgba)) + Chunk("IEND", ""));
    EXPECT_TRUE(vx::LoadPicture(1, path, 0, 0) && g_Scrn(1, 1, 0).Blue == 1 && g_Scrn(1, 3, 0).Alpha == 0x80);
    std::remove(path.c_str());
}

// Every refusal leaves the window as it was, with its own line and its reason for the user.
TEST(LoadPicture, RefusesWhatItCannotReadWithALineAndAReason) {
    StartToolkit();
    OpenWindow(1, 32, 64, 32);
    const std::string fifo = Temp("fifo.png"), dir = Temp("dir.png");
    ::mkfifo(fifo.c_str(), 0600);
    ::mkdir(dir.c_str(), 0700);
    const std::string text = Write("text.png", "not a picture"), fits = Write("fits.png", Png(64, 32)),
                      wide = Write("wide.png", Png(65, 32)), high = Write("high.png", Png(64, 33)),
                      huge = Write("huge.png", Header(16384, 16384)),
                      cut = Write("cut.png", Png(64, 32).substr(0, 60)),
                      bomb = Write("bomb.png", Png(4, 4,
                                                   Chunk("zTXt", std::string("Comment\0\0", 9) +
                                                                     Deflate(std::string(9 << 20, '\0')))));
    const std::string note = Chunk("tEXt", std::string("Comment\0", 8) + std::string(17 << 18, 'x')),
                      both = Write("both.png", Png(4, 4, note + note));  // each chunk fits, both do not
    const std::string larger = " pixel) is larger than graphic window #1 (64 x 32).",
                      missing = Temp("missing.png");
    // The line, in pieces around the path, and the reason.
    const std::string rows[][4] = {
        {"File ", missing, " could not be opened.", "not readable"},
        {"File ", fifo, " is not a regular file.", "not a regular file"},
        {"File ", dir, " is not a regular file.", "not a regular file"},
        {"File ", text, " is not a PNG picture.", "not a PNG picture"},
        {"Picture ", wide, " (65 x 32" + larger, "too large"},
        {"Picture ", high, " (64 x 33" + larger, "too large"},
        {"Picture ", huge, " (16384 x 16384" + larger, "too large"},
        {"Picture ", bomb, " is damaged (reached chunk/cache limits).", "too large"},
        {"Picture ", both, " is damaged (reached chunk/cache limits).", "too large"},
        {"Picture ", cut, " is damaged (", "damaged"}};
    std::vector<std::uint8_t> before(Block(1), Block(1) + 64 * 32 * 4);
    TakeLogLines();
    const int lowest = dup(2);  // the lowest free descriptor, which no refusal may leave open
    close(lowest);
    for (const auto& [kind, path, line, reason] : rows) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(vx::LoadPicture(1, path, 0, 0));
        const std::vector<std::string> lines = TakeLogLines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].rfind("LoadPicture: " + kind + path + line, 0), 0u) << lines[0];
        EXPECT_EQ(vx::PictureError(), reason);
        EXPECT_TRUE(std::equal(before.begin(), before.end(), Block(1)));
    }
    EXPECT_EQ(dup(2), lowest);
    EXPECT_TRUE(vx::LoadPicture(1, fits, 0, 0));  // exactly the window's size
    EXPECT_FALSE(vx::LoadPicture(9, fits, 0, 0));
    EXPECT_FALSE(vx::LoadPicture(2, fits, 0, 0));
    EXPECT_EQ(vx::PictureError(), "window not initialized");
    EXPECT_EQ(TakeLogLines(), (std::vector<std::string>{"LoadPicture: Window is not a graphic window.",
                                                        "LoadPicture: Graphic window #2 not initialized."}));
    for (const auto& p : {fifo, dir, text, fits, wide, high, huge, bomb, both, cut}) std::remove(p.c_str());
}

}  // namespace
