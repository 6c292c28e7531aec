// Scene 9 on small known fire buffers, random tables and particles, and in
// the renderer's frames of the real show.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "Eng3D/Eng3D.h"
#include "program/scenes/scenes.h"
#include "program/scenes/scenetest.h"
#include "program/scenes/state.h"
#include "runtime/runtime.h"
#include "support/dump.h"
#include "tables/tables.h"
#include "tarngr/tarngr.h"
#include "tools/counter.h"
#include "tools/stores.h"

namespace {

namespace sc = program::scenes;
using namespace scenetest;
using tools::screen;
using tools::work1;
using tools::work3;

uint8_t at(const tarngr::tbitmap& bm, int x, int y) { return bm.pixels[y * 320 + x]; }
void set(tarngr::tbitmap& bm, int x, int y, uint8_t v) { bm.pixels[y * 320 + x] = v; }

// Black buffers, zero tables, every particle far above the screen at rest.
class Band : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::initmemory();
    clearstore();
    std::memset(work1.pixels, 0, tools::framestoresize);
    std::memset(work3.pixels, 0, tools::work3storesize);
    std::memset(tables::randbit, 0, sizeof tables::randbit);
    std::memset(tables::randsign, 0, sizeof tables::randsign);
    for (int i = 0; i <= Eng3D::fountaincount; ++i) {
      Eng3D::fountainpos[i] = {0.0f, -100.0f, 1.0f, 0};
      Eng3D::fountainvel[i] = {0.0f, 0.0f, 0.0f};
    }
    for (int i = 0; i < 450; ++i)
      tables::fountainlaunch[i] = {static_cast<float>(i), static_cast<float>(1000 + i), static_cast<float>(2000 + i)};
    sc::bandsetup();
  }
};

// (0, 100) averages itself, (1, 100), (0, 101) and the byte before it,
// (319, 99), and lands one byte before the row above: (319, 98).
TEST_F(Band, FireIsOneFlatArrayAndSeedsRowsFromTheWrappingIndex) {
  for (auto [x, y] : {std::tuple{0, 100}, {1, 100}, {0, 101}, {319, 99}}) set(work1, x, y, 40);
  tables::randbit[63999] = 1;
  tables::randbit[1] = 1;
  sc::fadecounter = 63998;
  sc::fire();
  EXPECT_EQ(at(work1, 319, 98), 39);
  EXPECT_EQ(at(work1, 0, 97), 39);  // its mirror image
  EXPECT_EQ(at(work1, 319, 99), 9);  // (0, 101): 40 / 4 - 1
  EXPECT_EQ(at(work1, 0, 96), 9);
  // Columns 0, 1, 2 take randbit 63,999, then 0 and 1 after the wrap.
  for (int x = 0; x < 320; ++x) EXPECT_EQ(at(work1, x, 198), x == 0 || x == 2 ? 200 : 0) << x;
  EXPECT_EQ(sc::fadecounter, 318u);
}

// Lit within 62 of the centre on a flat fire; the slope moves pieces
// sideways, but only columns within 129 of the centre take part; column
// 319 reads its right neighbour from the next row.
TEST_F(Band, BandWidthAndTheSlopeThatBendsIt) {
  sc::bandcx = 160;
  set(work1, 59, 50, 100);   // slope -100 at (60, 50), which is 100 left
  set(work1, 19, 51, 140);   // the same at (20, 51), 140 left: out of reach
  set(work1, 30, 60, 129);   // (31, 60) is 129 left: still in reach
  sc::lightband();
  for (int y : {1, 100, 190}) {
    EXPECT_EQ(at(screen, 97, y), 0);
    EXPECT_EQ(at(screen, 98, y), 129);
    EXPECT_EQ(at(screen, 160, y), 191);
    EXPECT_EQ(at(screen, 222, y), 129);
    EXPECT_EQ(at(screen, 223, y), 0);
  }
  EXPECT_EQ(at(screen, 160, 0), 0);
  EXPECT_EQ(at(screen, 160, 191), 0);
  EXPECT_EQ(at(screen, 60, 50), 191);
  EXPECT_EQ(at(screen, 20, 51), 0);
  EXPECT_EQ(at(screen, 31, 60), 191);

  clearstore();
  sc::bandcx = 226;
  set(work1, 0, 6, 93);  // the slope at (319, 5), which is 93 right
  sc::lightband();
  EXPECT_EQ(at(screen, 319, 5), 191);
  EXPECT_EQ(at(screen, 319, 4), 0);
}

