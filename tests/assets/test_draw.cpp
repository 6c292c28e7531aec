// The drawing kit behind the artwork: quantizer, distance field, noise and
// the smoothed font.
#include <gtest/gtest.h>

#include <cmath>

#include "assets/pictures/draw.h"
#include "assets/pictures/lettering.h"
#include "tools/text.h"

namespace assets {
namespace {

int32_t distance2(const tarnpal::tpalentry& a, const tcolour& b) {
  int32_t dr = a.red - static_cast<int32_t>(b.r), dg = a.green - static_cast<int32_t>(b.g),
          db = a.blue - static_cast<int32_t>(b.b);
  return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

TEST(Quantize, FewColoursComeBackExactlyAndBackgroundStaysTransparent) {
  tartwork art = makeartwork("t", 8, 4, 6);
  tcanvas canvas = makecanvas(8, 4, {}, 1);
  const tcolour colours[5] = {{63, 0, 0}, {0, 40, 0}, {0, 0, 20}, {10, 10, 10}, {63, 63, 63}};
  for (int32_t i = 0; i < 32; ++i) canvas.colour[i] = colours[i % 5];
  canvas.opaque[7] = 0;
  canvas.opaque[31] = 0;
  quantize(art, canvas, slotrange(1, 6, 4), 4, 0.0f);
  for (int32_t i = 0; i < 32; ++i) {
    if (i == 7 || i == 31) {
      EXPECT_EQ(art.pixels[i], 4) << i;
      continue;
    }
    ASSERT_NE(art.pixels[i], 4) << i;
    EXPECT_EQ(distance2(art.palette.entry[art.pixels[i]], canvas.colour[i]), 0) << i;
  }
}

TEST(Quantize, EveryPixelGetsItsNearestPaletteColour) {
  tartwork art = makeartwork("t", 64, 64, 16);
  tcanvas canvas = makecanvas(64, 64);
  for (int32_t i = 0; i < 64 * 64; ++i)
    canvas.colour[i] = {static_cast<float>(static_cast<int32_t>(hashunit(i, 0, 1) * 64.0f)),
                        static_cast<float>(static_cast<int32_t>(hashunit(i, 1, 1) * 64.0f)),
                        static_cast<float>(static_cast<int32_t>(hashunit(i, 2, 1) * 64.0f))};
  quantize(art, canvas, slotrange(1, 16), 0, 0.0f);
  int32_t spreadsum = 0;
  for (int32_t i = 0; i < 64 * 64; ++i) {
    ASSERT_GE(art.pixels[i], 1);
    ASSERT_LE(art.pixels[i], 16);
    int32_t mine = distance2(art.palette.entry[art.pixels[i]], canvas.colour[i]);
    for (int32_t s = 1; s <= 16; ++s) ASSERT_LE(mine, distance2(art.palette.entry[s], canvas.colour[i])) << i;
    spreadsum += mine;
  }
  // Sixteen colours for a uniform cube: a median cut keeps the error far
  // below that of one grey for everything (about 3,000 per pixel).
  EXPECT_LT(spreadsum / (64 * 64), 700);
  // Slots come out dark to bright.
  for (int32_t s = 2; s <= 16; ++s) {
    const auto& a = art.palette.entry[s - 1];
    const auto& b = art.palette.entry[s];
    EXPECT_LE(3 * a.red + 4 * a.green + 2 * a.blue, 3 * b.red + 4 * b.green + 2 * b.blue) << s;
  }
}

TEST(DistanceField, IsEuclideanAndLargeWithoutTargets) {
  tfield mask = makefield(40, 30);
  at(mask, 10, 12) = 1.0f;
  at(mask, 33, 5) = 1.0f;
  tfield d = distanceto(mask);
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 40; ++x) {
      float a = std::hypot(x - 10.0f, y - 12.0f), b = std::hypot(x - 33.0f, y - 5.0f);
      EXPECT_NEAR(at(d, x, y), std::min(a, b), 1e-4f) << x << "," << y;
    }
  tfield none = distanceto(makefield(5, 5));
  EXPECT_GT(at(none, 2, 2), 1000.0f);
}

TEST(Noise, RepeatsOverItsPeriodAndStaysInRange) {
  for (int32_t i = 0; i < 200; ++i) {
    float x = hashunit(i, 0, 9) * 7.0f, y = hashunit(i, 1, 9) * 5.0f;
    float n = periodicnoise(x, y, 7, 5, 3);
    EXPECT_GE(n, 0.0f);
    EXPECT_LE(n, 1.0f);
    EXPECT_NEAR(n, periodicnoise(x + 7.0f, y - 5.0f, 7, 5, 3), 1e-5f);
    EXPECT_NEAR(periodicfbm(x, y, 7, 5, 4, 4), periodicfbm(x - 7.0f, y + 10.0f, 7, 5, 4, 4), 1e-5f);
  }
  // Different seeds give different noise.
  EXPECT_NE(periodicnoise(1.5f, 2.5f, 7, 5, 3), periodicnoise(1.5f, 2.5f, 7, 5, 4));
}

TEST(Relief, RimsFacingTheLightAreBrightAndTheGroundStaysDark) {
  tfield mask = makefield(60, 50);
  for (int32_t y = 10; y < 40; ++y)
    for (int32_t x = 10; x < 50; ++x) at(mask, x, y) = 1.0f;
  tfield lit = bevellight(mask, 5.0f, -0.6f, -0.8f);  // light from the upper left
  float topleft = at(lit, 12, 25), bottomright = at(lit, 47, 25), middle = at(lit, 30, 25);
  float top = at(lit, 30, 12), bottom = at(lit, 30, 37);
  EXPECT_GT(topleft, middle);
  EXPECT_LT(bottomright, middle);
  EXPECT_GT(top, middle);
  EXPECT_LT(bottom, middle);
  EXPECT_GT(middle, 0.3f);  // a flat face still catches light
  for (int32_t x = 0; x < 60; ++x) EXPECT_EQ(at(lit, x, 5), 0.0f) << x;
}

TEST(Letters, FollowTheFontBitsAtEveryBitCentre) {
  const float sx = 5.0f, sy = 4.0f;
  for (char ch : std::string("A0g~Q")) {
    tfield f = makefield(60, 80);
    letters(f, std::string(1, ch), 10.0f, 6.0f, sx, sy, 0.0f);
    int32_t g = ch - 32;
    for (int32_t j = 0; j < 16; ++j)
      for (int32_t k = 0; k < 8; ++k) {
        bool bit = (tools::fontdata[16 * g + j] >> (7 - k)) & 1;
        int32_t px = static_cast<int32_t>(10.0f + (k + 0.5f) * sx), py = static_cast<int32_t>(6.0f + (j + 0.5f) * sy);
        EXPECT_EQ(at(f, px, py) > 0.5f, bit) << ch << " row " << j << " column " << k;
      }
  }
}

TEST(Letters, PaintWordsStaysNearTheTextAndLeavesTheRestTransparent) {
  tcanvas canvas = makecanvas(120, 40, {}, 0);
  std::vector<tline> lines{{"Hi-", 20.0f, 5.0f, 2.0f, 2.0f, 18.0f}};
  twordstyle style{{{0.0f, {63, 0, 0}}, {1.0f, {0, 0, 63}}}, {1, 1, 1}, 1.0f, 2.0f, -0.6f, -0.8f, 2.0f, 2.0f, {2, 2, 2}};
  paintwords(canvas, lines, style, 3);
  tfield plain = makefield(120, 40);
  letters(plain, "Hi-", 20.0f, 5.0f, 2.0f, 2.0f, 18.0f);
  int32_t painted = 0;
  for (int32_t y = 0; y < 40; ++y)
    for (int32_t x = 0; x < 120; ++x) {
      size_t i = static_cast<size_t>(y) * 120 + x;
      if (at(plain, x, y) > 0.9f) {
        EXPECT_TRUE(canvas.opaque[i]) << x << "," << y;
      }
      if (!canvas.opaque[i]) continue;
      ++painted;
      // Outline (1) and shadow (2, 2) reach at most about three pixels.
      float nearest = 1e9f;
      for (int32_t yy = std::max(0, y - 4); yy < std::min(40, y + 5); ++yy)
        for (int32_t xx = std::max(0, x - 4); xx < std::min(120, x + 5); ++xx)
          if (at(plain, xx, yy) > 0.5f) nearest = std::min(nearest, std::hypot(float(xx - x), float(yy - y)));
      EXPECT_LE(nearest, 4.3f) << x << "," << y;
    }
  EXPECT_GT(painted, 200);
}

}  // namespace
}  // namespace assets
