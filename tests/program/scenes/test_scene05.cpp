// Scene 5 on small known clouds, boards and pixel records.
#include <gtest/gtest.h>

#include <tuple>

#include "program/scenes/scenetest.h"

namespace {

namespace sc = program::scenes;
using namespace scenetest;
using tools::screen, tools::work1, tools::work2;

// Invisible points (colour 0 on a black dot layer) that do not morph, a
// board whose pixels tell where they were read, a circle of zero offsets.
class Cloud : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::initmemory();
    clearstore();
    std::memset(work1.pixels, 0, tools::framestoresize);
    std::memset(work2.pixels, 0, tools::work2storesize);
    for (auto& p : tables::cloud1) p = {0.0f, 0.0f, 0.95f, 0};
    for (auto& s : tables::morphstep) s = {0.0f, 0.0f, 0.0f};
    for (uint32_t i = 0; i < 64004; ++i) tools::geoboard.pixels[i] = static_cast<uint8_t>(i % 251);
    std::memset(tables::circleofs, 0, sizeof tables::circleofs);
    tables::circlephase = 0;
    for (auto& e : tools::geoboardpal.entry) e = {63, 30, 0, 0};
    tarnpal::clearpalette();
    setposition(8, 50);
    sc::cloudsetup();
  }
};

// A point at the centre of the turn stays there, so only the circle the
// cloud runs on moves its dot: at 322 degrees (72, 170), at 320 (67, 169).
// The last point is drawn last, over the invisible ones at the same place.
TEST_F(Cloud, FirstFrameTurnsTo322AndTheAngleWrapsAt360) {
  tables::cloud1[449].colour = 192;
  sc::clouddraw();
  EXPECT_EQ(sc::cloudangle, 322.0f);
  EXPECT_GT(at(work1, 74, 172), 150);  // inside the dot after one blurfade
  EXPECT_EQ(at(work1, 69, 171), 0);    // inside where 320 would put it
  std::vector<float> angles;
  sc::cloudangle = 356.0f;
  for (int i = 0; i < 3; ++i) sc::clouddraw(), angles.push_back(sc::cloudangle);
  EXPECT_EQ(angles, (std::vector<float>{358.0f, 0.0f, 2.0f}));
}

// The fade-in steps while the counter is below 63. While it is at most 400
// the points take their step (points 0 and 450 never); after 150 frames of
// hold the counter restarts and the lock holds the fade-in back until
// position 8 comes back below row 48.
TEST_F(Cloud, FadeInMorphHoldThenMorphAgainBehindTheFadeLock) {
  const std::array<uint8_t, 3> black{0, 0, 0}, first{1, 1, 0};
  for (uint32_t counter : {62u, 63u}) {
    sc::fadecounter = counter;
    sc::clouddraw();
    EXPECT_EQ(colour(9), first) << counter;
  }
  tarnpal::clearpalette();
  for (int n : {0, 1, 449, 450}) tables::morphstep[n] = {0.25f, 0.0f, 0.0f};
  auto x = [](int n) { return static_cast<float>(tables::cloud1[n].x); };
  sc::fadecounter = 400;
  for (int frame = 0; frame < 150; ++frame) {
    sc::clouddraw();
    sc::cloudmusicsteps();
  }
  EXPECT_EQ((std::array{x(0), x(1), x(449), x(450)}), (std::array{0.0f, 0.25f, 0.25f, 0.0f}));
  EXPECT_TRUE(sc::morphdone);
  EXPECT_EQ(sc::holdcounter, 149);
  sc::clouddraw();  // the 150th frame of hold
  EXPECT_EQ((std::tuple{sc::morphdone, sc::fadelock, sc::holdcounter, sc::fadecounter}),
            (std::tuple{false, true, uint16_t{0}, 0u}));
  sc::cloudmusicsteps();
  sc::clouddraw();  // locked: no fade step, but the morph runs again
  EXPECT_EQ(x(1), 0.5f);
  EXPECT_EQ(colour(9), black);
  for (uint32_t row : {48u, 47u}) {
    setposition(8, row);
    sc::cloudmusicsteps();
    sc::clouddraw();
    EXPECT_EQ(colour(9), row == 48 ? black : first) << row;
  }
}

// Each row reads at the next phase's offset; the phase runs on by 180 per
// frame and the set-up leaves it alone; the border rows and columns stay.
// The composite shows the board where the dot layer is 16 or below.
TEST_F(Cloud, BoardRowsWobbleThroughTheCircleAndShowUnderColour16) {
  std::memset(work2.pixels, 250, 64000);
  tables::circlephase = 200;
  tables::circleofs[200] = -10 * 320 - 10;  // row 10 reads from (0, 0)
  tables::circleofs[201] = 10 * 320 + 10;   // row 11 from (20, 21)
  tables::circleofs[123] = 3;               // row 189 (phase 200 + 179)
  sc::cloudsetup();
  sc::wobbleboard();
  EXPECT_EQ(tables::circlephase, static_cast<uint8_t>(200 + 180));
  const uint8_t* board = tools::geoboard.pixels;
  for (auto [x, y, from] : {std::tuple{10, 10, 0}, {309, 10, 299}, {10, 11, 21 * 320 + 20},
                            {309, 189, 189 * 320 + 312}, {50, 100, 100 * 320 + 50}})
    EXPECT_EQ(at(work2, x, y), board[from]) << x << "," << y;
  for (auto [x, y] : {std::tuple{9, 10}, {310, 10}, {10, 9}, {10, 190}, {0, 0}, {319, 199}})
    EXPECT_EQ(at(work2, x, y), 250) << x << "," << y;

  const uint8_t layer[] = {0, 1, 16, 17, 192, 255};
  const uint8_t shown[] = {99, 99, 99, 17, 192, 255};
  std::memset(work2.pixels, 99, 64000);
  std::memset(screen.pixels, 200, 64000);
  for (int i = 0; i < 6; ++i) screen.pixels[63994 + i] = layer[i];
  sc::boardcomposite();
  for (int i = 0; i < 6; ++i) EXPECT_EQ(screen.pixels[63994 + i], shown[i]) << int(layer[i]);
  EXPECT_EQ(notequal(0, 63993, 200), toffsets{});
}

