// Blits, filters, block operations and mergepal on the cases whose results
// are known by hand, and the caller limits that are checked.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <utility>
#include <vector>

#include "support/canvas.h"
#include "tarngr/tarngr.h"

namespace {

using testsupport::tcanvas;

// Source pixels 1..250, never 0, so a 0 in the output means "sampled
// outside the source" and 251..255 can mark untouched pixels.
uint8_t number(int x, int y) { return static_cast<uint8_t>(1 + (x + 3 * y) % 250); }
tcanvas numbered(uint16_t w, uint16_t h) {
  tcanvas cv(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) cv.bm.pixels[y * w + x] = number(x, y);
  return cv;
}

class Blits : public ::testing::Test {
 protected:
  void SetUp() override { tarngr::transcolor = 0; }
  void TearDown() override { tarngr::transcolor = 0; }
};

// ---- scaled blits --------------------------------------------------------------

TEST_F(Blits, ScalecopySamplesByRunningSumsAndEndsInColourZero) {
  const tcanvas src = numbered(320, 200);
  tcanvas dst(640, 480, 255);
  tarngr::scalecopy(src.bm, 0, 0, 640, 480, dst.bm);
  const int columns[] = {0, 0, 1, 2, 2, 2, 3, 4, 4, 4};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(dst.at(i, 0), number(columns[i], 0)) << "column " << i;
  for (int y = 0; y < 480; ++y) EXPECT_EQ(dst.at(639, y), 0) << "row " << y;
  for (int x = 0; x < 640; ++x) EXPECT_EQ(dst.at(x, 479), 0) << "column " << x;
  EXPECT_EQ(dst.countnot(255), dst.size());  // every pixel written
  EXPECT_TRUE(dst.guardsintact());

  tcanvas same(320, 200);  // the same size is an exact copy
  tarngr::scalecopy(src.bm, 0, 0, 320, 200, same.bm);
  EXPECT_EQ(same.store, src.store);
}

TEST_F(Blits, ScaleblitSkipsTheTransparentColourEvenOutsideTheSource) {
  tcanvas src = numbered(40, 30);
  for (int i = 0; i < 40 * 30; i += 7) src.bm.pixels[i] = 0;
  tcanvas sampled(97, 71), blitted(97, 71, 251);
  tarngr::scalecopy(src.bm, 3, 2, 95, 70, sampled.bm);
  tarngr::scaleblit(src.bm, 3, 2, 95, 70, blitted.bm);
  size_t kept = 0;
  for (int y = 2; y < 70; ++y)
    for (int x = 3; x < 95; ++x) {
      const uint8_t s = sampled.at(x, y);
      EXPECT_EQ(blitted.at(x, y), s == 0 ? 251 : s) << x << "," << y;
      kept += s == 0;
    }
  EXPECT_GT(kept, 92u + 68u);  // the zeros inside and the last column and row
  EXPECT_EQ(blitted.countnot(251), 92u * 68u - kept);

  // With another transparent colour, the samples outside are drawn as 0.
  tarngr::transcolor = number(1, 0);
  tcanvas other(97, 71, 251);
  tarngr::scaleblit(src.bm, 3, 2, 95, 70, other.bm);
  EXPECT_EQ(other.at(94, 69), 0);
  EXPECT_EQ(other.at(3, 2), 0);  // samples the 0 at (0, 0)
  EXPECT_EQ(other.at(5, 2), 251);  // samples (1, 0), now transparent
}

TEST_F(Blits, ScaledBlitsClipToTheDestination) {
  const tcanvas src = numbered(16, 16);
  tcanvas dst(20, 20, 250);
  tarngr::scalecopy(src.bm, -8, -8, 24, 24, dst.bm);  // twice the size, centred
  EXPECT_EQ(dst.at(0, 0), number(4, 4));
  EXPECT_EQ(dst.at(19, 19), number(14, 14));  // 13.5 rounds to even
  EXPECT_EQ(dst.countnot(250), dst.size());
  EXPECT_TRUE(dst.guardsintact());
  tcanvas away(20, 20, 5);  // wholly right of and above the destination
  tarngr::scalecopy(src.bm, 20, 0, 40, 20, away.bm);
  tarngr::scalecopy(src.bm, 0, -40, 20, 0, away.bm);
  EXPECT_EQ(away.countnot(5), 0u);
}

// ---- sprites and rectangles ------------------------------------------------------

TEST_F(Blits, SpriteDrawsOnlyItsVisibleOpaquePart) {
  const tcanvas corner = numbered(20, 30);
  tcanvas dst(320, 200);
  tarngr::spriteblit(-5, 190, corner.bm, dst.bm);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 320; ++x) {
      const bool inside = x < 15 && y >= 190;
      EXPECT_EQ(dst.at(x, y), inside ? number(x + 5, y - 190) : 0) << x << "," << y;
    }
  EXPECT_TRUE(dst.guardsintact());