// Random fire and screen, centres from off the left to off the right.
TEST_F(Band, LightBandMatchesItsPlainRule) {
  runtime::randseed = 31;
  std::vector<uint8_t> before(64000);
  for (int16_t cx : {-140, 0, 1, 94, 131, 160, 188, 226, 319, 320, 460}) {
    for (uint32_t i = 0; i < 64000; ++i) {
      // Steep and flat stretches, so pieces break away.
      work1.pixels[i] = static_cast<uint8_t>(runtime::random(4) == 0 ? runtime::random(256) : 0);
      before[i] = static_cast<uint8_t>(runtime::random(256));
    }
    sc::bandcx = cx;
    std::memcpy(screen.pixels, before.data(), 64000);
    sc::lightbandplain();
    const std::vector<uint8_t> plain(screen.pixels, screen.pixels + 64000);
    std::memcpy(screen.pixels, before.data(), 64000);
    sc::lightband();
    EXPECT_TRUE(plain == std::vector<uint8_t>(screen.pixels, screen.pixels + 64000)) << "cx " << cx;
  }
}

// cx = Round(cos(t / 13) * 66 + 160) with t signed: 40,000 is -25,536.
TEST_F(Band, CentreSwingsWithTheSignedAngle) {
  sc::banddraw();
  EXPECT_EQ(sc::bandcx, 226);  // t = 1: 225.80
  sc::bandangle = 39999;
  sc::banddraw();
  EXPECT_EQ(sc::bandcx, 115);  // 114.60; unsigned it would be 142.59
}

// k runs 63,999, 64,000, 64,001, then wraps to 1: the second and third
// pixels stay, the fourth moves by randsign[1].
TEST_F(Band, JitterSkipsTwoPixelsWhereTheIndexWraps) {
  std::memset(tables::randsign, 1, sizeof tables::randsign);
  tables::randsign[1] = -1;
  for (int x = 2; x <= 10; ++x) set(screen, x, 2, static_cast<uint8_t>(x));
  sc::jitterindex = 63998;
  sc::bandjitter();
  EXPECT_EQ(at(screen, 3, 3), 2);
  EXPECT_EQ(at(screen, 4, 3), 0);
  EXPECT_EQ(at(screen, 5, 3), 0);
  EXPECT_EQ(at(screen, 4, 1), 5);
  EXPECT_EQ(at(screen, 7, 3), 6);
  // 197 x 317 steps, three of them before the wrap.
  EXPECT_EQ(sc::jitterindex, 197 * 317 - 3);
}

TEST_F(Band, JitterWorksInPlaceAlongTheDiagonal) {
  std::memset(tables::randsign, 1, sizeof tables::randsign);
  // The first pixel of the pass: nothing is moved onto it before it is read.
  set(screen, 2, 2, 77);
  sc::jitterindex = 100;
  sc::bandjitter();
  for (int i = 2; i <= 199; ++i) EXPECT_EQ(at(screen, i, i), 77) << i;
  EXPECT_EQ(notequal(0, 63999, 0).size(), 198u);
}

// Random screens and signs, from an index far from the wrap and from each
// side of it (the wrap then falls inside a row, or at a row's first pixel).
TEST_F(Band, JitterMatchesItsPlainRule) {
  runtime::randseed = 5;
  for (auto& r : tables::randsign) r = static_cast<int8_t>(static_cast<int32_t>(runtime::random(3)) - 1);
  std::vector<uint8_t> before(64000);
  for (uint16_t k : {0, 200, 1000, 1200, 13000, 63683, 63684, 63990, 64000, 64001}) {
    for (auto& v : before) v = static_cast<uint8_t>(runtime::random(256));
    std::memcpy(screen.pixels, before.data(), 64000);
    sc::jitterindex = k;
    sc::bandjitterplain();
    const std::vector<uint8_t> plain(screen.pixels, screen.pixels + 64000);
    const uint16_t plaink = sc::jitterindex;
    std::memcpy(screen.pixels, before.data(), 64000);
    sc::jitterindex = k;
    sc::bandjitter();
    EXPECT_TRUE(plain == std::vector<uint8_t>(screen.pixels, screen.pixels + 64000)) << "k " << k;
    EXPECT_EQ(sc::jitterindex, plaink) << "k " << k;
  }
}

