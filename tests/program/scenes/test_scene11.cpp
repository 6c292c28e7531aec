// Scene 11 on a known texture, map and text picture: where the map's values
// land in teil, the animation's period, and what the frame keeps from before.
#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "program/scenes/scenetest.h"

namespace {

namespace sc = program::scenes;
using namespace scenetest;
using tools::screen;

class Scene11 : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::initmemory();
    clearstore();
    fill(tools::teil, 256, 254, 0);
    std::memset(tools::teil.pixels, 0, 65028);
    fill(tools::text, 320, 200, 180);
    std::memset(tables::swirlmap, 0, sizeof tables::swirlmap);
  }
};

// index = (map - a * 512 + a) AND 0xFDFF in 32 bits: whatever the map holds,
// only bytes below 65,024 are read, and never with bit 9 set.
TEST_F(Scene11, TextureIndexStaysBelow65024) {
  std::memset(tools::teil.pixels + 65024, 200, 4);
  for (auto [index, v] : {std::pair{64513, 11}, {64512, 33}, {1, 44}, {255, 55}, {65023, 66}})
    tools::teil.pixels[index] = static_cast<uint8_t>(v);
  const std::tuple<uint32_t, int32_t, int32_t, uint8_t> cases[] = {
      {320, 0, 1, 11},   {321, INT32_MIN, 1, 11}, {322, INT32_MAX, 1, 33},
      {323, 0x200, 1, 44}, {400, 0, 255, 55},     {63680, 0x2FB00, 255, 66}};
  for (int32_t a : {1, 255}) {
    for (auto [offset, map, step, expected] : cases)
      if (step == a) tables::swirlmap[offset] = map;
    sc::swirlstep = a;
    screen.pixels[319] = screen.pixels[63681] = 7;
    sc::swirltunnel();
    for (auto [offset, map, step, expected] : cases)
      EXPECT_TRUE(step != a || screen.pixels[offset] == expected) << "offset " << offset << " a " << a;
    EXPECT_EQ((std::array{screen.pixels[319], screen.pixels[63681]}), (std::array<uint8_t, 2>{7, 7}));
    EXPECT_EQ(std::count(screen.pixels, screen.pixels + 64000, 200), 0);
  }
}

// a runs 1..255 and starts again at 1. From the second frame on (the first
// blurs a row 0 without text) the frame 255 passes later is the same; rows
// 0 and 199 hold only the text over the set-up's 0, and the byte past the
// frame, which the blurs read, is what the store held before the scene.
TEST_F(Scene11, StepRepeatsEvery255FramesOverWhatTheStoreHeld) {
  runtime::randseed = 11;
  randomfill(tools::teil.pixels, 65024);
  for (int32_t& m : tables::swirlmap) m = static_cast<int32_t>(runtime::random(0x10000)) - 0x8000;
  for (uint32_t x = 0; x < 320; x += 3) tools::text.pixels[x] = tools::text.pixels[199 * 320 + x + 2] = 90;
  screen.pixels[64000] = 250;  // what the title picture left there
  sc::scene11.timelinesetup();
  sc::swirlsetup();
  tbytes second;
  for (int frame = 1; frame <= 257; ++frame) {
    sc::swirlpass();
    ASSERT_EQ(sc::swirlstep, (frame - 1) % 255 + 1);
    if (frame == 2) second = snapshot(screen.pixels);
  }
  EXPECT_EQ(0, std::memcmp(second.data(), screen.pixels, 64000));
  for (uint32_t x = 0; x < 320; ++x) ASSERT_EQ(screen.pixels[x], x % 3 == 0 ? 90 : 0) << x;
  for (uint32_t x = 1; x < 320; ++x) ASSERT_EQ(screen.pixels[63680 + x], x % 3 == 2 ? 90 : 0) << x;
  EXPECT_EQ(screen.pixels[64000], 250);
}

}  // namespace
