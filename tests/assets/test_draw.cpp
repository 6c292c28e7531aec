// The drawing kit behind the artwork: quantizer, distance field and relief.
#include <gtest/gtest.h>

#include <cmath>

#include "assets/pictures/draw.h"

namespace assets {
namespace {

int32_t distance2(const tarnpal::tpalentry& a, const tcolour& b) {
  int32_t dr = a.red - static_cast<int32_t>(b.r), dg = a.green - static_cast<int32_t>(b.g),
          db = a.blue - static_cast<int32_t>(b.b);
  return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}
int32_t weight(const tarnpal::tpalentry& e) { return 3 * e.red + 4 * e.green + 2 * e.blue; }

TEST(Quantize, FewColoursComeBackExactlyAndBackgroundStaysTransparent) {
  tartwork art = makeartwork("t", 8, 4, 6);
  tcanvas canvas = makecanvas(8, 4, {}, 1);
  const tcolour colours[5] = {{63, 0, 0}, {0, 40, 0}, {0, 0, 20}, {10, 10, 10}, {63, 63, 63}};
  for (int32_t i = 0; i < 32; ++i) canvas.colour[i] = colours[i % 5];
  canvas.opaque[7] = canvas.opaque[31] = 0;
  quantize(art, canvas, slotrange(1, 6, 4), 4, 0.0f);
  for (int32_t i = 0; i < 32; ++i) {
    const bool clear = i == 7 || i == 31;
    ASSERT_EQ(art.pixels[i] == 4, clear) << i;
    EXPECT_TRUE(clear || distance2(art.palette.entry[art.pixels[i]], canvas.colour[i]) == 0) << i;
  }
}

TEST(Quantize, EveryPixelGetsItsNearestPaletteColourAndSlotsRunDarkToBright) {
  tartwork art = makeartwork("t", 64, 64, 16);
  tcanvas canvas = makecanvas(64, 64);
  auto level = [](int32_t i, int32_t c) { return std::floor(hashunit(i, c, 1) * 64.0f); };
  for (int32_t i = 0; i < 64 * 64; ++i) canvas.colour[i] = {level(i, 0), level(i, 1), level(i, 2)};
  quantize(art, canvas, slotrange(1, 16), 0, 0.0f);
  int32_t spreadsum = 0;
  for (int32_t i = 0; i < 64 * 64; ++i) {
    ASSERT_TRUE(art.pixels[i] >= 1 && art.pixels[i] <= 16) << i;
    int32_t mine = distance2(art.palette.entry[art.pixels[i]], canvas.colour[i]);
    for (int32_t s = 1; s <= 16; ++s) ASSERT_LE(mine, distance2(art.palette.entry[s], canvas.colour[i])) << i;
    spreadsum += mine;
  }
  // A median cut keeps the error far below that of one grey for everything
  // (about 3,000 per pixel).
  EXPECT_LT(spreadsum / (64 * 64), 700);
  for (int32_t s = 2; s <= 16; ++s) EXPECT_LE(weight(art.palette.entry[s - 1]), weight(art.palette.entry[s])) << s;
}

TEST(Fields, DistanceIsEuclideanAndLargeWithoutTargets) {
  tfield mask = makefield(40, 30);
  at(mask, 10, 12) = at(mask, 33, 5) = 1.0f;
  tfield d = distanceto(mask);
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 40; ++x)
      EXPECT_NEAR(at(d, x, y), std::min(std::hypot(x - 10.0f, y - 12.0f), std::hypot(x - 33.0f, y - 5.0f)), 1e-4f)
          << x << "," << y;
  EXPECT_GT(at(distanceto(makefield(5, 5)), 2, 2), 1000.0f);
}

TEST(Fields, ReliefRimsFacingTheLightAreBrightAndTheGroundStaysDark) {
  tfield mask = makefield(60, 50);
  for (int32_t y = 10; y < 40; ++y)
    for (int32_t x = 10; x < 50; ++x) at(mask, x, y) = 1.0f;
  tfield lit = bevellight(mask, 5.0f, -0.6f, -0.8f);  // light from the upper left
  const float middle = at(lit, 30, 25);
  EXPECT_GT(at(lit, 12, 25), middle);  // left rim
  EXPECT_GT(at(lit, 30, 12), middle);  // top rim
  EXPECT_LT(at(lit, 47, 25), middle);  // right rim
  EXPECT_LT(at(lit, 30, 37), middle);  // bottom rim
  EXPECT_GT(middle, 0.3f);             // a flat face still catches light
  for (int32_t x = 0; x < 60; ++x) EXPECT_EQ(at(lit, x, 5), 0.0f) << x;
}

}  // namespace
}  // namespace assets
