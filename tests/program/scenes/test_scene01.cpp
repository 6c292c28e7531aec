// Scene 1 and the texture mapping both tunnels share, on small known
// tables and pictures.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <tuple>
#include <vector>

#include "program/scenes/scenes.h"
#include "program/scenes/state.h"
#include "program/scenes/tunnels.h"
#include "program/scenes/scenetest.h"
#include "runtime/runtime.h"
#include "tables/tables.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/stores.h"

namespace {

namespace sc = program::scenes;
using namespace scenetest;
using tools::screen;

class Scene1 : public Tunnels {};

// ---- the texture mapping ------------------------------------------------------------

TEST_F(Scene1, TableReadFromItsStartScreenFromItsEndWithSignedDimming) {
  // {texel, its value, map entry i (minus the shift of one row: the texel),
  // shade, result}; the shade is read, and the result written, at 63,680 - i.
  const int32_t cases[][5] = {
      {5, 77, 0x0105, 7, 70},
      {9, 5, 0x0109, 10, 0},     // 5 - 10 wraps to 251: negative, so 0
      {10, 200, 0x010A, 0, 0},   // 200 reads as negative too
      {11, 127, 0x010B, 0, 127},
      {0, 50, 0x0300, 0, 50},    // bit 9 is masked away: row 2 repeats row 0
  };
  for (uint32_t i = 0; i < 5; ++i) {
    tools::teil.pixels[cases[i][0]] = static_cast<uint8_t>(cases[i][1]);
    tables::polarmap[i] = cases[i][2];
    tables::polarshade[63680 - i] = cases[i][3];
  }
  sc::texturemap(tables::polarmap, tables::polarshade, 0x0100, 319);
  for (uint32_t i = 0; i < 5; ++i) EXPECT_EQ(screen.pixels[63680 - i], cases[i][4]) << "entry " << i;
}

TEST_F(Scene1, TextureIndexNeverPassesTheTexture) {
  // Bytes 65,024.. are past any index the mask allows: mark them. The three
  // bases make the map entries that are read cover every 16-bit value.
  for (int i = 65024; i < 65028; ++i) tools::teil.pixels[i] = 100;
  for (uint32_t base : {0u, 2000u, 64000u})
    for (uint32_t shift : {0u, 0x1234u}) {
      for (uint32_t i = 0; i < 64000; ++i) tables::polarmap[i] = static_cast<int32_t>((base + i) | 0xABCD0000u);
      sc::texturemap(tables::polarmap, tables::polarshade, static_cast<uint16_t>(shift), 319);
      EXPECT_EQ(notequal(319, 63680, 0), toffsets{}) << "base " << base << " shift " << shift;
    }
}

// ---- scene 1 --------------------------------------------------------------------------

// Which offsets the tunnels leave at 0 is checked on the real show's frames
// (test_scenes_show.cpp); offset 319 is scene 1's own, and no filter smooths it.
TEST_F(Scene1, RadialWritesItsLastPixelUnsmoothed) {
  std::memset(tools::teil.pixels, 100, 65028);
  sc::radialsetup();
  sc::radialtunnel();
  EXPECT_EQ(screen.pixels[319], 100);
}

TEST_F(Scene1, LogosFromPositionTwoWithTheirOwnTransparentColours) {
  // An all-black texture: only the logos can show.
  sc::radialsetup();
  setposition(1, 63);
  sc::radialtunnel();
  sc::radiallogos();
  EXPECT_EQ(notequal(0, 63999, 0), toffsets{});

  setposition(2, 0);
  sc::radialtunnel();
  sc::radiallogos();
  // wobble 0: qelm1 in (11,7)-(110,50), corporat in (210,150)-(290,190); the
  // 0s are sampled from the transparent corners.
  ASSERT_EQ(sc::wobble, 0);
  for (auto [x, y, v] : {std::tuple{11, 7, 0}, {13, 9, 69}, {60, 30, 69}, {211, 151, 0}, {250, 170, 170}})
    EXPECT_EQ(screen.pixels[y * 320 + x], v) << x << "," << y;
  for (uint32_t p = 0; p < 64000; ++p) {
    const uint32_t x = p % 320, y = p / 320;
    if ((x >= 11 && x < 110 && y >= 7 && y < 50) || (x >= 210 && x < 290 && y >= 150 && y < 190)) continue;
    ASSERT_EQ(screen.pixels[p], 0) << x << "," << y;
  }
}

}  // namespace
