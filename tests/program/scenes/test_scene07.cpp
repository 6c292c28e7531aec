// Scene 7 on small known pictures: when the lens opens and how it grows,
// the eye2 mask, known points of the full-size lens; and the lens in the
// renderer's frames of the real show.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "program/scenes/scenes.h"
#include "program/scenes/scenetest.h"
#include "program/scenes/state.h"
#include "runtime/runtime.h"
#include "support/dump.h"
#include "tarnpal/tarnpal.h"
#include "tools/lens.h"
#include "tools/stores.h"

namespace {

namespace sc = program::scenes;
using namespace scenetest;
using tools::eye1;
using tools::eye2;
using tools::screen;

class Eye : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::initmemory();
    clearstore();
    fill(eye1, 320, 200, 0);
    fill(eye2, 320, 200, 1);
    runtime::randseed = 17;
    for (uint32_t p = 0; p < 64000; ++p) eye1.pixels[p] = static_cast<uint8_t>(runtime::random(256));
    sc::eyesetup();
  }
  static void frames(uint32_t position, uint32_t row, int count) {
    setposition(position, row);
    while (count-- > 0) sc::eyepicture();
  }
  static uint8_t at(int x, int y) { return screen.pixels[y * 320 + x]; }
  static size_t changed() {
    size_t n = 0;
    for (uint32_t p = 0; p < 64000; ++p) n += screen.pixels[p] != eye1.pixels[p];
    return n;
  }
};

// Row 17 latches the start on every frame, so the lens keeps size 75 (the
// identity) through that row and grows by one every second frame after it.
TEST_F(Eye, LensOpensAfterRow17AndGrowsEverySecondFrameUpToTheCap) {
  frames(10, 40, 3);  // not before position 11
  frames(11, 16, 3);
  EXPECT_EQ(changed(), 0u);
  std::vector<int32_t> sizes;
  for (uint32_t row : {17u, 17u, 17u, 18u, 18u, 18u, 18u, 18u, 18u}) {
    frames(11, row, 1);
    sizes.push_back(tools::lenssize);
    if (tools::lenssize == 75) {
      EXPECT_EQ(changed(), 0u) << sizes.size();
    }
  }
  EXPECT_EQ(sizes, (std::vector<int32_t>{75, 75, 75, 75, 76, 76, 77, 77, 78}));
  EXPECT_EQ(sc::eyestart, 9u);
  frames(11, 30, 163);  // frame 178: (178 - 9) shr 1 + 75 = 159
  EXPECT_EQ(tools::lenssize, 159);
  frames(11, 30, 1);
  EXPECT_EQ(tools::lenssize, 160);
  frames(11, 30, 50);
  EXPECT_EQ(tools::lenssize, 160);
  EXPECT_EQ(tools::lensradius, 80);
  EXPECT_EQ(sc::eyex0, 74);  // the square spans 74..233 x 38..197
  EXPECT_EQ(sc::eyey0, 38);

  // Without a frame in row 17 the start stays 0: the lens opens at full size.
  sc::eyesetup();
  frames(11, 16, 200);
  frames(11, 18, 1);
  EXPECT_EQ(tools::lenssize, 160);
}

// With the whole picture masked, known points of the size-160 lens: 40 to
// the right of the centre (154, 118) z = Round(sqrt(6400 - 1600)) = 69 and
// Round(40 / 69 * 6) = 3, so the pixel shows the picture 3 to the right;
// likewise 40 below. The square's corners lie outside the disc.
TEST_F(Eye, FullSizeLensSamplesTowardsItsCentre) {
  for (uint32_t p = 0; p < 64000; ++p) eye1.pixels[p] = static_cast<uint8_t>(p % 320);  // the column
  frames(11, 18, 200);
  ASSERT_EQ(tools::lenssize, 160);
  EXPECT_EQ(at(194, 118), 157);
  EXPECT_EQ(at(114, 118), 151);
  EXPECT_EQ(at(154, 118), 154);
  for (uint32_t p = 0; p < 64000; ++p) eye1.pixels[p] = static_cast<uint8_t>(p / 320);  // the row
  frames(11, 18, 1);
  EXPECT_EQ(at(154, 158), 121);
  EXPECT_EQ(at(154, 78), 115);
  for (auto [x, y] : {std::array{74, 38}, {233, 38}, {74, 197}, {233, 197}}) EXPECT_EQ(at(x, y), y) << x << "," << y;
}

