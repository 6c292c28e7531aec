// Scene 5: the morphing point cloud over the wobbling board.
//
// 449 points of cloud1 tumble about all three axes around (0, 0, 0.95)
// while the whole cloud circles, and morphstep carries them from the cube
// onto the coil while the fade counter is at most 400; after a 150-frame
// hold the counter restarts and the morph runs on past the coil. The dots
// go into work1, whose blurfade turns them into trails cooling from white
// to black; where the trails are dark (16 and below) the geoboard picture
// shows through, each row displaced around a small circle (circleofs) whose
// phase runs on from row to row and frame to frame. The palette fades in
// to the geoboard palette unless the fade lock holds it. The music is
// queried inside the pass, after the composite: from position 8 before row
// 48 the lock opens, and from row 49 of position 9 every composed pixel
// flies off through pixelcloud while the palette fades to white.
#include <cmath>
#include <cstdint>

#include "Eng3D/Eng3D.h"
#include "program/scenes/scenes.h"
#include "program/scenes/state.h"
#include "tables/tables.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/stores.h"
#include "runtime/runtime.h"

namespace program::scenes {

float cloudangle = 0.0f;
float cloudmx = 0.0f, cloudmy = 0.0f, cloudmz = 0.0f;
bool morphdone = false;
bool fadelock = false;
uint16_t holdcounter = 0;

namespace {

constexpr int firstpoint = 1, lastpoint = 449;  // points 0 and 450 stay out
constexpr float cloudcentrez = 0.95f;
constexpr uint8_t boardbackground = 16;  // trails at or below this show the board
constexpr uint32_t morphframes = 400;
constexpr uint16_t holdframes = 150;
constexpr uint32_t burstrecords = 60801;  // rows 0..189 and the first pixel of row 190

}  // namespace

// ---- the drawing ----------------------------------------------------------------------

void wobbleboard() {
  const uint8_t* board = tools::geoboard.pixels;
  uint8_t* out = tools::work2.pixels;
  for (uint32_t r = 10; r <= 189; ++r) {
    // Within a row the offset is fixed, so the row is one contiguous read.
    const int32_t shift = tables::circleofsptr[tables::circlephase];
    const uint32_t at = r * 320 + 10;
    const uint8_t* from = board + static_cast<int32_t>(at) + shift;
    for (uint32_t c = 0; c < 300; ++c) out[at + c] = from[c];
    tables::circlephase = static_cast<uint8_t>(tables::circlephase + 1);
  }
}

namespace {
// screen and work2 are separate stores; the unconditional store lets the
// loop run on whole vectors.
void composite(uint8_t* __restrict s, const uint8_t* __restrict board) {
  for (uint32_t i = 0; i < 64000; ++i) {
    const uint8_t v = s[i], under = board[i];
    s[i] = v <= boardbackground ? under : v;
  }
}

// The colours the burst captures, so that capture and flight can share one
// walk over the records.
uint8_t burstcolours[64000];

void flystep(tables::tflypixel& f, uint8_t* s) {
  int32_t x = f.x, y = f.y;
  // A record on or past a border stays there along that axis.
  if (x > 0 && x < 319) x += f.dx;
  if (y > 0 && y < 199) y += f.dy;
  f.x = x;
  f.y = y;
  if (x > 0 && x < 319 && y > 0 && y < 199) s[y * 320 + x] = f.colour;
}

void burstend() {
  tarngr::transcolor = 0;
  tarnpal::fadeup();
}
}  // namespace

void boardcomposite() { composite(tools::screen.pixels, tools::work2.pixels); }

void burstplain() {
  fadelock = true;
  uint8_t* s = tools::screen.pixels;
  // The record keeps its own position; only the colour comes from home.
  for (uint32_t i = 0; i < 64000; ++i) tables::pixelcloud[i].colour = s[i];
  clearframe(tools::screen);
  for (uint32_t i = 0; i < burstrecords; ++i) flystep(tables::pixelcloud[i], s);
  burstend();
}

// As burstplain, with the frame's colours kept aside: one walk over the
// 704,000 bytes of records instead of two.
void burst() {
  if (runtime::plainpaths) return burstplain();
  fadelock = true;
  uint8_t* s = tools::screen.pixels;
  tarngr::copydw(s, burstcolours, 16000);
  clearframe(tools::screen);
  for (uint32_t i = 0; i < burstrecords; ++i) {
    tables::tflypixel& f = tables::pixelcloud[i];
    f.colour = burstcolours[i];
    flystep(f, s);
  }
  for (uint32_t i = burstrecords; i < 64000; ++i) tables::pixelcloud[i].colour = burstcolours[i];
  burstend();
}

namespace {

void timelinesetup() {
  clearframe(tools::screen);
  tarnpal::clearpalette();
  clearframe(tools::work1);
  clearframe(tools::screen);
  clearframe(tools::work2);
}

// The circle the cloud's centre runs on; the angle is extended in the
// product and the sine, the offsets are stored as single.
void circlestep() {
  cloudangle = cloudangle + 2.0f;
  if (cloudangle >= 360.0f) cloudangle = 0.0f;
  const long double a = static_cast<long double>(cloudangle) * static_cast<long double>(Eng3D::degtorad);
  cloudmx = static_cast<float>(std::sin(a) / 3.0L);
  cloudmy = static_cast<float>(std::cos(a) / 3.0L);
  cloudmz = cloudmx;
}

void morphanddraw() {
  // Every point turns by the same three angles: their sines once per frame.
  const Eng3D::trotation turn = Eng3D::makerotation(cloudangle, cloudangle, cloudangle);
  for (int n = firstpoint; n <= lastpoint; ++n) {
    Eng3D::tpoint3d& p = tables::cloud1[n];
    if (fadecounter <= morphframes) {
      const Eng3D::tvector& step = tables::morphstep[n];
      p.x = p.x + step.x;
      p.y = p.y + step.y;
      p.z = p.z + step.z;
    } else {
      morphdone = true;
    }
    Eng3D::tpoint3d q;
    Eng3D::rotatewith(p, q, 0.0f, 0.0f, cloudcentrez, turn);
    Eng3D::movepoint(q, cloudmx, cloudmy, cloudmz);
    Eng3D::drawbigdot(tools::work1, q);
  }
}

void holdstep() {
  if (morphdone) holdcounter = static_cast<uint16_t>(holdcounter + 1);
  if (holdcounter >= holdframes) {
    holdcounter = 0;
    fadecounter = 0;
    fadelock = true;
    morphdone = false;
  }
}

}  // namespace

// ---- scene 5 ----------------------------------------------------------------------------

void cloudsetup() {
  fadecounter = 0;
  morphdone = false;
  fadelock = false;
  holdcounter = 0;
  cloudangle = 320.0f;
}

void clouddraw() {
  // 63 steps while the counter counts 0..62.
  if (!fadelock && fadecounter < 63) tarnpal::fadeto(tools::geoboardpal);
  circlestep();
  morphanddraw();
  holdstep();
  // count 64,000: the trails reach row 199, read from the spare row below.
  tarngr::blurfade(tools::work1.pixels, 64000);
  tarngr::drawvline(tools::work1, 0, 199, 0, 0);
  tarngr::copydw(tools::work1.pixels, tools::screen.pixels, 16000);
  wobbleboard();
  boardcomposite();
}

void cloudmusicsteps() {
  if (atleast(8) && playstatus.row < 48) fadelock = false;
  if (pastrow(9, 48)) burst();
  fadecounter = fadecounter + 1;
}

void cloudpass() {
  clouddraw();
  querystatus();
  cloudmusicsteps();
}

const tscene scene05 = {
    .name = "point cloud",
    .timelinesetup = timelinesetup,
    .setup = cloudsetup,
    .pass = cloudpass,
    .query = tquery::inpass,
    .end = {.position = 10},
};

}  // namespace program::scenes
