// The fast blits and filters against the plain rules, byte for byte, on
// random pictures, rectangles and transparent colours.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "support/canvas.h"
#include "tarngr/plain.h"
#include "tarngr/tarngr.h"

namespace {

using testsupport::tcanvas;

struct tpair {
  tcanvas fast, plain;
};

enum class tblit { scalecopy, scaleblit, spriteblit };
const char* const opname[] = {"scalecopy", "scaleblit", "spriteblit"};

// One blit by the fast or the plain rule; a sprite takes only x1, y1.
void apply(tblit op, bool fast, const tarngr::tbitmap& src, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
           tarngr::tbitmap& dst) {
  switch (op) {
    case tblit::scalecopy:
      return fast ? tarngr::scalecopy(src, x1, y1, x2, y2, dst) : tarngr::plain::scalecopy(src, x1, y1, x2, y2, dst);
    case tblit::scaleblit:
      return fast ? tarngr::scaleblit(src, x1, y1, x2, y2, dst) : tarngr::plain::scaleblit(src, x1, y1, x2, y2, dst);
    case tblit::spriteblit:
      return fast ? tarngr::spriteblit(x1, y1, src, dst) : tarngr::plain::spriteblit(x1, y1, src, dst);
  }
}
void both(tblit op, const tarngr::tbitmap& src, int32_t x1, int32_t y1, int32_t x2, int32_t y2, tpair& d) {
  apply(op, true, src, x1, y1, x2, y2, d.fast.bm);
  apply(op, false, src, x1, y1, x2, y2, d.plain.bm);
}

class FastPath : public ::testing::Test {
 protected:
  std::mt19937 rng{20261206};
  void TearDown() override { tarngr::transcolor = 0; }

  int range(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
  // A bitmap side, now and then a degenerate one of 0..3 pixels.
  uint16_t side(int hi) { return static_cast<uint16_t>(range(0, 3) == 0 ? range(0, 3) : range(1, hi)); }

  // Few distinct values, so the transparent colour is hit often.
  void scribble(tcanvas& cv, int values) {
    for (size_t i = 0; i < cv.size(); ++i) cv.bm.pixels[i] = static_cast<uint8_t>(range(0, values - 1) * 37);
  }
  tpair destination(uint16_t w, uint16_t h) {
    tpair p{tcanvas(w, h), tcanvas(w, h)};
    scribble(p.fast, 5);
    p.plain.store = p.fast.store;
    return p;
  }
  // 0, one of the scribbled values, or any value.
  void picktranscolor() {
    const int kind = range(0, 2);
    tarngr::transcolor = static_cast<uint8_t>(kind == 0 ? 0 : kind == 1 ? range(0, 4) * 37 : range(0, 255));
  }
};

TEST_F(FastPath, BlitsMatchOnRandomRectangles) {
  for (int trial = 0; trial < 1800; ++trial) {
    tcanvas src(side(90), side(90));
    scribble(src, 6);
    tpair d = destination(static_cast<uint16_t>(range(1, 120)), static_cast<uint16_t>(range(1, 120)));
    // Rectangles and sprites inside, across every edge and wholly outside;
    // spans from one pixel (strong minification) to several times the source.
    const int32_t x1 = range(-150, 140), y1 = range(-150, 140);
    const int32_t x2 = x1 + range(1, 300), y2 = y1 + range(1, 300);
    picktranscolor();
    const auto op = static_cast<tblit>(trial % 3);
    both(op, src.bm, x1, y1, x2, y2, d);
    ASSERT_EQ(d.fast.store, d.plain.store) << opname[int(op)] << ", trial " << trial;  // the seed is fixed
  }
}

TEST_F(FastPath, ScaledBlitsMatchOnWholeFramesAndFarRectangles) {
  tcanvas frame(320, 200), big(640, 480), small(3, 3);
  scribble(frame, 256);
  scribble(big, 256);
  scribble(small, 256);
  struct tcase {
    const tcanvas& src;
    uint16_t w, h;
    int32_t x1, y1, x2, y2;
  };
  const tcase cases[] = {
      {frame, 640, 480, 0, 0, 640, 480},  {frame, 320, 200, 0, 0, 320, 200}, {big, 320, 200, 0, 0, 320, 200},
      {frame, 320, 200, -37, 11, 301, 170}, {frame, 320, 200, 5, -90, 700, 333},
      // Far left of and far above the destination: the running sums stop
      // moving long before the visible part, which then samples where they stopped.
      {small, 64, 64, -40000000, 3, 60, 4}, {small, 64, 64, 5, -30000000, 6, 40},
  };
  tarngr::transcolor = 37;
  for (const auto& c : cases)
    for (tblit op : {tblit::scalecopy, tblit::scaleblit}) {
      tpair d = destination(c.w, c.h);
      both(op, c.src.bm, c.x1, c.y1, c.x2, c.y2, d);
      ASSERT_EQ(d.fast.store, d.plain.store) << opname[int(op)] << " onto " << c.x1 << "," << c.y1;
    }
}

TEST_F(FastPath, BlitsWithinOneBitmapFollowThePlainOrder) {
  // Source and destination share their pixels: each read must see the
  // writes before it, exactly as the plain rule does.
  for (int trial = 0; trial < 60; ++trial) {
    tpair d = destination(64, 48);
    const int32_t x1 = range(-20, 40), y1 = range(-20, 30);
    const int32_t x2 = x1 + range(1, 90), y2 = y1 + range(1, 70);
    picktranscolor();
    const auto op = static_cast<tblit>(trial % 3);
    apply(op, true, d.fast.bm, x1, y1, x2, y2, d.fast.bm);
    apply(op, false, d.plain.bm, x1, y1, x2, y2, d.plain.bm);
    ASSERT_EQ(d.fast.store, d.plain.store) << opname[int(op)] << ", trial " << trial;
  }
  // Overlapping but offset stores: a sprite taken from a few rows lower.
  tpair d = destination(64, 48);
  tarngr::tbitmap lowerfast, lowerplain;
  tarngr::initbitmap(lowerfast, 64, 40, d.fast.bm.pixels + 64 * 5 + 3);
  tarngr::initbitmap(lowerplain, 64, 40, d.plain.bm.pixels + 64 * 5 + 3);
  tarngr::transcolor = 0;
  apply(tblit::spriteblit, true, lowerfast, 2, 1, 0, 0, d.fast.bm);
  apply(tblit::spriteblit, false, lowerplain, 2, 1, 0, 0, d.plain.bm);
  EXPECT_EQ(d.fast.store, d.plain.store);
}

TEST_F(FastPath, FiltersMatchOnRandomBuffers) {
  for (int trial = 0; trial < 40; ++trial) {
    const auto n = static_cast<uint16_t>(trial < 4 ? 63680 : range(320, 65535 - 321));
    std::vector<uint8_t> fast(static_cast<size_t>(n) + 321 + 64);
    // Small values reach 0 often, where the fading rule changes.
    const int top = trial % 2 ? 256 : 6;
    for (auto& b : fast) b = static_cast<uint8_t>(range(0, top - 1));
    std::vector<uint8_t> plain = fast;
    const bool fade = trial % 4 >= 2;
    (fade ? tarngr::blurfade : tarngr::blur)(fast.data(), n);
    (fade ? tarngr::plain::blurfade : tarngr::plain::blur)(plain.data(), n);
    ASSERT_EQ(fast, plain) << (fade ? "blurfade" : "blur") << ", n = " << n << ", trial " << trial;
  }
}

}  // namespace
