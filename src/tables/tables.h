// tables: everything the scenes look up, computed once at start-up.
//
// buildtables() runs between "Precalculating Tables..." and the music's
// start, after the pictures are loaded. It re-seeds the random generator and
// draws from it in a fixed order, so a fixed seed reproduces every table.
// It also rebuilds several picture palettes and shifts picture pixels so
// that pictures can share one palette, scales teil to the screen, converts
// scroll2 to grey levels and fills the fractal plasma. Scenes only read the
// tables, except the few holding moving state (cloud1, pixelcloud, the
// fountain, driftdots, workpal, the circle phase), which they change in place
// and which are never rebuilt, not even when the show loops.
// Depends on: tools (stores, clouds, plasma), Eng3D, tarngr, tarnpal, runtime.
#pragma once

#include <cstdint>

#include "Eng3D/Eng3D.h"
#include "tarnpal/tarnpal.h"

namespace tables {

using Eng3D::tpoint3d;
using Eng3D::tvector;
using tarnpal::tpalette;

// ---- types ---------------------------------------------------------------

#pragma pack(push, 1)
// One screen pixel flying off in the burst of scene 5.
struct tflypixel {
  uint8_t colour;
  int32_t x, y;
  int8_t dx, dy;
};
// One dot of scene 13; x is compared as unsigned there.
struct tdot {
  uint16_t x;
  uint8_t y;
  int8_t dx, dy;
};
#pragma pack(pop)
static_assert(sizeof(tflypixel) == 11);
static_assert(sizeof(tdot) == 5);

// ---- sizes -----------------------------------------------------------------

constexpr int framesize = 320 * 200;
constexpr int randcount = 64001;  // indices 0..64000
constexpr int pointcount = 451;   // indices 0..450
constexpr int driftcount = 1001;  // indices 0..1000

// ---- random tables (scenes 4, 9, 10) ----------------------------------------

extern int8_t randsign[randcount];  // -1, 0 or 1
extern uint8_t randbit[randcount];  // 0 or 1

// ---- angle/depth maps (scenes 1, 2, 11) ----------------------------------------
// map = Trunc(angle * 127/pi) + depth * 256, + 128 on rows 99..199.

extern int32_t polardepth[256], tunneldepth[256], swirldepth[256];
extern int32_t polarmap[framesize], tunnelmap[framesize], swirlmap[framesize];
extern int32_t polarshade[framesize], tunnelshade[framesize];

// ---- curves ----------------------------------------------------------------------

extern int16_t halfsine[256];    // Round(sin(i * 3.14 / 255) * 256), 0..256
extern int16_t atancurve[256];   // Round(atan(3i / 255) * 156)
extern uint8_t sinus63[512];     // Round(sin(i / 40.74) * 63 + 64)
extern uint8_t sinus27[256];     // Round(sin(i / 40.74) * 27 + 128)
extern int16_t squeezewidth[200];
extern uint16_t squeezemap[framesize];  // per-pixel source index of scene 12
extern int16_t widthramp[200];          // Round(i * 310 / 200 + 10), 10..318

// Offsets around a circle of radius 10 on a 320-wide bitmap (scene 5), the
// pointer scene 5 reads it through, and the phase it steps with: 0 at
// start-up and never reset afterwards.
extern int32_t circleofs[256];
extern int32_t* const circleofsptr;
extern uint8_t circlephase;

// ---- points and particles ------------------------------------------------------

extern tflypixel pixelcloud[framesize];
extern tpoint3d starfield[pointcount];  // entry 0 stays zero
extern tpoint3d cloud1[pointcount];     // the cube of scene 5, moved in place
extern tvector morphstep[pointcount];   // cube to coil in 400 steps
extern tvector fountainlaunch[450];
extern tdot driftdots[driftcount];

// ---- palettes ----------------------------------------------------------------------

extern tpalette polarpal, tunnelpal, swirlpal, scrollpal, bandpal, firepal, teilgrey;
// A working palette; scene 6 rebuilds part of it.
extern tpalette workpal;

// ---- operations ----------------------------------------------------------------------

// Builds every table in its fixed order. Needs initmemory() and the loaded
// pictures (teil, qelm1, corporat, proudly, presents, scroll1, geoboard,
// text, counter, eye1, scroll2 with their palettes). Cannot fail.
void buildtables();

// The map rule: for every pixel, angle and distance from (cx, cy), the
// vertical axis stretched by 1.6; the angle is negated when asked; shade
// (when given) gets depth / 8. buildmap shares the per-distance work between
// pixels; buildmapplain evaluates the rule pixel by pixel and is what the
// tests hold buildmap to.
void buildmap(int32_t cx, int32_t cy, const int32_t (&depth)[256], bool negate, int32_t (&map)[framesize],
              int32_t* shade);
void buildmapplain(int32_t cx, int32_t cy, const int32_t (&depth)[256], bool negate,
                   int32_t (&map)[framesize], int32_t* shade);

// The grey conversion of scroll2's pixels: each pixel c becomes the last j
// in 0..63 whose entry in greys has the colour of pal's entry c, else 63.
// The fast one decides once per colour; the plain one per pixel.
void greyconvert(uint8_t* pixels, uint32_t count, const tpalette& pal, const tpalette& greys);
void greyconvertplain(uint8_t* pixels, uint32_t count, const tpalette& pal, const tpalette& greys);

}  // namespace tables
