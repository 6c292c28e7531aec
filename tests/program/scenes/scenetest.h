// scenetest: helpers the scene tests share: pictures of a known size and
// fill, the music's position, the palette in use, and the pictures and
// tables of the two tunnels.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "program/program.h"
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

inline void clearstore() { std::memset(tools::screen.pixels, 0, tools::screenstoresize); }

inline void setposition(uint32_t position, uint32_t row) {
  program::playstatus.position = position;
  program::playstatus.row = row;
}

// Offsets of the frame that differ from v.
inline toffsets notequal(uint32_t from, uint32_t to, uint8_t v) {
  toffsets out;
  for (uint32_t p = from; p <= to; ++p)
    if (tools::screen.pixels[p] != v) out.push_back(p);
  return out;
}

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

}  // namespace scenetest
