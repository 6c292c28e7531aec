// Scene 15 in the last frames of the real show: the end text's colours,
// and the end on position 25.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "program/scenes/scenetest.h"
#include "support/dump.h"

namespace {

using scenetest::toffsets;

// The offsets that are not the white background.
toffsets letters(const std::string& pixels) {
  toffsets out;
  for (uint32_t p = 0; p < 64000; ++p)
    if (static_cast<uint8_t>(pixels[p]) != 255) out.push_back(p);
  return out;
}

// At one frame per row position 25 is first read after the present of frame
// 1535: scene 15 shows frames 1472..1535, one round of colours 64 (black:
// 64 * 4 wraps in the store), 63 (white) down to 1 over the same glyph
// pixels, and the show ends there.
TEST(Scene15Show, EndsOnPosition25AfterOneRoundOfColours) {
  const std::vector<testsupport::tframerecord> frames = testsupport::renderdump(1, 1, 0);
  ASSERT_EQ(frames.size(), 1536u);
  const toffsets first = letters(frames[1472].pixels);
  ASSERT_FALSE(first.empty());
  EXPECT_TRUE(first.front() >= 80 * 320 + 95 && first.back() < 108 * 320);  // glyph rows 0..13 at scale 2
  for (size_t f = 1472; f < 1536; ++f) {
    ASSERT_EQ(letters(frames[f].pixels), first) << "frame " << f;
    EXPECT_EQ(static_cast<uint8_t>(frames[f].pixels[first[0]]), 64 - (f - 1472)) << "frame " << f;
  }
  EXPECT_EQ(frames[1472].colour(64), (std::array<uint8_t, 3>{0, 0, 0}));
  EXPECT_EQ(frames[1535].colour(255), (std::array<uint8_t, 3>{63, 63, 63}));
}

}  // namespace
