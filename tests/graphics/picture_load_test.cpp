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

// A PNG of black pixels, with `extra` chunks before its image data, and a wrong checksum if asked.
std::string Png(std::uint32_t width, std::uint32_t height, const std::string& extra = "",
                bool wrongSum = false) {
    const std::string rows(std::size_t(height) * (1 + 3 * std::size_t(width)), '\0');
    std::string data = Deflate(rows);
    data.back() = char(data.back() ^ wrongSum);
    return Header(width, height) + extra + Chunk("IDAT", data) + Chunk("IEND", "");
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
        const std::uint64_t outside = OutsideChecksum(WindowTable[1]);
        // Where a row 32 would lie, as far as video memory reaches there.
        const std::uint8_t* below = Block(1) + 64 * 32 * depth / 8;
        const std::vector<std::uint8_t> next(
            below, below + std::min<std::ptrdiff_t>(8 * depth, VideoMemory + kVideoMemorySize - below));
        ASSERT_TRUE(vx::LoadPicture(1, path, 62, 31, &size));  // the second row falls below the window
        EXPECT_EQ(Pos(size.width, size.height), Pos(3, 2));
        ASSERT_TRUE(vx::LoadPicture(1, path, -1, -1));
        EXPECT_EQ(OutsideChecksum(WindowTable[1]), outside);
        EXPECT_TRUE(std::equal(next.begin(), next.end(), below));
        EXPECT_EQ(vx::PictureError(), "");
        for (const auto& [x, y, c] : {std::tuple{62, 31, red}, {63, 31, white}, {0, 0, red}, {1, 0, white}})
            expected[std::size_t(y * 64 + x)] = c;
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
    // Neighbours the conversion cache must tell apart, each differing from the one before in one channel
    // or across the borders of its bytes, and transparent black last; the first falls left of the window.
    const std::uint8_t px[][4] = {{9, 9, 9, 9},      {10, 20, 30, 255}, {10, 21, 30, 255}, {10, 21, 31, 255},
                                  {128, 0, 31, 255}, {0, 1, 31, 255},   {0, 1, 128, 254},  {0, 1, 0, 255},
                                  {0, 1, 128, 0},    {0, 1, 0, 1},      {0, 1, 0, 129},    {0, 1, 0, 1},
                                  {0, 0, 0, 0}};
    std::string rgba(1, '\0');  // no filter
    for (const auto& p : px) rgba.append(reinterpret_cast<const char*>(p), 4);
    Write("interlaced.png", Header(13, 1, 0, 6) + Chunk("IDAT", Deflate(rgba)) + Chunk("IEND", ""));
    ASSERT_TRUE(vx::LoadPicture(1, path, -1, 1));
    EXPECT_EQ(g_Scrn(1, 63, 0), (t_RGBColor{255, 0, 0, 0}));
    for (int i = 1; i < 13; ++i)
        EXPECT_EQ(g_Scrn(1, i - 1, 1), (t_RGBColor{px[i][3], px[i][0], px[i][1], px[i][2]})) << i;
    std::remove(path.c_str());
}

// Every refusal leaves the window as it was, with its own line and its reason for the user.
TEST(LoadPicture, RefusesWhatItCannotReadWithALineAndAReason) {
    StartToolkit();
    OpenWindow(1, 32, 64, 32);
    const std::string fifo = Temp("fifo.png"), dir = Temp("dir.png"), fits = Write("fits.png", Png(64, 32));
    ::mkfifo(fifo.c_str(), 0600);
    ::mkdir(dir.c_str(), 0700);
    const std::string larger = " pixel) is larger than graphic window #1 (64 x 32).",
                      damaged = " is damaged (", limits = damaged + "reached chunk/cache limits).";
    const std::string note = Chunk("tEXt", std::string("Comment\0", 8) + std::string(17 << 18, 'x'));
    const std::string bomb = Chunk("zTXt", std::string("Comment\0\0", 9) + Deflate(std::string(9 << 20, 0)));
    // The line, in pieces around the path, and the reason; both text chunks fit, the two together do not.
    const std::string rows[][4] = {
        {"File ", Temp("missing.png"), " could not be opened.", "not readable"},
        {"File ", fifo, " is not a regular file.", "not a regular file"},
        {"File ", dir, " is not a regular file.", "not a regular file"},
        {"File ", Write("text.png", "not a picture"), " is not a PNG picture.", "not a PNG picture"},
        {"Picture ", Write("wide.png", Png(65, 32)), " (65 x 32" + larger, "too large"},
        {"Picture ", Write("high.png", Png(64, 33)), " (64 x 33" + larger, "too large"},
        {"Picture ", Write("huge.png", Header(16384, 16384)), " (16384 x 16384" + larger, "too large"},
        {"Picture ", Write("bomb.png", Png(4, 4, bomb)), limits, "too large"},
        {"Picture ", Write("both.png", Png(4, 4, note + note)), limits, "too large"},
        {"Picture ", Write("cut.png", Png(64, 32).substr(0, 60)), damaged, "damaged"},
        {"Picture ", Write("adler.png", Png(4, 4, "", true)), damaged, "damaged"}};
    std::vector<std::uint8_t> before(Block(1), Block(1) + 64 * 32 * 4);
    TakeLogLines();
    const int lowest = dup(2);  // the lowest free descriptor, which no refusal may leave open
    close(lowest);
    for (const auto& [kind, path, line, reason] : rows) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(vx::LoadPicture(1, path, 0, 0));
        const std::vector<std::string> lines = TakeLogLines();
        EXPECT_TRUE(lines.size() == 1 && lines[0].starts_with("LoadPicture: " + kind + path + line));
        EXPECT_EQ(std::pair(vx::PictureError(), std::equal(before.begin(), before.end(), Block(1))),
                  std::pair(reason, true));
    }
    EXPECT_EQ(dup(2), lowest);
    // Exactly the window's size, read through descriptor 0, and the last reason cleared.
    const int input = dup(0);
    close(0);
    EXPECT_TRUE(vx::LoadPicture(1, fits, 0, 0));
    dup2(input, 0);
    close(input);
    EXPECT_EQ(vx::PictureError(), "");
    for (const auto& [n, reason] : {std::pair(8, "not a graphic window"), {7, "window not initialized"}}) {
        EXPECT_FALSE(vx::LoadPicture(std::uint8_t(n), fits, 0, 0));
        EXPECT_EQ(vx::PictureError(), reason);
    }
    EXPECT_EQ(TakeLogLines(), (std::vector<std::string>{"LoadPicture: Window is not a graphic window.",
                                                        "LoadPicture: Graphic window #7 not initialized."}));
    for (const auto& row : rows) std::remove(row[1].c_str());
    std::remove(fits.c_str());
}

}  // namespace
