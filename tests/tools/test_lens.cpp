// Relief refraction and the lens table: examples, clamps, fast against plain.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "tools/lens.h"
#include "tools/stores.h"

namespace {

using tools::screen;
using tools::work2;
using tools::work4;

int16_t* relief() { return reinterpret_cast<int16_t*>(work4.pixels); }
constexpr int reliefcount = 320 * 201;

class Lens : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::initmemory();
    // A picture where every pixel tells where it came from (modulo 251,
    // never 0 inside the picture).
    for (uint32_t k = 0; k < 64000; ++k) work2.pixels[k] = static_cast<uint8_t>(1 + k % 251);
    std::memset(work4.pixels, 0, tools::cellstoresize);
    std::memset(screen.pixels, 0xEE, 64000);
  }
  static uint8_t source(int32_t k) { return static_cast<uint8_t>(1 + k % 251); }
};

TEST_F(Lens, FlatReliefCopiesAndAPeakShiftsItsNeighbours) {
  for (int k = 0; k < reliefcount; ++k) relief()[k] = 1234;
  tools::lensremap();
  EXPECT_EQ(std::memcmp(screen.pixels, work2.pixels, 64000), 0);
  std::memset(work4.pixels, 0, tools::cellstoresize);
  const int32_t k = 100 * 320 + 160;
  relief()[k] = 258;
  tools::lensremap();
  // Rising edge on the left: 32 rows down. Above: 32 columns right.
  EXPECT_EQ(screen.pixels[k - 1], source(k - 1 + 32 * 320));
  EXPECT_EQ(screen.pixels[k - 320], source(k - 320 + 32));
  // Falling edges at the peak itself: -258 >> 3 = -33 both ways.
  EXPECT_EQ(screen.pixels[k], source(k - 33 * 320 - 33));
  for (int32_t i = 0; i < 64000; ++i) {
    if (i == k || i == k - 1 || i == k - 320) continue;
    ASSERT_EQ(screen.pixels[i], source(i)) << i;
  }
}

TEST_F(Lens, ReadsPastThePictureShowBlack) {
  // Scenes may have left something behind the pixels; it must not show.
  std::memset(work2.pixels + 64000, 0x5A, tools::work2storesize - 64000);
  // Bottom row, 5 rows down: index 65,290, inside the store, past the picture.
  const int32_t bottom = 199 * 320 + 10;
  relief()[bottom + 1] = 40;
  // Top row, 40 rows up: wraps to 65,536 - 12,800 + 100 = 52,836, a real pixel.
  const int32_t top = 100;
  relief()[top + 1] = -320;
  // Top row, 1 row up: wraps to 65,236, behind the picture again.
  const int32_t top2 = 20;
  relief()[top2 + 1] = -8;
  tools::lensremap();
  EXPECT_EQ(screen.pixels[bottom], 0);
  EXPECT_EQ(screen.pixels[top], source(65536 - 40 * 320 + top));
  EXPECT_EQ(screen.pixels[top2], 0);
}

TEST_F(Lens, FastRemapMatchesThePlainRule) {
  std::mt19937 rng(7);
  std::vector<uint8_t> plain(64000);
  for (int round = 0; round < 3; ++round) {
    for (uint32_t k = 0; k < tools::work2storesize; ++k) work2.pixels[k] = static_cast<uint8_t>(rng());
    // Full-range noise, smooth steps, and plateaus like the letters'.
    for (int k = 0; k < reliefcount; ++k) {
      int32_t v = static_cast<int32_t>(rng());
      if (round == 1) v = (k % 320 < 160 ? 258 : 0) + static_cast<int32_t>(rng() % 9);
      if (round == 2) v = (rng() % 4 == 0) ? 258 : 0;
      relief()[k] = static_cast<int16_t>(v);
    }
    tools::lensremapplain();
    std::memcpy(plain.data(), screen.pixels, 64000);
    std::memset(screen.pixels, 0, 64000);
    tools::lensremap();
    ASSERT_EQ(std::memcmp(plain.data(), screen.pixels, 64000), 0) << round;
  }
}

TEST(LensTable, SmallRadiusIsTheIdentity) {
  tools::lenssize = 75;
  tools::lensradius = 37;  // 37^2 < 1400: no point is inside the lens
  tools::lensinit();
  for (int a = 0; a < 75; ++a)
    for (int b = 0; b < 75; ++b) ASSERT_EQ(tools::lenstable[a * 75 + b], a * 320 + b);
}

TEST(LensTable, SizeIsClamped) {
  tools::lenstable[0] = 999;
  tools::lenssize = 0;
  tools::lensradius = 0;
  tools::lensinit();
  EXPECT_EQ(tools::lenssize, 1);
  EXPECT_EQ(tools::lenstable[0], 0);
  tools::lenssize = 200;
  tools::lensinit();
  EXPECT_EQ(tools::lenssize, 160);
  tools::lenstable[0] = 4321;
  tools::lenssize = -5;  // left alone, fills nothing
  tools::lensinit();
  EXPECT_EQ(tools::lenssize, -5);
  EXPECT_EQ(tools::lenstable[0], 4321);
}

TEST(LensTable, MagnifiesInsideTheDisc) {
  tools::lenssize = 160;
  tools::lensradius = 80;
  tools::lensinit();
  auto entry = [](int a, int b) { return tools::lenstable[a * 160 + b]; };
  EXPECT_EQ(entry(80, 80), 80 * 320 + 80);  // centre: z = 80, no displacement
  // dx = 10: z = Round(sqrt(6300)) = 79, Round(10 / 79 * -4) = -1.
  EXPECT_EQ(entry(80, 90), 80 * 320 + 79);
  EXPECT_EQ(entry(80, 70), 80 * 320 + 81);
  // dx = 70: z = Round(sqrt(1500)) = 39, Round(70 / 39 * 36) = 65.
  EXPECT_EQ(entry(80, 150), 80 * 320 + 145);
  EXPECT_EQ(entry(80, 151), 80 * 320 + 151);  // 71^2 + 1400 >= 6400: outside
  // dx = 56, z = 48: 56 / 48 * 27 is 31.5 on paper; in extended precision
  // just below, so 31 (double precision gives 32).
  tools::lenssize = 148;
  tools::lensradius = 74;
  tools::lensinit();
  EXPECT_EQ(tools::lenstable[65 * 148 + 130], 69 * 320 + (31 + 74));
}

TEST(LensTable, FastTableMatchesThePlainRule) {
  std::vector<uint16_t> plain(tools::lensmaxsize * tools::lensmaxsize);
  auto check = [&](int32_t size, int32_t radius) {
    tools::lenssize = size;
    tools::lensradius = radius;
    tools::lensinitplain();
    plain.assign(tools::lenstable, tools::lenstable + plain.size());
    std::fill(std::begin(tools::lenstable), std::end(tools::lenstable), 0xBEEF);
    tools::lenssize = size;
    tools::lensinit();
    for (int32_t i = 0; i < tools::lenssize * tools::lenssize; ++i)
      ASSERT_EQ(tools::lenstable[i], plain[i]) << size << " " << radius << " at " << i;
  };
  for (int32_t s = 1; s <= 160; ++s) check(s, s / 2);  // the eye scene's sizes
  std::mt19937 rng(3);
  for (int i = 0; i < 60; ++i) check(1 + static_cast<int32_t>(rng() % 160), static_cast<int32_t>(rng() % 330) - 5);
  check(160, 100000);
  check(160, -40000);
}

}  // namespace