// Past y 0.3 a particle goes back to the nozzle with colour 47 and a
// velocity whose axes come from three draws; it is dotted 0.4 to the left
// and 0.12 lower, at (32, 184). From the next frame the colour is 31-based,
// taken in 8 bits.
TEST_F(Band, RelaunchShowsColour47ForOneFrame) {
  Eng3D::fountainpos[1] = {0.1f, 0.2999f, 1.0f, 0};
  Eng3D::fountainvel[1] = {0.0f, 0.001f, 0.0f};
  Eng3D::fountainpos[2] = {0.0f, -1.0f, 1.0f, 0};
  runtime::randseed = 777;
  const uint32_t a = runtime::random(450), b = runtime::random(450), c = runtime::random(450);
  runtime::randseed = 777;
  sc::fountain();
  const Eng3D::tpoint3d p = Eng3D::fountainpos[1];
  const Eng3D::tvector v = Eng3D::fountainvel[1];
  EXPECT_EQ(p.colour, 47);
  EXPECT_EQ(v.x, static_cast<float>(a));
  EXPECT_EQ(v.y, static_cast<float>(1000 + b));
  EXPECT_EQ(v.z, static_cast<float>(2000 + c));
  EXPECT_EQ(p.z, 1.0f);
  EXPECT_NEAR(p.x, 0.0f, 1e-7f);
  EXPECT_NEAR(p.y, 0.3f, 1e-7f);
  EXPECT_EQ(notequal(0, 63999, 0).size(), 0u);  // screen untouched
  for (int y = 183; y <= 188; ++y)
    for (int x = 31; x <= 34; ++x)
      EXPECT_EQ(at(work3, x, y), (x == 32 || x == 33) && y >= 184 && y <= 187 ? 47 : 0) << x << "," << y;
  EXPECT_EQ(Eng3D::fountainpos[2].colour, 247);  // Round(31 - 1.2995 * 31) = -9

  Eng3D::fountainpos[1] = {0.0f, 0.29f, 1.0f, 0};
  Eng3D::fountainvel[1] = {0.0f, -0.0005f, 0.0f};
  sc::fountain();
  EXPECT_EQ(Eng3D::fountainpos[1].colour, 31);  // Round(31 - 0.01 * 31)
}

// -0.01 for the first 100 frames after the set-up, then 0.001 for 100.
TEST_F(Band, DriftTurnsEvery100Frames) {
  std::vector<float> drift;
  for (int frame = 0; frame < 201; ++frame) sc::fountain(), drift.push_back(sc::drift);
  std::vector<float> expected(100, -0.01f);
  expected.insert(expected.end(), 100, 0.001f);
  expected.push_back(-0.01f);
  EXPECT_EQ(drift, expected);
}

TEST_F(Band, GlowLiftedBy10PlusTheBandsLightAtMost63) {
  // {glow, band, shown}
  const uint8_t cases[][3] = {{0, 0, 10},    {0, 128, 10},  {0, 129, 11},   {0, 191, 63},  {0, 192, 10},
                              {20, 140, 42}, {250, 0, 4},   {250, 150, 26}, {240, 191, 57}, {53, 200, 63}};
  for (uint32_t i = 0; i < 10; ++i) {
    work3.pixels[i] = cases[i][0];
    screen.pixels[i] = cases[i][1];
  }
  sc::glowcompose();
  for (uint32_t i = 0; i < 10; ++i) EXPECT_EQ(screen.pixels[i], cases[i][2]) << "case " << i;
  EXPECT_EQ(notequal(10, 63999, 10), toffsets{});
}

