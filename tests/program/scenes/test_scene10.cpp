// Scene 10 on a known picture and tables: the sliding window and its black
// past the picture's end, the first frame and the fade-in. What it shares
// with scene 4 is tested in test_scene04.cpp.
#include <gtest/gtest.h>

#include "program/scenes/scenetest.h"

namespace {

namespace sc = program::scenes;
using namespace scenetest;
using tools::work2, tools::work3;

using Scene10 = Credits;

// work2 slides 11 bytes a row: up to s = 1740 inside the picture, from 1741
// its tail past byte 640,000 black; work3 is the plain window. After 1800
// comes 0.
TEST_F(Scene10, SlidingWindowTurnsBlackPastThePicturesEnd) {
  for (auto [s, inside] : {std::array<uint32_t, 2>{1740, 64000}, {1741, 63729}, {1800, 44200}}) {
    sc::graphscroll = s - 1;
    sc::graphwindows();
    ASSERT_EQ(sc::graphscroll, s);
    for (uint32_t i = 0; i < 64000; ++i) {
      ASSERT_EQ(work2.pixels[i], i < inside ? picturebyte(331 * s + i) : 0) << "s " << s << " byte " << i;
      ASSERT_EQ(work3.pixels[i], picturebyte(320 * s + i)) << "s " << s << " byte " << i;
    }
  }
  sc::graphwindows();
  ASSERT_EQ(sc::graphscroll, 0u);
  for (uint32_t i = 0; i < 64000; ++i) ASSERT_TRUE(work2.pixels[i] == picturebyte(i) && work3.pixels[i] == work2.pixels[i]) << i;
}

// No band (halfsine would band every row), no offsets: the first frame is
// the window at s = 1, 331 bytes in, refracted at the letters in rows
// 30..83 only; k wraps one later than in scene 4. Then 62 fade steps
// toward scrollpal, not scroll1's palette.
TEST_F(Scene10, FirstFrameIsTheSlidingWindowThenTheFadeIn) {
  std::fill_n(tables::halfsine, 256, 0);
  for (auto& e : tables::scrollpal.entry) e = {10, 63, 40, 0};
  for (auto& e : tools::scroll1pal.entry) e = {63, 0, 0, 0};
  sc::graphsetup();
  sc::jitterindex = 10000;
  sc::graphpass();
  EXPECT_EQ(sc::jitterindex, 7938);
  uint32_t moved = 0;
  for (uint32_t p = 0; p < 64000; ++p) {
    const bool flat = p < 29 * 320 || p >= 85 * 320;
    ASSERT_TRUE(!flat || tools::screen.pixels[p] == picturebyte(331 + p)) << p;
    moved += !flat && tools::screen.pixels[p] != picturebyte(331 + p);
  }
  EXPECT_GT(moved, 300u);
  for (int frame = 2; frame <= 70; ++frame) sc::graphpass();
  EXPECT_EQ(colour(30), (std::array<uint8_t, 3>{10, 62, 40}));
  EXPECT_EQ(sc::graphwave, 70u);
}

}  // namespace
