// plasma: the fractal plasma cloud.
//
// Fills plasmabuf (320x200 bytes, row * 320 + column) by recursive midpoint
// subdivision with random displacement. 0 means "not yet set"; every value
// written is 1..255, so only a corner seeded with 0 can stay 0.
// Depends on: runtime (random, round), tarngr (row offsets).
#pragma once

#include <cstdint>

namespace tools {

// ---- globals -------------------------------------------------------------

constexpr int plasmawidth = 320, plasmaheight = 200;
extern uint8_t plasmabuf[plasmawidth * plasmaheight];
// The roughness: set by plasma, read by plasmapoint.
extern int32_t plasmarough;

// ---- operations ----------------------------------------------------------

// Clears the buffer, seeds the four corners (0,0), (319,0), (319,199),
// (0,199) with Random(255) each, and subdivides the whole buffer.
void plasma(int32_t rough);

// Subdivides the rectangle (x1, y1)-(x2, y2), corners inclusive, until
// neither side spans 2 or more. Coordinates must lie inside the buffer.
void plasmadivide(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t depth);

// Sets pixel (tx, ty) from its neighbours (ax, ay) and (bx, by) unless it is
// already set, and returns its value.
int32_t plasmapoint(int32_t ax, int32_t ay, int32_t tx, int32_t ty, int32_t bx, int32_t by, int32_t depth);

// The displacement divisor: x squared n - 1 times (x to the 2^(n-1)) when
// x > 1 and n >= 2, else x; never 0.
double power(int32_t n, double x);

}  // namespace tools
