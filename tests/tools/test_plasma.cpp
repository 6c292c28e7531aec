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
long zeros() { return std::count(std::begin(plasmabuf), std::end(plasmabuf), 0); }

TEST(Plasma, PowerSquaresInsteadOfMultiplying) {
  // 3^(2^2), not 3^3; not above 1: unchanged; never 0.
  const struct { int n; double x, expected; } cases[] = {
      {0, 2, 2}, {1, 2, 2}, {2, 2, 4}, {3, 2, 16}, {4, 2, 256}, {5, 2, 65536}, {3, 3, 81}, {6, 0.5, 0.5}, {4, 0, 1}};
  for (const auto& c : cases) EXPECT_EQ(tools::power(c.n, c.x), c.expected) << c.n << " " << c.x;
}

TEST(Plasma, PointAveragesItsNeighboursAndDrawsOnlyWhenUnset) {
  std::fill(std::begin(plasmabuf), std::end(plasmabuf), 0);
  pixel(0, 0) = 10;
  pixel(4, 0) = 13;
  tools::plasmarough = 1000;
  runtime::randseed = 42;
  EXPECT_EQ(tools::plasmapoint(0, 0, 2, 0, 4, 0, 11), 11);  // deep: no displacement, one draw
  EXPECT_EQ(runtime::randseed, 42u * 134775813u + 1u);
  EXPECT_EQ(tools::plasmapoint(0, 0, 2, 0, 4, 0, 0), 11);  // set: no draw
  EXPECT_EQ(runtime::randseed, 42u * 134775813u + 1u);
  // Shallow: 11 +- Round(Random(1000) / 2), clamped to 1..255.
  int lowest = 999, highest = -1;
  for (uint32_t seed = 0; seed < 400; ++seed) {
    pixel(1, 0) = 0;
    runtime::randseed = seed * 7919u;
    const int v = tools::plasmapoint(0, 0, 1, 0, 4, 0, 0);
    lowest = std::min(lowest, v), highest = std::max(highest, v);
  }
  EXPECT_EQ(lowest, 1);
  EXPECT_EQ(highest, 255);
}

TEST(Plasma, FillsEveryPixelEvenAZeroSeededCorner) {
  // From this state the next seed is 0, so corner (0, 0) is seeded 0; it is
  // the left midpoint of the rectangle (0, 0)-(2, 1) and gets filled there.
  runtime::randseed = 649090867u;
  tools::plasma(1000);
  EXPECT_NE(pixel(0, 0), 0);
  EXPECT_EQ(zeros(), 0);
  const auto [lo, hi] = std::minmax_element(std::begin(plasmabuf), std::end(plasmabuf));
  EXPECT_GT(*hi - *lo, 60);  // displaced, not flat
}

}  // namespace
