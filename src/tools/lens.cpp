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
  if (runtime::plainpaths) return lensremapplain();
  cleartail();
  // The relief is read in place: a 16-bit view of work4's byte store.
  using cell = int16_t __attribute__((may_alias));
  const cell* w = reinterpret_cast<const cell*>(work4.pixels);
  const uint8_t* src = work2.pixels;
  uint8_t* dst = screen.pixels;
  // Per row: first every source index, in 16-bit lanes the compiler can
  // vectorise (j * 320 + c + hs * 320 + vs wraps modulo 65,536 exactly as
  // k + hs * 320 + vs does), then the byte fetches.
  alignas(32) uint16_t index[320];
  for (uint32_t row = 0; row < 200; ++row) {
    const uint32_t base = row * 320;
    const cell* here = w + base;
    for (uint32_t c = 0; c < 320; ++c) {
      const int16_t hs = static_cast<int16_t>(static_cast<uint16_t>(here[c + 1]) - static_cast<uint16_t>(here[c])) >> 3;
      const int16_t vs = static_cast<int16_t>(static_cast<uint16_t>(here[c + 320]) - static_cast<uint16_t>(here[c])) >> 3;
      index[c] = static_cast<uint16_t>(base + c + static_cast<uint16_t>(hs) * 320u + static_cast<uint16_t>(vs));
    }
    uint8_t* out = dst + base;
    for (uint32_t c = 0; c < 320; ++c) out[c] = src[index[c]];
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
  if (runtime::plainpaths) return lensinitplain();
  const int32_t s = clampsize();
  const int32_t r = lensradius;
  // Outside a sane radius the 16/32-bit wrap-arounds of the rule matter;
  // leave those to the plain rule.
  if (r < 0 || r > 2 * lensmaxsize) {
    lensinitplain();
    return;
  }
  // Every point starts undisplaced; the points inside the lens are then
  // overwritten. The rule is symmetric about the centre: z depends on
  // dx^2 + dy^2 only, Round(-t) = -Round(t), and swapping dx and dy swaps
  // the two bends; so the eight points (R +- adx, R +- ady) and
  // (R +- ady, R +- adx) share one square root and two bends.
  for (int32_t a = 0; a < s; ++a)
    for (int32_t b = 0; b < s; ++b) lenstable[a * s + b] = static_cast<uint16_t>(a * 320 + b);
  const int32_t r2 = r * r;
  const auto put = [&](int32_t dx, int32_t dy, int32_t bu, int32_t bv) {
    const int32_t a = r + dy, b = r + dx;
    if (a < 0 || a >= s || b < 0 || b >= s) return;
    lenstable[a * s + b] = static_cast<uint16_t>(static_cast<uint32_t>((bv + r) * 320 + bu + r));
  };
  const int32_t reach = r > s - 1 - r ? r : s - 1 - r;  // largest |d| inside the square
  for (int32_t ady = 0; ady <= reach; ++ady) {
    for (int32_t adx = ady; adx <= reach; ++adx) {
      const int32_t d2 = adx * adx + ady * ady;
      if (d2 + 1400 >= r2) break;  // further out along this row stays outside
      const int32_t z = roundsqrt(static_cast<uint32_t>(r2 - d2));
      const int32_t bx = bend(adx, z), by = bend(ady, z);
      for (int32_t sy = -1; sy <= 1; sy += 2)
        for (int32_t sx = -1; sx <= 1; sx += 2) {
          put(sx * adx, sy * ady, sx * bx, sy * by);
          put(sy * ady, sx * adx, sy * by, sx * bx);
        }
    }
  }
}

}  // namespace tools
