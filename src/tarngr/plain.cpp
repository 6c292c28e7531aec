// plain: reference blits and filters (see plain.h).
#include "tarngr/plain.h"

#include "runtime/check.h"

namespace tarngr::plain {

namespace {

// x + i modulo 2^32: a rectangle far out must clip, not overflow.
inline int32_t add(int32_t a, int64_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

template <bool transparent>
void scaled(const tbitmap& src, int32_t x1, int32_t y1, int32_t x2, int32_t y2, tbitmap& dst) {
  MORVANTA_REQUIRE(x2 > x1 && y2 > y1);
  const int64_t w = int64_t{x2} - x1, h = int64_t{y2} - y1;
  const float xs = scalestep(src.width, w);
  const float ys = scalestep(src.height, h);
  float sy = 0.0f;
  for (int64_t j = 0; j < h; ++j) {
    float sx = 0.0f;
    for (int64_t i = 0; i < w; ++i) {
      const uint8_t c = getpixel(nearest(sx), nearest(sy), src);
      if (!transparent || c != transcolor) putpixel(add(x1, i), add(y1, j), c, dst);
      sx = sx + xs;
    }
    sy = sy + ys;
  }
}

// The four-neighbour average over a 320-wide buffer, in place and ascending:
// the left and upper neighbours are already new when a pixel is computed.
template <bool fade>
void average(uint8_t* b, uint16_t n) {
  MORVANTA_REQUIRE(n >= 320);
  for (uint32_t k = 320; k <= n; ++k) {
    uint8_t v = static_cast<uint8_t>((b[k + 320] + b[k - 320] + b[k + 1] + b[k - 1]) / 4);
    if (fade && v != 0) --v;
    b[k] = v;
  }
}

}  // namespace

void scaleblit(const tbitmap& src, int32_t x1, int32_t y1, int32_t x2, int32_t y2, tbitmap& dst) {
  scaled<true>(src, x1, y1, x2, y2, dst);
}

void scalecopy(const tbitmap& src, int32_t x1, int32_t y1, int32_t x2, int32_t y2, tbitmap& dst) {
  scaled<false>(src, x1, y1, x2, y2, dst);
}

void spriteblit(int32_t x, int32_t y, const tbitmap& src, tbitmap& dst) {
  if (src.width == 0 || src.height == 0) return;
  for (int32_t j = 0; j < src.height; ++j)
    for (int32_t i = 0; i < src.width; ++i) {
      const uint8_t c = getpixel(i, j, src);
      if (c != transcolor) putpixel(add(x, i), add(y, j), c, dst);
    }
}

void blur(uint8_t* b, uint16_t n) { average<false>(b, n); }
void blurfade(uint8_t* b, uint16_t n) { average<true>(b, n); }

}  // namespace tarngr::plain
