// The random generator's sequence and the two rounding rules.
#include "runtime/runtime.h"

#include <gtest/gtest.h>

namespace {

TEST(Random, FollowsTheLinearCongruentialSequence) {
  runtime::randseed = 0;
  EXPECT_EQ(runtime::nextseed(), 1u);
  EXPECT_EQ(runtime::nextseed(), 134775814u);
  EXPECT_EQ(runtime::nextseed(), 3698175007u);  // wraps modulo 2^32
}

TEST(Random, IntegerDrawIsTheHighHalfOfSeedTimesN) {
  runtime::randseed = 1;  // next seed 134775814
  EXPECT_EQ(runtime::random(100), 3u);
  runtime::randseed = 1;
  EXPECT_EQ(runtime::random(1000), 31u);
  // The product needs all 64 bits: 4160191484 * 0xffffffff.
  runtime::randseed = 0xffffffffu;
  EXPECT_EQ(runtime::random(0xffffffffu), 4160191483u);
  runtime::randseed = 0xffffffffu;
  EXPECT_EQ(runtime::random(7), 6u);
  EXPECT_EQ(runtime::random(0), 0u);
  EXPECT_EQ(runtime::random(1), 0u);
}

TEST(Random, RealDrawIsTheNewSeedOverTwoToThe32) {
  runtime::randseed = 0;
  EXPECT_EQ(runtime::randomreal(), 1.0L / 4294967296.0L);
  runtime::randseed = 0xffffffffu;  // next seed 4160191484
  EXPECT_EQ(runtime::randomreal(), 4160191484.0L / 4294967296.0L);
  for (int i = 0; i < 1000; ++i) {
    const long double r = runtime::randomreal();
    ASSERT_GE(r, 0.0L);
    ASSERT_LT(r, 1.0L);
  }
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
  EXPECT_EQ(runtime::round(0.5L), 0);
  EXPECT_EQ(runtime::round(1.5L), 2);
  EXPECT_EQ(runtime::round(2.5L), 2);
  EXPECT_EQ(runtime::round(-0.5L), 0);
  EXPECT_EQ(runtime::round(-1.5L), -2);
  EXPECT_EQ(runtime::round(-2.5L), -2);
  EXPECT_EQ(runtime::round(2.4999L), 2);
  EXPECT_EQ(runtime::round(2.5001L), 3);
  EXPECT_EQ(runtime::round(-2.5001L), -3);
  EXPECT_EQ(runtime::round(3000000000.5L), 3000000000);  // past 32 bits
}

TEST(Rounding, TruncDropsTheFractionTowardZero) {
  EXPECT_EQ(runtime::trunc(1.99L), 1);
  EXPECT_EQ(runtime::trunc(-1.99L), -1);
  EXPECT_EQ(runtime::trunc(-0.5L), 0);
  EXPECT_EQ(runtime::trunc(5000000000.7L), 5000000000);
}

}  // namespace
