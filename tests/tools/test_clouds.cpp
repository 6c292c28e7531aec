// The cloud generators and the fountain nozzle: shapes and draws.
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

TEST(Clouds, HelixHasAnAngleOfNinetyRadiansAndTheCubeStaysInItsBox) {
  static tools::tcloud coil, cube;
  runtime::randseed = 12345;
  tools::helixcloud(coil);
  EXPECT_EQ(runtime::randseed, 12345u);  // no draws
  EXPECT_EQ(+coil[0].x, 0.0f);
  EXPECT_EQ(+coil[0].y, 0.0f);
  EXPECT_NEAR(+coil[0].z, 1 - std::sin(90.0) / 10, 1e-6);  // 0.9106, not 0.9
  EXPECT_EQ(+coil[450].x, 1.0f);
  EXPECT_NEAR(+coil[22].y, std::sin(88 * M_PI / 180) / 10, 1e-6);  // 4 degrees a point
  tools::cubecloud(cube);
  EXPECT_EQ(runtime::randseed, advance(12345, 3 * 451));
  for (const auto& p : cube) {
    ASSERT_TRUE(std::fabs(+p.x) <= 1 / 6.0f && std::fabs(+p.y) <= 1 / 6.0f) << +p.x << " " << +p.y;
    ASSERT_TRUE(+p.z > 2 / 3.0f && +p.z <= 1.0f && +p.colour == 192) << +p.z;
  }
}

TEST(Clouds, SpawnDrawsColourThenVelocityAtTheNozzle) {
  runtime::randseed = 5;
  tools::spawnparticle(450);
  EXPECT_EQ(runtime::randseed, advance(5, 4));
  const auto& p = Eng3D::fountainpos[450];
  const auto& v = Eng3D::fountainvel[450];
  EXPECT_EQ(+p.colour, (static_cast<uint64_t>(advance(5, 1)) * 63) >> 32);
  EXPECT_TRUE(p.x == 0.0f && p.y == 0.3f && p.z == 1.0f);
  // y = r * L / 2 + L / 2 with the single L = -0.025: upward.
  const long double r = advance(5, 3) / 4294967296.0L, l = -0.025f;
  EXPECT_EQ(v.y, static_cast<float>(r * l / 2 + l / 2));
  for (uint32_t seed = 0; seed < 50; ++seed) {  // drift to +x, upward, slight scatter in z
    runtime::randseed = seed * 2654435761u;
    tools::spawnparticle(1);
    const auto& w = Eng3D::fountainvel[1];
    ASSERT_TRUE(w.x >= 0.009f && w.x <= 0.011f && w.y >= -0.025f && w.y <= -0.0125f && std::fabs(w.z) <= 0.001f)
        << w.x << " " << w.y << " " << w.z;
  }
}

}  // namespace
