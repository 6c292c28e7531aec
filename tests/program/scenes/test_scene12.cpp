// Scene 12 on small known maps and pictures: the scroll's fold after 198
// rows, the remap's modulo, the fade-in, the glow's cut-off at 38.
#include <gtest/gtest.h>

#include "program/scenes/scenetest.h"

namespace {

namespace sc = program::scenes;
using namespace scenetest;
using tools::screen, tools::teilfull, tools::work2;

class Squeeze : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::initmemory();
    std::memset(work2.pixels, 0, tools::work2storesize);
    for (uint32_t i = 0; i < 64000; ++i) tables::squeezemap[i] = static_cast<uint16_t>(i);
    for (uint32_t i = 0; i < tools::framestoresize; ++i) teilfull.pixels[i] = static_cast<uint8_t>(i / 320);
    sc::squeezesetup();
  }
  static uint8_t row(int y) { return screen.pixels[y * 320 + 5]; }
};

// With an identity map each screen row shows the number of the picture row
// it reads. Sums at or above 63,360 fold to the top, so picture rows 198
// and 199 never show, and after 198 frames the offset is 0 again. The
// palette meanwhile takes its 62 steps toward teilgrey.
TEST_F(Squeeze, ScrollAndRemapFoldAt198RowsAndNeverShowTheLastTwo) {
  for (auto& e : tables::teilgrey.entry) e = {63, 63, 20, 0};
  tarnpal::clearpalette();
  for (int frame = 1; frame <= 198; ++frame) {
    sc::squeezedraw();
    ASSERT_EQ(row(0), frame % 198) << frame;
    ASSERT_LT(*std::max_element(screen.pixels, screen.pixels + 64000), 198) << frame;
    if (frame == 197) {
      EXPECT_EQ((std::array{row(1), row(198), row(199)}), (std::array<uint8_t, 3>{0, 197, 0}));
    }
  }
  EXPECT_EQ(sc::squeezeoffset, 0);
  EXPECT_EQ((std::array{row(197), row(198), row(199)}), (std::array<uint8_t, 3>{197, 0, 1}));
  EXPECT_EQ(colour(40), (std::array<uint8_t, 3>{62, 62, 20}));

  // Any 16-bit entry: the largest sums pass the fold twice.
  for (uint32_t i = 0; i < tools::framestoresize; ++i) teilfull.pixels[i] = static_cast<uint8_t>(i * 7 + i / 256);
  const uint32_t cases[][3] = {{63359, 320, 319}, {400, 63040, 80}, {65535, 63040, 1855}, {65535, 0, 2175}};
  for (const auto& c : cases) {
    tables::squeezemap[1234] = static_cast<uint16_t>(c[0]);
    sc::squeezeoffset = static_cast<int32_t>(c[1]);
    sc::squeezeremap();
    EXPECT_EQ(screen.pixels[1234], teilfull.pixels[c[2]]) << c[0] << " + " << c[1];
  }
}

// A layer of 39 survives the blur except its last pixel, which sees the
// empty bytes below the frame (29) and is cut; a layer of 38 is cut
// everywhere, in work2 itself, so the glow ends there.
TEST_F(Squeeze, GlowIsCutAtAndBelow38) {
  for (uint8_t level : {39, 38}) {
    std::memset(screen.pixels, 7, 64000);
    std::memset(work2.pixels, level, 64000);
    sc::glowshow(sc::squeezeglow);
    for (uint32_t p = 0; p < 64000; ++p) {
      const uint8_t kept = level == 39 && p != 63680 ? 39 : 0;
      ASSERT_EQ(work2.pixels[p], kept) << int(level) << " at " << p;
      ASSERT_EQ(screen.pixels[p], kept ? kept : 7) << int(level) << " at " << p;
    }
  }
}

}  // namespace
