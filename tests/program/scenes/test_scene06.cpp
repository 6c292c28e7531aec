// Scene 6 on small known sine tables, the glowing text of scenes 6, 7 and
// 12, and the choice of line in the renderer's frames of the real show.
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "program/scenes/scenetest.h"
#include "support/dump.h"

namespace {

namespace sc = program::scenes;
using namespace scenetest;
using tools::screen;

// Flat tables make every plasma pixel 64 unless an entry is set.
void prepare(uint8_t sinus27 = 0, std::vector<std::pair<int, uint8_t>> sinus63 = {}) {
  tools::initmemory();
  clearstore();
  std::memset(tables::sinus27, sinus27, sizeof tables::sinus27);
  std::memset(tables::sinus63, 0, sizeof tables::sinus63);
  for (auto [i, v] : sinus63) tables::sinus63[i] = v;
  sc::plasmasetup();
}

// Odd frames draw row y into row y - 1 (rows 0 and 1 into row 0), even
// frames into row y; both in the columns of y's parity. Row y starts at
// sinus27[(p + y) and 255]: with only entry 0 set, plasma row 3 is marked
// in the first frame (p = 253), row 5 in the second; the phase wraps from
// 1 to 253.
TEST(Plasma, CheckerboardsOfOddAndEvenFramesAndThePhaseFrom253Down) {
  prepare(0, {{100, 40}});  // (40 shr 2) + 64 = 74
  tables::sinus27[0] = 100;
  for (int frame = 1; frame <= 2; ++frame) {
    clearstore();
    sc::plasmadraw();
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 320; ++x) {
        const bool written = frame == 1 ? y == 0 || (y < 199 && (x & 1) != (y & 1)) : (x & 1) == (y & 1);
        ASSERT_EQ(at(x, y) != 0, written) << "frame " << frame << " at " << x << "," << y;
      }
    for (int y = 0; y <= 20; ++y) {
      const int row = frame == 1 ? std::max(y - 1, 0) : y;  // where row y's first pixel lands
      ASSERT_EQ(at(y & 1, row), y == (frame == 1 ? 3 : 5) ? 74 : 64) << "frame " << frame << " row " << y;
    }
  }
  while (sc::plasmaphase != 1) sc::plasmadraw();
  sc::plasmadraw();
  EXPECT_EQ(sc::plasmaphase, 253);
}

// sinus27 all 254: every row starts with a = b = 254. Along the row b runs
// 254, 255, 1, 2 and a one further per pixel, two after a sum of 128 or
// more, within 0..255. Plasma row 100 lands in screen row 99, even columns.
TEST(Plasma, RowWalkStepsAOnceOrTwiceAndWrapsBFrom255To1) {
  auto firstpixels = [](std::vector<std::pair<int, uint8_t>> entries) {
    prepare(254, entries);
    sc::plasmadraw();
    return std::vector<int>{at(0, 99), at(2, 99), at(4, 99)};
  };
  // a + b: 508, 510, 1 (y + b: 354, 355, 101 stay 0).
  EXPECT_EQ(firstpixels({{508, 4}, {510, 8}, {1, 12}}), (std::vector<int>{65, 66, 67}));
  // a + b: 508, then 0 + 255, then 1 + 1.
  EXPECT_EQ(firstpixels({{508, 128}, {255, 20}, {2, 24}}), (std::vector<int>{96, 69, 70}));
  EXPECT_EQ(firstpixels({{508, 200}, {354, 100}})[0], 64 + 44 / 4);  // the byte sum wraps
}

// One draw every frame, text or not; on a 1 the line the music selects
// (rows y..y + 27 inked) in the scene's colour.
TEST(Glow, OneDrawPerFrameAndTheLineTheMusicSelects) {
  tools::initmemory();
  for (auto [g, position] : {std::pair{&sc::plasmaglow, 10u}, {&sc::eyeglow, 11u}, {&sc::squeezeglow, 19u}})
    for (auto [p, row, line] : {std::tuple{position, 32u, g->first}, {position, 33u, g->second},
                                {position + 1, 0u, g->first}})
      for (uint32_t seed = 1, ones = 0; ones < 2; ++seed) {
        std::memset(tools::work2.pixels, 0, 64000);
        setposition(p, row);
        runtime::randseed = seed;
        const bool one = runtime::random(4) == 1;
        ones += one;
        runtime::randseed = seed;
        sc::glowdraw(*g);
        EXPECT_EQ(runtime::randseed, seed * 134775813u + 1u);
        const toffsets ink = notequal(tools::work2, 0, 63999, 0);
        ASSERT_EQ(ink.empty(), !one) << "seed " << seed;
        const int32_t top = ink.empty() ? line.y : static_cast<int32_t>(ink.front() / 320);
        const int32_t bottom = ink.empty() ? line.y : static_cast<int32_t>(ink.back() / 320);
        EXPECT_TRUE(top >= line.y && bottom <= line.y + 27) << p << ":" << row;
        for (uint32_t q : ink) ASSERT_EQ(tools::work2.pixels[q], g->colour);
      }
}

// One frame per row: scene 6 is frames 577 (position 10, row 1) to 640; its
// k-th frame reads row k and takes the k-th draw after the set-up's
// seeding. The seed makes draw 33 (row 33) a 1, so the lower line first
// shows in the frame that reads row 33; text pixels lie below 64, the
// plasma's lowest colour.
TEST(PlasmaShow, TheLowerLineFromTheFrameThatReadsRow33) {
  uint32_t seed = 0, r = 0;
  while (r != 1) {
    runtime::randseed = ++seed;
    for (int k = 1; k <= 33; ++k) r = runtime::random(4);
  }
  const std::vector<testsupport::tframerecord> frames = testsupport::renderdump(seed, 1, 610, {}, 578);
  ASSERT_EQ(frames.size(), 32u);
  auto lowerink = [&](size_t f) {
    size_t n = 0;
    for (uint32_t p = 150 * 320; p < 199 * 320; ++p) n += static_cast<uint8_t>(frames[f - 578].pixels[p]) < 64;
    return n;
  };
  for (size_t f = 578; f < 609; ++f) ASSERT_EQ(lowerink(f), 0u) << f;
  EXPECT_GT(lowerink(609), 500u);
}

}  // namespace
