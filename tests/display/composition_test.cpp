#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/toolkit_test.h"
#include "vxtools/core.h"
#include "vxtools/display.h"

namespace {

using namespace vx::test;

TEST(Composition, GivesNothingBeforeMemoryForHiddenAndForUninitialisedWindows) {
    vx::test::StartToolkit();
    EXPECT_EQ(t_WindowImage(0), nullptr);
    t_InitWindow(0, 8, false, 64, 32, 0, 0, t_Font{}, true);
    vx::test::TakeLogLines();
    EXPECT_EQ(t_WindowImage(0), nullptr);
    EXPECT_EQ(TakeOwnLogLines().size(), 0u);
    EXPECT_EQ(t_WindowImage(4), nullptr);
    EXPECT_EQ(TakeOwnLogLines(),
              std::vector<std::string>{"t_WindowImage: Graphic window #4 not initialized."});
}

TEST(Composition, ExpandsEveryDepthToOpaqueWords) {
    vx::test::StartToolkit();
    OpenShown(0, 1);
    std::memset(Block(0), 0, 8 * 32);
    auto image = t_WindowImage(0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 64);
    EXPECT_EQ(image->height, 32);
    ASSERT_EQ(image->pixels.size(), 64u * 32u);
    EXPECT_EQ(image->pixels.front(), 0xFF000000u);
    Block(0)[1] = 0x81;
    image = t_WindowImage(0);
    EXPECT_EQ(image->pixels[8], 0xFFFFFFFFu);
    EXPECT_EQ(image->pixels[9], 0xFF000000u);
    EXPECT_EQ(image->pixels[15], 0xFFFFFFFFu);

    OpenShown(1, 4);
    Block(1)[0] = 0x3C;
    Block(1)[32 * 32 - 1] = 0x0F;
    image = t_WindowImage(1);
    EXPECT_EQ(image->pixels[0], 0xFFFF00FFu);
    EXPECT_EQ(image->pixels[1], 0xFF00FF00u);
    EXPECT_EQ(image->pixels[64 * 32 - 2], 0xFF000000u);
    EXPECT_EQ(image->pixels[64 * 32 - 1], 0xFFFFFFFFu);

    OpenShown(2, 8);
    Block(2)[5] = 0x80;
    EXPECT_EQ(t_WindowImage(2)->pixels[5], 0xFF808080u);

    OpenShown(3, 16);
    Block(3)[2] = 0x00;
    Block(3)[3] = 0x80;
    EXPECT_EQ(t_WindowImage(3)->pixels[1], 0xFF808080u);

    OpenShown(4, 24);
    const std::uint8_t rgb[3] = {0x12, 0x34, 0x56};
    std::memcpy(Block(4) + 3 * 63, rgb, 3);
    std::memcpy(Block(4) + 3 * (64 * 32 - 1), rgb, 3);
    image = t_WindowImage(4);
    EXPECT_EQ(image->pixels[63], 0xFF123456u);
    EXPECT_EQ(image->pixels[64 * 32 - 1], 0xFF123456u);
    EXPECT_EQ(image->pixels[64 * 32 - 2], 0xFF000000u);

    OpenShown(5, 32);
    const std::uint8_t argb[4] = {0x00, 0x12, 0x34, 0x56};
    std::memcpy(Block(5) + 4 * 64, argb, 4);
    image = t_WindowImage(5);
    EXPECT_EQ(image->pixels[64], 0xFF123456u);
    EXPECT_EQ(image->pixels[0], 0xFF000000u);
}

TEST(Composition, RecordsDurationAndFinishTime) {
    vx::test::StartToolkit();
    OpenShown(0, 4, false, 512, 512);
    const std::int64_t before = vx::AbsoluteTimeMillis();
    ASSERT_NE(t_WindowImage(0), nullptr);
    const std::int64_t after = vx::AbsoluteTimeMillis();
    EXPECT_GE(WindowTable[0].UpdateFinished, before);
    EXPECT_LE(WindowTable[0].UpdateFinished, after);
    EXPECT_GE(WindowTable[0].UpdateDuration, 0);
    EXPECT_LE(WindowTable[0].UpdateDuration, (after - before + 1) * 1000);
    t_WindowVisible(0, false);
    EXPECT_EQ(WindowTable[0].UpdateDuration, 0);
}

TEST(Composition, ReusesBuffersNobodyHoldsAndKeepsHeldOnesIntact) {
    vx::test::StartToolkit();
    OpenShown(0, 8);
    std::memset(Block(0), 0x10, 64 * 32);
    auto held = t_WindowImage(0);
    const vx::WindowImage* first = held.get();
    std::memset(Block(0), 0x20, 64 * 32);
    auto second = t_WindowImage(0);
    EXPECT_NE(second.get(), first);
    EXPECT_EQ(held->pixels[0], 0xFF101010u);
    const vx::WindowImage* secondAddress = second.get();
    second.reset();
    auto third = t_WindowImage(0);
    EXPECT_EQ(third.get(), secondAddress);
    EXPECT_EQ(third->pixels[0], 0xFF202020u);
}

TEST(Composition, RefusesRecordsThatReachOutsideVideoMemory) {
    vx::test::StartToolkit();
    OpenShown(0, 32);
    t_Window& w = WindowTable[0];
    w.MemoryStart = kVideoMemorySize - 100;
    w.MemoryEnd = kVideoMemorySize - 1;
    EXPECT_EQ(t_WindowImage(0), nullptr);
    w.MemoryStart = 0;
    w.MemoryEnd = kVideoMemorySize - 1;
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