  tcanvas src = numbered(8, 8);
  src.bm.pixels[9] = 60;
  tarngr::transcolor = 60;
  tcanvas opaque(8, 8, 252);
  tarngr::spriteblit(0, 0, src.bm, opaque.bm);
  EXPECT_EQ(opaque.at(1, 1), 252);
  EXPECT_EQ(opaque.at(2, 1), number(2, 1));
  EXPECT_EQ(opaque.countnot(252), 63u);

  tcanvas far(8, 8, 3);
  tarngr::spriteblit(INT32_MAX - 3, 0, src.bm, far.bm);
  tarngr::spriteblit(0, INT32_MIN, src.bm, far.bm);
  tarngr::spriteblit(-8, -8, src.bm, far.bm);
  EXPECT_EQ(far.countnot(3), 0u);
  EXPECT_TRUE(far.guardsintact());
}

TEST_F(Blits, CopyrectResizesTheDestinationAndReadsZeroOutside) {
  const tcanvas src = numbered(64, 32);
  tcanvas dst(20, 30, 200);
  dst.bm.width = 1;
  dst.bm.height = 1;
  tarngr::copyrect(src.bm, 40, 0, 60, 30, dst.bm);
  EXPECT_EQ(dst.bm.width, 20);
  EXPECT_EQ(dst.bm.height, 30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 20; ++x) EXPECT_EQ(dst.at(x, y), number(40 + x, y)) << x << "," << y;

  tcanvas edge(10, 10, 200);
  tarngr::copyrect(src.bm, 60, 30, 70, 40, edge.bm);
  EXPECT_EQ(edge.at(3, 1), number(63, 31));
  EXPECT_EQ(edge.at(4, 1), 0);
  EXPECT_EQ(edge.at(3, 2), 0);
  EXPECT_TRUE(edge.guardsintact());
}

TEST_F(Blits, BrightenWrapsModulo256) {
  tcanvas cv(3, 2);
  std::memcpy(cv.bm.pixels, "\x00\x01\xef\xf0\xfa\xff", 6);
  tarngr::brighten(cv.bm, 16);
  EXPECT_EQ(0, std::memcmp(cv.bm.pixels, "\x10\x11\xff\x00\x0a\x0f", 6));
  EXPECT_TRUE(cv.guardsintact());
}

// ---- filters ---------------------------------------------------------------------

TEST(Filters, BlurSeesNewValuesAboveAndLeftAndOldOnesBelowAndRight) {
  std::vector<uint8_t> b(64000 + 321, 0);
  b[3210] = 200;
  tarngr::blur(b.data(), 63680);
  // Above (2890) and left (3209) see the bright pixel still old; then
  // 2891 = (0 + 0 + 50 + 0) / 4, 3210 = (0 + 50 + 0 + 50) / 4, the pixel right
  // of it (0 + 12 + 0 + 25) / 4 and the one below (0 + 25 + 0 + 12) / 4.
  const std::pair<int, int> expected[] = {{2890, 50}, {2891, 12}, {3209, 50}, {3210, 25}, {3211, 9}, {3530, 9}};
  for (const auto& [k, v] : expected) EXPECT_EQ(b[k], v) << k;
}

