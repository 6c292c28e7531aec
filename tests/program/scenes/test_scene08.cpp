// Scene 8: the stored byte's rounding and clamps, the known values at phase
// 0, and the fast waves, composition and frames against the plain rule.
#include <gtest/gtest.h>

#include <tuple>

#include "program/scenes/scenetest.h"

namespace {

namespace sc = program::scenes;
using namespace scenetest;
using tools::screen;

// 2.5 + 2^-60 lies above the tie only in extended precision.
TEST(Scene8, StoredByteRoundsInExtendedAndClampsInOrder) {
  for (auto [u, v, expected] : {std::tuple{0.0f, 0.0f, 254}, {-1.0f, 0.0f, 254}, {-5.0f, 0.0f, 250},
                                {200.0f, 56.0f, 255}, {1.0f, 0.0f, 1}, {-255.0f, 0.0f, 254},
                                {-256.0f, 0.0f, 255}, {-200.0f, -60.0f, 251}, {0.5f, 0.0f, 254},
                                {1.5f, 0.0f, 2}, {2.5f, 0.0f, 2}, {-1.5f, 0.0f, 253}, {2.5f, 0x1p-60f, 3}})
    EXPECT_EQ(sc::sinevalue(u, v), expected) << u << " + " << v;
}

// The waves over the phases the scene runs through and random ones; whole
// frames at a few phases, where at phase 0 the sines of column 0 and row 0
// are exactly 0, which power turns into 1: +5 and +40 for the column, +15
// for row 0, while rows 90 and 180, whose sines are merely close to 1 and
// 0, get no such extra. Then the composition on waves the scene hardly
// makes: ties, sums past both clamps, values below 2^-20 beside halves.
TEST(Scene8, FastPathsGiveThePlainBytesAndRowZeroItsFifteen) {
  tools::initmemory();
  runtime::randseed = 8;
  std::vector<float> phases;
  for (float w = 0.0f; phases.size() < 300;) phases.push_back(w = static_cast<float>(w + 0.05L));
  for (int i = 0; i < 60; ++i) phases.push_back(static_cast<float>((runtime::randomreal() - 0.5L) * 2000.0L));
  for (float phase : phases) {
    for (uint32_t x = 0; x < 320; ++x) ASSERT_EQ(sc::sinecolumnfast(x, phase), sc::sinecolumn(x, phase)) << x << " " << phase;
    for (uint32_t y = 0; y < 200; ++y) ASSERT_EQ(sc::sinerowfast(y, phase), sc::sinerow(y, phase)) << y << " " << phase;
  }

  for (float phase : {0.0f, 1.3f, 400.1f, -3.0f}) {
    sc::sinephase = phase;
    EXPECT_TRUE(sameasplain(screen.pixels, 64000, sc::sineplasmaplain, sc::sineplasma)) << "phase " << phase;
    if (phase == 0.0f) {
      EXPECT_EQ((std::array{at(0, 0), at(0, 90), at(0, 180)}), (std::array<uint8_t, 3>{60, 125, 45}));
    }
  }

  static float columns[320], rows[200];
  const float awkward[] = {0.5f, 2.5f, -0.5f, 255.5f, -255.5f, 0.0f, -1e-30f, 0x1p-60f};
  for (bool tiny : {false, true}) {
    for (uint32_t i = 0; i < 320; ++i) {
      const float r = static_cast<float>((runtime::randomreal() - 0.5L) * 290.0L);
      columns[i] = i < 8 && (tiny || i < 6) ? awkward[i] : r;
      if (i < 200) rows[i] = i < 8 && (tiny || i < 6) ? awkward[i] : r / 2;
    }
    sc::sinecompose(columns, rows);
    size_t wrong = 0;
    for (uint32_t y = 0; y < 200; ++y)
      for (uint32_t x = 0; x < 320; ++x) wrong += at(x, y) != sc::sinevalue(columns[x], rows[y]);
    EXPECT_EQ(wrong, 0u) << (tiny ? "with" : "without") << " tiny waves";
  }
}

}  // namespace
