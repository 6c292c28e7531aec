// The live palette: its scaled store and the three fades.
#include "tarnpal/tarnpal.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {

using tarnpal::palstore;
using tarnpal::tpalette;
using rgb = std::array<uint8_t, 3>;

rgb colour(uint8_t index) {
  rgb c;
  tarnpal::getcolor(index, c[0], c[1], c[2]);
  return c;
}

// A palette whose components run through every value 0..63.
tpalette ramp(int shift) {
  tpalette p{};
  for (int i = 0; i < 256; ++i)
    p.entry[i] = {static_cast<uint8_t>((i + shift) % 64), static_cast<uint8_t>((i * 7 + shift) % 64),
                  static_cast<uint8_t>((255 - i + shift) % 64), 0};
  return p;
}

bool showing(const tpalette& p) {
  for (int i = 0; i < 256; ++i)
    if (colour(static_cast<uint8_t>(i)) != rgb{p.entry[i].red, p.entry[i].green, p.entry[i].blue}) return false;
  return true;
}

class Palette : public ::testing::Test {
 protected:
  void SetUp() override { std::memset(palstore, 0, sizeof palstore); }
};

TEST_F(Palette, StoresComponentsTimesFourAndFadesMoveThemOneStep) {
  tarnpal::setcolor(5, 63, 0, 32);
  EXPECT_EQ((rgb{palstore[5].red, palstore[5].green, palstore[5].blue}), (rgb{252, 0, 128}));
  EXPECT_EQ(colour(5), (rgb{63, 0, 32}));
  tarnpal::setcolor(6, 64, 65, 127);  // past 63 wraps in the byte store
  EXPECT_EQ(colour(6), (rgb{0, 1, 63}));

  tarnpal::setcolor(0, 0, 1, 63);
  tarnpal::setcolor(1, 62, 63, 0);
  tarnpal::fadedown();
  EXPECT_EQ(colour(0), (rgb{0, 0, 62}));
  EXPECT_EQ(colour(1), (rgb{61, 62, 0}));
  tarnpal::setcolor(1, 62, 63, 0);
  tarnpal::fadeup();
  EXPECT_EQ(colour(1), (rgb{63, 63, 1}));
  EXPECT_EQ(colour(0), (rgb{1, 1, 63}));

  tpalette target{};
  target.entry[2] = {12, 10, 0, 0};
  target.entry[7] = {64, 0, 0, 0};  // climbs to 63, wraps to 0, climbs again
  tarnpal::setcolor(2, 10, 10, 10);
  tarnpal::setcolor(7, 62, 0, 0);
  const rgb two[] = {{11, 10, 9}, {12, 10, 8}, {12, 10, 7}};
  const uint8_t seven[] = {63, 0, 1};
  for (int step = 0; step < 3; ++step) {
    tarnpal::fadeto(target);
    EXPECT_EQ(colour(2), two[step]) << step;
    EXPECT_EQ(colour(7)[0], seven[step]) << step;
  }
}

TEST_F(Palette, SixtyThreeStepsFinishAnyFadeAndNothingWritesTheSpareByte) {
  for (auto& e : palstore) e.spare = 0x5a;
  tpalette from = ramp(0), to = ramp(17);
  for (int i = 0; i < 256; ++i) {
    to.entry[i].red = static_cast<uint8_t>(63 - from.entry[i].red);
    from.entry[i].spare = to.entry[i].spare = 0x11;
  }
  tpalette black{}, white{};
  for (auto& e : white.entry) e = {63, 63, 63, 0};
  const auto check = [&](auto fade, const tpalette& end) {
    tarnpal::setpalette(from);
    for (int i = 0; i < 62; ++i) fade();
    EXPECT_FALSE(showing(end));
    fade();
    EXPECT_TRUE(showing(end));
    fade();  // and stays there
    EXPECT_TRUE(showing(end));
  };
  check(tarnpal::fadedown, black);
  check(tarnpal::fadeup, white);
  check([&] { tarnpal::fadeto(to); }, to);

  tarnpal::setcolor(9, 1, 2, 3);
  tarnpal::clearpalette();
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(palstore[i].spare, 0x5a) << i;
    EXPECT_EQ(colour(static_cast<uint8_t>(i)), (rgb{0, 0, 0})) << i;
  }
}

}  // namespace
