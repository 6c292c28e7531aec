// Scene 9 on small known fire buffers, random tables and particles, and the
// row counter in the renderer's frames of the real show.
#include <gtest/gtest.h>

#include <numeric>
#include <tuple>

#include "Eng3D/Eng3D.h"
#include "program/scenes/scenetest.h"
#include "support/dump.h"
#include "tools/counter.h"

namespace {

namespace sc = program::scenes;
using namespace scenetest;
using tools::screen, tools::work1, tools::work3;

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
  // (319, 98) and its mirror (0, 97); (0, 101): 40 / 4 - 1 and its mirror.
  EXPECT_EQ((std::array{at(work1, 319, 98), at(work1, 0, 97), at(work1, 319, 99), at(work1, 0, 96)}),
            (std::array<uint8_t, 4>{39, 39, 9, 9}));
  // Columns 0, 1, 2 take randbit 63,999, then 0 and 1 after the wrap.
  for (int x = 0; x < 320; ++x) EXPECT_EQ(at(work1, x, 198), x == 0 || x == 2 ? 200 : 0) << x;
  EXPECT_EQ(sc::fadecounter, 318u);
}

// Lit within 62 of the centre on a flat fire, rows 1..190; the slope moves
// pieces sideways, but only columns within 129 of the centre take part;
// column 319 reads its right neighbour from the next row. The fast band
// against the plain one on random fire (steep and flat stretches, so pieces
// break away) and screens, centres from off the left to off the right.
TEST_F(Band, BandWidthTheSlopeThatBendsItAndThePlainRule) {
  sc::bandcx = 160;
  set(work1, 59, 50, 100);  // slope -100 at (60, 50), which is 100 left
  set(work1, 19, 51, 140);  // the same at (20, 51), 140 left: out of reach
  set(work1, 30, 60, 129);  // (31, 60) is 129 left: still in reach
  sc::lightband();
  for (int y : {1, 100, 190})
    EXPECT_EQ((std::array{at(97, y), at(98, y), at(160, y), at(222, y), at(223, y)}),
              (std::array<uint8_t, 5>{0, 129, 191, 129, 0})) << y;
  EXPECT_EQ((std::array{at(160, 0), at(160, 191), at(60, 50), at(20, 51), at(31, 60)}),
            (std::array<uint8_t, 5>{0, 0, 191, 0, 191}));
  clearstore();
  sc::bandcx = 226;
  set(work1, 0, 6, 93);  // the slope at (319, 5), which is 93 right
  sc::lightband();
  EXPECT_EQ(at(319, 5), 191);
  EXPECT_EQ(at(319, 4), 0);

  runtime::randseed = 31;
  for (int16_t cx : {-140, 0, 1, 94, 131, 160, 188, 226, 319, 320, 460}) {
    for (uint32_t i = 0; i < 64000; ++i)
      work1.pixels[i] = static_cast<uint8_t>(runtime::random(4) == 0 ? runtime::random(256) : 0);
    randomfill(screen.pixels);
    sc::bandcx = cx;
    EXPECT_TRUE(sameasplain(screen.pixels, 64000, sc::lightbandplain, sc::lightband)) << "cx " << cx;
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
// pixels stay, the fourth moves by randsign[1]; 197 x 317 steps in all.
// The same sign on both axes moves a pixel along the diagonal, where it is
// read again and carried on; nothing is moved onto the pass's first pixel
// before it is read. The fast jitter against the plain one on random
// screens and signs, from an index far from the wrap and from each side of
// it (the wrap then falls inside a row, or at a row's first pixel).
TEST_F(Band, JitterSkipsTwoPixelsWhereTheIndexWrapsAndMatchesThePlainRule) {
  std::memset(tables::randsign, 1, sizeof tables::randsign);
  tables::randsign[1] = -1;
  for (int x = 2; x <= 10; ++x) set(screen, x, 2, static_cast<uint8_t>(x));
  sc::jitterindex = 63998;
  sc::bandjitter();
  EXPECT_EQ((std::array{at(3, 3), at(4, 3), at(5, 3), at(4, 1), at(7, 3)}), (std::array<uint8_t, 5>{2, 0, 0, 5, 6}));
  EXPECT_EQ(sc::jitterindex, 197 * 317 - 3);

  clearstore();
  set(screen, 2, 2, 77);
  sc::jitterindex = 100;
  sc::bandjitter();
  for (int i = 2; i <= 199; ++i) EXPECT_EQ(at(i, i), 77) << i;
  EXPECT_EQ(notequal(0, 63999, 0).size(), 198u);

  runtime::randseed = 5;
  for (auto& r : tables::randsign) r = static_cast<int8_t>(static_cast<int32_t>(runtime::random(3)) - 1);
  for (uint16_t k : {0, 200, 1000, 1200, 13000, 63683, 63684, 63990, 64000, 64001}) {
    randomfill(screen.pixels);
    sc::jitterindex = k;
    EXPECT_TRUE(sameasplain(screen.pixels, 64000, sc::jitterindex, sc::bandjitterplain, sc::bandjitter)) << "k " << k;
  }
}

// Past y 0.3 a particle goes back to the nozzle with colour 47 and a
// velocity whose axes come from three draws; it is dotted into work3 0.4 to
// the left and 0.12 lower, at (32, 184). From the next frame the colour is
// 31-based, taken in 8 bits. The sideways drift turns every 100 frames.
TEST_F(Band, FountainRelaunchesInColour47AndTheDriftTurns) {
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
  EXPECT_EQ((std::array{v.x, v.y, v.z, p.z}),
            (std::array{static_cast<float>(a), static_cast<float>(1000 + b), static_cast<float>(2000 + c), 1.0f}));
  EXPECT_NEAR(p.x, 0.0f, 1e-7f);
  EXPECT_NEAR(p.y, 0.3f, 1e-7f);
  EXPECT_TRUE(notequal(0, 63999, 0).empty());
  for (int y = 183; y <= 188; ++y)
    for (int x = 31; x <= 34; ++x)
      EXPECT_EQ(at(work3, x, y), (x == 32 || x == 33) && y >= 184 && y <= 187 ? 47 : 0) << x << "," << y;
  EXPECT_EQ(Eng3D::fountainpos[2].colour, 247);  // Round(31 - 1.2995 * 31) = -9

  Eng3D::fountainpos[1] = {0.0f, 0.29f, 1.0f, 0};
  Eng3D::fountainvel[1] = {0.0f, -0.0005f, 0.0f};
  sc::fountain();
  EXPECT_EQ(Eng3D::fountainpos[1].colour, 31);  // Round(31 - 0.01 * 31)

  // The drift: -0.01 for the first 100 frames after the set-up, then 0.001
  // for 100.
  sc::bandsetup();
  std::vector<float> drift;
  for (int frame = 0; frame < 201; ++frame) sc::fountain(), drift.push_back(sc::drift);
  std::vector<float> expected(100, -0.01f);
  expected.insert(expected.end(), 100, 0.001f);
  expected.push_back(-0.01f);
  EXPECT_EQ(drift, expected);
}

TEST_F(Band, GlowLiftedBy10PlusTheBandsLightAtMost63) {
  // {glow, band, shown}
  const uint8_t cases[][3] = {{0, 0, 10},    {0, 128, 10},  {0, 129, 11},   {0, 191, 63},   {0, 192, 10},
                              {20, 140, 42}, {250, 0, 4},   {250, 150, 26}, {240, 191, 57}, {53, 200, 63}};
  for (uint32_t i = 0; i < 10; ++i) work3.pixels[i] = cases[i][0], screen.pixels[i] = cases[i][1];
  sc::glowcompose();
  for (uint32_t i = 0; i < 10; ++i) EXPECT_EQ(screen.pixels[i], cases[i][2]) << "case " << i;
  EXPECT_EQ(notequal(10, 63999, 10), toffsets{});
}

// Column 5 of every digit's cell has the digit's own colour; 69 around it
// is not drawn. Row 37: the middles of cells 3 and 7, 20 pixels apart,
// over a frame whose rows 0 and 1 turn black.
TEST_F(Band, CounterShowsTheRowOverBlackTopRows) {
  fill(tools::counter, 200, 30, tools::counterbackground);
  for (int d = 0; d < 10; ++d)
    for (int y = 0; y < 30; ++y) tools::counter.pixels[y * 200 + 20 * d + 5] = static_cast<uint8_t>(64 + d % 5);
  std::memset(screen.pixels, 9, 64000);
  setposition(13, 37);
  sc::bandcounter();
  toffsets changed(640);
  std::iota(changed.begin(), changed.end(), 0u);
  for (uint32_t y = 150; y < 180; ++y) changed.push_back(y * 320 + 264), changed.push_back(y * 320 + 284);
  EXPECT_EQ(notequal(0, 63999, 9), changed);
  EXPECT_EQ(notequal(0, 639, 0), toffsets{});
  EXPECT_EQ(at(264, 150), 64 + 3);
  EXPECT_EQ(at(284, 179), 64 + 2);
}

// With one frame per row the scene shows frames 768..896, and frame f reads
// row f mod 64 before its counter is drawn, so the second digit's cell holds
// counter colours (64 and up) from row 10 on.
TEST(BandShow, CounterShowsTheRowQueriedInItsFrame) {
  const std::vector<testsupport::tframerecord> frames = testsupport::renderdump(11, 1, 896, {}, 768);
  ASSERT_EQ(frames.size(), 128u);
  for (size_t f = 768; f < 896; ++f) {
    size_t ink = 0;
    for (uint32_t y = 150; y < 180; ++y)
      for (uint32_t x = 280; x < 300; ++x) ink += frames[f - 768].at(x, y) >= 64;
    EXPECT_EQ(ink > 0, f % 64 >= 10) << "frame " << f;
  }
}

}  // namespace
