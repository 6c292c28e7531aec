// The cloud generators and the fountain nozzle: shapes, ranges, draw counts.
#include <gtest/gtest.h>

#include <cmath>

#include "runtime/runtime.h"
#include "tools/clouds.h"

// The point records are packed: their fields are read by value (+p.x), so
// no reference ever binds to a misaligned member.
namespace {

// The generator's state after n more draws from s.
uint32_t advance(uint32_t s, int n) {
  while (n-- > 0) s = s * 134775813u + 1u;
  return s;
}

TEST(Clouds, HelixStartsOnTheAxisAndEndsAtXOne) {
  static tools::tcloud coil;
  const uint32_t seed = runtime::randseed = 12345;
  tools::helixcloud(coil);
  EXPECT_EQ(runtime::randseed, seed);  // no draws
  EXPECT_EQ(+coil[0].x, 0.0f);
  EXPECT_EQ(+coil[0].y, 0.0f);
  // 90 is an angle in radians: 1 - sin(90) / 10.
  EXPECT_NEAR(+coil[0].z, 0.91060, 1e-5);
  EXPECT_EQ(+coil[450].x, 1.0f);
  EXPECT_EQ(+coil[225].x, 0.5f);
  for (const auto& p : coil) {
    EXPECT_EQ(+p.colour, 192);
    EXPECT_LE(std::fabs(+p.y), 0.1f);
    EXPECT_GE(+p.z, 0.9f);
    EXPECT_LE(+p.z, 1.1f);
  }
  // Five full turns: y crosses zero going up at every 90 points.
  EXPECT_NEAR(+coil[90].y, 0.0f, 1e-6);
  EXPECT_NEAR(+coil[22].y, 0.1f * std::sin(4 * 22 * 3.14159265 / 180), 1e-6);
}

TEST(Clouds, CubeSpansItsBoxWithThreeDrawsPerPoint) {
  static tools::tcloud cube;
  runtime::randseed = 777;
  tools::cubecloud(cube);
  EXPECT_EQ(runtime::randseed, advance(777, 3 * 451));
  float lo = 1, hi = -1, zlo = 2, zhi = 0;
  for (const auto& p : cube) {
    EXPECT_EQ(+p.colour, 192);
    lo = std::min({lo, +p.x, +p.y});
    hi = std::max({hi, +p.x, +p.y});
    zlo = std::min(zlo, +p.z);
    zhi = std::max(zhi, +p.z);
  }
  EXPECT_GE(lo, -1.0f / 6);
  EXPECT_LT(lo, -0.15f);
  EXPECT_LE(hi, 1.0f / 6);
  EXPECT_GT(hi, 0.15f);
  EXPECT_GT(zlo, 2.0f / 3 - 1e-6f);
  EXPECT_LT(zlo, 0.7f);
  EXPECT_LE(zhi, 1.0f);
  // The first point's x is the first draw: (seed' / 2^32 - 0.5) / 3.
  const long double r = advance(777, 1) / 4294967296.0L;
  EXPECT_EQ(+cube[0].x, static_cast<float>((r - 0.5L) / 3));
}

TEST(Clouds, SpawnPutsAParticleAtTheNozzleGoingUp) {
  for (uint32_t seed : {1u, 99u, 123456789u, 4000000000u}) {
    runtime::randseed = seed;
    tools::spawnparticle(17);
    EXPECT_EQ(runtime::randseed, advance(seed, 4));
    const auto& p = Eng3D::fountainpos[17];
    const auto& v = Eng3D::fountainvel[17];
    EXPECT_LT(+p.colour, 63);
    EXPECT_EQ(+p.x, 0.0f);
    EXPECT_EQ(+p.y, 0.3f);
    EXPECT_EQ(+p.z, 1.0f);
    EXPECT_GE(v.y, -0.025f);
    EXPECT_LE(v.y, -0.0125f);
    EXPECT_GE(v.x, 0.009f);
    EXPECT_LE(v.x, 0.011f);
    EXPECT_LE(std::fabs(v.z), 0.001f);
  }
  // The colour is the first draw.
  runtime::randseed = 5;
  tools::spawnparticle(450);
  EXPECT_EQ(+Eng3D::fountainpos[450].colour, (static_cast<uint64_t>(advance(5, 1)) * 63) >> 32);
}

}  // namespace
