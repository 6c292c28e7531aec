// Projection, margins and rotation of the point engine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "Eng3D/Eng3D.h"

// The point records are packed: their fields are read by value (+p.x), so
// no reference ever binds to a misaligned member.
namespace {

using Eng3D::tpoint3d;

struct canvas {
  std::vector<uint8_t> store = std::vector<uint8_t>(320 * 200, 0);
  tarngr::tbitmap bm;
  canvas() { tarngr::initbitmap(bm, 320, 200, store.data()); }
  // Bounding box and count of the pixels that are not 0.
  int count = 0, x0 = 9999, y0 = 9999, x1 = -1, y1 = -1;
  void scan() {
    count = 0;
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 320; ++x)
        if (store[y * 320 + x]) {
          ++count;
          x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
        }
  }
};

tpoint3d point(float x, float y, float z, uint8_t colour = 7) {
  tpoint3d p;
  Eng3D::setpoint(p, colour, x, y, z);
  return p;
}

TEST(Projection, CentrePointCoversFiveByFiveFromTheCentre) {
  canvas c;
  Eng3D::drawbigdot(c.bm, point(0, 0, 1, 9));
  c.scan();
  EXPECT_EQ(c.count, 25);
  EXPECT_EQ(c.x0, 160);
  EXPECT_EQ(c.y0, 100);
  EXPECT_EQ(c.x1, 164);
  EXPECT_EQ(c.y1, 104);
  EXPECT_EQ(c.store[100 * 320 + 160], 9);
}

TEST(Projection, SmallDotIsTwoWideFourHigh) {
  canvas c;
  Eng3D::drawdot(c.bm, point(0, 0, 1));
  c.scan();
  EXPECT_EQ(c.count, 8);
  EXPECT_EQ(c.x1 - c.x0, 1);
  EXPECT_EQ(c.y1 - c.y0, 3);
}

TEST(Projection, TruncatesTowardZero) {
  // 320 * -0.01 = -3.2: toward zero gives column 157, flooring would give 156.
  int32_t sx = 0, sy = 0;
  ASSERT_TRUE(Eng3D::projectpoint(point(-0.01f, -0.01f, 1), 320, 200, sx, sy));
  EXPECT_EQ(sx, 157);
  EXPECT_EQ(sy, 99);  // the single -0.01 is a hair above it: 200 * y = -1.99999996 -> -1
}

TEST(Projection, MarginsKeepTheWholeDotInside) {
  // With z = 320 (x) or z = 200 (y), a coordinate of n lands n pixels off centre.
  struct tcase {
    float x, y, z;
    bool drawn;
  };
  const tcase cases[] = {
      {155, 0, 320, true},    // sx 315: the last column that draws
      {156, 0, 320, false},   // sx 316
      {-156, 0, 320, true},   // sx 4
      {-157, 0, 320, false},  // sx 3
      {0, 95, 200, true},     // sy 195
      {0, 96, 200, false},    // sy 196
      {0, -96, 200, true},    // sy 4
      {0, -97, 200, false},   // sy 3
  };
  for (const tcase& t : cases) {
    canvas c;
    Eng3D::drawbigdot(c.bm, point(t.x, t.y, t.z));
    c.scan();
    EXPECT_EQ(c.count, t.drawn ? 25 : 0) << t.x << "," << t.y;
    if (t.drawn && t.x == 155) {
      EXPECT_EQ(c.x1, 319);
    }
    if (t.drawn && t.y == 95) {
      EXPECT_EQ(c.y1, 199);
    }
  }
}

TEST(Projection, MarginFollowsTheTargetSize) {
  // A 100x100 bitmap: the centre (160, 100) is already outside its margin.
  std::vector<uint8_t> store(100 * 100, 0);
  tarngr::tbitmap small;
  tarngr::initbitmap(small, 100, 100, store.data());
  Eng3D::drawbigdot(small, point(0, 0, 1));
  int32_t sx, sy;
  EXPECT_TRUE(Eng3D::projectpoint(point(-0.4f, -0.4f, 1), 100, 100, sx, sy));
  EXPECT_EQ(sx, 32);
  EXPECT_EQ(sy, 20);
  Eng3D::drawbigdot(small, point(-0.4f, -0.4f, 1));
  int count = 0;
  for (uint8_t v : store) count += v != 0;
  EXPECT_EQ(count, 25);
}

