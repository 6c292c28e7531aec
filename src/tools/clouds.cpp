// clouds: cube, coil and fountain particle generators.
#include "tools/clouds.h"

#include <cmath>

#include "runtime/check.h"
#include "runtime/runtime.h"

namespace tools {

using runtime::randomreal;

void cubecloud(tcloud& cloud) {
  for (tpoint3d& p : cloud) {
    const float x = static_cast<float>((randomreal() - 0.5L) / 3);
    const float y = static_cast<float>((randomreal() - 0.5L) / 3);
    const float z = static_cast<float>(1 - randomreal() / 3);
    Eng3D::setpoint(p, 192, x, y, z);
  }
}

void helixcloud(tcloud& cloud) {
  // A x k is a product of two singles, exact in extended precision.
  const long double step = static_cast<long double>(helixangle) * Eng3D::degtorad;
  for (int i = 0; i < cloudsize; ++i) {
    const long double angle = step * i;
    const float x = static_cast<float>(i * static_cast<long double>(helixangle) / 1800);
    const float y = static_cast<float>(std::sin(angle) / 10);
    // 90 is added in radians: the coil's cross-section is an ellipse.
    const float z = static_cast<float>(1 - std::sin(angle + 90) / 10);
    Eng3D::setpoint(cloud[i], 192, x, y, z);
  }
}

tvector launchvelocity() {
  const long double l = launchspeed;
  tvector v;
  v.x = static_cast<float>((randomreal() - 0.5L) * 0.002L + 0.01L);
  v.y = static_cast<float>(randomreal() * l / 2 + l / 2);
  v.z = static_cast<float>((randomreal() - 0.5L) * 0.002L);
  return v;
}

void spawnparticle(uint16_t n) {
  MORVANTA_REQUIRE(n <= Eng3D::fountaincount);
  if (n > Eng3D::fountaincount) return;
  const uint8_t colour = static_cast<uint8_t>(runtime::random(63));
  Eng3D::setpoint(Eng3D::fountainpos[n], colour, 0.0f, nozzley, nozzlez);
  Eng3D::fountainvel[n] = launchvelocity();
}

}  // namespace tools
