// The opening scenes in process: the two textured tunnels with their logos
// and the star field, drawn from small known tables and pictures.
#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include <cstdlib>
#include <cstring>
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
std::vector<uint32_t> notequal(uint32_t from, uint32_t to, uint8_t v) {
  std::vector<uint32_t> out;
  for (uint32_t p = from; p <= to; ++p)
    if (screen.pixels[p] != v) out.push_back(p);
  return out;
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
    std::memset(tables::polarmap, 0, sizeof tables::polarmap);
    std::memset(tables::polarshade, 0, sizeof tables::polarshade);
    std::memset(tables::tunnelmap, 0, sizeof tables::tunnelmap);
    std::memset(tables::tunnelshade, 0, sizeof tables::tunnelshade);
    setposition(1, 0);
  }
  // Random tables and texture, as wild as their types allow.
  void randomise(uint32_t seed) {
    runtime::randseed = seed;
    for (int i = 0; i < tables::framesize; ++i) {
      tables::polarmap[i] = tables::tunnelmap[i] = static_cast<int32_t>(runtime::random(0xFFFFFFFFu));
      tables::polarshade[i] = tables::tunnelshade[i] = static_cast<int32_t>(runtime::random(400));
    }
    for (int i = 0; i < 65028; ++i) tools::teil.pixels[i] = static_cast<uint8_t>(runtime::random(256));
  }
};

// ---- the texture mapping ------------------------------------------------------------

TEST_F(Tunnels, TableReadFromItsStartScreenFromItsEndWithSignedDimming) {
  tools::teil.pixels[5] = 77;
  tables::polarmap[0] = 0x0105;  // minus the shift of one row: texel 5
  tables::polarshade[63680] = 7;
  tools::teil.pixels[9] = 5;
  tables::polarmap[1] = 0x0109;
  tables::polarshade[63679] = 10;  // 5 - 10 wraps to 251: negative, so 0
  tools::teil.pixels[10] = 200;
  tables::polarmap[2] = 0x010A;     // 200 reads as negative too
  tools::teil.pixels[11] = 127;
  tables::polarmap[3] = 0x010B;
  tools::teil.pixels[0] = 50;
  tables::polarmap[4] = 0x0200 + 0x100;  // bit 9 is masked away: row 2 repeats row 0
  sc::texturemap(tables::polarmap, tables::polarshade, 0x0100, 319);
  EXPECT_EQ(screen.pixels[63680], 70);
  EXPECT_EQ(screen.pixels[63679], 0);
  EXPECT_EQ(screen.pixels[63678], 0);
  EXPECT_EQ(screen.pixels[63677], 127);
  EXPECT_EQ(screen.pixels[63676], 50);
}

TEST_F(Tunnels, TextureIndexNeverPassesTheTexture) {
  // Bytes 65,024.. are past any index the mask allows: mark them. The three
  // bases make the map entries that are read cover every 16-bit value.
  for (int i = 65024; i < 65028; ++i) tools::teil.pixels[i] = 100;
  for (uint32_t base : {0u, 2000u, 64000u})
    for (uint32_t shift : {0u, 0x1234u}) {
      for (uint32_t i = 0; i < 64000; ++i) tables::polarmap[i] = static_cast<int32_t>((base + i) | 0xABCD0000u);
      sc::texturemap(tables::polarmap, tables::polarshade, static_cast<uint16_t>(shift), 319);
      EXPECT_EQ(notequal(319, 63680, 0), std::vector<uint32_t>{}) << "base " << base << " shift " << shift;
    }
}

// ---- scene 1 -------------------------------------------------------------------

TEST_F(Tunnels, RadialLeavesTopRowAndBottomEndAlone) {
  randomise(7);
  sc::radialsetup();
  for (int frame = 0; frame < 3; ++frame) {
    setposition(frame == 0 ? 1 : 2, 0);
    sc::radialtunnel();
    sc::radiallogos();
    EXPECT_EQ(notequal(0, 318, 0), std::vector<uint32_t>{});
    EXPECT_EQ(notequal(63681, 63999, 0), std::vector<uint32_t>{});
  }
  // Offset 319 is the tunnel's last pixel, and no filter smooths it.
  std::memset(tools::teil.pixels, 100, 65028);
  std::memset(tables::polarshade, 0, sizeof tables::polarshade);
  sc::radialtunnel();
  EXPECT_EQ(screen.pixels[319], 100);
}

