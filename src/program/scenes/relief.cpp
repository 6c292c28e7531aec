// relief: the picture windows, the relief, the wave band and the jitter of
// scenes 4 and 10.
#include "program/scenes/relief.h"

#include <algorithm>
#include <cstring>

#include "program/scenes/state.h"
#include "tables/tables.h"
#include "tarngr/tarngr.h"
#include "tools/lens.h"
#include "tools/stores.h"
#include "runtime/runtime.h"

namespace program::scenes {

namespace {
constexpr uint32_t framebytes = 64000;
constexpr uint32_t reliefcells = 64001;  // 0..64,000: one past the frame
constexpr uint32_t reliefwords = 32159;  // cells 0..64,317 reach work4
}  // namespace

// ---- the picture window --------------------------------------------------------------

void scrollwindow(uint8_t* dst, uint32_t from) {
  const uint32_t inside = from >= scrollbytes ? 0 : std::min(framebytes, scrollbytes - from);
  std::memcpy(dst, tools::scroll1.pixels + from, inside);
  std::memset(dst + inside, 0, framebytes - inside);
}

// ---- the relief ------------------------------------------------------------------

void buildrelief() {
  const uint8_t* text = tools::work2.pixels;
  uint8_t* cells = tools::work5.pixels;
  for (uint32_t i = 0; i < reliefcells; ++i) {
    const uint16_t v = text[i];
    // -2v as a 16-bit value: the store is a byte store, so write its bytes.
    const uint16_t height = v > 128 ? static_cast<uint16_t>(2 * v) : static_cast<uint16_t>(0u - 2u * v);
    std::memcpy(cells + 2 * i, &height, sizeof height);
  }
  tarngr::copydw(tools::work5.pixels, tools::work4.pixels, reliefwords);
}

// ---- the wave band ------------------------------------------------------------------

int32_t waveheight(const int16_t (&a)[256], uint32_t x, uint32_t phase) {
  return (a[(x + phase) & 255] + (a[(4 * x + phase) & 255] >> 2) + (a[(8 * x + phase) & 255] >> 3) +
          (a[(16 * x + phase) & 255] >> 4)) >>
         2;
}

namespace {
constexpr int32_t bandlast = 100;  // the band's lowest row in the upper half
constexpr uint8_t bandlift = 20;   // work3's colours 20 entries up

// work2 := work3 + 20 at (x, y), through the clipped pixel access.
inline void lift(int32_t x, int32_t y) {
  tarngr::putpixel(x, y, static_cast<uint8_t>(tarngr::getpixel(x, y, tools::work3) + bandlift), tools::work2);
}
}  // namespace

void wavebandplain(const int16_t (&curve)[256], uint32_t phase) {
  for (int32_t x = 0; x <= 160; ++x) {
    const int32_t h = waveheight(curve, static_cast<uint32_t>(x), phase);
    if (h > bandlast) continue;
    for (int32_t y = h; y <= bandlast; ++y) {
      lift(x, y);
      lift(319 - x, y);
      lift(x, 199 - y);
      lift(319 - x, 199 - y);
    }
  }
}

namespace {
// One row: out[c] := in[c] + 20 where the band has begun in column c, as a
// mask select the compiler turns into vector blends.
inline void liftrow(const uint8_t* __restrict in, uint8_t* __restrict out, const uint8_t* __restrict first,
                    uint8_t y) {
  for (uint32_t c = 0; c < 320; ++c) {
    const uint8_t inside = static_cast<uint8_t>(0u - static_cast<uint32_t>(y >= first[c]));
    out[c] = static_cast<uint8_t>((out[c] & ~inside) | (static_cast<uint8_t>(in[c] + bandlift) & inside));
  }
}
}  // namespace

// Per column, the first row of the band (the rows above stay, and rows 101
// and up mean none); then row by row, each upper row and its mirror below.
void waveband(const int16_t (&curve)[256], uint32_t phase) {
  if (runtime::plainpaths) return wavebandplain(curve, phase);
  constexpr int32_t none = bandlast + 1;
  int32_t h[161];
  for (uint32_t x = 0; x <= 160; ++x)
    h[x] = std::clamp(waveheight(curve, x, phase), int32_t{0}, none);
  alignas(32) uint8_t first[320];
  for (uint32_t c = 0; c < 320; ++c) first[c] = static_cast<uint8_t>(h[c <= 160 ? c : 319 - c]);
  // x = 159 and x = 160 each write both seam columns.
  first[159] = first[160] = static_cast<uint8_t>(std::min(h[159], h[160]));

  const uint8_t* src = tools::work3.pixels;
  uint8_t* dst = tools::work2.pixels;
  for (uint32_t y = 0; y <= static_cast<uint32_t>(bandlast); ++y) {
    liftrow(src + y * 320, dst + y * 320, first, static_cast<uint8_t>(y));
    liftrow(src + (199 - y) * 320, dst + (199 - y) * 320, first, static_cast<uint8_t>(y));
  }
}

// ---- the jitter ----------------------------------------------------------------------

namespace {
constexpr uint32_t jitterfirst = 2, jitterlastrow = 197, jitterlastcolumn = 317;
constexpr uint32_t jitterrow = jitterlastcolumn - jitterfirst + 1;  // 316 steps per row
constexpr uint32_t lanes = 320;  // a row's steps worked out in whole vectors

using tbytes = int8_t __attribute__((vector_size(16)));
using twords = int16_t __attribute__((vector_size(32)));

inline tbytes loadbytes(const int8_t* p) {
  tbytes v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// For the 320 steps of a row from r = randsign + k + 1: the target of step
// i relative to the row's first pixel, i + 320 r[i + 1] + r[i], and whether
// step i - 1 moved its pixel one right onto pixel i (r[i - 1] = 1, r[i] = 0).
inline void steps(const int8_t* r, int16_t* to, uint8_t* keep) {
  twords index;
  for (int16_t i = 0; i < 16; ++i) index[i] = i;
  for (uint32_t i = 0; i < lanes; i += 16) {
    const tbytes before = loadbytes(r + i - 1), here = loadbytes(r + i), next = loadbytes(r + i + 1);
    const twords target = index + __builtin_convertvector(next, twords) * 320 + __builtin_convertvector(here, twords);
    std::memcpy(to + i, &target, sizeof target);
    const tbytes moved = (before == 1) & (here == 0);
    std::memcpy(keep + i, &moved, sizeof moved);
    index += 16;
  }
  keep[0] = 0;  // the row's first step has no step before it in the row
}

inline void jitterstep(uint8_t* w, uint32_t p, uint16_t& k, uint16_t wrap) {
  const uint8_t b = w[p];
  k = static_cast<uint16_t>(k + 1);
  if (k >= wrap) k = 1;
  const int32_t dx = tables::randsign[k], dy = tables::randsign[k + 1];
  w[static_cast<int32_t>(p) + dy * 320 + dx] = b;
}
}  // namespace

void jitterplain(uint16_t wrap) {
  uint8_t* w = tools::work2.pixels;
  uint16_t k = jitterindex;
  for (uint32_t y = jitterfirst; y <= jitterlastrow; ++y)
    for (uint32_t x = jitterfirst; x <= jitterlastcolumn; ++x) jitterstep(w, y * 320 + x, k, wrap);
  jitterindex = k;
}

void jitter(uint16_t wrap) {
  if (runtime::plainpaths) return jitterplain(wrap);
  uint8_t* w = tools::work2.pixels;
  uint16_t k = jitterindex;
  for (uint32_t y = jitterfirst; y <= jitterlastrow; ++y) {
    const uint32_t p0 = y * 320 + jitterfirst;
    if (static_cast<uint32_t>(k) + lanes < wrap) {
      // The row's steps use k + 1 .. k + 316, none of which reaches the
      // wrap. Within the row only the step before can have changed the
      // pixel a step reads (by moving its own one right), so the reads come
      // from a copy of the row and that one carry rather than from the
      // pixels just stored; and every target and carry is worked out first,
      // in vector lanes (320 of them, randsign read up to k + 321), leaving
      // the stores alone in the ordered loop.
      const int8_t* r = tables::randsign + k + 1;
      uint8_t* at = w + p0;
      alignas(16) uint8_t row[jitterrow];
      alignas(16) int16_t to[lanes];
      alignas(16) uint8_t keep[lanes];  // all ones: the step before moved its pixel here
      std::memcpy(row, at, jitterrow);
      steps(r, to, keep);
      uint8_t b = 0;
      for (uint32_t i = 0; i < jitterrow; ++i) {
        b = static_cast<uint8_t>((b & keep[i]) | (row[i] & ~keep[i]));  // a select, not a branch
        at[to[i]] = b;
      }
      k = static_cast<uint16_t>(k + jitterrow);
    } else {
      for (uint32_t i = 0; i < jitterrow; ++i) jitterstep(w, p0 + i, k, wrap);
    }
  }
  jitterindex = k;
}

// ---- the frame's end ---------------------------------------------------------------

void reliefframe(const int16_t (&curve)[256], uint32_t& phase, uint16_t wrap) {
  waveband(curve, phase);
  phase = phase + 1;
  if (phase == 255) phase = 0;
  jitter(wrap);
  tools::lensremap();
}

}  // namespace program::scenes