TEST_F(Eye, OnlyPixelsMaskedExactlyOneAreMagnified) {
  const uint8_t marks[4] = {0, 1, 2, 255};
  for (uint32_t p = 0; p < 64000; ++p) eye2.pixels[p] = marks[(p % 320 + p / 320) % 4];
  frames(11, 18, 200);
  size_t magnified = 0;
  for (uint32_t p = 0; p < 64000; ++p) {
    if (eye2.pixels[p] == 1) {
      magnified += screen.pixels[p] != eye1.pixels[p];
      continue;
    }
    ASSERT_EQ(screen.pixels[p], eye1.pixels[p]) << p % 320 << "," << p / 320;
  }
  EXPECT_GT(magnified, 1000u);
}

// Every size the lens takes keeps its square, and every picture offset it
// reads, inside the 320x200 picture.
TEST_F(Eye, EverySizeReadsAndWritesInsideThePicture) {
  for (int32_t size = 75; size <= 160; ++size) {
    sc::eyestart = 0;
    sc::eyeframes = static_cast<uint32_t>(2 * (size - 75));
    setposition(11, 18);
    sc::eyelens();
    ASSERT_EQ(tools::lenssize, size);
    const int32_t x0 = sc::eyex0, y0 = sc::eyey0;
    ASSERT_TRUE(x0 >= 0 && y0 >= 0 && x0 + size <= 320 && y0 + size <= 200) << size;
    uint32_t highest = 0;
    for (int32_t i = 0; i < size * size; ++i)
      highest = std::max<uint32_t>(highest, static_cast<uint32_t>(y0 * 320 + x0) + tools::lenstable[i]);
    ASSERT_LT(highest, 64000u) << size;
  }
}

TEST_F(Eye, FadesInFromWhiteInSixtyThreeSteps) {
  for (auto& e : tools::eye1pal.entry) e = {0, 10, 63, 0};
  for (int i = 0; i < 256; ++i) tarnpal::setcolor(static_cast<uint8_t>(i), 63, 63, 63);
  frames(1, 0, 62);
  EXPECT_EQ(colour(5), (std::array<uint8_t, 3>{1, 10, 63}));
  frames(1, 0, 1);
  EXPECT_EQ(colour(5), (std::array<uint8_t, 3>{0, 10, 63}));
  for (auto& e : tools::eye1pal.entry) e = {30, 30, 30, 0};
  frames(1, 0, 3);
  EXPECT_EQ(colour(5), (std::array<uint8_t, 3>{0, 10, 63}));
}

// ---- the lens in the real show ------------------------------------------------------

// Four frames per row: scene 7 is frames 2561 (position 11, row 0) to 2816,
// and frame n reads row (n - 2560) / 4, so row 17 is frames 2628..2631 and
// the start is latched at frame count 71. The lens then has size 160 from
// frame 2801 ((241 - 71) shr 1 = 85), 159 in frame 2800.
TEST(EyeShow, LensUnchangedThroughRow17ThenGrowsToItsSquare) {
  const std::vector<testsupport::tframerecord> frames = testsupport::renderdump(3, 4, 2816);
  ASSERT_EQ(frames.size(), 2816u);
  // Rows 40..149: below the upper text and above the lower one.
  auto differ = [&](size_t a, size_t b, bool insidesquare) {
    size_t n = 0;
    for (uint32_t y = 40; y < 150; ++y)
      for (uint32_t x = 0; x < 320; ++x) {
        if (insidesquare != (x >= 74 && x <= 233 && y >= 38 && y <= 197)) continue;
        n += frames[a].at(x, y) != frames[b].at(x, y);
      }
    return n;
  };
  const size_t before = 2627;  // row 16: no lens yet
  for (size_t n = 2628; n <= 2632; ++n) EXPECT_EQ(differ(n, before, true), 0u) << n;
  EXPECT_GT(differ(2800, 2801, true), 0u);
  for (size_t n = 2801; n <= 2815; ++n) {
    EXPECT_EQ(differ(n, 2801, true), 0u) << n;
    EXPECT_EQ(differ(n, before, false), 0u) << n;
  }
  EXPECT_GT(differ(2801, before, true), 5000u);
}

}  // namespace
