// The opening scenes in process: the two textured tunnels with their logos
// and the star field, drawn from small known tables and pictures.
#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <tuple>
#include <vector>

#include "program/program.h"
#include "program/scenes/scenes.h"
#include "runtime/runtime.h"
#include "tables/tables.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/display.h"
#include "tools/seam.h"
#include "tools/stores.h"

namespace {

namespace sc = program::scenes;
using tools::screen;
using toffsets = std::vector<uint32_t>;

void fill(tarngr::tbitmap& bm, uint16_t width, uint16_t height, uint8_t value) {
  bm.width = width;
  bm.height = height;
  std::memset(bm.pixels, value, static_cast<size_t>(width) * height);
}

void clearstore() { std::memset(screen.pixels, 0, tools::screenstoresize); }

void setposition(uint32_t position, uint32_t row) {
  program::playstatus.position = position;
  program::playstatus.row = row;
}

// Offsets of the frame that differ from v.
toffsets notequal(uint32_t from, uint32_t to, uint8_t v) {
  toffsets out;
  for (uint32_t p = from; p <= to; ++p)
    if (screen.pixels[p] != v) out.push_back(p);
  return out;
}

// Entry i of the palette in use.
std::array<uint8_t, 3> colour(uint8_t i) {
  std::array<uint8_t, 3> c{};
  tarnpal::getcolor(i, c[0], c[1], c[2]);
  return c;
}

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

// ---- the texture mapping ------------------------------------------------------------

TEST_F(Tunnels, TableReadFromItsStartScreenFromItsEndWithSignedDimming) {
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

TEST_F(Tunnels, TextureIndexNeverPassesTheTexture) {
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

// ---- scenes 1 and 2 -------------------------------------------------------------

// Which offsets the tunnels leave at 0 is checked on the real show's frames
// (test_scenes_show.cpp); offset 319 is scene 1's own, and no filter smooths it.
TEST_F(Tunnels, RadialWritesItsLastPixelUnsmoothed) {
  std::memset(tools::teil.pixels, 100, 65028);
  sc::radialsetup();
  sc::radialtunnel();
  EXPECT_EQ(screen.pixels[319], 100);
}

TEST_F(Tunnels, LogosFromPositionTwoWithTheirOwnTransparentColours) {
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

// Scene 1's wobble: -1 in its first frame, then 0..11..0; scene 2 tests
// before it steps: 1..10..1, and fades in over 62 frames.
TEST_F(Tunnels, WobbleSequencesAndTheRotatingFadeIn) {
  auto run = [](void (*setup)(), void (*frame)(), int frames) {
    setup();
    std::vector<int32_t> seen;
    while (frames-- > 0) frame(), seen.push_back(sc::wobble);
    return seen;
  };
  auto swing = [](std::vector<int32_t> v, int low, int high) {
    for (int cycle = 0; cycle < 2; ++cycle) {
      for (int w = low; w <= high; ++w) v.push_back(w);
      for (int w = high - 1; w > low; --w) v.push_back(w);
    }
    v.push_back(low);
    return v;
  };
  EXPECT_EQ(run(sc::radialsetup, sc::radialtunnel, 46), swing({-1}, 0, 11));
  for (auto& e : tables::tunnelpal.entry) e = {63, 30, 0, 0};
  tarnpal::clearpalette();
  std::vector<int32_t> scene2 = run(sc::tunnelsetup, sc::tunnelpass, 62);
  EXPECT_EQ(colour(200), (std::array<uint8_t, 3>{62, 30, 0}));
  scene2.resize(37);
  EXPECT_EQ(scene2, swing({}, 1, 10));
  for (int frame = 63; frame <= 70; ++frame) sc::tunnelpass();
  EXPECT_EQ(colour(7)[0], 62);
}

TEST_F(Tunnels, SmoothingReadsPastTheFrameAndTheGuardByte) {
  // Bytes past the frame feed the last pixels, in place and forwards:
  // 63,679 sees 64,000 alone; 63,680 sees 64,000, 64,001 and the new 63,679.
  screen.pixels[64000] = screen.pixels[64001] = 255;
  sc::smooth8();
  for (auto [p, v] : {std::pair{63678, 0}, {63679, 31}, {63680, 67}, {64000, 255}, {64001, 255}})
    EXPECT_EQ(screen.pixels[p], v) << p;

  // The first pixel's upper-left neighbour is the byte in front of the frame.
  ASSERT_EQ(tools::screenstore + 1, screen.pixels);
  clearstore();
  tools::screenstore[0] = 200;
  sc::smooth8();
  EXPECT_EQ(screen.pixels[320], 25);
  EXPECT_EQ(screen.pixels[321], 3);  // its left neighbour is now 25
  EXPECT_EQ(tools::screenstore[0], 200);
  tools::screenstore[0] = 0;
}

TEST_F(Tunnels, FastSmoothingMatchesThePlainRule) {
  std::vector<uint8_t> before(64002), plain(64002);
  for (uint32_t seed : {3u, 31u, 313u}) {
    runtime::randseed = seed;
    for (auto& v : before) v = static_cast<uint8_t>(runtime::random(256));
    std::memcpy(screen.pixels, before.data(), before.size());
    sc::smooth8plain();
    std::memcpy(plain.data(), screen.pixels, plain.size());
    std::memcpy(screen.pixels, before.data(), before.size());
    sc::smooth8();
    EXPECT_EQ(0, std::memcmp(plain.data(), screen.pixels, plain.size())) << "seed " << seed;
  }
}

// ---- scene 3 ------------------------------------------------------------------------

std::vector<std::vector<uint8_t>> shown;
uint32_t clock = 0;
uint32_t ticks() { return clock; }
void wait(uint32_t ms) { clock += ms; }
void keep(const uint8_t* pixels, uint16_t width, uint16_t height, const tarnpal::tpalentry*) {
  shown.emplace_back(pixels, pixels + static_cast<size_t>(width) * height);
}

class Stars : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    tools::fullscreen = tools::scaled = false;
    tools::openmode(640, 480);
  }
  static void TearDownTestSuite() { SDL_Quit(); }
  void SetUp() override {
    saved = seam::current;
    seam::current.getticks = ticks;
    seam::current.delay = wait;
    seam::current.framesink = keep;
    shown.clear();
    tools::initmemory();
    fill(tools::morvpic, 640, 480, 0);
    fill(tools::morvdat, 640, 480, 0);
    for (int i = 0; i < 640 * 480; ++i) screen.pixels[i] = tools::morvpic.pixels[i] = static_cast<uint8_t>(i % 200);
    // Every star far away at the centre, where the mask is 0.
    for (auto& s : tables::starfield) s = {0.0f, 0.0f, 0.9f, 0};
    for (auto& e : tools::morvpicpal.entry) e = {63, 20, 1, 0};
    tarnpal::clearpalette();
    runtime::fixedseed = 1234;
    sc::starsetup();
    sc::starangle = 0.0f;
  }
  void TearDown() override {
    seam::current = saved;
    runtime::fixedseed.reset();
  }
  // Passes up to, not including, the one that presents.
  static void drawstars() {
    for (int i = 0; i < 449; ++i) sc::starpass();
  }
  static uint8_t at(int x, int y) { return screen.pixels[y * 640 + x]; }
  static uint8_t picture(int x, int y) { return tools::morvpic.pixels[y * 640 + x]; }
  static size_t changed() {
    size_t n = 0;
    for (int i = 0; i < 640 * 480; ++i) n += screen.pixels[i] != tools::morvpic.pixels[i];
    return n;
  }
  seam::tseam saved{};
};

// A plus sign where the mask is above 3 (4 here, 3 at the centre), whole
// inside the picture: x / z of 318.5/320 and 319.5/320 land on columns 638
// and 639, y likewise rows 477 and 478; only stars a pixel in from an edge show.
TEST_F(Stars, PlusSignOnlyWhereTheMaskAllowsAndInsideThePicture) {
  std::memset(tools::morvdat.pixels, 255, 640 * 480);
  tools::morvdat.pixels[192 * 640 + 384] = 4;
  tools::morvdat.pixels[240 * 640 + 320] = 3;
  const float in = 0.5f / 320, down = 0.5f / 240;
  const float stars[][2] = {{0.1f, -0.1f}, {0.0f, 0.0f},  // to (320 + 64, 240 - 48) and the centre
                            {318.5f * in, 0.0f},  {319.5f * in, -0.1f}, {-0.2f, 237.5f * down},
                            {-0.1f, 238.5f * down}, {-319.5f * in, 0.1f}, {-320.5f * in, 0.2f}};
  for (int i = 0; i < 8; ++i) tables::starfield[i + 1] = {stars[i][0], stars[i][1], 0.501f, 0};
  drawstars();
  for (auto [x, y, v] : {std::tuple{384, 192, 255}, {383, 192, 245}, {385, 192, 245}, {384, 191, 245},
                         {384, 193, 245}, {638, 240, 255}, {639, 240, 245}, {192, 477, 255}, {192, 478, 245},
                         {1, 288, 255}, {0, 288, 245}})
    EXPECT_EQ(at(x, y), v) << x << "," << y;
  EXPECT_EQ(changed(), 4 * 5u);  // nothing at the centre
  EXPECT_EQ(tables::starfield[1].colour, 255);
  const float z = tables::starfield[1].z;  // packed fields are read by value
  EXPECT_FLOAT_EQ(z, 0.5f);
}

TEST_F(Stars, TheFieldTurnsAboutTheViewingAxis) {
  std::memset(tools::morvdat.pixels, 255, 640 * 480);
  tables::starfield[1] = {0.105f, 0.0f, 0.501f, 0};
  sc::starangle = 90.0f;
  drawstars();
  EXPECT_EQ(at(320, 290), 255);  // +x turns onto +y: 240 * 0.21
  EXPECT_EQ(at(387, 240), picture(387, 240));  // where it would be unturned
  EXPECT_EQ(at(320, 190), picture(320, 190));  // turned the other way
}

TEST_F(Stars, AStarPastTheViewerComesBackAtDepthOne) {
  tables::starfield[7] = {0.3f, 0.3f, 0.0005f, 9};
  for (int i = 0; i < 7; ++i) sc::starpass();
  const float x = tables::starfield[7].x, y = tables::starfield[7].y, z = tables::starfield[7].z;
  EXPECT_EQ(z, 1.0f);
  EXPECT_TRUE(std::abs(x) <= 0.25f && std::abs(y) <= 0.25f && x != 0.3f) << x << "," << y;
  EXPECT_EQ(tables::starfield[7].colour, 255);
}

// Each 450th pass presents the frame with its stars and restores the
// picture; the angle shows 360 for one frame, then wraps; the picture has
// faded in before the first frame.
TEST_F(Stars, FramesShownThenPictureRestoredAngleWraps) {
  std::memset(tools::morvdat.pixels, 255, 640 * 480);
  sc::starangle = 359.0f;
  std::vector<float> angles;
  for (size_t frame = 0; frame < 3; ++frame) {
    drawstars();
    if (frame == 0) {
      EXPECT_EQ(colour(100), (std::array<uint8_t, 3>{62, 20, 1}));
    }
    EXPECT_EQ(shown.size(), frame);
    sc::starpass();
    ASSERT_EQ(shown.size(), frame + 1);
    EXPECT_EQ(shown.back().size(), 640u * 480);
    EXPECT_EQ(shown.back()[240 * 640 + 320], 255);
    EXPECT_EQ(changed(), 0u);
    EXPECT_EQ(sc::starindex, 1u);
    angles.push_back(sc::starangle);
  }
  EXPECT_EQ(angles, (std::vector<float>{360.0f, 0.0f, 1.0f}));
}

}  // namespace
