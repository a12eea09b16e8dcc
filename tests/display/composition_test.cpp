#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/toolkit_test.h"
#include "vxtools/core.h"
#include "vxtools/display.h"

namespace {

using namespace vx::test;

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
        EXPECT_EQ(image->width, 64);
        EXPECT_EQ(std::vector<std::uint32_t>(image->pixels.begin() + c.pixel,
                                             image->pixels.begin() + c.pixel + int(c.expect.size())),
                  c.expect);
    }
}

TEST(Composition, ReusesBuffersNobodyHoldsAndKeepsHeldOnesIntact) {
    vx::test::StartToolkit();
    OpenShown(0, 8);
    std::memset(Block(0), 0x10, 64 * 32);
    auto held = t_WindowImage(0);
    std::memset(Block(0), 0x20, 64 * 32);
    auto second = t_WindowImage(0);
    EXPECT_NE(second.get(), held.get());
    EXPECT_EQ(held->pixels[0], 0xFF101010u);
    const vx::WindowImage* secondAddress = second.get();
    second.reset();
    auto third = t_WindowImage(0);
    EXPECT_EQ(third.get(), secondAddress);
    EXPECT_EQ(third->pixels[0], 0xFF202020u);
    EXPECT_GT(WindowTable[0].UpdateFinished, 0);
}

TEST(Composition, GivesNothingForMissingHiddenOrOutOfMemoryWindows) {
    vx::test::StartToolkit();
    EXPECT_EQ(t_WindowImage(0), nullptr);  // before video memory exists
    t_InitWindow(0, 32, false, 64, 32, 0, 0, t_Font{}, true);
    EXPECT_EQ(t_WindowImage(0), nullptr);  // hidden
    EXPECT_EQ(t_WindowImage(4), nullptr);
    t_WindowVisible(0, true);
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

}  // namespace
