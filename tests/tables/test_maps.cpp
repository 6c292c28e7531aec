// The angle/depth maps and the grey conversion: known pixels, and the fast
// builds held to the plain per-pixel rules.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "tables/tables.h"

namespace {

using namespace tables;

int32_t plainmap[framesize], plainshade[framesize], fastmap[framesize], fastshade[framesize];

void depthcolumns() {
  for (int i = 0; i < 256; ++i) {
    polardepth[i] = i;
    tunneldepth[i] = 3000 / (i + 1);
    swirldepth[i] = -(i / 4);
  }
}

TEST(Maps, KnownPixels) {
  depthcolumns();
  buildmap(160, 100, polardepth, false, polarmap, polarshade);
  buildmap(160, 100, tunneldepth, false, tunnelmap, tunnelshade);
  buildmap(121, 99, swirldepth, true, swirlmap, nullptr);
  const int centre = 100 * 320 + 160;
  // Centre: y = 0 counts as 1, x = 0: no angle, no depth, lower half.
  EXPECT_EQ(polarmap[centre], 128);
  EXPECT_EQ(polarshade[centre], 0);
  // (0, 0): d = Trunc(sqrt(16000 + 25600)) = 203, Trunc(atan(1.6) * 127/pi) = 40.
  EXPECT_EQ(polarmap[0], 40 + 203 * 256);
  EXPECT_EQ(polarshade[0], 25);
  EXPECT_EQ(tunnelmap[0], 40 + (3000 / 204) * 256);
  EXPECT_EQ(tunnelshade[0], 1);
  // (0, 199): the angle is negative and borrows from the depth byte.
  EXPECT_EQ(polarmap[199 * 320], -41 + 203 * 256 + 128);
  // Row 98 is in the upper half, row 99 in the lower one, whatever the centre.
  EXPECT_EQ(polarmap[98 * 320 + 160], 2 * 256);
  EXPECT_EQ(polarmap[99 * 320 + 160], 1 * 256 + 128);
  // Swirl about (121, 99), angle negated: at (0, 0) d = 174, depth -43,
  // angle term -Trunc(atan(121 / 99) * 127/pi) = -35.
  EXPECT_EQ(swirlmap[0], -35 + (-43) * 256);
  EXPECT_EQ(swirlmap[99 * 320 + 121], 128);
}

TEST(Maps, SharedQuadrantBuildEqualsThePlainRule) {
  depthcolumns();
  const struct {
    int32_t cx, cy;
    const int32_t (*depth)[256];
    bool negate, shade;
  } cases[] = {{160, 100, &polardepth, false, true}, {160, 100, &tunneldepth, false, true},
               {121, 99, &swirldepth, true, false},  {200, 120, &tunneldepth, true, true}};
  for (const auto& t : cases) {
    std::memset(plainshade, 0x11, sizeof plainshade), std::memset(fastshade, 0x11, sizeof fastshade);
    buildmapplain(t.cx, t.cy, *t.depth, t.negate, plainmap, t.shade ? plainshade : nullptr);
    buildmap(t.cx, t.cy, *t.depth, t.negate, fastmap, t.shade ? fastshade : nullptr);
    for (int p = 0; p < framesize; ++p) {
      ASSERT_EQ(fastmap[p], plainmap[p]) << t.cx << "," << t.cy << " pixel " << p;
      ASSERT_EQ(fastshade[p], plainshade[p]) << t.cx << "," << t.cy << " pixel " << p;
    }
  }
}

TEST(Grey, LastMatchWinsAndFastEqualsPlain) {
  std::mt19937 rng(11);
  for (int round = 0; round < 20; ++round) {
    tarnpal::tpalette pal, greys;
    // Few distinct values: colours repeat among the greys (the last match
    // wins) and the palette alike.
    for (int i = 0; i < 256; ++i) {
      const auto v = [&] { return static_cast<uint8_t>(rng() % 4); };
      pal.entry[i] = {v(), v(), v(), 0};
      greys.entry[i] = {v(), v(), v(), 0};
    }
    std::vector<uint8_t> a(4096), b;
    for (uint8_t& p : a) p = static_cast<uint8_t>(rng());
    b = a;
    greyconvertplain(a.data(), static_cast<uint32_t>(a.size()), pal, greys);
    greyconvert(b.data(), static_cast<uint32_t>(b.size()), pal, greys);
    ASSERT_EQ(a, b) << round;
  }
}

}  // namespace
