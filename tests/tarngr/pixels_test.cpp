// Pixel access at the bitmap's edges, and lines.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "support/canvas.h"
#include "tarngr/tarngr.h"

namespace {

using testsupport::tcanvas;
using tpoints = std::set<std::pair<int, int>>;

// The positions that differ from the background colour.
tpoints drawn(const tcanvas& cv, uint8_t background = 0) {
  tpoints p;
  for (int y = 0; y < cv.bm.height; ++y)
    for (int x = 0; x < cv.bm.width; ++x)
      if (cv.at(x, y) != background) p.insert({x, y});
  return p;
}

TEST(Pixels, ReadsAndWritesStopAtEveryEdge) {
  tcanvas cv(320, 200, 7);
  const std::pair<int32_t, int32_t> outside[] = {{-1, 0},  {0, -1},  {320, 0},        {0, 200},
                                                 {-1, -1}, {320, 5}, {INT32_MIN, 0}, {5, INT32_MAX}};
  for (const auto& [x, y] : outside) {
    EXPECT_EQ(tarngr::getpixel(x, y, cv.bm), 0) << x << "," << y;
    tarngr::putpixel(x, y, 99, cv.bm);
  }
  EXPECT_EQ(cv.countnot(7), 0u);
  EXPECT_TRUE(cv.guardsintact());

  tarngr::putpixel(319, 199, 42, cv.bm);
  EXPECT_EQ(cv.bm.pixels[63999], 42);
  EXPECT_EQ(tarngr::getpixel(319, 199, cv.bm), 42);
  tarngr::putpixel(0, 0, 43, cv.bm);
  EXPECT_EQ(cv.bm.pixels[0], 43);
  tarngr::putpixel(319, 0, 44, cv.bm);
  EXPECT_EQ(tarngr::getpixel(319, 0, cv.bm), 44);
  EXPECT_EQ(cv.countnot(7), 3u);

  // A bitmap of another width: rows are exactly width bytes, with no wrap.
  uint8_t store[6] = {1, 2, 3, 4, 5, 6};
  tarngr::tbitmap bm;
  bm.colors = 17;
  tarngr::initbitmap(bm, 3, 2, store);
  EXPECT_EQ(bm.colors, 17);  // initbitmap keeps the colour count
  EXPECT_EQ(tarngr::getpixel(0, 1, bm), 4);
  EXPECT_EQ(tarngr::getpixel(3, 0, bm), 0);
}

TEST(Lines, ShortLinesHitTheExpectedPixels) {
  struct tcase {
    int x1, y1, x2, y2;
    tpoints expected;
  };
  const tpoints shallow{{0, 0}, {1, 0}, {2, 1}, {3, 1}}, diagonal{{0, 0}, {1, 1}, {2, 2}, {3, 3}};
  const tcase cases[] = {
      {5, 5, 5, 5, {}},  // zero length draws nothing
      {0, 0, 3, 1, shallow},  {3, 1, 0, 0, shallow},  {0, 0, 3, 3, diagonal}, {3, 3, 0, 0, diagonal},
      {0, 0, 2, 1, {{0, 0}, {1, 1}, {2, 1}}},          // a tie steps diagonally
      {0, 0, 1, 3, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},  // steep
      {2, 4, 2, 1, {{2, 1}, {2, 2}, {2, 3}, {2, 4}}},  // vertical, upwards
      {6, 2, 3, 2, {{3, 2}, {4, 2}, {5, 2}, {6, 2}}},  // horizontal, leftwards
      {1, 0, 0, 0, {{0, 0}, {1, 0}}},                  // two pixels
  };
  for (const auto& c : cases) {
    tcanvas cv(16, 16);
    tarngr::drawline(cv.bm, static_cast<int16_t>(c.x1), static_cast<int16_t>(c.y1),
                     static_cast<int16_t>(c.x2), static_cast<int16_t>(c.y2), 1);
    EXPECT_EQ(drawn(cv), c.expected) << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2;
  }
}

TEST(Lines, AreClippedPixelByPixelAndLongOnesStayStraight) {
  // A line that starts and ends outside still draws the part inside.
  tcanvas diag(20, 20);
  tarngr::drawline(diag.bm, -5, -5, 25, 25, 1);
  tpoints d;
  for (int i = 0; i < 20; ++i) d.insert({i, i});
  EXPECT_EQ(drawn(diag), d);
  EXPECT_TRUE(diag.guardsintact());

  // Spans beyond what a 16-bit error term can hold.
  tcanvas cv(320, 200);
  tarngr::drawline(cv.bm, -20000, 5, 20000, 5, 1);
  tarngr::drawline(cv.bm, 7, 30000, 7, -30000, 2);
  tpoints expected;
  for (int x = 0; x < 320; ++x) expected.insert({x, 5});
  for (int y = 0; y < 200; ++y) expected.insert({7, y});
  EXPECT_EQ(drawn(cv), expected);
  EXPECT_EQ(cv.at(7, 5), 2);
  EXPECT_TRUE(cv.guardsintact());
}

TEST(Lines, VerticalLineTakesItsYValuesFirst) {
  tcanvas cv(320, 200, 9);
  tarngr::drawvline(cv.bm, 0, 199, 0, 0);
  for (int y = 0; y < 200; ++y) EXPECT_EQ(cv.at(0, y), 0) << y;
  EXPECT_EQ(cv.countnot(9), 200u);
  tcanvas part(10, 10);
  tarngr::drawvline(part.bm, 6, 2, 4, 3);
  EXPECT_EQ(drawn(part), (tpoints{{4, 2}, {4, 3}, {4, 4}, {4, 5}, {4, 6}}));
}

}  // namespace