TEST(Projection, PointsOnOrBehindTheCameraOrOddDrawNothing) {
  canvas c;
  Eng3D::drawbigdot(c.bm, point(0, 0, 0));
  Eng3D::drawbigdot(c.bm, point(0, 0, -1));
  Eng3D::drawbigdot(c.bm, point(0, 0, -0.0f));
  Eng3D::drawbigdot(c.bm, point(1, 1, 1e-38f));  // projects billions of pixels away
  Eng3D::drawbigdot(c.bm, point(NAN, 0, 1));
  Eng3D::drawbigdot(c.bm, point(0, 0, NAN));
  Eng3D::drawdot(c.bm, point(0, 0, INFINITY));  // lands on the centre: 0 / inf
  c.scan();
  EXPECT_EQ(c.count, 8);
}

TEST(Rotation, ZeroAnglesAndCentreOnThePointLeaveItUnchanged) {
  const tpoint3d p = point(0.25f, -0.5f, 0.9f, 33);
  tpoint3d q;
  Eng3D::rotatepoint(p, q, 0, 0, 0.95f, 0, 0, 0);
  EXPECT_EQ(+q.x, +p.x);
  EXPECT_EQ(+q.y, +p.y);
  EXPECT_EQ(+q.z, +p.z);
  EXPECT_EQ(+q.colour, 33);
  Eng3D::rotatepoint(p, q, p.x, p.y, p.z, 37, 123, 290);
  EXPECT_EQ(+q.x, +p.x);
  EXPECT_EQ(+q.y, +p.y);
  EXPECT_EQ(+q.z, +p.z);
}

TEST(Rotation, QuarterTurnsFollowTheAxes) {
  tpoint3d q;
  // About x: +y goes to +z.
  Eng3D::rotatepoint(point(0, 1, 0), q, 0, 0, 0, 90, 0, 0);
  EXPECT_NEAR(+q.x, 0, 1e-6);
  EXPECT_NEAR(+q.y, 0, 1e-6);
  EXPECT_NEAR(+q.z, 1, 1e-6);
  // About y: +x goes to +z.
  Eng3D::rotatepoint(point(1, 0, 0), q, 0, 0, 0, 0, 90, 0);
  EXPECT_NEAR(+q.x, 0, 1e-6);
  EXPECT_NEAR(+q.z, 1, 1e-6);
  // About z: +x goes to +y; about a centre other than the origin.
  Eng3D::rotatepoint(point(2, 1, 5), q, 1, 1, 5, 0, 0, 90);
  EXPECT_NEAR(+q.x, 1, 1e-6);
  EXPECT_NEAR(+q.y, 2, 1e-6);
  EXPECT_NEAR(+q.z, 5, 1e-6);
}

TEST(Rotation, InPlaceEqualsIntoAnotherRecord) {
  tpoint3d p = point(0.3f, 0.1f, 0.8f, 5), q;
  Eng3D::rotatepoint(p, q, 0, 0, 0.95f, 322, 322, 322);
  Eng3D::rotatepoint(p, p, 0, 0, 0.95f, 322, 322, 322);
  EXPECT_EQ(+p.x, +q.x);
  EXPECT_EQ(+p.y, +q.y);
  EXPECT_EQ(+p.z, +q.z);
  EXPECT_EQ(+p.colour, 5);
  // Rotation keeps the distance from the centre.
  const double before = std::hypot(0.3, 0.1, 0.8 - 0.95), after = std::hypot(+q.x, +q.y, +q.z - 0.95);
  EXPECT_NEAR(after, before, 1e-6);
}

TEST(Rotation, MovePointAddsSingles) {
  tpoint3d p = point(1, 2, 3);
  Eng3D::movepoint(p, 0.5f, -1, 0.25f);
  EXPECT_EQ(+p.x, 1.5f);
  EXPECT_EQ(+p.y, 1.0f);
  EXPECT_EQ(+p.z, 3.25f);
}

}  // namespace
