// Scene 7 on small known pictures: when the lens opens and how it grows,
// known points of the full lens, the eye2 mask; and the lens in the
// renderer's frames of the real show.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "program/scenes/scenes.h"
#include "program/scenes/scenetest.h"
#include "runtime/runtime.h"
#include "support/dump.h"
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
    fill(eye2, 320, 200, 1);
    fill(eye1, 320, 200, 0);
    runtime::randseed = 17;
    for (uint32_t p = 0; p < 64000; ++p) eye1.pixels[p] = static_cast<uint8_t>(runtime::random(256));
    sc::eyesetup();
  }
  static void frames(uint32_t row, int count, uint32_t position = 11) {
    setposition(position, row);
    while (count-- > 0) sc::eyepicture();
  }
  static uint8_t at(int x, int y) { return screen.pixels[y * 320 + x]; }
  static bool unchanged() { return std::memcmp(screen.pixels, eye1.pixels, 64000) == 0; }
};

// Row 17 latches the start on each of its frames, so the lens keeps size 75
// (the identity) through that row and grows by one every second frame after.
TEST_F(Eye, LensOpensAfterRow17AndGrowsEverySecondFrameUpToTheCap) {
  frames(40, 3, 10);  // not before position 11
  frames(16, 3);
  std::vector<int32_t> sizes;
  for (uint32_t row : {17u, 17u, 17u, 18u, 18u, 18u, 18u}) {
    frames(row, 1);
    sizes.push_back(tools::lenssize);
    EXPECT_TRUE(unchanged() || tools::lenssize > 75) << sizes.size();
  }
  EXPECT_EQ(sizes, (std::vector<int32_t>{75, 75, 75, 75, 76, 76, 77}));
  frames(30, 165);  // frame 178: (178 - 9) shr 1 + 75
  EXPECT_EQ(tools::lenssize, 159);
  frames(30, 1);
  EXPECT_EQ(tools::lenssize, 160);
  frames(30, 50);
  EXPECT_EQ(tools::lenssize, 160);
  EXPECT_EQ(sc::eyex0, 74);  // the square spans 74..233 x 38..197
  EXPECT_EQ(sc::eyey0, 38);
  // Without a frame of row 17 the start stays 0: the lens opens at full size.
  sc::eyesetup();
  frames(16, 200);
  frames(18, 1);
  EXPECT_EQ(tools::lenssize, 160);
}

// 40 right of the centre (154, 118): z = Round(sqrt(6400 - 1600)) = 69 and
// Round(40 / 69 * 6) = 3, so the pixel shows the picture 3 right of the
// centre; likewise 40 below. The square's corners lie outside the disc.
TEST_F(Eye, FullSizeLensSamplesTowardsItsCentre) {
  for (uint32_t p = 0; p < 64000; ++p) eye1.pixels[p] = static_cast<uint8_t>(p % 320);
  frames(18, 200);
  EXPECT_EQ(std::vector<int>({at(194, 118), at(114, 118), at(154, 118)}), std::vector<int>({157, 151, 154}));
  for (uint32_t p = 0; p < 64000; ++p) eye1.pixels[p] = static_cast<uint8_t>(p / 320);
  frames(18, 1);
  EXPECT_EQ(std::vector<int>({at(154, 158), at(154, 78), at(74, 38), at(233, 197)}),
            std::vector<int>({121, 115, 38, 197}));
}

TEST_F(Eye, OnlyPixelsMaskedExactlyOneAreMagnified) {
  const uint8_t marks[4] = {0, 1, 2, 255};
  for (uint32_t p = 0; p < 64000; ++p) eye2.pixels[p] = marks[(p % 320 + p / 320) % 4];
  frames(18, 200);
  size_t magnified = 0;
  for (uint32_t p = 0; p < 64000; ++p) {
    const bool same = screen.pixels[p] == eye1.pixels[p];
    ASSERT_TRUE(same || eye2.pixels[p] == 1) << p;
    magnified += !same;
  }
  EXPECT_GT(magnified, 1000u);
}

// Every size keeps the square, and every picture offset read, inside the picture.
TEST_F(Eye, EverySizeStaysInsideThePicture) {
  setposition(11, 18);
  for (int32_t size = 75; size <= 160; ++size) {
    sc::eyestart = 0;
    sc::eyeframes = static_cast<uint32_t>(2 * (size - 75));
    sc::eyelens();
    ASSERT_EQ(tools::lenssize, size);
    const int32_t corner = sc::eyey0 * 320 + sc::eyex0;
    ASSERT_TRUE(sc::eyex0 >= 0 && sc::eyey0 >= 0 && sc::eyex0 + size <= 320 && sc::eyey0 + size <= 200) << size;
    ASSERT_LT(corner + *std::max_element(tools::lenstable, tools::lenstable + size * size), 64000) << size;
  }
}

// Four frames per row: scene 7 is frames 2561 (position 11, row 0) to 2816,
// frame n reads row (n - 2560) / 4, so row 17 is frames 2628..2631 and the
// start latches at frame count 71: the lens has size 159 in frame 2800 and
// 160 from 2801 ((241 - 71) shr 1 = 85). Rows 40..149 hold no text.
TEST(EyeShow, LensUnchangedThroughRow17ThenGrowsToItsSquare) {
  constexpr uint32_t first = 2600;
  const std::vector<testsupport::tframerecord> frames = testsupport::renderdump(3, 4, 2816, {}, first);
  ASSERT_EQ(frames.size(), 2816u - first);
  auto differ = [&](size_t a, size_t b, bool insquare) {
    size_t n = 0;
    const auto &fa = frames[a - first], &fb = frames[b - first];
    for (uint32_t y = 40; y < 150; ++y)
      for (uint32_t x = 0; x < 320; ++x)
        if (insquare == (x >= 74 && x <= 233 && y >= 38)) n += fa.at(x, y) != fb.at(x, y);
    return n;
  };
  const size_t nolens = 2627;  // row 16
  for (size_t n = 2628; n <= 2632; ++n) EXPECT_EQ(differ(n, nolens, true), 0u) << n;
  EXPECT_GT(differ(2800, 2801, true), 0u);
  for (size_t n = 2802; n <= 2815; ++n) EXPECT_EQ(differ(n, 2801, true), 0u) << n;
  EXPECT_GT(differ(2815, nolens, true), 5000u);
  EXPECT_EQ(differ(2815, nolens, false), 0u);
}

}  // namespace