// Column 5 of every digit's cell has the digit's own colour; 69 around it
// is not drawn. Row 37: the middles of cells 3 and 7, 20 pixels apart.
TEST_F(Band, CounterShowsTheRowOverBlackTopRows) {
  fill(tools::counter, 200, 30, tools::counterbackground);
  for (int d = 0; d < 10; ++d)
    for (int y = 0; y < 30; ++y) tools::counter.pixels[y * 200 + 20 * d + 5] = static_cast<uint8_t>(64 + d % 5);
  std::memset(screen.pixels, 9, 64000);
  setposition(13, 37);
  sc::bandcounter();
  EXPECT_EQ(notequal(0, 639, 0), toffsets{});
  toffsets lit;
  for (uint32_t p = 0; p < 64000; ++p)
    if (screen.pixels[p] != 9 && p >= 640) lit.push_back(p);
  toffsets expected;
  for (uint32_t y = 150; y < 180; ++y) expected.push_back(y * 320 + 264), expected.push_back(y * 320 + 284);
  EXPECT_EQ(lit, expected);
  EXPECT_EQ(at(screen, 264, 150), 64 + 3);
  EXPECT_EQ(at(screen, 284, 179), 64 + 2);
}

// ---- in the show's frames -------------------------------------------------------------

// With one frame per row the scene shows frames 768..896, and frame f
// queries row f mod 64 before its counter is drawn.
class BandShow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { frames = testsupport::renderdump(11, 1, 897); }
  static void TearDownTestSuite() { frames.clear(); }
  static std::vector<testsupport::tframerecord> frames;
  static bool incounter(uint32_t x, uint32_t y) { return x >= 260 && x < 300 && y >= 150 && y < 180; }
};
std::vector<testsupport::tframerecord> BandShow::frames;

// The glow is lifted by 10 and the light capped at 63; only the counter's
// colours (64 and up) lie above, and only in its box; rows 0 and 1 black.
TEST_F(BandShow, TopRowsBlackTheGlowLiftedAndTheCounterInItsBox) {
  ASSERT_EQ(frames.size(), 897u);
  for (size_t f = 768; f <= 896; ++f) {
    const auto& r = frames[f];
    ASSERT_EQ(r.pixels.size(), 64000u) << f;
    for (uint32_t y = 0; y < 200; ++y)
      for (uint32_t x = 0; x < 320; ++x) {
        const uint8_t v = r.at(x, y);
        if (y < 2)
          ASSERT_EQ(v, 0) << "frame " << f << ": " << x << "," << y;
        else if (incounter(x, y))
          ASSERT_TRUE(v >= 10 && v <= 68) << "frame " << f << ": " << x << "," << y << " is " << int(v);
        else
          ASSERT_TRUE(v >= 10 && v <= 63) << "frame " << f << ": " << x << "," << y << " is " << int(v);
      }
  }
}

// Two digits from row 10 on, and the same row shows the same digits in
// both positions of the scene.
TEST_F(BandShow, CounterShowsTheRowQueriedInItsFrame) {
  ASSERT_EQ(frames.size(), 897u);
  auto digits = [](const testsupport::tframerecord& r, uint32_t left) {
    std::string d;
    for (uint32_t y = 150; y < 180; ++y)
      for (uint32_t x = left; x < left + 20; ++x) d.push_back(r.at(x, y) >= 64 ? static_cast<char>(r.at(x, y)) : '.');
    return d;
  };
  const std::string blank(600, '.');
  for (size_t f = 768; f < 896; ++f) {
    const uint32_t row = f % 64;
    EXPECT_NE(digits(frames[f], 260), blank) << "frame " << f;
    EXPECT_EQ(digits(frames[f], 280) != blank, row >= 10) << "frame " << f << ", row " << row;
    if (f < 832) {
      EXPECT_EQ(digits(frames[f], 260), digits(frames[f + 64], 260)) << "row " << row;
      EXPECT_EQ(digits(frames[f], 280), digits(frames[f + 64], 280)) << "row " << row;
    }
  }
  EXPECT_NE(digits(frames[777], 260), digits(frames[778], 260));  // 9 and the 1 of 10
}

}  // namespace
