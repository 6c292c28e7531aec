// maps: the angle/depth map rule and the grey conversion.
#include <cmath>

#include "runtime/check.h"
#include "runtime/runtime.h"
#include "tables/tables.h"

namespace tables {

namespace {
using ld = long double;

// 127/pi: the angle, -pi/2..pi/2, becomes -63..63.
constexpr ld anglescale = 40.425355545341415266L;

// Distance from the centre with the vertical axis stretched by 1.6, both
// products stored as single as the maps have always been built.
inline int32_t distance(float x, float y) {
  const float q = static_cast<float>(static_cast<ld>(y) * y * 1.6L);
  const float s = static_cast<float>(static_cast<ld>(x) * x);
  int64_t d = runtime::trunc(std::sqrt(static_cast<ld>(q) + s));
  MORVANTA_REQUIRE(d >= 0 && d <= 255);
  if (d > 255) d = 255;
  return static_cast<int32_t>(d);
}

// Trunc(atan(x / y) * 127/pi) with the arctangent stored as single.
inline int32_t angleterm(float x, float y, bool negate) {
  ld t = std::atan(static_cast<ld>(x) / y);
  if (negate) t = -t;
  const float a = static_cast<float>(t);
  return static_cast<int32_t>(runtime::trunc(a * anglescale));
}

inline int32_t mapvalue(int32_t angle, int32_t depth, int32_t row) {
  return angle + depth * 256 + (row >= 99 ? 128 : 0);
}

// Distance and angle term for |x| and |y| around one centre. Both are
// symmetric: the distance ignores the signs, and the angle term is
// odd in x and in y (the division, atan, the single rounding and Trunc all
// commute with negation), so one quadrant serves all four.
struct tquadrant {
  int32_t wide = 0, high = 0;  // |x| <= wide - 1, |y| <= high - 1
  uint8_t dist[200][320];
  int8_t angle[200][320];  // at |y| = 0 the angle of y = 1
};
tquadrant quadrant;

void fillquadrant(int32_t cx, int32_t cy) {
  quadrant.wide = (cx > 319 - cx ? cx : 319 - cx) + 1;
  quadrant.high = (cy > 199 - cy ? cy : 199 - cy) + 1;
  for (int32_t ay = 0; ay < quadrant.high; ++ay)
    for (int32_t ax = 0; ax < quadrant.wide; ++ax) {
      const float x = static_cast<float>(ax), y = static_cast<float>(ay);
      quadrant.dist[ay][ax] = static_cast<uint8_t>(distance(x, y));
      quadrant.angle[ay][ax] = static_cast<int8_t>(angleterm(x, ay == 0 ? 1.0f : y, false));
    }
}
}  // namespace

void buildmapplain(int32_t cx, int32_t cy, const int32_t (&depth)[256], bool negate,
                   int32_t (&map)[framesize], int32_t* shade) {
  for (int32_t r = 0; r < 200; ++r)
    for (int32_t c = 0; c < 320; ++c) {
      const int32_t p = r * 320 + c;
      const float x = static_cast<float>(c - cx);
      float y = static_cast<float>(r - cy);
      const int32_t d = distance(x, y);
      if (y == 0) y = 1;
      map[p] = mapvalue(angleterm(x, y, negate), depth[d], r);
      if (shade) shade[p] = depth[d] / 8;
    }
}

void buildmap(int32_t cx, int32_t cy, const int32_t (&depth)[256], bool negate, int32_t (&map)[framesize],
              int32_t* shade) {
  MORVANTA_REQUIRE(cx >= 0 && cx < 320 && cy >= 0 && cy < 200);
  if (runtime::plainpaths || cx < 0 || cx >= 320 || cy < 0 || cy >= 200) {
    buildmapplain(cx, cy, depth, negate, map, shade);
    return;
  }
  fillquadrant(cx, cy);
  for (int32_t r = 0; r < 200; ++r) {
    const int32_t y = r - cy;
    const int32_t ay = y < 0 ? -y : y;
    const uint8_t* dist = quadrant.dist[ay];
    const int8_t* angle = quadrant.angle[ay];
    // y = 0 counts as y = 1: positive.
    const bool yneg = y < 0;
    for (int32_t c = 0; c < 320; ++c) {
      const int32_t p = r * 320 + c;
      const int32_t x = c - cx;
      const int32_t ax = x < 0 ? -x : x;
      int32_t a = angle[ax];
      if ((x < 0) != (yneg != negate)) a = -a;
      const int32_t dv = depth[dist[ax]];
      map[p] = mapvalue(a, dv, r);
      if (shade) shade[p] = dv / 8;
    }
  }
}

void greyconvertplain(uint8_t* pixels, uint32_t count, const tpalette& pal, const tpalette& greys) {
  for (uint32_t i = 0; i < count; ++i) {
    const tarnpal::tpalentry& e = pal.entry[pixels[i]];
    uint8_t k = 63;
    for (uint8_t j = 0; j <= 63; ++j) {
      const tarnpal::tpalentry& g = greys.entry[j];
      if (e.red == g.red && e.green == g.green && e.blue == g.blue) k = j;
    }
    pixels[i] = k;
  }
}

void greyconvert(uint8_t* pixels, uint32_t count, const tpalette& pal, const tpalette& greys) {
  if (runtime::plainpaths) return greyconvertplain(pixels, count, pal, greys);
  // The palettes do not change during the pass, so the answer depends on
  // the pixel's value alone.
  uint8_t grey[256];
  for (int c = 0; c < 256; ++c) {
    uint8_t v = static_cast<uint8_t>(c);
    greyconvertplain(&v, 1, pal, greys);
    grey[c] = v;
  }
  for (uint32_t i = 0; i < count; ++i) pixels[i] = grey[pixels[i]];
}

}  // namespace tables
