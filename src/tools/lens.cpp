// lens: relief refraction and the lens offset table.
#include "tools/lens.h"

#include <cmath>
#include <cstring>

#include "runtime/runtime.h"
#include "tools/stores.h"

namespace tools {

int32_t lenssize = 0;
int32_t lensradius = 0;
uint16_t lenstable[lensmaxsize * lensmaxsize];

// ---- lensremap ---------------------------------------------------------------

namespace {
constexpr uint32_t framepixels = 64000;

inline int16_t height(const uint8_t* w, uint32_t k) {
  int16_t v;
  std::memcpy(&v, w + 2 * k, sizeof v);  // work4 is a byte store
  return v;
}

// Division by 8 toward minus infinity of the 16-bit difference.
inline int32_t slope(int16_t to, int16_t from) {
  return static_cast<int16_t>(static_cast<uint16_t>(to) - static_cast<uint16_t>(from)) >> 3;
}

inline void cleartail() {
  std::memset(work2.pixels + framepixels, 0, work2storesize - framepixels);
}
}  // namespace

void lensremapplain() {
  cleartail();
  const uint8_t* w = work4.pixels;
  for (uint32_t k = 0; k < framepixels; ++k) {
    const int32_t j = static_cast<int32_t>(k / 320), c = static_cast<int32_t>(k % 320);
    const int32_t hs = slope(height(w, k + 1), height(w, k));
    const int32_t vs = slope(height(w, k + 320), height(w, k));
    const uint16_t s = static_cast<uint16_t>((j + hs) * 320 + (c + vs));
    screen.pixels[k] = work2.pixels[s];
  }
}

void lensremap() {
  cleartail();
  const uint8_t* w = work4.pixels;
  const uint8_t* src = work2.pixels;
  uint8_t* dst = screen.pixels;
  // Walk rows and columns instead of dividing; base = j * 320 + c, and the
  // displaced index is base + hs * 320 + vs, all modulo 65,536.
  int16_t here = height(w, 0);
  for (uint32_t k = 0; k < framepixels; ++k) {
    const int16_t next = height(w, k + 1);
    const int16_t below = height(w, k + 320);
    const int32_t hs = slope(next, here);
    const int32_t vs = slope(below, here);
    const uint32_t s = (k + static_cast<uint32_t>(hs * 320 + vs)) & 0xFFFFu;
    dst[k] = src[s];
    here = next;
  }
}

// ---- lensinit ----------------------------------------------------------------

namespace {
// The lens rule for one point, (dx, dy) from the centre, R the radius.
inline uint16_t lensentry(int32_t a, int32_t b, int32_t r) {
  const int16_t dx = static_cast<int16_t>(b - r);
  const int16_t dy = static_cast<int16_t>(a - r);
  // 32-bit arithmetic that wraps as the machine's does.
  const uint32_t d2 = static_cast<uint32_t>(dx * dx) + static_cast<uint32_t>(dy * dy);
  const uint32_t r2 = static_cast<uint32_t>(r) * static_cast<uint32_t>(r);
  if (static_cast<int32_t>(d2 + 1400u) >= static_cast<int32_t>(r2))
    return static_cast<uint16_t>(a * 320 + b);
  const long double z = static_cast<long double>(runtime::round(std::sqrt(
      static_cast<long double>(static_cast<int32_t>(r2 - d2)))));
  const int64_t u = runtime::round(dx / z * (75 - z)) + r;
  const int64_t v = runtime::round(dy / z * (75 - z)) + r;
  return static_cast<uint16_t>(static_cast<uint64_t>(v) * 320u + static_cast<uint64_t>(u));
}

inline int32_t clampsize() {
  if (lenssize == 0) lenssize = 1;
  if (lenssize >= lensmaxsize) lenssize = lensmaxsize;
  return lenssize;
}

// Round(d / z * (75 - z)) in extended precision, as the plain rule forms it.
inline int32_t bend(int32_t d, int32_t z) {
  const long double zl = z;
  return static_cast<int32_t>(runtime::round(d / zl * (75 - zl)));
}

// Round(sqrt(n)) for n >= 0 without floating point: sqrt(n) is never
// exactly halfway for an integer n, and rounds up iff n > f * f + f.
inline int32_t roundsqrt(uint32_t n) {
  uint32_t f = static_cast<uint32_t>(std::sqrt(static_cast<double>(n)));
  while (f * f > n) --f;
  while ((f + 1) * (f + 1) <= n) ++f;
  return static_cast<int32_t>(n > f * f + f ? f + 1 : f);
}
}  // namespace

void lensinitplain() {
  const int32_t s = clampsize();
  const int32_t r = lensradius;
  for (int32_t a = 0; a < s; ++a)
    for (int32_t b = 0; b < s; ++b) lenstable[a * s + b] = lensentry(a, b, r);
}

void lensinit() {
  const int32_t s = clampsize();
  const int32_t r = lensradius;
  // Outside a sane radius the 16/32-bit wrap-arounds of the rule matter;
  // leave those to the plain rule.
  if (r < 0 || r > 2 * lensmaxsize) {
    lensinitplain();
    return;
  }
  // The rule is symmetric about the centre: z depends on dx^2 + dy^2 only
  // and Round(-t) = -Round(t), so the four points (R +- adx, R +- ady) share
  // one square root and two bends. The outside points are the identity.
  const int32_t r2 = r * r;
  for (int32_t a = 0; a < s; ++a) {
    const int32_t dy = a - r;
    for (int32_t b = 0; b < s; ++b) {
      const int32_t dx = b - r;
      if (dx * dx + dy * dy + 1400 >= r2) lenstable[a * s + b] = static_cast<uint16_t>(a * 320 + b);
    }
  }
  const int32_t reach = r > s - 1 - r ? r : s - 1 - r;  // largest |d| inside the square
  for (int32_t ady = 0; ady <= reach; ++ady) {
    for (int32_t adx = 0; adx <= reach; ++adx) {
      const int32_t d2 = adx * adx + ady * ady;
      if (d2 + 1400 >= r2) break;  // further out along this row stays outside
      const int32_t z = roundsqrt(static_cast<uint32_t>(r2 - d2));
      const int32_t bu = bend(adx, z), bv = bend(ady, z);
      for (int sy = 0; sy < (ady == 0 ? 1 : 2); ++sy) {
        const int32_t a = sy == 0 ? r + ady : r - ady;
        if (a < 0 || a >= s) continue;
        const int32_t v = (sy == 0 ? bv : -bv) + r;
        for (int sx = 0; sx < (adx == 0 ? 1 : 2); ++sx) {
          const int32_t b = sx == 0 ? r + adx : r - adx;
          if (b < 0 || b >= s) continue;
          const int32_t u = (sx == 0 ? bu : -bu) + r;
          lenstable[a * s + b] = static_cast<uint16_t>(static_cast<uint32_t>(v * 320 + u));
        }
      }
    }
  }
}

}  // namespace tools
