// The random generator's sequence and the two rounding rules.
#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

namespace {

TEST(Random, SeedSequenceAndDrawsMatchHandComputedValues) {
  runtime::randseed = 0;
  EXPECT_EQ(runtime::nextseed(), 1u);
  EXPECT_EQ(runtime::nextseed(), 134775814u);
  EXPECT_EQ(runtime::nextseed(), 3698175007u);  // wraps modulo 2^32

  // Integer draws are the high half of seed * n.
  runtime::randseed = 1;  // next seed 134775814
  EXPECT_EQ(runtime::random(100), 3u);
  runtime::randseed = 1;
  EXPECT_EQ(runtime::random(1000), 31u);
  runtime::randseed = 0xffffffffu;  // the product needs all 64 bits: 4160191484 * 0xffffffff
  EXPECT_EQ(runtime::random(0xffffffffu), 4160191483u);
  runtime::randseed = 0xffffffffu;
  EXPECT_EQ(runtime::random(7), 6u);
  EXPECT_EQ(runtime::random(0), 0u);
  EXPECT_EQ(runtime::random(1), 0u);

  // Real draws are the new seed over 2^32.
  runtime::randseed = 0;
  EXPECT_EQ(runtime::randomreal(), 1.0L / 4294967296.0L);
  runtime::randseed = 0xffffffffu;
  EXPECT_EQ(runtime::randomreal(), 4160191484.0L / 4294967296.0L);
}

TEST(Random, RandomizeTakesTheFixedSeedOrTheTimeOfDay) {
  runtime::fixedseed = 42;
  runtime::randseed = 7;
  runtime::randomize();
  EXPECT_EQ(runtime::randseed, 42u);
  runtime::fixedseed.reset();
  runtime::randomize();
  EXPECT_LT(runtime::randseed, 24u * 60 * 60 * 1000);
}

TEST(Rounding, RoundTiesGoToTheEvenNeighbour) {
  const std::pair<long double, int64_t> rounded[] = {
      {0.5L, 0},    {1.5L, 2},    {2.5L, 2},    {-0.5L, 0},     {-1.5L, -2},
      {-2.5L, -2},  {2.4999L, 2}, {2.5001L, 3}, {-2.5001L, -3}, {3000000000.5L, 3000000000},  // past 32 bits
  };
  for (const auto& [v, r] : rounded) EXPECT_EQ(runtime::round(v), r) << static_cast<double>(v);
}

// Trunc without the rounding-mode switch: halves, the integers and their
// neighbours one extended step away on both sides, both signs, past 32 bits.
TEST(Rounding, TruncMatchesThePlainConversion) {
  std::vector<long double> values = {0.0L, -0.0L, 1e-4000L, -1e-4000L, 9.22e18L, -9.22e18L};
  for (long double base : {0.0L, 1.0L, 2.0L, 3.0L, 160.0L, 4095.0L, 3000000000.0L, 1e15L}) {
    for (long double v : {base, base + 0.5L, base + 0.25L, base + 0.75L}) {
      for (long double s : {v, -v}) {
        values.push_back(s);
        values.push_back(std::nextafter(s, 1e30L));
        values.push_back(std::nextafter(s, -1e30L));
      }
    }
  }
  runtime::randseed = 77;
  for (int i = 0; i < 10000; ++i) values.push_back((runtime::randomreal() - 0.5L) * 2000.0L);
  for (long double v : values) EXPECT_EQ(runtime::trunc(v), runtime::truncplain(v)) << static_cast<double>(v);
}

}  // namespace
