// Scene 10 on a known picture and tables: the sliding window and its black
// past the picture's end, the first frame and the fade-in; then the band in
// the renderer's frames of the real show. What it shares with scene 4 is
// tested in test_scene04.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "program/scenes/relief.h"
#include "program/scenes/scenes.h"
#include "program/scenes/scenetest.h"
#include "program/scenes/state.h"
#include "support/dump.h"
#include "tables/tables.h"
#include "tarnpal/tarnpal.h"
#include "tools/stores.h"

namespace {

namespace sc = program::scenes;
using scenetest::colour;
using tools::work2;
using tools::work3;

// Never 0, so black tells where the window left the picture.
uint8_t picturebyte(uint32_t i) { return static_cast<uint8_t>((i * 2654435761u) >> 24 | 1); }

// Zeroed layers and reliefs, no jitter offsets, no band, the known picture
// with the four bytes of the store behind it marked.
class Scene10 : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::initmemory();
    std::memset(work2.pixels, 0, tools::work2storesize);
    std::memset(tools::work4.pixels, 0, tools::cellstoresize);
    std::memset(tools::work5.pixels, 0, tools::cellstoresize);
    std::memset(tables::randsign, 0, sizeof tables::randsign);
    std::fill_n(tables::atancurve, 256, 400);
    for (uint32_t i = 0; i < sc::scrollbytes; ++i) tools::scroll1.pixels[i] = picturebyte(i);
    std::memset(tools::scroll1.pixels + sc::scrollbytes, 0xAB, 4);
    tarnpal::clearpalette();
  }
};

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

// No band (halfsine would band every row), no offsets, a relief flat away
// from the lines in rows 30..83: the first frame is the window at s = 1,
// 331 bytes in; k wraps one later than in scene 4. Then 62 fade steps
// toward scrollpal, not scroll1's palette.
TEST_F(Scene10, FirstFrameIsTheSlidingWindowThenTheFadeIn) {
  std::fill_n(tables::halfsine, 256, 0);
  for (auto& e : tables::scrollpal.entry) e = {10, 63, 40, 0};
  for (auto& e : tools::scroll1pal.entry) e = {63, 0, 0, 0};
  sc::graphsetup();
  uint32_t raised = 0;
  for (uint32_t i = 0; i < 64318; ++i) {
    int16_t h;
    std::memcpy(&h, tools::work4.pixels + 2 * i, sizeof h);
    ASSERT_TRUE(h == 0 || (h == 258 && i >= 30 * 320 && i < 84 * 320)) << i;
    raised += h == 258;
  }
  EXPECT_GT(raised, 2000u);
  sc::jitterindex = 10000;
  sc::graphpass();
  EXPECT_EQ(sc::jitterindex, 7938);
  for (uint32_t p = 0; p < 64000; ++p)
    ASSERT_TRUE((p >= 29 * 320 && p < 85 * 320) || tools::screen.pixels[p] == picturebyte(331 + p)) << p;
  for (int frame = 2; frame <= 70; ++frame) sc::graphpass();
  EXPECT_EQ(colour(30), (std::array<uint8_t, 3>{10, 62, 40}));
  EXPECT_EQ(sc::graphwave, 70u);
}

// The real show (seed 3, one frame per row) shows scene 10 in frames
// 897..1023. atancurve keeps every edge at 69 or below, so the band covers
// rows 69..130 of every column; below the second line (rows 85 on) and
// beside it the frame is work2 after the jitter, which moves a pixel one row
// up and, rarely, a few rows down: rows 75..129 there hold band colours
// only, the plain window's 0..20 lifted to 20..40.
TEST(Scene10Show, TheBandCoversRowsSixtyNineToOneHundredThirty) {
  const std::vector<testsupport::tframerecord> frames = testsupport::renderdump(3, 1, 1024);
  ASSERT_EQ(frames.size(), 1024u);
  for (uint32_t i = 897; i < 1024; ++i) {
    ASSERT_EQ(frames[i].width, 320) << "frame " << i;
    for (uint32_t y = 75; y <= 129; ++y)
      for (uint32_t x = 0; x < 320; ++x) {
        if (y < 85 && x >= 58 && x <= 177) continue;  // the second line and its edges
        const uint8_t v = frames[i].at(x, y);
        ASSERT_TRUE(v >= 20 && v <= 40) << "frame " << i << " at " << x << "," << y;
      }
  }
}

}  // namespace
