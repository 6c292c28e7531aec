// The row counter: layouts of one and two digits, transparency, clipping.
#include <gtest/gtest.h>

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
    // Cell d: background 69, a 10x20 block of colour 100 + d at cell
    // columns 5..14 and rows 5..24, and border columns 0 and 19 of colour 200.
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 200; ++x) {
        const int d = x / 20, cx = x % 20;
        uint8_t v = 69;
        if (cx >= 5 && cx < 15 && y >= 5 && y < 25) v = static_cast<uint8_t>(100 + d);
        if (cx == 0 || cx == 19) v = 200;  // only a whole cell shows these
        tools::counter.pixels[y * 200 + x] = v;
      }
    tarngr::initbitmap(target, 320, 200, store.data());
    tarngr::transcolor = 0;
  }
  uint8_t at(int x, int y) const { return store[y * 320 + x]; }
  int painted() const {
    int n = 0;
    for (uint8_t v : store) n += v != 0;
    return n;
  }
};

TEST_F(Counter, OneDigitIsAWholeCell) {
  tools::drawcounter(100, 50, 7, target);
  EXPECT_EQ(tarngr::transcolor, 69);
  EXPECT_EQ(at(105, 55), 107);
  EXPECT_EQ(at(114, 74), 107);
  EXPECT_EQ(at(100, 50), 200);  // border column 0 of the cell
  EXPECT_EQ(at(119, 79), 200);  // border column 19
  EXPECT_EQ(at(101, 50), 0);    // background is not drawn
  EXPECT_EQ(painted(), 10 * 20 + 2 * 30);
}

TEST_F(Counter, TwoDigitsAreSlicesTwentyApart) {
  tools::drawcounter(100, 50, 70, target);
  EXPECT_EQ(tarngr::transcolor, 69);
  // Slice of 7: cell columns 1..16 at x 100..115; the block starts at cell
  // column 5, so at x 104.
  EXPECT_EQ(at(104, 55), 107);
  EXPECT_EQ(at(103, 55), 0);
  // Slice of 0 at x 120..135.
  EXPECT_EQ(at(124, 55), 100);
  EXPECT_EQ(at(133, 74), 100);
  // No border columns: column 0 and 19 of a cell are outside the slices.
  for (int y = 50; y < 80; ++y)
    for (int x = 90; x < 150; ++x) ASSERT_NE(at(x, y), 200) << x << "," << y;
  EXPECT_EQ(painted(), 2 * 10 * 20);
  EXPECT_EQ(tools::digitcell.width, 16);
  EXPECT_EQ(tools::digitcell.height, 30);
}

TEST_F(Counter, HundredDrawsNothing) {
  for (int n : {100, 255}) {
    tarngr::transcolor = 3;
    tools::drawcounter(0, 0, static_cast<uint8_t>(n), target);
    EXPECT_EQ(tarngr::transcolor, 69);
  }
  EXPECT_EQ(painted(), 0);
}

TEST_F(Counter, DigitsAreClippedAtTheEdge) {
  tools::drawcounter(310, 190, 99, target);
  EXPECT_EQ(at(314, 195), 109);  // the first slice's block from x 314
  EXPECT_EQ(painted(), 6 * 5);   // columns 314..319, rows 195..199
}

}  // namespace
