// Eng3D: a very small 3D engine for point sprites.
//
// Points live in arrays of tpoint3d; scenes move and rotate copies of them
// and splat each one as a small square dot with a fixed perspective
// projection (focal factors 320 and 200, centre (160, 100), camera at the
// origin looking along +z). No depth sorting: later dots overwrite earlier
// ones. Stored reals are single; the rotation stores every intermediate as
// single, the projection works in extended precision.
// Depends on: tarngr (bitmaps, putpixel), runtime (trunc).
#pragma once

#include <cstdint>

#include "tarngr/tarngr.h"

namespace Eng3D {

using tarngr::tbitmap;

// ---- types ---------------------------------------------------------------

#pragma pack(push, 1)
struct tpoint3d {
  float x, y, z;
  uint8_t colour;
};
#pragma pack(pop)
static_assert(sizeof(tpoint3d) == 13);

struct tvector {
  float x, y, z;
};
static_assert(sizeof(tvector) == 12);

// ---- globals -------------------------------------------------------------

// Degrees to radians: pi/180 rounded to single, the one value every angle
// of the show is converted with.
inline constexpr float degtorad = 0.01745329238474369f;

// Focal factors and screen centre of the projection, whatever the target.
inline constexpr int32_t focalx = 320, focaly = 200;
inline constexpr int32_t centrex = 160, centrey = 100;

// The fountain's particles, entries 1..450 used. Written by
// tools::spawnparticle and the table building; scene 9 moves them.
constexpr int fountaincount = 450;
extern tpoint3d fountainpos[fountaincount + 1];
extern tvector fountainvel[fountaincount + 1];

// ---- operations ----------------------------------------------------------

void setpoint(tpoint3d& point, uint8_t colour, float x, float y, float z);

// Rotates source about (cx, cy, cz) by a1 (x axis), a2 (y axis), a3 (z
// axis), in degrees, and writes it with the source's colour to dest.
// Source and dest may be the same record.
void rotatepoint(const tpoint3d& source, tpoint3d& dest, float cx, float cy, float cz, float a1, float a2,
                 float a3);

// The sines and cosines of a rotation's three angles, for callers that turn
// many points by the same angles: rotatewith(..., makerotation(a1, a2, a3))
// is rotatepoint(..., a1, a2, a3), bit for bit.
struct trotation {
  float s1, c1, s2, c2, s3, c3;
};
trotation makerotation(float a1, float a2, float a3);
void rotatewith(const tpoint3d& source, tpoint3d& dest, float cx, float cy, float cz, const trotation& r);

void movepoint(tpoint3d& point, float dx, float dy, float dz);

// Projects the point; true with the screen position when it lies in front
// of the camera and at least 4 pixels inside every edge of a bitmap of the
// given size (so a whole dot fits).
bool projectpoint(const tpoint3d& point, int32_t width, int32_t height, int32_t& sx, int32_t& sy);

// A 5x5 square at the projected position, in the point's colour.
void drawbigdot(tbitmap& target, const tpoint3d& point);
// A 2-wide, 4-high block at the projected position.
void drawdot(tbitmap& target, const tpoint3d& point);

}  // namespace Eng3D
