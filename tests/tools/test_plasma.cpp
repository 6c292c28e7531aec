// The fractal plasma: divisors, single points and the filled buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "runtime/runtime.h"
#include "tools/plasma.h"

namespace {

using tools::plasmabuf;

uint8_t& pixel(int x, int y) { return plasmabuf[y * 320 + x]; }

TEST(Plasma, PowerSquaresInsteadOfMultiplying) {
  const double expected[] = {2, 2, 4, 16, 256, 65536};
  for (int n = 0; n <= 5; ++n) EXPECT_EQ(tools::power(n, 2.0), expected[n]) << n;
  EXPECT_EQ(tools::power(3, 3.0), 81.0);   // 3^(2^2), not 3^3
  EXPECT_EQ(tools::power(6, 0.5), 0.5);    // not above 1: unchanged
  EXPECT_EQ(tools::power(4, 0.0), 1.0);    // never 0
  EXPECT_EQ(tools::power(-3, 2.0), 2.0);
  EXPECT_TRUE(std::isinf(tools::power(100000, 2.0)));
}

TEST(Plasma, PointIsTheNeighbourAverageWithClampedDisplacement) {
  std::fill(std::begin(plasmabuf), std::end(plasmabuf), 0);
  pixel(0, 0) = 10;
  pixel(4, 0) = 13;
  tools::plasmarough = 1000;

  // Deep points get no displacement and draw only the sign.
  runtime::randseed = 42;
  EXPECT_EQ(tools::plasmapoint(0, 0, 2, 0, 4, 0, 11), 11);
  EXPECT_EQ(pixel(2, 0), 11);
  EXPECT_EQ(runtime::randseed, 42u * 134775813u + 1u);

  // A set point returns its value and draws nothing.
  EXPECT_EQ(tools::plasmapoint(0, 0, 2, 0, 4, 0, 0), 11);
  EXPECT_EQ(runtime::randseed, 42u * 134775813u + 1u);

  // Shallow points: Round(Random(1000) / divisor), sign by Random(2),
  // clamped to 1..255. Over many seeds the extremes show.
  int lowest = 999, highest = -1;
  for (uint32_t seed = 0; seed < 400; ++seed) {
    pixel(1, 0) = 0;
    runtime::randseed = seed * 7919u;
    const int v = tools::plasmapoint(0, 0, 1, 0, 4, 0, 0);
    EXPECT_EQ(pixel(1, 0), v);
    EXPECT_GE(v, 1);
    EXPECT_LE(v, 255);
    lowest = std::min(lowest, v);
    highest = std::max(highest, v);
  }
  EXPECT_EQ(lowest, 1);     // 11 - up to 500 clamps at 1
  EXPECT_GT(highest, 200);  // 11 + up to 500, clamped at 255
  EXPECT_LE(highest, 255);
}

TEST(Plasma, FillsEveryPixel) {
  for (uint32_t seed : {1u, 2024u, 99999u}) {
    runtime::randseed = seed;
    tools::plasma(1000);
    EXPECT_EQ(tools::plasmarough, 1000);
    const int zeros = static_cast<int>(std::count(std::begin(plasmabuf), std::end(plasmabuf), 0));
    // A corner may have drawn 0 as its seed; nothing else stays 0.
    const int cornerzeros = (pixel(0, 0) == 0) + (pixel(319, 0) == 0) + (pixel(319, 199) == 0) +
                            (pixel(0, 199) == 0);
    EXPECT_EQ(zeros, cornerzeros) << seed;
    // The displacement shows: not a flat field.
    const auto [lo, hi] = std::minmax_element(std::begin(plasmabuf), std::end(plasmabuf));
    EXPECT_GT(*hi - *lo, 60);
  }
}

TEST(Plasma, ZeroSeededCornerBecomesATargetOfANarrowRectangle) {
  // From this state the next seed is 0, so corner (0, 0) draws Random(255) = 0.
  runtime::randseed = 649090867u;
  tools::plasma(1000);
  // (0, 0) is the left midpoint of the 3x2 rectangle (0, 0)-(2, 1) and is
  // then filled like any unset pixel.
  EXPECT_NE(pixel(0, 0), 0);
  EXPECT_EQ(std::count(std::begin(plasmabuf), std::end(plasmabuf), 0), 0);
}

TEST(Plasma, ZeroRoughnessGivesPlainAverages) {
  runtime::randseed = 31337;
  tools::plasma(0);
  // Every edge midpoint of the whole buffer is the average of its corners.
  EXPECT_EQ(pixel(159, 0), std::max(1, (pixel(0, 0) + pixel(319, 0)) >> 1));
  EXPECT_EQ(pixel(319, 99), std::max(1, (pixel(319, 0) + pixel(319, 199)) >> 1));
  // Nothing can leave the range the corners span (1 allowed for a 0 corner).
  const int lo = std::min({pixel(0, 0), pixel(319, 0), pixel(319, 199), pixel(0, 199)});
  const int hi = std::max({pixel(0, 0), pixel(319, 0), pixel(319, 199), pixel(0, 199)});
  for (int k = 0; k < 64000; ++k) {
    ASSERT_GE(plasmabuf[k], std::max(lo, 1) - 1) << k;
    ASSERT_LE(plasmabuf[k], hi) << k;
  }
}

}  // namespace
