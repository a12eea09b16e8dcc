#include <gtest/gtest.h>
#include <spng.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "support/toolkit_test.h"
#include "vxtools/display.h"

namespace {

using namespace vx::test;

std::string TempPath(const std::string& name) {
    return testing::TempDir() + name + "-" + std::to_string(::getpid()) + ".png";
}

// The file decoded to 0xAARRGGBB words by the library, independently of how it was written.
vx::WindowImage Decode(const std::string& path, std::uint8_t& colourType) {
    vx::WindowImage image;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    spng_ctx* ctx = spng_ctx_new(0);
    spng_ihdr header{};
    std::size_t size = 0;
    if (file != nullptr && spng_set_png_file(ctx, file) == 0 && spng_get_ihdr(ctx, &header) == 0 &&
        spng_decoded_image_size(ctx, SPNG_FMT_RGBA8, &size) == 0) {
        std::vector<std::uint8_t> rgba(size);
        if (spng_decode_image(ctx, rgba.data(), size, SPNG_FMT_RGBA8, 0) == 0)
            image = {int(header.width), int(header.height), {}};
        for (std::size_t i = 0; image.width > 0 && i + 3 < size; i += 4)
            image.pixels.push_back(std::uint32_t(rgba[i + 3]) << 24 | std::uint32_t(rgba[i]) << 16 |
                                   std::uint32_t(rgba[i + 1]) << 8 | rgba[i + 2]);
        colourType = header.color_type;
    }
    spng_ctx_free(ctx);
    if (file != nullptr) std::fclose(file);
    return image;
}

TEST(PictureFile, SavedWindowDecodesToTheComposedImageAtEveryDepth) {
    vx::test::StartToolkit();
    struct Case {
        int depth, width, height;
        std::uint8_t byteMask;    // limits the colours, and with them the packed depth of the file
        std::uint8_t colourType;  // what the colour count calls for
    };
    // Odd widths put the last pixel of a row in the middle of a packed byte.
    const Case cases[] = {{1, 40, 32, 0xFF, SPNG_COLOR_TYPE_INDEXED},
                          {8, 33, 35, 0x03, SPNG_COLOR_TYPE_INDEXED},
                          {4, 36, 33, 0xFF, SPNG_COLOR_TYPE_INDEXED},
                          {8, 37, 32, 0xFF, SPNG_COLOR_TYPE_INDEXED},
                          {32, 33, 32, 0xFF, SPNG_COLOR_TYPE_TRUECOLOR}};
    std::uint8_t n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.depth);
        OpenShown(n, c.depth, false, c.width, c.height);
        const std::int64_t bytes = WindowTable[n].MemoryEnd - WindowTable[n].MemoryStart + 1;
        for (std::int64_t i = 0; i < bytes; ++i) Block(n)[i] = std::uint8_t((i * 7919 >> 3 ^ i) & c.byteMask);
        const std::string path = TempPath("window" + std::to_string(n));
        ASSERT_TRUE(vx::SavePicture(n, path));
        const auto composed = t_WindowImage(n);
        std::uint8_t type = 0;
        const vx::WindowImage decoded = Decode(path, type);
        EXPECT_EQ(type, c.colourType);
        EXPECT_EQ(std::pair(decoded.width, decoded.height), std::pair(c.width, c.height));
        EXPECT_EQ(decoded.pixels, composed->pixels);
        std::remove(path.c_str());
        ++n;
    }
}

TEST(PictureFile, RefusesWhatItCannotSaveAndWritesNoFile) {
    vx::test::StartToolkit();
    const std::string path = TempPath("refused");
    EXPECT_FALSE(vx::SavePicture(9, path));
    EXPECT_FALSE(vx::SavePicture(3, path));
    t_InitWindow(2, 4, false, 16, 16, 0, 0, t_Font{}, true);
    EXPECT_FALSE(vx::SavePicture(2, path));  // hidden: no picture
    t_WindowVisible(2, true);
    EXPECT_FALSE(vx::SavePicture(2, "/nonexistent-directory/picture.png"));
    EXPECT_FALSE(vx::WritePng(vx::WindowImage{4, 4, std::vector<std::uint32_t>(15)}, path));
    EXPECT_EQ(TakeOwnLogLines().back(), "WritePng: Image is empty or incomplete.");
    EXPECT_NE(access(path.c_str(), F_OK), 0);
}

}  // namespace
