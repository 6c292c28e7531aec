// plasma: midpoint subdivision with random displacement.
#include "tools/plasma.h"

#include <cmath>

#include "runtime/check.h"
#include "runtime/runtime.h"
#include "tarngr/tarngr.h"

namespace tools {

uint8_t plasmabuf[plasmawidth * plasmaheight];
int32_t plasmarough = 0;

namespace {
inline uint8_t& at(int32_t x, int32_t y) {
  MORVANTA_REQUIRE(x >= 0 && x < plasmawidth && y >= 0 && y < plasmaheight);
  return plasmabuf[tarngr::rowoffset[static_cast<uint32_t>(y)] + static_cast<uint32_t>(x)];
}
}  // namespace

double power(int32_t n, double x) {
  double v = x;
  if (v > 1 && n >= 2) {
    // Once v is infinite further squaring changes nothing.
    for (int32_t i = 1; i < n && !std::isinf(v); ++i) v = v * v;
  }
  if (v == 0) v = 1;
  return v;
}

int32_t plasmapoint(int32_t ax, int32_t ay, int32_t tx, int32_t ty, int32_t bx, int32_t by, int32_t depth) {
  uint8_t& target = at(tx, ty);
  if (target != 0) return target;
  int64_t d = 0;
  if (depth <= 10) {
    const double p = power(depth, 2.0);
    // A roughness below 0 is treated as 0: no displacement.
    const uint32_t range = plasmarough > 0 ? static_cast<uint32_t>(plasmarough) : 0u;
    const uint32_t r = runtime::random(range);
    d = runtime::round(static_cast<long double>(r) / p);
  }
  if (runtime::random(2) != 0) d = -d;
  int64_t v = ((at(ax, ay) + at(bx, by)) >> 1) + d;
  if (v < 1) v = 1;
  if (v > 255) v = 255;
  target = static_cast<uint8_t>(v);
  return static_cast<int32_t>(v);
}

void plasmadivide(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t depth) {
  if (x2 - x1 < 2 && y2 - y1 < 2) return;
  const int32_t xm = (x1 + x2) / 2;
  const int32_t ym = (y1 + y2) / 2;
  const uint8_t top = static_cast<uint8_t>(plasmapoint(x1, y1, xm, y1, x2, y1, depth));
  const uint8_t right = static_cast<uint8_t>(plasmapoint(x2, y1, x2, ym, x2, y2, depth));
  const uint8_t bottom = static_cast<uint8_t>(plasmapoint(x1, y2, xm, y2, x2, y2, depth));
  const uint8_t left = static_cast<uint8_t>(plasmapoint(x1, y1, x1, ym, x1, y2, depth));
  uint8_t& centre = at(xm, ym);
  if (centre == 0) centre = static_cast<uint8_t>((top + right + bottom + left) / 4);
  plasmadivide(x1, y1, xm, ym, depth + 1);
  plasmadivide(xm, y1, x2, ym, depth + 1);
  plasmadivide(xm, ym, x2, y2, depth + 1);
  plasmadivide(x1, ym, xm, y2, depth + 1);
}

void plasma(int32_t rough) {
  for (uint32_t y = 0; y < plasmaheight; ++y)
    for (uint32_t x = 0; x < plasmawidth; ++x) plasmabuf[tarngr::rowoffset[y] + x] = 0;
  at(0, 0) = static_cast<uint8_t>(runtime::random(255));
  at(319, 0) = static_cast<uint8_t>(runtime::random(255));
  at(319, 199) = static_cast<uint8_t>(runtime::random(255));
  at(0, 199) = static_cast<uint8_t>(runtime::random(255));
  plasmarough = rough;
  plasmadivide(0, 0, plasmawidth - 1, plasmaheight - 1, 0);
}

}  // namespace tools
