// scenetest: helpers the scene tests share: pictures of a known size and
// fill, pixels and 16-bit cells of 320-wide bitmaps, random fills, a plain
// rule against its fast path on the same input, the music's position, the
// palette in use, and the pictures and tables of the two tunnels. It
// brings in the scene entry points and the stores, tables and palette that
// every scene test works on.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "program/program.h"
#include "program/scenes/relief.h"
#include "program/scenes/scenes.h"
#include "program/scenes/state.h"
#include "runtime/runtime.h"
#include "tables/tables.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/stores.h"

namespace scenetest {

using toffsets = std::vector<uint32_t>;

inline void fill(tarngr::tbitmap& bm, uint16_t width, uint16_t height, uint8_t value) {
  bm.width = width;
  bm.height = height;
  std::memset(bm.pixels, value, static_cast<size_t>(width) * height);
}

// Pixel (x, y) of a 320-wide bitmap (the screen, when none is named).
inline uint8_t at(const tarngr::tbitmap& bm, uint32_t x, uint32_t y) { return bm.pixels[y * 320 + x]; }
inline uint8_t at(uint32_t x, uint32_t y) { return at(tools::screen, x, y); }
inline void set(tarngr::tbitmap& bm, uint32_t x, uint32_t y, uint8_t v) { bm.pixels[y * 320 + x] = v; }

// 16-bit cell i of a bitmap whose store holds cells (work4, work5).
inline int16_t cell(const tarngr::tbitmap& bm, uint32_t i) {
  int16_t v;
  std::memcpy(&v, bm.pixels + 2 * i, sizeof v);
  return v;
}
inline void setcell(tarngr::tbitmap& bm, uint32_t i, int16_t v) { std::memcpy(bm.pixels + 2 * i, &v, sizeof v); }

using tbytes = std::vector<uint8_t>;
inline tbytes snapshot(const uint8_t* p, size_t n = 64000) { return tbytes(p, p + n); }

// n bytes of the run-time generator's numbers below `below`.
inline void randomfill(uint8_t* p, size_t n = 64000, uint32_t below = 256) {
  for (size_t i = 0; i < n; ++i) p[i] = static_cast<uint8_t>(runtime::random(below));
}

// Runs `plain`, then `fast` from the same n bytes at p and the same value
// of `state` (a counter both move on), and tells whether both leave the
// same bytes there and the same value.
template <class State, class Plain, class Fast>
bool sameasplain(uint8_t* p, size_t n, State& state, Plain plain, Fast fast) {
  const tbytes before = snapshot(p, n);
  const State start = state;
  plain();
  const tbytes want = snapshot(p, n);
  const State end = state;
  std::memcpy(p, before.data(), n);
  state = start;
  fast();
  return std::memcmp(p, want.data(), n) == 0 && state == end;
}
template <class Plain, class Fast>
bool sameasplain(uint8_t* p, size_t n, Plain plain, Fast fast) {
  int nostate = 0;
  return sameasplain(p, n, nostate, plain, fast);
}

inline void clearstore() { std::memset(tools::screen.pixels, 0, tools::screenstoresize); }

inline void setposition(uint32_t position, uint32_t row) {
  program::playstatus.position = position;
  program::playstatus.row = row;
}

// Offsets from..to of a bitmap (the frame, when none is named) whose pixels
// differ from v.
inline toffsets notequal(const tarngr::tbitmap& bm, uint32_t from, uint32_t to, uint8_t v) {
  toffsets out;
  for (uint32_t p = from; p <= to; ++p)
    if (bm.pixels[p] != v) out.push_back(p);
  return out;
}
inline toffsets notequal(uint32_t from, uint32_t to, uint8_t v) { return notequal(tools::screen, from, to, v); }

// Entry i of the palette in use.
inline std::array<uint8_t, 3> colour(uint8_t i) {
  std::array<uint8_t, 3> c{};
  tarnpal::getcolor(i, c[0], c[1], c[2]);
  return c;
}

// Scenes 1 and 2: a black texture, flat logos with their transparent
// corners, zeroed maps, position 1.
class Tunnels : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::initmemory();
    clearstore();
    fill(tools::teil, 256, 254, 0);
    fill(tools::qelm1, 50, 20, 69);
    tools::qelm1.pixels[0] = 68;  // transparent in scene 1
    fill(tools::corporat, 40, 20, 170);
    tools::corporat.pixels[0] = 168;
    fill(tools::presents, 40, 20, 90);
    fill(tools::proudly, 40, 20, 80);
    for (int32_t* t : {tables::polarmap, tables::polarshade, tables::tunnelmap, tables::tunnelshade})
      std::memset(t, 0, sizeof tables::polarmap);
    setposition(1, 0);
  }
};

// Scenes 4 and 10: a picture byte that tells every offset from its
// neighbours and is never 0, so black marks a read past the picture.
inline uint8_t picturebyte(uint32_t i) { return static_cast<uint8_t>((i * 2654435761u) >> 24 | 1); }

// Zeroed layers and reliefs, no jitter offsets, curves that band nothing,
// the known picture with the four bytes of the store behind it marked, and
// a black palette.
class Credits : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::initmemory();
    std::memset(tools::work2.pixels, 0, tools::work2storesize);
    std::memset(tools::work3.pixels, 0, tools::work3storesize);
    std::memset(tools::work4.pixels, 0, tools::cellstoresize);
    std::memset(tools::work5.pixels, 0, tools::cellstoresize);
    std::memset(tables::randsign, 0, sizeof tables::randsign);
    std::fill_n(tables::halfsine, 256, 400);
    std::fill_n(tables::atancurve, 256, 400);
    for (uint32_t i = 0; i < program::scenes::scrollbytes; ++i) tools::scroll1.pixels[i] = picturebyte(i);
    std::memset(tools::scroll1.pixels + program::scenes::scrollbytes, 0xAB, 4);
    program::scenes::jitterindex = 200;
    tarnpal::clearpalette();
  }
};

}  // namespace scenetest
