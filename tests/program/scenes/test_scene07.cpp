// Scene 7 on small known pictures: when the lens opens and how it grows,
// known points of the full lens, and the eye2 mask.
#include <gtest/gtest.h>

#include "program/scenes/scenetest.h"
#include "tools/lens.h"

namespace {

namespace sc = program::scenes;
using namespace scenetest;
using tools::eye1, tools::eye2, tools::screen;

class Eye : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::initmemory();
    fill(eye2, 320, 200, 1);
    fill(eye1, 320, 200, 0);
    runtime::randseed = 17;
    randomfill(eye1.pixels);
    sc::eyesetup();
  }
  static void frames(uint32_t row, int count, uint32_t position = 11) {
    setposition(position, row);
    while (count-- > 0) sc::eyepicture();
  }
};

// Row 17 latches the start on each of its frames, so the lens keeps size 75
// (the identity) through that row and grows by one every second frame
// after, up to 160; at every size its square (74..233 x 38..197 at the cap)
// and every picture offset it reads lie inside the picture. Without a frame
// of row 17 the start stays 0: the lens opens at full size.
TEST_F(Eye, LensOpensAfterRow17AndGrowsEverySecondFrameUpToTheCap) {
  frames(40, 3, 10);  // not before position 11
  frames(16, 3);
  std::vector<int32_t> sizes;
  for (uint32_t row : {17u, 17u, 17u, 18u, 18u, 18u, 18u}) {
    frames(row, 1);
    sizes.push_back(tools::lenssize);
    EXPECT_TRUE(std::memcmp(screen.pixels, eye1.pixels, 64000) == 0 || tools::lenssize > 75) << sizes.size();
  }
  EXPECT_EQ(sizes, (std::vector<int32_t>{75, 75, 75, 75, 76, 76, 77}));
  for (uint32_t frame = 14; frame <= 200; ++frame) {
    frames(30, 1);
    const int32_t size = tools::lenssize, corner = sc::eyey0 * 320 + sc::eyex0;
    ASSERT_TRUE(sc::eyex0 >= 0 && sc::eyey0 >= 0 && sc::eyex0 + size <= 320 && sc::eyey0 + size <= 200) << size;
    ASSERT_LT(corner + *std::max_element(tools::lenstable, tools::lenstable + size * size), 64000) << size;
    if (frame == 178 || frame == 179) {
      EXPECT_EQ(size, frame == 178 ? 159 : 160);  // (frame - 9) shr 1 + 75
    }
  }
  EXPECT_EQ(tools::lenssize, 160);
  EXPECT_EQ((std::array{sc::eyex0, sc::eyey0}), (std::array<int16_t, 2>{74, 38}));
  sc::eyesetup();
  frames(16, 200);
  frames(18, 1);
  EXPECT_EQ(tools::lenssize, 160);
}

// 40 right of the centre (154, 118): z = Round(sqrt(6400 - 1600)) = 69 and
// Round(40 / 69 * 6) = 3, so the pixel shows the picture 3 right of the
// centre; likewise 40 below; the square's corners lie outside the disc.
// Only pixels whose mask is exactly 1 are magnified.
TEST_F(Eye, FullSizeLensSamplesTowardsItsCentreOnlyWhereTheMaskIsOne) {
  for (uint32_t p = 0; p < 64000; ++p) eye1.pixels[p] = static_cast<uint8_t>(p % 320);
  frames(18, 200);
  EXPECT_EQ((std::array{at(194, 118), at(114, 118), at(154, 118)}), (std::array<uint8_t, 3>{157, 151, 154}));
  for (uint32_t p = 0; p < 64000; ++p) eye1.pixels[p] = static_cast<uint8_t>(p / 320);
  frames(18, 1);
  EXPECT_EQ((std::array{at(154, 158), at(154, 78), at(74, 38), at(233, 197)}),
            (std::array<uint8_t, 4>{121, 115, 38, 197}));

  const uint8_t marks[4] = {0, 1, 2, 255};
  for (uint32_t p = 0; p < 64000; ++p) eye2.pixels[p] = marks[(p % 320 + p / 320) % 4];
  randomfill(eye1.pixels);
  frames(18, 1);
  size_t magnified = 0;
  for (uint32_t p = 0; p < 64000; ++p) {
    ASSERT_TRUE(screen.pixels[p] == eye1.pixels[p] || eye2.pixels[p] == 1) << p;
    magnified += screen.pixels[p] != eye1.pixels[p];
  }
  EXPECT_GT(magnified, 1000u);
}

}  // namespace
