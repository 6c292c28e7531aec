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
  for (int i = 0; i < 256; ++i) {
    p.entry[i].red = static_cast<uint8_t>((i + shift) % 64);
    p.entry[i].green = static_cast<uint8_t>((i * 7 + shift) % 64);
    p.entry[i].blue = static_cast<uint8_t>((255 - i + shift) % 64);
  }
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

TEST_F(Palette, StoresComponentsTimesFourAndReadsThemBack) {
  tarnpal::setcolor(5, 63, 0, 32);
  EXPECT_EQ(palstore[5].red, 252);
  EXPECT_EQ(palstore[5].green, 0);
  EXPECT_EQ(palstore[5].blue, 128);
  EXPECT_EQ(colour(5), (rgb{63, 0, 32}));
  // A component past 63 wraps in the byte store.
  tarnpal::setcolor(6, 64, 65, 127);
  EXPECT_EQ(colour(6), (rgb{0, 1, 63}));
}

TEST_F(Palette, NothingWritesTheSpareByte) {
  for (auto& e : palstore) e.spare = 0x5a;
  tpalette p = ramp(3);
  for (auto& e : p.entry) e.spare = 0x11;
  tarnpal::setcolor(9, 1, 2, 3);
  tarnpal::setpalette(p);
  tarnpal::fadeup();
  tarnpal::fadedown();
  tarnpal::fadeto(p);
  tarnpal::clearpalette();
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(palstore[i].spare, 0x5a) << i;
    EXPECT_EQ(colour(static_cast<uint8_t>(i)), (rgb{0, 0, 0})) << i;
  }
}

TEST_F(Palette, FadesMoveEachComponentOneStep) {
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
  tarnpal::setcolor(2, 10, 10, 10);
  tarnpal::fadeto(target);
  EXPECT_EQ(colour(2), (rgb{11, 10, 9}));
  tarnpal::fadeto(target);
  EXPECT_EQ(colour(2), (rgb{12, 10, 8}));
}

TEST_F(Palette, SixtyThreeStepsFinishAnyFadeAndSixtyTwoDoNot) {
  const tpalette from = ramp(0);
  tpalette to = ramp(17);
  for (int i = 0; i < 256; ++i) to.entry[i].red = static_cast<uint8_t>(63 - from.entry[i].red);
  tpalette black{}, white{};
  for (auto& e : white.entry) e = {63, 63, 63, 0};

  tarnpal::setpalette(from);
  for (int i = 0; i < 62; ++i) tarnpal::fadedown();
  EXPECT_FALSE(showing(black));
  tarnpal::fadedown();
  EXPECT_TRUE(showing(black));

  tarnpal::setpalette(from);
  for (int i = 0; i < 62; ++i) tarnpal::fadeup();
  EXPECT_FALSE(showing(white));
  tarnpal::fadeup();
  EXPECT_TRUE(showing(white));

  tarnpal::setpalette(from);
  for (int i = 0; i < 62; ++i) tarnpal::fadeto(to);
  EXPECT_FALSE(showing(to));
  tarnpal::fadeto(to);
  EXPECT_TRUE(showing(to));
  tarnpal::fadeto(to);  // and stays there
  EXPECT_TRUE(showing(to));
}

TEST_F(Palette, ATargetPastSixtyThreeClimbsWrapsAndClimbsAgain) {
  tpalette target{};
  target.entry[7] = {64, 0, 0, 0};
  tarnpal::setcolor(7, 62, 0, 0);
  tarnpal::fadeto(target);
  EXPECT_EQ(colour(7)[0], 63);
  tarnpal::fadeto(target);
  EXPECT_EQ(colour(7)[0], 0);
  tarnpal::fadeto(target);
  EXPECT_EQ(colour(7)[0], 1);
}

}  // namespace
