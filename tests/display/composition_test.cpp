// The composed image of a window, the picture file made from it, and the updates that show it.
#include <gtest/gtest.h>
#include <spng.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "core/program.h"
#include "display/refresh.h"
#include "support/toolkit_test.h"
#include "vxtools/core.h"
#include "vxtools/graphics.h"

namespace {

using namespace vx::test;

std::string TempPath(const std::string& name) {
    return testing::TempDir() + name + "-" + std::to_string(::getpid()) + ".png";
}

constexpr std::uint32_t kBlack = 0xFF000000u, kWhite = 0xFFFFFFFFu;

// All sixteen palette entries as opaque 0xAARRGGBB words, written out independently of the palette table.
constexpr std::uint32_t kPalette[16] = {
    kBlack,      0xFFFF0000u, 0xFF000080u, 0xFFFF00FFu, 0xFF008000u, 0xFF545454u, 0xFF0000FFu, 0xFF0080FFu,
    0xFF804000u, 0xFFFF8000u, 0xFFA8A8A8u, 0xFFFF8080u, 0xFF00FF00u, 0xFFFFFF00u, 0xFF00FFFFu, kWhite};

TEST(Composition, ExpandsEveryDepthAndAllSixteenPaletteEntriesToOpaqueWords) {
    vx::test::StartToolkit();
    struct Case {
        int depth;
        int offset;  // where the bytes go in the 64 x 32 block, which is otherwise black
        std::vector<std::uint8_t> bytes;
        int pixel;  // the first pixel compared
        std::vector<std::uint32_t> expect;
    };
    std::vector<std::uint8_t> nibbles;
    for (int i = 0; i < 16; i += 2) nibbles.push_back(std::uint8_t(i << 4 | (i + 1)));
    const Case cases[] = {
        {1, 1, {0x81}, 8, {kWhite, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, kWhite}},
        {4, 0, nibbles, 0, std::vector<std::uint32_t>(kPalette, kPalette + 16)},
        {4, 32 * 32 - 1, {0x0F}, 64 * 32 - 2, {kBlack, kWhite}},  // the last byte of the block
        {8, 5, {0x80}, 5, {0xFF808080u}},
        {16, 2, {0x00, 0x80}, 1, {0xFF808080u}},
        {24, 3 * 62, {0, 0, 0, 0x12, 0x34, 0x56}, 62, {kBlack, 0xFF123456u}},
        {24, 3 * (64 * 32 - 1), {0x12, 0x34, 0x56}, 64 * 32 - 1, {0xFF123456u}},
        {32, 4 * 63, {0xFF, 0, 0, 0, 0x00, 0x12, 0x34, 0x56}, 63, {kBlack, 0xFF123456u}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.depth << " bit at byte " << c.offset);
        OpenShown(0, c.depth);
        std::memset(Block(0), 0, std::size_t(64 * 32 * c.depth / 8));
        std::memcpy(Block(0) + c.offset, c.bytes.data(), c.bytes.size());
        const auto image = t_WindowImage(0);
        ASSERT_NE(image, nullptr);
        ASSERT_EQ(image->pixels.size(), 64u * 32u);
        EXPECT_EQ(std::vector<std::uint32_t>(image->pixels.begin() + c.pixel,
                                             image->pixels.begin() + c.pixel + int(c.expect.size())),
                  c.expect);
    }
}

TEST(Composition, NeverComposesIntoAnImageSomebodyStillHolds) {
    vx::test::StartToolkit();
    OpenShown(0, 8);
    std::memset(Block(0), 0x10, 64 * 32);
    const auto held = t_WindowImage(0);
    std::memset(Block(0), 0x20, 64 * 32);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(t_WindowImage(0)->pixels[0], 0xFF202020u);
    EXPECT_EQ(held->pixels[0], 0xFF101010u);
}

TEST(Composition, GivesNoImageAndSavesNoFileForMissingHiddenOrBrokenWindowsAndNeverReadsOutsideMemory) {
    vx::test::StartToolkit();
    const std::string path = TempPath("refused");
    EXPECT_EQ(t_WindowImage(0), nullptr);  // before video memory exists
    t_InitWindow(0, 32, false, 64, 32, 0, 0, t_Font{}, true);
    EXPECT_EQ(t_WindowImage(0), nullptr);  // hidden
    EXPECT_FALSE(vx::SavePicture(0, path));
    EXPECT_FALSE(vx::SavePicture(9, path));
    t_WindowVisible(0, true);
    EXPECT_FALSE(vx::SavePicture(0, "/nonexistent-directory/picture.png"));
    EXPECT_FALSE(vx::WritePng(vx::WindowImage{4, 4, std::vector<std::uint32_t>(15)}, path));
    EXPECT_NE(access(path.c_str(), F_OK), 0);
    t_Window& w = WindowTable[0];
    w.MemoryStart = kVideoMemorySize - 100;
    w.MemoryEnd = kVideoMemorySize - 1;
    EXPECT_EQ(t_WindowImage(0), nullptr);
    w.MemoryStart = 0;
    w.Width = 1 << 20;
    EXPECT_EQ(t_WindowImage(0), nullptr);
    w.Width = 64;
    w.BitDepth = 2;
    vx::test::TakeLogLines();
    EXPECT_EQ(t_WindowImage(0), nullptr);
    EXPECT_EQ(TakeOwnLogLines(), std::vector<std::string>{"t_WindowImage: Illegal bit depth."});
    w.BitDepth = 32;
    EXPECT_NE(t_WindowImage(0), nullptr);
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

TEST(WindowUpdate, ImmediateUpdateComposesOnReturnAndDeferredOnlyMarks) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    OpenShown(0);
    t_Color(0, 15);
    g_Plot(0, 1, 0);
    const int displays = platform.View(0).displays, marks = platform.View(0).marks;
    t_WindowUpdate(0, false);
    const vx::HeadlessViewState view = platform.View(0);
    EXPECT_EQ(view.displays, displays + 1);
    ASSERT_NE(view.lastImage, nullptr);
    EXPECT_EQ(view.lastImage->pixels[1], 0xFFFFFFFFu);
    // Directly on the user-interface thread too, where waiting for it would hang.
    OnUserInterfaceThread([] { t_WindowUpdate(0, false); });
    EXPECT_EQ(platform.View(0).displays, displays + 2);
    t_WindowUpdate(0, true);
    EXPECT_EQ(platform.View(0).marks, marks + 1);
}

TEST(RefreshProcess, MarksAutoRefreshingWindowsAtMostAtTheirRateAndNotWhileTheirViewComposes) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    OpenShown(1, 4, true);
    OpenShown(2);
    OpenShown(3, 4, true);
    platform.Flush();  // no display cycle left that would set VerticalBlank again
    vx::Store(WindowTable[3].VerticalBlank, false);
    const std::int64_t start = vx::AbsoluteTimeMillis();
    const int marks1 = platform.View(1).marks, marks2 = platform.View(2).marks,
              marks3 = platform.View(3).marks;
    vx::SleepNanoseconds(300'000'000);
    const std::int64_t elapsed = vx::AbsoluteTimeMillis() - start;
    const int marked = platform.View(1).marks - marks1;
    EXPECT_GE(marked, 1);
    EXPECT_LE(marked, elapsed / 33 + 2);
    EXPECT_EQ(platform.View(2).marks, marks2);
    EXPECT_EQ(platform.View(3).marks, marks3);
    vx::Store(WindowTable[3].RefreshRate, 0);
    vx::Store(WindowTable[3].VerticalBlank, true);
    vx::SleepNanoseconds(50'000'000);
    EXPECT_GT(platform.View(3).marks, marks3);
}

TEST(RefreshProcess, StopsWhenThePlatformQuits) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    OpenShown(0, 4, true);
    platform.BeginQuit();
    for (int i = 0; i < 200 && AutoUpdateRunning.load(); ++i) vx::SleepNanoseconds(5'000'000);
    EXPECT_FALSE(AutoUpdateRunning.load());
    EXPECT_TRUE(vx::test::LogContains("t_WindowAutoUpdateProcess: End."));
}

}  // namespace
