// Scene 13: single dots on a known plasma: the ring, the edge clamps, the
// ceilings, dots off screen.
#include <gtest/gtest.h>

#include "program/scenes/scenetest.h"
#include "tools/plasma.h"

namespace {

namespace sc = program::scenes;
using namespace scenetest;
using tables::tdot;
using tools::screen;

class Scene13 : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::initmemory();
    clearstore();
    std::memset(tools::plasmabuf, 255, sizeof tools::plasmabuf);
    runtime::randseed = 13;
  }
  // A dot that stays where it is this frame; its velocities start to walk.
  static void drawstill(uint16_t x, uint8_t y) {
    tdot dot{x, y, 0, 0};
    sc::movedot(dot);
  }
};

// The ring once inside; at x = 316 shape columns 3..5 all add into column
// 319, at y = 197 shape rows 2..5 into row 199. Ceilings: the plasma (3, or
// 0: never painted) and 253. Dots off screen are not drawn.
TEST_F(Scene13, RingPilesUpAtTheEdgesUnderItsCeilingsAndNotOffScreen) {
  const uint8_t ring[6][6] = {{0, 0, 1, 1, 0, 0}, {0, 1, 2, 2, 1, 0}, {1, 2, 1, 1, 2, 1},
                              {1, 2, 1, 1, 2, 1}, {0, 1, 2, 2, 1, 0}, {0, 0, 1, 1, 0, 0}};
  drawstill(100, 50);
  for (uint32_t yy = 0; yy < 6; ++yy)
    for (uint32_t xx = 0; xx < 6; ++xx) EXPECT_EQ(at(100 + xx, 50 + yy), ring[yy][xx]) << xx << "," << yy;
  EXPECT_EQ(notequal(0, 63999, 0).size(), 24u);

  drawstill(316, 100);
  drawstill(10, 197);
  const uint8_t column319[6] = {1, 3, 4, 4, 3, 1}, row199[6] = {2, 5, 5, 5, 5, 2};
  for (uint32_t k = 0; k < 6; ++k) {
    EXPECT_EQ(at(319, 100 + k), column319[k]) << k;
    EXPECT_EQ(at(10 + k, 199), row199[k]) << k;
  }

  tools::plasmabuf[10 * 320 + 202] = 3;  // gets 1 per frame
  tools::plasmabuf[11 * 320 + 202] = 0;  // gets 2
  screen.pixels[12 * 320 + 201] = 252;   // 254 is cut to 253
  for (int frame = 0; frame < 4; ++frame) drawstill(200, 10);
  EXPECT_EQ((std::array{at(202, 10), at(202, 11), at(201, 12), at(203, 11)}), (std::array<uint8_t, 4>{3, 0, 253, 8}));

  // Off screen a dot is not drawn and only one velocity turns, x's first; x
  // is compared unsigned, so a step left of column 0 is off screen; y wraps.
  clearstore();
  tdot left{0, 50, -100, 0}, both{400, 250, 3, 3}, wrapped{100, 200, 0, 100};
  sc::movedot(left);
  sc::movedot(both);
  EXPECT_TRUE(notequal(0, 63999, 0).empty());
  EXPECT_EQ(left.x, 65436);
  EXPECT_TRUE(left.dx == 99 || left.dx == 101) << int{left.dx};
  EXPECT_TRUE(both.dx == -2 || both.dx == -4) << int{both.dx};
  EXPECT_TRUE(both.dy == 2 || both.dy == 4) << int{both.dy};
  sc::movedot(wrapped);
  EXPECT_EQ(at(102, 44), 1);
}

}  // namespace