TEST_F(Tunnels, LogosFromPositionTwoWithTheirOwnTransparentColours) {
  // An all-black texture: only the logos can show.
  sc::radialsetup();
  setposition(1, 63);
  sc::radialtunnel();
  sc::radiallogos();
  EXPECT_EQ(notequal(0, 63999, 0), std::vector<uint32_t>{});

  setposition(2, 0);
  sc::radialtunnel();
  sc::radiallogos();
  // wobble 0: qelm1 in (11,7)-(110,50), corporat in (210,150)-(290,190).
  ASSERT_EQ(sc::wobble, 0);
  EXPECT_EQ(screen.pixels[7 * 320 + 11], 0);  // sampled from the transparent corner
  EXPECT_EQ(screen.pixels[9 * 320 + 13], 69);
  EXPECT_EQ(screen.pixels[30 * 320 + 60], 69);
  EXPECT_EQ(screen.pixels[151 * 320 + 211], 0);
  EXPECT_EQ(screen.pixels[170 * 320 + 250], 170);
  for (uint32_t p = 0; p < 64000; ++p) {
    const uint32_t x = p % 320, y = p / 320;
    const bool inlogo = (x >= 11 && x < 110 && y >= 7 && y < 50) || (x >= 210 && x < 290 && y >= 150 && y < 190);
    if (!inlogo) {
      ASSERT_EQ(screen.pixels[p], 0) << x << "," << y;
    }
  }
}

// ---- scene 2 ---------------------------------------------------------------------

TEST_F(Tunnels, RotatingLeavesTopRowAndBottomEndAlone) {
  randomise(11);
  sc::tunnelsetup();
  for (int frame = 0; frame < 3; ++frame) {
    sc::tunnelpass();
    EXPECT_EQ(notequal(0, 319, 0), std::vector<uint32_t>{});
    EXPECT_EQ(notequal(63681, 63999, 0), std::vector<uint32_t>{});
    if (frame == 0) {  // both pictures from the first frame on
      EXPECT_EQ(screen.pixels[20 * 320 + 60], 90);
      EXPECT_EQ(screen.pixels[170 * 320 + 250], 80);
    }
  }
}

