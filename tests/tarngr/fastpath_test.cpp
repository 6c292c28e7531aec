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

class FastPath : public ::testing::Test {
 protected:
  std::mt19937 rng{20261206};
  void TearDown() override { tarngr::transcolor = 0; }

  int range(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

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
  void picktranscolor() {
    const int kind = range(0, 2);
    tarngr::transcolor = kind == 0 ? 0 : kind == 1 ? static_cast<uint8_t>(range(0, 4) * 37)
                                                   : static_cast<uint8_t>(range(0, 255));
  }
};

TEST_F(FastPath, ScaledBlitsMatchOnRandomRectangles) {
  for (int trial = 0; trial < 600; ++trial) {
    tcanvas src(static_cast<uint16_t>(range(0, 3) == 0 ? range(0, 3) : range(1, 90)),
                static_cast<uint16_t>(range(0, 3) == 0 ? range(0, 3) : range(1, 90)));
    scribble(src, 6);
    tpair d = destination(static_cast<uint16_t>(range(1, 120)), static_cast<uint16_t>(range(1, 120)));
    // Rectangles inside, across every edge and wholly outside; spans from
    // one pixel (strong minification) to several times the source.
    const int32_t x1 = range(-150, 140), y1 = range(-150, 140);
    const int32_t x2 = x1 + range(1, 300), y2 = y1 + range(1, 300);
    picktranscolor();
    const bool blit = trial % 2 == 0;
    if (blit) {
      tarngr::scaleblit(src.bm, x1, y1, x2, y2, d.fast.bm);
      tarngr::plain::scaleblit(src.bm, x1, y1, x2, y2, d.plain.bm);
    } else {
      tarngr::scalecopy(src.bm, x1, y1, x2, y2, d.fast.bm);
      tarngr::plain::scalecopy(src.bm, x1, y1, x2, y2, d.plain.bm);
    }
    ASSERT_EQ(d.fast.store, d.plain.store)
        << (blit ? "scaleblit " : "scalecopy ") << src.bm.width << "x" << src.bm.height << " onto (" << x1
        << "," << y1 << ")-(" << x2 << "," << y2 << ") of " << d.fast.bm.width << "x" << d.fast.bm.height
        << ", transcolor " << int(tarngr::transcolor);
  }
}

TEST_F(FastPath, ScaledBlitsMatchOnWholeFrames) {
  tcanvas frame(320, 200), big(640, 480);
  scribble(frame, 256);
  scribble(big, 256);
  struct tcase {
    const tcanvas& src;
    uint16_t w, h;
    int32_t x1, y1, x2, y2;
  };
  const tcase cases[] = {
      {frame, 640, 480, 0, 0, 640, 480},  {frame, 320, 200, 0, 0, 320, 200}, {big, 320, 200, 0, 0, 320, 200},
      {frame, 320, 200, -37, 11, 301, 170}, {frame, 320, 200, 5, -90, 700, 333},
  };
  // Far left of and far above the destination: the running sums stop
  // moving long before the visible part, which then samples where they stopped.
  struct tfar {
    int32_t x1, y1, x2, y2;
  };
  for (const tfar& f : {tfar{-40000000, 3, 60, 4}, tfar{5, -30000000, 6, 40}}) {
    tcanvas small(3, 3);
    scribble(small, 256);
    tpair d = destination(64, 64);
    tarngr::scalecopy(small.bm, f.x1, f.y1, f.x2, f.y2, d.fast.bm);
    tarngr::plain::scalecopy(small.bm, f.x1, f.y1, f.x2, f.y2, d.plain.bm);
    ASSERT_EQ(d.fast.store, d.plain.store) << f.x1 << "," << f.y1;
  }
  for (const auto& c : cases)
    for (int blit = 0; blit < 2; ++blit) {
      tpair d = destination(c.w, c.h);
      tarngr::transcolor = 37;
      if (blit) {
        tarngr::scaleblit(c.src.bm, c.x1, c.y1, c.x2, c.y2, d.fast.bm);
        tarngr::plain::scaleblit(c.src.bm, c.x1, c.y1, c.x2, c.y2, d.plain.bm);
      } else {
        tarngr::scalecopy(c.src.bm, c.x1, c.y1, c.x2, c.y2, d.fast.bm);
        tarngr::plain::scalecopy(c.src.bm, c.x1, c.y1, c.x2, c.y2, d.plain.bm);
      }
      ASSERT_EQ(d.fast.store, d.plain.store) << c.x1 << "," << c.y1 << "-" << c.x2 << "," << c.y2;
    }
}

TEST_F(FastPath, SpriteblitMatchesAtRandomPositions) {
  for (int trial = 0; trial < 600; ++trial) {
    tcanvas src(static_cast<uint16_t>(range(0, 70)), static_cast<uint16_t>(range(0, 70)));
    scribble(src, 4);
    tpair d = destination(static_cast<uint16_t>(range(1, 100)), static_cast<uint16_t>(range(1, 100)));
    const int32_t x = range(-80, 110), y = range(-80, 110);
    picktranscolor();
    tarngr::spriteblit(x, y, src.bm, d.fast.bm);
    tarngr::plain::spriteblit(x, y, src.bm, d.plain.bm);
    ASSERT_EQ(d.fast.store, d.plain.store) << src.bm.width << "x" << src.bm.height << " at " << x << "," << y
                                           << " on " << d.fast.bm.width << "x" << d.fast.bm.height;
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
    switch (trial % 3) {
      case 0:
        tarngr::scalecopy(d.fast.bm, x1, y1, x2, y2, d.fast.bm);
        tarngr::plain::scalecopy(d.plain.bm, x1, y1, x2, y2, d.plain.bm);
        break;
      case 1:
        tarngr::scaleblit(d.fast.bm, x1, y1, x2, y2, d.fast.bm);
        tarngr::plain::scaleblit(d.plain.bm, x1, y1, x2, y2, d.plain.bm);
        break;
      default:
        tarngr::spriteblit(x1, y1, d.fast.bm, d.fast.bm);
        tarngr::plain::spriteblit(x1, y1, d.plain.bm, d.plain.bm);
    }
    ASSERT_EQ(d.fast.store, d.plain.store) << "trial " << trial;
  }
  // Overlapping but offset stores: a sprite taken from a few rows lower.
  tpair d = destination(64, 48);
  tarngr::tbitmap lowerfast, lowerplain;
  tarngr::initbitmap(lowerfast, 64, 40, d.fast.bm.pixels + 64 * 5 + 3);
  tarngr::initbitmap(lowerplain, 64, 40, d.plain.bm.pixels + 64 * 5 + 3);
  tarngr::transcolor = 0;
  tarngr::spriteblit(2, 1, lowerfast, d.fast.bm);
  tarngr::plain::spriteblit(2, 1, lowerplain, d.plain.bm);
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
    if (trial % 4 < 2) {
      tarngr::blur(fast.data(), n);
      tarngr::plain::blur(plain.data(), n);
    } else {
      tarngr::blurfade(fast.data(), n);
      tarngr::plain::blurfade(plain.data(), n);
    }
    ASSERT_EQ(fast, plain) << "n = " << n << ", trial " << trial;
  }
}

}  // namespace
