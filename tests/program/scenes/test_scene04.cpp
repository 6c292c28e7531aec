// Scene 4 and the relief parts it shares with scene 10, on small known
// pictures and tables, fast against plain.
#include <gtest/gtest.h>

#include <random>

#include "program/scenes/scenetest.h"

namespace {

namespace sc = program::scenes;
using namespace scenetest;
using tools::work2, tools::work3, tools::work4, tools::work5;

using Relief = Credits;

// Above 128 doubled, else doubled negated, up to cell 64,000 behind the
// frame; work4 gets cells 0..64,317 and no more.
TEST_F(Relief, HeightsFromTheTextLayerAndACopyThatStopsTwoCellsShort) {
  const int32_t cases[][3] = {{0, 129, 258}, {1, 128, -256}, {2, 1, -2}, {3, 255, 510}, {64000, 130, 260}};
  for (auto& c : cases) work2.pixels[c[0]] = static_cast<uint8_t>(c[1]);
  work2.pixels[64001] = 200;
  setcell(work5, 64317, 7);
  setcell(work4, 64318, 5);
  sc::buildrelief();
  for (auto& c : cases) EXPECT_EQ(cell(work5, static_cast<uint32_t>(c[0])), c[2]) << "cell " << c[0];
  EXPECT_EQ(cell(work5, 64001), 0);
  EXPECT_EQ(std::memcmp(work4.pixels, work5.pixels, 2 * 64318), 0);
  EXPECT_EQ(cell(work4, 64318), 5);
}

// The edge sums four harmonics of the curve, at most 92 with halfsine's
// peak of 256 (rows 92..107 always banded) and 69 with atancurve's 195.
// Each column bands rows h..100 and their mirrors in work3's colours 20 up;
// columns 159 and 160 mirror onto each other and take the higher edge of
// the pair. With a[0] = a[128] = a[160] = 0 at phase 0, x = 160 reads only
// zeros (h 0), x = 159 none (h 143: no band), and several x an edge of
// exactly 100 (rows 99 and 100). The fast band against the plain one on
// random curves (every height, and none), pictures and phases.
TEST_F(Relief, BandEdgeQuadrantsAndSeamColumnsFastAsPlain) {
  int16_t curve[256];
  for (int i = 0; i < 256; ++i) curve[i] = static_cast<int16_t>(i);
  EXPECT_EQ(sc::waveheight(curve, 100, 7), 38);  // (107 + 151/4 + 39/8 + 71/16) / 4
  for (int16_t peak : {256, 195}) {
    std::fill_n(curve, 256, peak);
    EXPECT_EQ(sc::waveheight(curve, 37, 200), peak == 256 ? 92 : 69);
  }

  std::fill_n(curve, 256, 400);
  curve[0] = curve[128] = curve[160] = 0;
  ASSERT_EQ(sc::waveheight(curve, 159, 0), 143);
  for (uint32_t i = 0; i < 64000; ++i) work3.pixels[i] = static_cast<uint8_t>(i % 251);
  for (auto band : {sc::waveband, sc::wavebandplain}) {
    std::memset(work2.pixels, 0xEE, 64000);
    band(curve, 0);
    for (uint32_t p = 0; p < 64000; ++p) {
      const uint32_t column = p % 320, x = column <= 160 ? column : 319 - column;
      const int32_t y = static_cast<int32_t>(p / 320);
      const int32_t h = column == 159 || column == 160 ? 0 : sc::waveheight(curve, x, 0);
      const bool inside = h <= 100 && y >= std::min(h, 99) && y <= std::max(199 - h, 100);
      ASSERT_EQ(work2.pixels[p], inside ? static_cast<uint8_t>(work3.pixels[p] + 20) : 0xEE) << column << "," << y;
    }
  }

  std::mt19937 rng(4);
  for (int round = 0; round < 40; ++round) {
    for (int16_t& a : curve) a = static_cast<int16_t>(rng() % 420);
    std::generate_n(work2.pixels, tools::work2storesize, rng);
    std::generate_n(work3.pixels, 64000, rng);
    const uint32_t phase = rng() % 255;
    ASSERT_TRUE(sameasplain(work2.pixels, tools::work2storesize, [&] { sc::wavebandplain(curve, phase); },
                            [&] { sc::waveband(curve, phase); }))
        << "round " << round;
  }
}

// Without offsets the picture stays and k moves on by 196 x 316 steps,
// back to 1 when it reaches the wrap: 10,000 reaches 63,997 in 53,997
// steps. 64,001 (scene 9 may leave it) wraps at once; 65,535 through 0.
// With offsets randsign[k] moves x and randsign[k + 1] y, and a pixel moved
// right or down is read again and moves on. Then the fast jitter against
// the plain one on random signs, far from the wraps, at the first k whose row
// takes the slow way, where a row's last step just reaches a wrap, near
// and past the wraps; three frames in a row from each.
TEST_F(Relief, JitterWrapsAtEachScenesLimitOffsetsEachAxisFastAsPlain) {
  std::memcpy(work2.pixels, tools::scroll1.pixels, 64000);
  for (auto [from, wrap, to] : {std::array<uint16_t, 3>{200, 63998, 62136}, {10000, 63998, 7939},
                                {10000, 63999, 7938}, {64001, 63999, 61936}, {65535, 63998, 61935}}) {
    sc::jitterindex = from;
    sc::jitter(wrap);
    EXPECT_EQ(sc::jitterindex, to) << "from " << from << " wrap " << wrap;
  }
  EXPECT_EQ(std::memcmp(work2.pixels, tools::scroll1.pixels, 64000), 0);

  tables::randsign[1000] = -1;
  tables::randsign[1001] = 1;
  sc::jitterindex = 999;
  sc::jitter(63998);
  // (2, 2) goes to (1, 3) by (-1, 1); (3, 2) to (4, 2) by (1, 0), and stays.
  for (uint32_t p = 0; p < 64000; ++p)
    ASSERT_EQ(work2.pixels[p], p == 961 ? picturebyte(642) : p == 644 ? picturebyte(643) : picturebyte(p)) << p;
  std::memset(work2.pixels, 0, 64000);
  work2.pixels[642] = 77;
  std::memset(tables::randsign, 1, sizeof tables::randsign);
  sc::jitter(63998);
  for (uint32_t d = 2; d <= 198; ++d) ASSERT_EQ(work2.pixels[d * 321], 77) << d;  // down the diagonal

  std::mt19937 rng(9);
  for (int8_t& r : tables::randsign) r = static_cast<int8_t>(static_cast<int32_t>(rng() % 3) - 1);
  for (const uint16_t from : {200, 63677, 63678, 63682, 63683, 63900, 63998, 64001, 65535})
    for (const uint16_t wrap : {63998, 63999}) {
      std::generate_n(work2.pixels, 64000, rng);
      sc::jitterindex = from;
      for (int frame = 0; frame < 3; ++frame)
        ASSERT_TRUE(sameasplain(work2.pixels, 64000, sc::jitterindex, [&] { sc::jitterplain(wrap); },
                                [&] { sc::jitter(wrap); }))
            << "from " << from << " wrap " << wrap << " frame " << frame;
    }
}

// ---- scene 4 -----------------------------------------------------------------------------

// One screen from byte 320f to work3 at f, to work2, then to work3 at 10f:
// work3 keeps the first copy below 10f and its old bytes below f; the last
// copy ends at 82,000, its store's end. After 1800 comes 0.
TEST_F(Relief, Scene4WindowsLandInOrderAndFollowTheRowBackToTheTop) {
  std::memset(work3.pixels, 0xEE, tools::work3storesize);
  sc::codescroll = 1799;
  sc::codewindows();
  const uint32_t f = 1800, from = 320 * f;
  ASSERT_EQ(sc::codescroll, f);
  for (uint32_t i = 0; i < 64000; ++i) ASSERT_EQ(work2.pixels[i], picturebyte(from + i)) << i;
  for (uint32_t i = 0; i < tools::work3storesize; ++i)
    ASSERT_EQ(work3.pixels[i], i < f ? 0xEE : picturebyte(from + i - (i < 10 * f ? f : 10 * f))) << i;
  sc::codewindows();
  ASSERT_EQ(sc::codescroll, 0u);
  for (uint32_t i = 0; i < 64000; ++i) ASSERT_EQ(work3.pixels[i], picturebyte(i)) << i;
  EXPECT_EQ(work3.pixels[64000], picturebyte(from + 64000 - 10 * f));  // left from the frame before
}

// No band (atancurve would band every row), no offsets: the first frame is
// the picture from row 1, refracted at the letters in rows 40..157 only; k
// wraps one earlier than in scene 10. Then 62 fade steps toward scroll1's
// palette, not scrollpal, and the phase wraps.
TEST_F(Relief, Scene4FirstFrameIsThePictureFromRowOneThenFadeAndPhase) {
  std::fill_n(tables::atancurve, 256, 0);
  for (auto& e : tools::scroll1pal.entry) e = {63, 30, 0, 0};
  for (auto& e : tables::scrollpal.entry) e = {0, 0, 63, 0};
  sc::codesetup();
  sc::jitterindex = 10000;
  sc::codepass();
  EXPECT_EQ(sc::jitterindex, 7939);
  uint32_t moved = 0;
  for (uint32_t p = 0; p < 64000; ++p) {
    const bool flat = p < 39 * 320 || p >= 158 * 320;
    ASSERT_TRUE(!flat || tools::screen.pixels[p] == picturebyte(320 + p)) << p;
    moved += !flat && tools::screen.pixels[p] != picturebyte(320 + p);
  }
  EXPECT_GT(moved, 500u);
  for (int frame = 2; frame <= 70; ++frame) sc::codepass();
  EXPECT_EQ(colour(33), (std::array<uint8_t, 3>{62, 30, 0}));
  EXPECT_EQ(sc::codewave, 70u);
  sc::codewave = 254;
  sc::codepass();
  EXPECT_EQ(sc::codewave, 0u);
}

}  // namespace
