// Scene 2 on small known tables and pictures: the wobble of both tunnels,
// the fade-in, the eight-neighbour smoothing plain and fast.
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

class Scene2 : public Tunnels {};

// Scene 1's wobble: -1 in its first frame, then 0..11..0; scene 2 tests
// before it steps: 1..10..1, and fades in over 62 frames.
TEST_F(Scene2, WobbleSequencesAndTheRotatingFadeIn) {
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

TEST_F(Scene2, SmoothingReadsPastTheFrameAndTheGuardByte) {
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

TEST_F(Scene2, FastSmoothingMatchesThePlainRule) {
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

}  // namespace