// Scene 1: -1 in its first frame, then 0..11..0; scene 2 tests before it steps: 1..10..1.
TEST_F(Tunnels, WobbleSequences) {
  auto run = [](void (*setup)(), void (*frame)(), int frames) {
    setup();
    std::vector<int32_t> seen;
    for (int f = 0; f < frames; ++f) {
      frame();
      seen.push_back(sc::wobble);
    }
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
  EXPECT_EQ(run(sc::tunnelsetup, sc::tunnelpass, 37), swing({}, 1, 10));
}

TEST_F(Tunnels, RotatingFadesInOverSixtyTwoFrames) {
  for (auto& e : tables::tunnelpal.entry) e = {63, 30, 0, 0};
  tarnpal::clearpalette();
  sc::tunnelsetup();
  uint8_t r, g, b;
  for (int frame = 1; frame <= 62; ++frame) sc::tunnelpass();
  tarnpal::getcolor(200, r, g, b);
  EXPECT_EQ(r, 62);
  EXPECT_EQ(g, 30);
  EXPECT_EQ(b, 0);
  for (int frame = 63; frame <= 70; ++frame) sc::tunnelpass();
  tarnpal::getcolor(7, r, g, b);
  EXPECT_EQ(r, 62);
}

TEST_F(Tunnels, SmoothingReadsPastTheFrameAndTheGuardByte) {
  // Bytes past the frame feed the last pixels, in place and forwards:
  // 63,679 sees 64,000 alone; 63,680 sees 64,000, 64,001 and the new 63,679.
  screen.pixels[64000] = 255;
  screen.pixels[64001] = 255;
  sc::smooth8();
  EXPECT_EQ(screen.pixels[63678], 0);
  EXPECT_EQ(screen.pixels[63679], 31);
  EXPECT_EQ(screen.pixels[63680], 67);
  EXPECT_EQ(screen.pixels[64000], 255);
  EXPECT_EQ(screen.pixels[64001], 255);

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
    tools::fullscreen = false;
    tools::scaled = false;
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
    for (int i = 0; i < 640 * 480; ++i) tools::morvpic.pixels[i] = static_cast<uint8_t>(i % 200);
    std::memcpy(screen.pixels, tools::morvpic.pixels, 640 * 480);
    // Every star far away at the centre, where the mask is 0.
    for (auto& s : tables::starfield) s = {0.0f, 0.0f, 0.9f, 0};
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

TEST_F(Stars, PlusSignOnlyWhereTheMaskIsAboveThree) {
  // Star 1 ends at z 0.5 and projects to (320 + 64, 240 - 48); star 2 to the centre.
  tables::starfield[1] = {0.1f, -0.1f, 0.501f, 0};
  tables::starfield[2] = {0.0f, 0.0f, 0.501f, 0};
  tools::morvdat.pixels[192 * 640 + 384] = 4;
  tools::morvdat.pixels[240 * 640 + 320] = 3;
  drawstars();
  EXPECT_EQ(at(384, 192), 255);
  for (auto [x, y] : {std::pair{383, 192}, {385, 192}, {384, 191}, {384, 193}}) EXPECT_EQ(at(x, y), 245);
  EXPECT_EQ(changed(), 5u);
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

TEST_F(Stars, PlusSignStaysInsideThePicture) {
  std::memset(tools::morvdat.pixels, 255, 640 * 480);
  // x / z of 318.5/320 and 319.5/320 land on columns 638 and 639; y likewise rows 477 and 478.
  tables::starfield[1] = {318.5f / 320 * 0.5f, 0.0f, 0.501f, 0};
  tables::starfield[2] = {319.5f / 320 * 0.5f, -0.1f, 0.501f, 0};
  tables::starfield[3] = {-0.2f, 237.5f / 240 * 0.5f, 0.501f, 0};
  tables::starfield[4] = {-0.1f, 238.5f / 240 * 0.5f, 0.501f, 0};
  tables::starfield[5] = {-319.5f / 320 * 0.5f, 0.1f, 0.501f, 0};  // column 1
  tables::starfield[6] = {-320.5f / 320 * 0.5f, 0.2f, 0.501f, 0};  // column 0
  drawstars();
  EXPECT_EQ(at(638, 240), 255);
  EXPECT_EQ(at(639, 240), 245);
  EXPECT_EQ(at(192, 477), 255);
  EXPECT_EQ(at(192, 478), 245);
  EXPECT_EQ(at(1, 288), 255);
  EXPECT_EQ(at(0, 288), 245);
  EXPECT_EQ(changed(), 15u + 5u);  // three stars, and the others all on the centre
}

TEST_F(Stars, AStarPastTheViewerComesBackAtDepthOne) {
  tables::starfield[7] = {0.3f, 0.3f, 0.0005f, 9};
  for (int i = 0; i < 7; ++i) sc::starpass();
  const float x = tables::starfield[7].x, y = tables::starfield[7].y, z = tables::starfield[7].z;
  EXPECT_EQ(z, 1.0f);
  EXPECT_LE(std::abs(x), 0.25f);
  EXPECT_LE(std::abs(y), 0.25f);
  EXPECT_NE(x, 0.3f);
  EXPECT_EQ(tables::starfield[7].colour, 255);
}

TEST_F(Stars, FrameShownWithStarsThenThePictureComesBack) {
  std::memset(tools::morvdat.pixels, 255, 640 * 480);
  for (int frame = 0; frame < 2; ++frame) {
    drawstars();
    EXPECT_EQ(shown.size(), static_cast<size_t>(frame));
    sc::starpass();
    ASSERT_EQ(shown.size(), static_cast<size_t>(frame + 1));
    EXPECT_EQ(shown.back().size(), 640u * 480);
    EXPECT_EQ(shown.back()[240 * 640 + 320], 255);
    EXPECT_EQ(changed(), 0u);
    EXPECT_EQ(sc::starindex, 1u);
  }
}

TEST_F(Stars, AngleReachesThreeSixtyForOneFrameThenWraps) {
  sc::starangle = 359.0f;
  std::vector<float> angles;
  for (int frame = 0; frame < 3; ++frame) {
    for (int i = 0; i < 450; ++i) sc::starpass();
    angles.push_back(sc::starangle);
  }
  EXPECT_EQ(angles, (std::vector<float>{360.0f, 0.0f, 1.0f}));
}

TEST_F(Stars, PictureFadesInBeforeTheFirstFrame) {
  for (auto& e : tools::morvpicpal.entry) e = {63, 20, 1, 0};
  tarnpal::clearpalette();
  sc::starsetup();
  for (int i = 0; i < 449; ++i) sc::starpass();
  uint8_t r, g, b;
  tarnpal::getcolor(100, r, g, b);
  EXPECT_EQ(r, 62);
  EXPECT_EQ(g, 20);
  EXPECT_EQ(b, 1);
}

}  // namespace
