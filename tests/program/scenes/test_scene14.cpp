// Scene 14: the roll through the trapezoid on a striped picture, the pulse
// of the divisors, and the smear, each fast path against its plain rule.
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "program/scenes/scenetest.h"

namespace {

namespace sc = program::scenes;
using namespace scenetest;
using tools::screen;
using tspan = std::pair<uint32_t, uint32_t>;

constexpr uint8_t untouched = 99;  // no picture value
constexpr uint8_t hidden = 63;     // only in picture rows 0 and 199

class Scene14 : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::initmemory();
    fill(tools::scroll2, 320, 200, 0);
    for (uint32_t j = 0; j < 200; ++j)
      std::memset(tools::scroll2.pixels + j * 320, j == 0 || j == 199 ? hidden : static_cast<int>(j % 62 + 1), 320);
    for (int i = 0; i < 200; ++i) tables::widthramp[i] = static_cast<int16_t>(runtime::round(i * 310 / 200.0L + 10));
    std::memset(screen.pixels, untouched, 64000);
    sc::floorsetup();
    runtime::randseed = 14;
  }
  // The first and last column of row y that the roll wrote (320, 0: none).
  static tspan span(uint32_t y) {
    tspan s{320, 0};
    for (uint32_t x = 0; x < 320; ++x)
      if (at(x, y) != untouched) s = {std::min(s.first, x), x};
    return s;
  }
};

// r = 100: picture row j on screen row (100 + j) mod 199, so row 100 and row
// 199 are skipped; row 0 spans 154..164, row 198 1..317. r runs 199 down to
// 2. The fast roll against the plain one, frame by frame over a cycle of r
// with the line buffer it leaves, on a random picture and screen, with the
// widths changed halfway, so its column tables must follow.
TEST_F(Scene14, RollSkipsRowsFillsTheTrapezoidAndMatchesThePlainRule) {
  sc::floorroll = 101;
  sc::rollfloor();
  EXPECT_EQ((std::array{span(100), span(199), span(0), span(198)}),
            (std::array{tspan{320, 0}, tspan{320, 0}, tspan{154, 164}, tspan{1, 317}}));
  for (auto [x, y, j] : {std::tuple{154u, 0u, 99u}, {1u, 198u, 98u}, {160u, 101u, 1u}, {160u, 99u, 198u}})
    EXPECT_EQ(at(x, y), j % 62 + 1) << "row " << y;
  EXPECT_EQ(std::count(screen.pixels, screen.pixels + 64000, hidden), 0);
  sc::floorroll = 200;
  for (int frame = 0; frame < 199; ++frame) {
    sc::rollfloor();
    ASSERT_EQ(sc::floorroll, frame < 198 ? 199 - frame : 199);
  }

  randomfill(tools::scroll2.pixels, 64000, 64);
  randomfill(screen.pixels);
  tbytes line;
  for (int frame = 0; frame < 200; ++frame) {
    if (frame == 100)
      for (int i = 0; i < 200; ++i) tables::widthramp[i] = static_cast<int16_t>(318 - i * 308 / 199);
    ASSERT_TRUE(sameasplain(
        screen.pixels, 64000, sc::floorroll,
        [&] {
          sc::rollfloorplain();
          line = snapshot(tools::linebuf.pixels, 320);
        },
        [&] {
          std::memset(tools::linebuf.pixels, 0, 320);
          sc::rollfloor();
        }))
        << "frame " << frame;
    ASSERT_EQ(line, snapshot(tools::linebuf.pixels, 320)) << "frame " << frame;
  }
}

// Growing and shrinking exclude each other: the divisors swing between
// (32, 20) and (8, 5) for as long as the scene runs.
TEST_F(Scene14, DivisorsPulseBetweenBothEnds) {
  std::vector<int> top, bottom;
  for (int frame = 0; frame < 200; ++frame) {
    sc::pulsesmear();
    if (sc::smeara == 32 && sc::smearb == 20) top.push_back(frame);
    if (sc::smeara == 8 && sc::smearb == 5) bottom.push_back(frame);
  }
  ASSERT_TRUE(top.size() >= 3 && bottom.size() >= 3);
  EXPECT_EQ(top[0], 0);
  EXPECT_TRUE(bottom[0] >= 25 && bottom[0] <= 35) << bottom[0];
}

// With divisors (1, 1) every source is the centre: a pixel becomes its mean
// with the centre, row 118 and column 154 twice over, and the centre keeps
// its value; row 0 and column 0 are never visited. Then the fast smear
// against the plain one on random screens, for several divisors.
TEST_F(Scene14, SmearWithUnitDivisorsMeetsTheCentreAndMatchesThePlainRule) {
  for (void (*smear)() : {sc::radialsmearplain, sc::radialsmear}) {
    std::memset(screen.pixels, 20, 64000);
    screen.pixels[118 * 320 + 154] = 60;
    sc::smeara = sc::smearb = 1;
    smear();
    EXPECT_EQ(at(154, 118), 60);
    for (auto [x, y] : {tspan{0, 5}, {5, 0}, {0, 199}, {319, 0}}) EXPECT_EQ(at(x, y), 20);
    for (auto [x, y] : {tspan{1, 1}, {319, 199}, {153, 117}, {155, 119}}) EXPECT_EQ(at(x, y), 40);
    for (auto [x, y] : {tspan{1, 118}, {319, 118}, {154, 1}, {154, 199}}) EXPECT_EQ(at(x, y), 50);
  }
  for (auto [a, b] : {std::pair{32, 20}, {8, 5}, {13, 7}, {2, 200}}) {
    randomfill(screen.pixels, 64000, 64);
    sc::smeara = a, sc::smearb = b;
    EXPECT_TRUE(sameasplain(screen.pixels, 64000, sc::radialsmearplain, sc::radialsmear)) << a << ", " << b;
  }
}

}  // namespace