TEST(Filters, BlurWritesOffsets320ToNAndNothingElse) {
  std::vector<uint8_t> b(1000);
  for (size_t i = 0; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i * 37);
  std::vector<uint8_t> before = b;
  tarngr::blur(b.data(), 400);
  EXPECT_NE(b[400], before[400]);  // offset n itself is written...
  std::copy(b.begin() + 320, b.begin() + 401, before.begin() + 320);
  EXPECT_EQ(b, before);  // ...and nothing outside 320..n
}

TEST(Filters, BlurfadeLowersEveryNonZeroResultByOne) {
  std::vector<uint8_t> b(64000 + 321, 8);
  tarngr::blurfade(b.data(), 63680);
  const std::pair<int, int> expected[] = {{319, 8}, {320, 7}, {321, 6}, {322, 6}, {640, 6}, {641, 6}};
  for (const auto& [k, v] : expected) EXPECT_EQ(b[k], v) << k;

  // Zero stays zero, and a result of 0 is not lowered past it.
  std::vector<uint8_t> z(1000, 0);
  z[700] = 3;
  const std::vector<uint8_t> unchanged = z;
  tarngr::blurfade(z.data(), 600);
  EXPECT_EQ(z, unchanged);
}

// ---- block operations and palettes ---------------------------------------------------

TEST(Blocks, CopyAndFillMoveWholeWordsInAscendingOrder) {
  uint8_t b[16];
  std::iota(b, b + 16, 0);
  tarngr::copydw(b, b + 2, 2);  // overlapping: the second word rereads the first one's output
  const uint8_t forwards[] = {0, 1, 0, 1, 2, 3, 2, 3, 6, 7, 10, 11, 12, 13, 14, 15};
  EXPECT_EQ(0, std::memcmp(b, forwards, 16));

  uint32_t words[6] = {1, 2, 3, 4, 5, 6};
  tarngr::filldw(words + 1, 3, 0xdeadbeefu);
  const uint32_t filled[6] = {1, 0xdeadbeefu, 0xdeadbeefu, 0xdeadbeefu, 5, 6};
  EXPECT_EQ(0, std::memcmp(words, filled, sizeof words));
  tarngr::filldw(words, 0, 0);
  tarngr::copydw(words + 3, words, 0);
  EXPECT_EQ(0, std::memcmp(words, filled, sizeof words));
  tarngr::filldw(nullptr, 0, 0);
  tarngr::copydw(nullptr, nullptr, 0);
}

TEST(Palettes, MergepalShiftsEntriesUpFromACopyTakenFirst) {
  tarnpal::tpalette p{};
  for (int i = 0; i < 256; ++i)
    p.entry[i] = {static_cast<uint8_t>(i % 64), static_cast<uint8_t>(i / 4), static_cast<uint8_t>(63 - i % 64),
                  static_cast<uint8_t>(i)};
  const tarnpal::tpalette before = p;
  tarngr::mergepal(p, 239, p, 16);
  for (int i = 0; i <= 16; ++i) EXPECT_EQ(0, std::memcmp(&p.entry[i], &before.entry[i], 4)) << i;
  for (int i = 17; i < 256; ++i) {  // colours move up by 16, the spare bytes stay
    EXPECT_EQ(0, std::memcmp(&p.entry[i], &before.entry[i - 16], 3)) << i;
    EXPECT_EQ(p.entry[i].spare, before.entry[i].spare) << i;
  }
  tarngr::mergepal(before, 0, p, 255);  // n = 0: nothing, whatever the base
  EXPECT_EQ(p.entry[255].red, before.entry[239].red);
}

// ---- limits ---------------------------------------------------------------------------

TEST(LimitsDeathTest, ABrokenCallerLimitStopsTheProgram) {
  tarnpal::tpalette p{};
  EXPECT_DEATH(tarngr::mergepal(p, 10, p, 246), "limit broken");
  tarngr::mergepal(p, 10, p, 245);  // exactly at the limit is fine
}

}  // namespace
