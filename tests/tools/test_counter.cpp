// The row counter: one- and two-digit layouts, transparency, 100 and up.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tools/counter.h"
#include "tools/stores.h"

namespace {

TEST(Counter, OneDigitIsAWholeCellTwoAreMiddleSlicesTwentyApartHundredIsNothing) {
  tools::initmemory();
  tools::counter.width = 200;
  tools::counter.height = 30;
  // Cell d: background 69, a block of colour 100 + d at cell columns 5..14
  // and rows 5..24, and border columns 0 and 19 of colour 200.
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 200; ++x) {
      const int d = x / 20, cx = x % 20;
      uint8_t v = (cx >= 5 && cx < 15 && y >= 5 && y < 25) ? static_cast<uint8_t>(100 + d) : 69;
      tools::counter.pixels[y * 200 + x] = (cx == 0 || cx == 19) ? 200 : v;
    }
  std::vector<uint8_t> store;
  tarngr::tbitmap target;
  // Draws n on a cleared 320x200 target; returns how many pixels it painted.
  auto draw = [&](uint16_t x, uint16_t y, uint8_t n) {
    store.assign(320 * 200, 0);
    tarngr::initbitmap(target, 320, 200, store.data());
    tarngr::transcolor = 0;
    tools::drawcounter(x, y, n, target);
    EXPECT_EQ(tarngr::transcolor, 69) << +n;
    return std::count_if(store.begin(), store.end(), [](uint8_t v) { return v != 0; });
  };
  auto at = [&](int x, int y) { return store[y * 320 + x]; };
  EXPECT_EQ(draw(100, 50, 7), 10 * 20 + 2 * 30);  // the background is not drawn
  EXPECT_EQ(at(105, 55), 107);
  EXPECT_EQ(at(119, 79), 200);  // border column 19
  EXPECT_EQ(draw(100, 50, 70), 2 * 10 * 20);  // no border columns
  EXPECT_EQ(at(104, 55), 107);  // cell columns 1..16 from x 100: the block at 104
  EXPECT_EQ(at(124, 55), 100);  // digit 0 from x 120
  EXPECT_EQ(draw(0, 0, 100), 0);
}

}  // namespace
