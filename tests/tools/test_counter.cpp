// The row counter: one- and two-digit layouts, transparency, clipping.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tools/counter.h"
#include "tools/stores.h"

namespace {

class Counter : public ::testing::Test {
 protected:
  std::vector<uint8_t> store = std::vector<uint8_t>(320 * 200, 0);
  tarngr::tbitmap target;

  void SetUp() override {
    tools::initmemory();
    tools::counter.width = 200;
    tools::counter.height = 30;
    // Cell d: background 69, a block of colour 100 + d at cell columns
    // 5..14 and rows 5..24, and border columns 0 and 19 of colour 200.
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 200; ++x) {
        const int d = x / 20, cx = x % 20;
        uint8_t v = (cx >= 5 && cx < 15 && y >= 5 && y < 25) ? static_cast<uint8_t>(100 + d) : 69;
        if (cx == 0 || cx == 19) v = 200;
        tools::counter.pixels[y * 200 + x] = v;
      }
    tarngr::initbitmap(target, 320, 200, store.data());
    tarngr::transcolor = 0;
  }
  uint8_t at(int x, int y) const { return store[y * 320 + x]; }
  long painted() const { return std::count_if(store.begin(), store.end(), [](uint8_t v) { return v != 0; }); }
};

TEST_F(Counter, OneDigitIsAWholeCell) {
  tools::drawcounter(100, 50, 7, target);
  EXPECT_EQ(tarngr::transcolor, 69);
  EXPECT_EQ(at(105, 55), 107);
  EXPECT_EQ(at(119, 79), 200);  // border column 19
  EXPECT_EQ(painted(), 10 * 20 + 2 * 30);  // the background is not drawn
}

TEST_F(Counter, TwoDigitsAreMiddleSlicesTwentyApart) {
  tools::drawcounter(100, 50, 70, target);
  EXPECT_EQ(tarngr::transcolor, 69);
  EXPECT_EQ(at(104, 55), 107);  // cell columns 1..16 from x 100: the block at 104
  EXPECT_EQ(at(124, 55), 100);  // digit 0 from x 120
  EXPECT_EQ(painted(), 2 * 10 * 20);  // no border columns
}

TEST_F(Counter, HundredDrawsNothingAndEdgesClip) {
  tools::drawcounter(0, 0, 100, target);
  EXPECT_EQ(tarngr::transcolor, 69);
  EXPECT_EQ(painted(), 0);
  tools::drawcounter(310, 190, 99, target);
  EXPECT_EQ(at(314, 195), 109);
  EXPECT_EQ(painted(), 6 * 5);  // columns 314..319, rows 195..199
}

}  // namespace
