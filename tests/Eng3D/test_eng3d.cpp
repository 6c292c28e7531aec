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

tpoint3d point(float x, float y, float z, uint8_t colour = 7) {
  tpoint3d p;
  Eng3D::setpoint(p, colour, x, y, z);
  return p;
}

// Draws one dot on a clear 320x200 bitmap; returns the painted pixels'
// count and bounding box.
struct tpainted {
  int count = 0, x0 = 999, y0 = 999, x1 = -1, y1 = -1;
};
tpainted paint(const tpoint3d& p, bool big = true) {
  std::vector<uint8_t> store(320 * 200, 0);
  tarngr::tbitmap bm;
  tarngr::initbitmap(bm, 320, 200, store.data());
  big ? Eng3D::drawbigdot(bm, p) : Eng3D::drawdot(bm, p);
  tpainted r;
  for (int k = 0; k < 320 * 200; ++k)
    if (store[k] == p.colour) {
      const int x = k % 320, y = k / 320;
      ++r.count, r.x0 = std::min(r.x0, x), r.y0 = std::min(r.y0, y), r.x1 = std::max(r.x1, x),
          r.y1 = std::max(r.y1, y);
    }
  return r;
}

TEST(Projection, DotShapesAtTheCentreAndTruncationTowardZero) {
  const tpainted big = paint(point(0, 0, 1)), small = paint(point(0, 0, 1), false);
  EXPECT_TRUE(big.count == 25 && big.x0 == 160 && big.y0 == 100 && big.x1 == 164 && big.y1 == 104);
  EXPECT_TRUE(small.count == 8 && small.x1 == 161 && small.y1 == 103);
  // The single -0.01 is a hair above -0.01: 320x = -3.2 -> -3 and
  // 200y = -1.99999996 -> -1; flooring would give 156 and 98.
  int32_t sx = 0, sy = 0;
  ASSERT_TRUE(Eng3D::projectpoint(point(-0.01f, -0.01f, 1), 320, 200, sx, sy));
  EXPECT_TRUE(sx == 157 && sy == 99) << sx << "," << sy;
}

TEST(Projection, MarginsKeepTheWholeDotInside) {
  // With z = 320 (x) or 200 (y) a coordinate of n lands n pixels off centre.
  const struct {
    float x, y, z;
    int count;
  } cases[] = {{155, 0, 320, 25}, {156, 0, 320, 0}, {-156, 0, 320, 25}, {-157, 0, 320, 0},
               {0, 95, 200, 25},  {0, 96, 200, 0},  {0, -96, 200, 25},  {0, -97, 200, 0}};
  for (const auto& t : cases) EXPECT_EQ(paint(point(t.x, t.y, t.z)).count, t.count) << t.x << "," << t.y;
  EXPECT_EQ(paint(point(155, 0, 320)).x1, 319);
  int32_t sx, sy;  // the margin follows the target's size
  EXPECT_FALSE(Eng3D::projectpoint(point(0, 0, 1), 100, 100, sx, sy));
}

TEST(Projection, NothingOnOrBehindTheCameraOrFarOff) {
  for (const tpoint3d& p : {point(0, 0, 0), point(0, 0, -1), point(0, 0, -0.0f), point(1, 1, 1e-38f),
                            point(NAN, 0, 1), point(0, 0, NAN)})
    EXPECT_EQ(paint(p).count, 0);
}

TEST(Rotation, IdentitiesQuarterTurnAndInPlace) {
  auto same = [](const tpoint3d& a, const tpoint3d& b) { return a.x == b.x && a.y == b.y && a.z == b.z; };
  tpoint3d p = point(0.25f, -0.5f, 0.9f, 33), q;
  Eng3D::rotatepoint(p, q, 0, 0, 0.95f, 0, 0, 0);
  EXPECT_TRUE(same(q, p) && q.colour == 33);
  Eng3D::rotatepoint(p, q, p.x, p.y, p.z, 37, 123, 290);  // about the point itself
  EXPECT_TRUE(same(q, p));
  Eng3D::rotatepoint(point(2, 1, 5), q, 1, 1, 5, 0, 0, 90);  // about z: +x goes to +y
  EXPECT_NEAR(+q.x, 1, 1e-6);
  EXPECT_NEAR(+q.y, 2, 1e-6);
  Eng3D::rotatepoint(p, q, 0, 0, 0.95f, 322, 322, 322);
  Eng3D::rotatepoint(p, p, 0, 0, 0.95f, 322, 322, 322);  // source and dest the same record
  EXPECT_TRUE(same(q, p));
}

}  // namespace
