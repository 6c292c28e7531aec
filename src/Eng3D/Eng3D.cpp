// Eng3D: rotation, projection and dots.
#include "Eng3D/Eng3D.h"

#include <cmath>

#include "runtime/runtime.h"

namespace Eng3D {

tpoint3d fountainpos[fountaincount + 1];
tvector fountainvel[fountaincount + 1];

void setpoint(tpoint3d& point, uint8_t colour, float x, float y, float z) {
  point.x = x;
  point.y = y;
  point.z = z;
  point.colour = colour;
}

trotation makerotation(float a1, float a2, float a3) {
  using ld = long double;
  const float r1 = a1 * degtorad, r2 = a2 * degtorad, r3 = a3 * degtorad;
  return {static_cast<float>(std::sin(static_cast<ld>(r1))), static_cast<float>(std::cos(static_cast<ld>(r1))),
          static_cast<float>(std::sin(static_cast<ld>(r2))), static_cast<float>(std::cos(static_cast<ld>(r2))),
          static_cast<float>(std::sin(static_cast<ld>(r3))), static_cast<float>(std::cos(static_cast<ld>(r3)))};
}

void rotatewith(const tpoint3d& source, tpoint3d& dest, float cx, float cy, float cz, const trotation& r) {
  using ld = long double;
  const tpoint3d p = source;  // dest may be source
  const float dx = p.x - cx, dy = p.y - cy, dz = p.z - cz;
  // Each line is evaluated in extended precision and stored as single.
  const float y1 = static_cast<float>(ld{dy} * r.c1 - ld{dz} * r.s1);
  const float z1 = static_cast<float>(ld{dy} * r.s1 + ld{dz} * r.c1);
  const float x2 = static_cast<float>(ld{dx} * r.c2 - ld{z1} * r.s2);
  const float z2 = static_cast<float>(ld{dx} * r.s2 + ld{z1} * r.c2);
  const float x3 = static_cast<float>(ld{x2} * r.c3 - ld{y1} * r.s3);
  const float y3 = static_cast<float>(ld{x2} * r.s3 + ld{y1} * r.c3);
  dest.x = x3 + cx;
  dest.y = y3 + cy;
  dest.z = z2 + cz;
  dest.colour = p.colour;
}

void rotatepoint(const tpoint3d& source, tpoint3d& dest, float cx, float cy, float cz, float a1, float a2,
                 float a3) {
  rotatewith(source, dest, cx, cy, cz, makerotation(a1, a2, a3));
}

void movepoint(tpoint3d& point, float dx, float dy, float dz) {
  point.x = point.x + dx;
  point.y = point.y + dy;
  point.z = point.z + dz;
}

bool projectpoint(const tpoint3d& point, int32_t width, int32_t height, int32_t& sx, int32_t& sy) {
  const long double z = point.z;
  if (!(z > 0)) return false;  // behind the camera, on it, or not a number
  // Product first, then the division, as the dots have always been placed.
  const long double px = focalx * static_cast<long double>(point.x) / z;
  const long double py = focaly * static_cast<long double>(point.y) / z;
  // A point very close to the camera plane projects far off screen; such a
  // value must not reach the integer conversion.
  constexpr long double far = 1e9L;
  if (!(std::fabs(px) < far) || !(std::fabs(py) < far)) return false;
  sx = static_cast<int32_t>(runtime::trunc(px)) + centrex;
  sy = static_cast<int32_t>(runtime::trunc(py)) + centrey;
  return sx >= 4 && sx < width - 4 && sy >= 4 && sy < height - 4;
}

namespace {
void block(tbitmap& target, const tpoint3d& point, int32_t w, int32_t h) {
  int32_t sx, sy;
  if (!projectpoint(point, target.width, target.height, sx, sy)) return;
  const uint8_t colour = point.colour;
  for (int32_t j = 0; j < h; ++j)
    for (int32_t i = 0; i < w; ++i) tarngr::putpixel(sx + i, sy + j, colour, target);
}
}  // namespace

void drawbigdot(tbitmap& target, const tpoint3d& point) { block(target, point, 5, 5); }

void drawdot(tbitmap& target, const tpoint3d& point) { block(target, point, 2, 4); }

}  // namespace Eng3D
