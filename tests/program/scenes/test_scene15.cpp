// Scene 15 in the last frames of the real show: the end text's colours,
// and the end on position 25.
#include <gtest/gtest.h>

#include "program/scenes/scenetest.h"
#include "support/dump.h"

namespace {

using scenetest::toffsets;

// At one frame per row position 25 is first read after the present of frame
// 1535: scene 15 shows frames 1472..1535, one round of colours 64 (black:
// 64 * 4 wraps in the store), 63 (white) down to 1 over the same glyph
// pixels, and the show ends there.
TEST(Scene15Show, EndsOnPosition25AfterOneRoundOfColours) {
  const std::vector<testsupport::tframerecord> frames = testsupport::renderdump(1, 1, 0, {}, 1472);
  ASSERT_EQ(frames.size(), 64u);
  ASSERT_EQ(frames.back().index, 1535u);
  auto letters = [](const std::string& pixels) {  // the offsets off the white background
    toffsets out;
    for (uint32_t p = 0; p < 64000; ++p)
      if (static_cast<uint8_t>(pixels[p]) != 255) out.push_back(p);
    return out;
  };
  const toffsets first = letters(frames[0].pixels);
  ASSERT_FALSE(first.empty());
  EXPECT_TRUE(first.front() >= 80 * 320 + 95 && first.back() < 108 * 320);  // glyph rows 0..13 at scale 2
  for (uint32_t f = 0; f < 64; ++f) {
    ASSERT_EQ(letters(frames[f].pixels), first) << "frame " << 1472 + f;
    EXPECT_EQ(static_cast<uint8_t>(frames[f].pixels[first[0]]), 64 - f) << "frame " << 1472 + f;
  }
  EXPECT_EQ(frames[0].colour(64), (std::array<uint8_t, 3>{0, 0, 0}));
  EXPECT_EQ(frames[63].colour(255), (std::array<uint8_t, 3>{63, 63, 63}));
}

}  // namespace
