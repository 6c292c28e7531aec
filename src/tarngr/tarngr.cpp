// tarngr: pixel primitives, blits, filters and block operations.
#include "tarngr/tarngr.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "runtime/check.h"

namespace tarngr {

uint8_t transcolor = 0;

void initbitmap(tbitmap& bm, uint16_t width, uint16_t height, uint8_t* pixels) {
  bm.pixels = pixels;
  bm.width = width;
  bm.height = height;
}

// ---- lines -----------------------------------------------------------------

namespace {
inline void plot(tbitmap& bm, int16_t x, int16_t y, uint8_t colour) {
  if (x >= 0 && y >= 0 && x < bm.width && y < bm.height)
    bm.pixels[static_cast<uint32_t>(y) * bm.width + static_cast<uint32_t>(x)] = colour;
}
inline int16_t i16(int v) { return static_cast<int16_t>(v); }
}  // namespace

void drawline(tbitmap& bm, int16_t x1, int16_t y1, int16_t x2, int16_t y2, uint8_t colour) {
  if (x1 == x2 && y1 == y2) return;
  const int16_t sx = x1 < x2 ? 1 : -1;
  const int16_t sy = y1 < y2 ? 1 : -1;
  const int16_t dx = i16(std::abs(x2 - x1));
  const int16_t dy = i16(std::abs(y2 - y1));
  int16_t x = x1, y = y1;
  plot(bm, x, y, colour);
  if (dx > dy) {
    int16_t e = i16(2 * dy - dx);
    do {
      if (e >= 0) {
        y = i16(y + sy);
        e = i16(e + 2 * (dy - dx));
      } else {
        e = i16(e + 2 * dy);
      }
      x = i16(x + sx);
      plot(bm, x, y, colour);
    } while (x != x2);
  } else {
    int16_t e = i16(2 * dx - dy);
    do {
      if (e >= 0) {
        x = i16(x + sx);
        e = i16(e + 2 * (dx - dy));
      } else {
        e = i16(e + 2 * dx);
      }
      y = i16(y + sy);
      plot(bm, x, y, colour);
    } while (y != y2);
  }
}

void drawvline(tbitmap& bm, int16_t y1, int16_t y2, int16_t x, uint8_t colour) {
  drawline(bm, x, y1, x, y2, colour);
}

// ---- blits -----------------------------------------------------------------

namespace {
// The step of a scaled blit: source size over destination size, formed in
// extended precision and stored as a single.
inline float scalestep(uint16_t size, int32_t span) {
  return static_cast<float>(static_cast<long double>(size) / static_cast<long double>(span));
}
// Nearest integer, ties to even.
inline int32_t nearest(float v) { return static_cast<int32_t>(std::lrintf(v)); }

template <bool transparent>
void scaled(const tbitmap& src, int32_t x1, int32_t y1, int32_t x2, int32_t y2, tbitmap& dst) {
  MORVANTA_REQUIRE(x2 > x1 && y2 > y1);
  const float xs = scalestep(src.width, x2 - x1);
  const float ys = scalestep(src.height, y2 - y1);
  float sy = 0.0f;
  for (int32_t j = 0; j < y2 - y1; ++j) {
    float sx = 0.0f;
    for (int32_t i = 0; i < x2 - x1; ++i) {
      const uint8_t c = getpixel(nearest(sx), nearest(sy), src);
      if (!transparent || c != transcolor) putpixel(x1 + i, y1 + j, c, dst);
      sx = sx + xs;
    }
    sy = sy + ys;
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
      if (c != transcolor) putpixel(x + i, y + j, c, dst);
    }
}

void copyrect(const tbitmap& src, uint16_t x1, uint16_t y1, uint16_t x2, uint16_t y2, tbitmap& dst) {
  MORVANTA_REQUIRE(x2 > x1 && y2 > y1);
  dst.width = static_cast<uint16_t>(x2 - x1);
  dst.height = static_cast<uint16_t>(y2 - y1);
  for (int32_t j = 0; j < dst.height; ++j)
    for (int32_t i = 0; i < dst.width; ++i) dst.pixels[j * dst.width + i] = getpixel(x1 + i, y1 + j, src);
}

void brighten(tbitmap& bm, uint8_t amount) {
  MORVANTA_REQUIRE(bm.width >= 1 && bm.height >= 1);
  const uint32_t n = static_cast<uint32_t>(bm.width) * bm.height;
  for (uint32_t k = 0; k < n; ++k) bm.pixels[k] = static_cast<uint8_t>(bm.pixels[k] + amount);
}

// ---- filters ---------------------------------------------------------------

void blur(uint8_t* b, uint16_t n) {
  MORVANTA_REQUIRE(n >= 320);
  for (uint32_t k = 320; k <= n; ++k)
    b[k] = static_cast<uint8_t>((b[k + 320] + b[k - 320] + b[k + 1] + b[k - 1]) / 4);
}

void blurfade(uint8_t* b, uint16_t n) {
  MORVANTA_REQUIRE(n >= 320);
  for (uint32_t k = 320; k <= n; ++k) {
    uint8_t v = static_cast<uint8_t>((b[k + 320] + b[k - 320] + b[k + 1] + b[k - 1]) / 4);
    if (v != 0) --v;
    b[k] = v;
  }
}

// ---- block operations --------------------------------------------------------

void copydw(const void* src, void* dst, uint32_t n) {
  const auto* s = static_cast<const uint8_t*>(src);
  auto* d = static_cast<uint8_t*>(dst);
  const size_t bytes = static_cast<size_t>(n) * 4;
  if (d <= s || d >= s + bytes) {
    // No word is overwritten before it is read: a block copy is the same.
    std::memmove(d, s, bytes);
    return;
  }
  // The destination starts inside the source: copy forwards word by word,
  // so words already written are read again (the pattern repeats).
  for (uint32_t i = 0; i < n; ++i) {
    uint32_t w;
    std::memcpy(&w, s + 4 * static_cast<size_t>(i), 4);
    std::memcpy(d + 4 * static_cast<size_t>(i), &w, 4);
  }
}

void filldw(void* dst, uint32_t n, uint32_t value) {
  auto* d = static_cast<uint8_t*>(dst);
  for (uint32_t i = 0; i < n; ++i) std::memcpy(d + 4 * static_cast<size_t>(i), &value, 4);
}

void mergepal(const tarnpal::tpalette& src, uint8_t n, tarnpal::tpalette& dst, uint8_t base) {
  if (n == 0) return;
  MORVANTA_REQUIRE(base + n <= 255);
  const tarnpal::tpalette copy = src;
  for (int k = 1; k <= n; ++k) {
    tarnpal::tpalentry& d = dst.entry[base + k];
    d.red = copy.entry[k].red;
    d.green = copy.entry[k].green;
    d.blue = copy.entry[k].blue;
  }
}

}  // namespace tarngr
