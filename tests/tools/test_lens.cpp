// Relief refraction and the lens table: examples, clamps, fast against plain.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "tools/lens.h"
#include "tools/stores.h"

namespace {

using tools::screen, tools::work2, tools::work4;

int16_t* relief() { return reinterpret_cast<int16_t*>(work4.pixels); }
constexpr int reliefcount = 320 * 201;

// A picture where every pixel tells where it came from (never 0 inside it).
uint8_t source(int32_t k) { return static_cast<uint8_t>(1 + k % 251); }

class Lens : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::initmemory();
    for (int32_t k = 0; k < 64000; ++k) work2.pixels[k] = source(k);
    std::memset(work4.pixels, 0, tools::cellstoresize);
    std::memset(screen.pixels, 0xEE, 64000);
  }
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
  for (int32_t i = 0; i < 64000; ++i)
    ASSERT_TRUE(i == k || i == k - 1 || i == k - 320 || screen.pixels[i] == source(i)) << i << ": " << +screen.pixels[i];
}

TEST_F(Lens, ReadsPastThePictureShowBlack) {
  // Scenes may have left something behind the pixels; it must not show.
  std::memset(work2.pixels + 64000, 0x5A, tools::work2storesize - 64000);
  const int32_t bottom = 199 * 320 + 10, top = 100, top2 = 20;
  relief()[bottom + 1] = 40;  // 5 rows down: 65,290, in the store, past the picture
  relief()[top + 1] = -320;   // 40 rows up: wraps to 52,836, a real pixel
  relief()[top2 + 1] = -8;    // 1 row up: wraps to 65,236, behind the picture again
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
      const uint32_t r = rng(), step = k % 320 < 160 ? 258 : 0;
      relief()[k] = static_cast<int16_t>(round == 0 ? r : round == 1 ? step + r % 9 : (r % 4 == 0) * 258);
    }
    tools::lensremapplain();
    std::memcpy(plain.data(), screen.pixels, 64000);
    std::memset(screen.pixels, 0, 64000);
    tools::lensremap();
    ASSERT_EQ(std::memcmp(plain.data(), screen.pixels, 64000), 0) << round;
  }
}

void buildlens(int32_t size, int32_t radius, void (*init)() = tools::lensinit) {
  tools::lenssize = size;
  tools::lensradius = radius;
  init();
}

TEST(LensTable, SizeIsClampedAndASmallRadiusIsTheIdentity) {
  tools::lenstable[0] = 999;
  buildlens(0, 0);
  EXPECT_EQ(tools::lenssize, 1);
  EXPECT_EQ(tools::lenstable[0], 0);
  buildlens(200, 0);
  EXPECT_EQ(tools::lenssize, 160);
  tools::lenstable[0] = 4321;
  buildlens(-5, 0);  // left alone, fills nothing
  EXPECT_EQ(tools::lenssize, -5);
  EXPECT_EQ(tools::lenstable[0], 4321);
  buildlens(75, 37);  // 37^2 < 1400: no point is inside the lens
  for (int a = 0; a < 75; ++a)
    for (int b = 0; b < 75; ++b) ASSERT_EQ(tools::lenstable[a * 75 + b], a * 320 + b);
}

TEST(LensTable, MagnifiesInsideTheDisc) {
  // dx = 10: z = Round(sqrt(6300)) = 79, Round(10 / 79 * -4) = -1; dx = 70:
  // z = Round(sqrt(1500)) = 39, Round(70 / 39 * 36) = 65; dx = 71 is outside.
  // dx = 56, z = 48: 56 / 48 * 27 is 31.5 on paper; in extended precision
  // just below, so 31 (double precision gives 32).
  const struct { int32_t size, a, b, entry; } cases[] = {
      {160, 80, 80, 80 * 320 + 80},   {160, 80, 90, 80 * 320 + 79},   {160, 80, 70, 80 * 320 + 81},
      {160, 80, 150, 80 * 320 + 145}, {160, 80, 151, 80 * 320 + 151}, {148, 65, 130, 69 * 320 + (31 + 74)},
  };
  for (const auto& c : cases) {
    buildlens(c.size, c.size / 2);
    EXPECT_EQ(tools::lenstable[c.a * c.size + c.b], c.entry) << c.size << ": " << c.a << "," << c.b;
  }
}

TEST(LensTable, FastTableMatchesThePlainRule) {
  std::vector<uint16_t> plain(tools::lensmaxsize * tools::lensmaxsize);
  auto check = [&](int32_t size, int32_t radius) {
    buildlens(size, radius, tools::lensinitplain);
    plain.assign(tools::lenstable, tools::lenstable + plain.size());
    std::fill(std::begin(tools::lenstable), std::end(tools::lenstable), 0xBEEF);
    buildlens(size, radius);
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
