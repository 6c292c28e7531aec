// tarngr: pixel primitives, blits, filters and block operations.
#include "tarngr/tarngr.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "runtime/check.h"
#include "tarngr/plain.h"
#include "runtime/runtime.h"

namespace tarngr {

uint8_t transcolor = 0;

void initbitmap(tbitmap& bm, uint16_t width, uint16_t height, uint8_t* pixels) {
  bm.pixels = pixels;
  bm.width = width;
  bm.height = height;
}

// ---- lines -----------------------------------------------------------------

namespace {
inline void plot(tbitmap& bm, int32_t x, int32_t y, uint8_t colour) {
  if (static_cast<uint32_t>(x) < bm.width && static_cast<uint32_t>(y) < bm.height)
    bm.pixels[static_cast<uint32_t>(y) * bm.width + static_cast<uint32_t>(x)] = colour;
}
}  // namespace

// Coordinates are 16-bit, but the differences and the error term are kept in
// 32 bits: in 16 bits a line spanning more than 16,383 pixels overflows them
// and draws a wrong path; every shorter line comes out the same either way.
void drawline(tbitmap& bm, int16_t x1, int16_t y1, int16_t x2, int16_t y2, uint8_t colour) {
  if (x1 == x2 && y1 == y2) return;
  const int32_t sx = x1 < x2 ? 1 : -1;
  const int32_t sy = y1 < y2 ? 1 : -1;
  const int32_t dx = std::abs(int32_t{x2} - x1);
  const int32_t dy = std::abs(int32_t{y2} - y1);
  int32_t x = x1, y = y1;
  plot(bm, x, y, colour);
  if (dx > dy) {
    int32_t e = 2 * dy - dx;
    do {
      if (e >= 0) {
        y += sy;
        e += 2 * (dy - dx);
      } else {
        e += 2 * dy;
      }
      x += sx;
      plot(bm, x, y, colour);
    } while (x != x2);
  } else {
    int32_t e = 2 * dx - dy;
    do {
      if (e >= 0) {
        x += sx;
        e += 2 * (dx - dy);
      } else {
        e += 2 * dx;
      }
      y += sy;
      plot(bm, x, y, colour);
    } while (y != y2);
  }
}

void drawvline(tbitmap& bm, int16_t y1, int16_t y2, int16_t x, uint8_t colour) {
  drawline(bm, x, y1, x, y2, colour);
}

// ---- blits -----------------------------------------------------------------
//
// The blits below produce exactly the bytes of the plain rules in plain.cpp
// (one getpixel and one putpixel per pixel): they clip whole rows once, and
// the scaled ones work out each visible column's and row's sampled source
// position once per call. When source and destination share memory the
// plain rule runs instead, since there every read sees the earlier writes.

namespace {

// Per-call scratch, static so that a frame allocates nothing (main thread
// only): sampled source positions of the visible destination columns and
// rows, one source row followed by the 0 that an out-of-range sample reads,
// and the samples of the current source row.
uint32_t samplecols[65536];
uint32_t samplerows[65536];
uint8_t samplerowbuf[65536 + 1];
uint8_t sampledrow[65536];

// Sixteen pixels in one vector register (SSE2 on every x86-64).
typedef uint8_t tbytes16 __attribute__((vector_size(16)));

// d[i] = s[i] wherever s[i] is not the transparent colour, sixteen pixels at
// a time as a select. The rows must not overlap; rewriting a kept pixel with
// its own value is then harmless.
void drawopaque(uint8_t* d, const uint8_t* s, uint32_t n, uint8_t tc) {
  const tbytes16 tcs = tbytes16{} + tc;
  uint32_t i = 0;
  for (; i + 16 <= n; i += 16) {
    tbytes16 sv, dv;
    std::memcpy(&sv, s + i, 16);
    std::memcpy(&dv, d + i, 16);
    const tbytes16 keep = sv != tcs;
    dv = (sv & keep) | (dv & ~keep);
    std::memcpy(d + i, &dv, 16);
  }
  for (; i < n; ++i)
    if (s[i] != tc) d[i] = s[i];
}

bool sharememory(const tbitmap& a, const tbitmap& b) {
  const auto pa = reinterpret_cast<uintptr_t>(a.pixels);
  const auto pb = reinterpret_cast<uintptr_t>(b.pixels);
  const uintptr_t na = static_cast<uintptr_t>(a.width) * a.height;
  const uintptr_t nb = static_cast<uintptr_t>(b.width) * b.height;
  return na != 0 && nb != 0 && pa < pb + nb && pb < pa + na;
}

// The visible part [first, last) of offsets 0..span-1 placed at origin on an
// axis of `size` pixels; empty when first >= last.
struct tclip {
  int64_t first, last;
};
tclip clipspan(int32_t origin, int64_t span, uint16_t size) {
  return {std::max<int64_t>(0, -int64_t{origin}), std::min<int64_t>(span, int64_t{size} - origin)};
}

// Runs the single-precision sum of `step` from 0 past the first `skip`
// offsets, then stores the sampled position of the next `count` offsets,
// with every position outside 0..limit-1 stored as limit.
void samplepositions(float step, int64_t skip, int64_t count, uint16_t limit, uint32_t* out) {
  float s = 0.0f;
  for (int64_t i = 0; i < skip; ++i) {
    const float next = s + step;
    if (next == s) break;  // the sum has stopped moving: far-off rectangles end here
    s = next;
  }
  for (int64_t i = 0; i < count; ++i) {
    const uint32_t p = static_cast<uint32_t>(plain::nearest(s));
    out[i] = p < limit ? p : limit;
    s = s + step;
  }
}

template <bool transparent>
void scaled(const tbitmap& src, int32_t x1, int32_t y1, int32_t x2, int32_t y2, tbitmap& dst) {
  MORVANTA_REQUIRE(x2 > x1 && y2 > y1);
  if (sharememory(src, dst)) {
    if (transparent)
      plain::scaleblit(src, x1, y1, x2, y2, dst);
    else
      plain::scalecopy(src, x1, y1, x2, y2, dst);
    return;
  }
  const int64_t w = int64_t{x2} - x1, h = int64_t{y2} - y1;
  const tclip cols = clipspan(x1, w, dst.width), rows = clipspan(y1, h, dst.height);
  if (cols.first >= cols.last || rows.first >= rows.last) return;
  const auto ncols = static_cast<uint32_t>(cols.last - cols.first);
  const auto nrows = static_cast<uint32_t>(rows.last - rows.first);
  samplepositions(plain::scalestep(src.width, w), cols.first, ncols, src.width, samplecols);
  samplepositions(plain::scalestep(src.height, h), rows.first, nrows, src.height, samplerows);

  const uint8_t tc = transcolor;
  uint8_t* out = dst.pixels + static_cast<size_t>(y1 + rows.first) * dst.width + (x1 + cols.first);
  // One row of samples serves every destination row that samples the same
  // source row; magnified rows repeat, so most rows cost a copy or a select.
  uint32_t sampled = UINT32_MAX;  // no source row has this index
  samplerowbuf[src.width] = 0;
  for (uint32_t r = 0; r < nrows; ++r, out += dst.width) {
    const uint32_t sr = samplerows[r];
    if (sr != sampled) {
      sampled = sr;
      if (sr >= src.height) {
        std::memset(sampledrow, 0, ncols);  // below the source: every sample reads 0
      } else {
        if (src.width != 0)
          std::memcpy(samplerowbuf, src.pixels + static_cast<size_t>(sr) * src.width, src.width);
        for (uint32_t c = 0; c < ncols; ++c) sampledrow[c] = samplerowbuf[samplecols[c]];
      }
    }
    if (transparent)
      drawopaque(out, sampledrow, ncols, tc);
    else
      std::memcpy(out, sampledrow, ncols);
  }
}

}  // namespace

void scaleblit(const tbitmap& src, int32_t x1, int32_t y1, int32_t x2, int32_t y2, tbitmap& dst) {
  if (runtime::plainpaths) return plain::scaleblit(src, x1, y1, x2, y2, dst);
  scaled<true>(src, x1, y1, x2, y2, dst);
}

void scalecopy(const tbitmap& src, int32_t x1, int32_t y1, int32_t x2, int32_t y2, tbitmap& dst) {
  if (runtime::plainpaths) return plain::scalecopy(src, x1, y1, x2, y2, dst);
  scaled<false>(src, x1, y1, x2, y2, dst);
}

void spriteblit(int32_t x, int32_t y, const tbitmap& src, tbitmap& dst) {
  if (runtime::plainpaths) return plain::spriteblit(x, y, src, dst);
  if (src.width == 0 || src.height == 0) return;
  if (sharememory(src, dst)) {
    plain::spriteblit(x, y, src, dst);
    return;
  }
  const tclip cols = clipspan(x, src.width, dst.width), rows = clipspan(y, src.height, dst.height);
  if (cols.first >= cols.last || rows.first >= rows.last) return;
  const auto n = static_cast<uint32_t>(cols.last - cols.first);
  for (int64_t j = rows.first; j < rows.last; ++j)
    drawopaque(dst.pixels + (y + j) * dst.width + (x + cols.first), src.pixels + j * src.width + cols.first, n,
               transcolor);
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

namespace {
// As the plain rule, but the left neighbour, which the previous step has just
// written, is carried in a register instead of being read back from memory.
template <bool fade>
void average(uint8_t* b, uint16_t n) {
  MORVANTA_REQUIRE(n >= 320);
  uint8_t* p = b + 320;
  const uint8_t* const end = b + n + 1;
  uint32_t left = p[-1];
  for (; p != end; ++p) {
    uint32_t v = (p[320] + p[-320] + p[1] + left) >> 2;
    if (fade) v -= v != 0;
    *p = static_cast<uint8_t>(v);
    left = v;
  }
}
}  // namespace

namespace {

// Two rows of the blur at once. Each new pixel waits for its left
// neighbour, two operations a pixel; two rows interleaved keep two such
// chains going. What a pixel of the upper row reads besides its left
// neighbour (the new row above, the old row below, the old pixel to its
// right) is known before the pair starts, and so is what the lower row reads
// besides the upper row's new pixel and its own left neighbour. Only that
// left neighbour at the lower row's first pixel, the upper row's last new
// pixel, comes at the very end: the lower row starts from a guess, and is
// put right afterwards from its first pixel for as long as it differs. A
// wrong left neighbour's share halves twice per pixel, so that takes a few
// pixels.
void blurpair(uint8_t* row) {
  uint16_t upper[320], lower[320], lowersum[320];
  const uint8_t* const above = row - 320;
  for (uint32_t x = 0; x < 320; ++x) {
    upper[x] = static_cast<uint16_t>(row[x + 320] + above[x] + row[x + 1]);
    lower[x] = static_cast<uint16_t>(row[x + 640] + row[x + 321]);
  }
  uint8_t* const below = row + 320;
  uint32_t left = row[-1];
  uint32_t guess = row[319];  // the upper row's last pixel as it was
  for (uint32_t x = 0; x < 320; ++x) {
    left = (upper[x] + left) >> 2;
    row[x] = static_cast<uint8_t>(left);
    lowersum[x] = static_cast<uint16_t>(lower[x] + left);
    guess = (lowersum[x] + guess) >> 2;
    below[x] = static_cast<uint8_t>(guess);
  }
  for (uint32_t x = 0; x < 320; ++x) {
    left = (lowersum[x] + left) >> 2;
    if (below[x] == left) break;  // from here on the guess led to the same pixels
    below[x] = static_cast<uint8_t>(left);
  }
}

}  // namespace

void blur(uint8_t* b, uint16_t n) {
  if (runtime::plainpaths) return plain::blur(b, n);
  MORVANTA_REQUIRE(n >= 320);
  // Whole pairs of rows while both lie inside 320..n, then the rest alone.
  uint32_t k = 320;
  for (; k + 639 <= n; k += 640) blurpair(b + k);
  uint32_t left = b[k - 1];
  for (; k <= n; ++k) {
    left = (b[k + 320] + b[k - 320] + b[k + 1] + left) >> 2;
    b[k] = static_cast<uint8_t>(left);
  }
}
void blurfade(uint8_t* b, uint16_t n) {
  if (runtime::plainpaths) return plain::blurfade(b, n);
  average<true>(b, n);
}

// ---- block operations --------------------------------------------------------

void copydw(const void* src, void* dst, uint32_t n) {
  if (n == 0) return;
  const auto* s = static_cast<const uint8_t*>(src);
  auto* d = static_cast<uint8_t*>(dst);
  const size_t bytes = static_cast<size_t>(n) * 4;
  const auto ps = reinterpret_cast<uintptr_t>(s), pd = reinterpret_cast<uintptr_t>(d);
  if (pd <= ps || pd >= ps + bytes) {
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
  if (n == 0) return;
  auto* d = static_cast<uint8_t*>(dst);
  const size_t bytes = static_cast<size_t>(n) * 4;
  // One word, then the filled part copied after itself, doubling each time.
  std::memcpy(d, &value, 4);
  for (size_t filled = 4; filled < bytes;) {
    const size_t step = std::min(filled, bytes - filled);
    std::memcpy(d + filled, d, step);
    filled += step;
  }
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