// From row 49 of position 9 every record takes its home pixel's colour;
// only records 0..60,800 fly, each axis only while strictly inside, and
// only those strictly inside are drawn on the cleared screen. The fast
// burst gives the plain one's records, frames and palette.
TEST_F(Cloud, BurstMovesEachAxisOnlyInsideTheBordersAsThePlainRule) {
  // Records in column 0, never drawn, but for those put below.
  for (uint32_t i = 0; i < 64000; ++i)
    tables::pixelcloud[i] = {0, 0, 100, 1, 1}, screen.pixels[i] = static_cast<uint8_t>(i % 199 + 1);
  auto put = [](uint32_t i, int32_t x, int32_t y, int8_t dx, int8_t dy) { tables::pixelcloud[i] = {0, x, y, dx, dy}; };
  put(321, 1, 1, 1, 1);         // to (2, 2)
  put(640, 0, 2, 1, 1);         // column 0: x stays, y moves, never drawn
  put(5, 5, 0, 1, 1);           // row 0: y stays, x moves, never drawn
  put(1000, 40, 3, 0, 1);       // dx 0: stays in column 40
  put(2000, 318, 50, 1, -2);    // reaches column 319: not drawn, then stuck
  put(60800, 100, 100, 1, 0);   // the last record that flies
  put(60801, 150, 100, 1, 0);   // rows 190.. never take part
  const tbytes home = snapshot(screen.pixels);
  tarngr::transcolor = 7;
  setposition(9, 48);
  sc::cloudmusicsteps();
  ASSERT_FALSE(sc::fadelock);
  setposition(9, 49);
  sc::cloudmusicsteps();

  for (uint32_t i = 0; i < 64000; ++i) ASSERT_EQ(tables::pixelcloud[i].colour, home[i]) << i;
  using txy = std::pair<int32_t, int32_t>;
  auto position = [](uint32_t i) {
    const int32_t x = tables::pixelcloud[i].x, y = tables::pixelcloud[i].y;  // packed fields by value
    return txy{x, y};
  };
  EXPECT_EQ((std::array{position(640), position(5), position(2000), position(60801)}),
            (std::array{txy{0, 3}, txy{6, 0}, txy{319, 48}, txy{150, 100}}));
  EXPECT_EQ(notequal(0, 63999, 0), (toffsets{2 * 320 + 2, 4 * 320 + 40, 100 * 320 + 101}));
  EXPECT_EQ((std::array{at(2, 2), at(101, 100)}), (std::array{home[321], home[60800]}));
  EXPECT_TRUE(sc::fadelock);
  EXPECT_EQ(tarngr::transcolor, 0);
  EXPECT_EQ(colour(1), (std::array<uint8_t, 3>{1, 1, 1}));

  // The next frame captures its own colours.
  std::memset(screen.pixels, 33, 64000);
  sc::cloudmusicsteps();
  EXPECT_EQ(position(2000), (txy{319, 46}));
  EXPECT_EQ(notequal(0, 63999, 0), (toffsets{3 * 320 + 3, 5 * 320 + 40, 100 * 320 + 102}));
  EXPECT_EQ(at(3, 3), 33);

  // Records anywhere, on and past the borders, over several frames of
  // changing colours: both bursts leave the same records, frame and palette.
  runtime::randseed = 99;
  for (auto& f : tables::pixelcloud)
    f = {0, static_cast<int32_t>(runtime::random(324)) - 2, static_cast<int32_t>(runtime::random(204)) - 2,
         static_cast<int8_t>(static_cast<int32_t>(runtime::random(4)) - 2),
         static_cast<int8_t>(static_cast<int32_t>(runtime::random(4)) - 2)};
  auto flights = [](void (*burst)()) {
    tarnpal::clearpalette();
    runtime::randseed = 5;
    for (int frame = 0; frame < 40; ++frame) randomfill(screen.pixels), burst();
  };
  tbytes frame;
  EXPECT_TRUE(sameasplain(
      reinterpret_cast<uint8_t*>(tables::pixelcloud), sizeof tables::pixelcloud,
      [&] { flights(sc::burstplain), frame = snapshot(screen.pixels); }, [&] { flights(sc::burst); }));
  EXPECT_EQ(frame, snapshot(screen.pixels));
  EXPECT_EQ(colour(200), (std::array<uint8_t, 3>{40, 40, 40}));
}

}  // namespace
