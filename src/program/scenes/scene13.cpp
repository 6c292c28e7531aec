// Scene 13: the drifting dots painting the plasma.
//
// 1001 small ring-shaped dots wander over a black screen on random walks.
// Each adds a little brightness under it, but never more than the fractal
// plasma allows at that pixel, nor more than 253, so over time the dots
// paint the plasma in firepal's colours. The screen is never cleared. The
// timeline clears the palette and the screen, presents the black frame and
// sets firepal at once; the dots keep their state from start-up (and from
// the show's previous pass), so the scene has no set-up of its own. It
// fades late in position 21 only.
#include <cstdint>

#include "program/scenes/scenes.h"
#include "runtime/runtime.h"
#include "tables/tables.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/display.h"
#include "tools/plasma.h"
#include "tools/stores.h"

namespace program::scenes {

// ---- one dot ---------------------------------------------------------------------------

namespace {

// The brightness a dot adds under it, rows top down: a small ring.
constexpr uint8_t dotshape[6][6] = {
    {0, 0, 1, 1, 0, 0}, {0, 1, 2, 2, 1, 0}, {1, 2, 1, 1, 2, 1},
    {1, 2, 1, 1, 2, 1}, {0, 1, 2, 2, 1, 0}, {0, 0, 1, 1, 0, 0},
};

constexpr uint8_t dotceiling = 253;

// One step of a velocity: +1 or -1 by a fresh draw, wrapping as a signed byte.
int8_t wander(int8_t velocity) {
  const uint8_t step = runtime::random(2) == 1 ? 1u : 0xFFu;
  return static_cast<int8_t>(static_cast<uint8_t>(velocity) + step);
}

int8_t negated(int8_t velocity) { return static_cast<int8_t>(-static_cast<uint8_t>(velocity)); }

// Clamped at the right and bottom edges, so a dot there adds its outer
// columns or rows into the last one several times.
void drawdot(uint32_t x, uint32_t y) {
  uint8_t* const pixels = tools::screen.pixels;
  for (uint32_t yy = 0; yy <= 5; ++yy) {
    const uint32_t py = y + yy <= 199 ? y + yy : 199;
    for (uint32_t xx = 0; xx <= 5; ++xx) {
      const uint32_t px = x + xx <= 319 ? x + xx : 319;
      const uint32_t at = tarngr::rowoffset[py] + px;
      uint8_t b = static_cast<uint8_t>(pixels[at] + dotshape[yy][xx]);
      if (b > tools::plasmabuf[at]) b = tools::plasmabuf[at];
      if (b >= dotceiling) b = dotceiling;
      pixels[at] = b;
    }
  }
}

}  // namespace

void movedot(tables::tdot& dot) {
  dot.x = static_cast<uint16_t>(dot.x + static_cast<uint16_t>(dot.dx));
  dot.y = static_cast<uint8_t>(dot.y + static_cast<uint8_t>(dot.dy));
  dot.dx = wander(dot.dx);
  dot.dy = wander(dot.dy);
  // Unsigned: a dot left of column 0 is far to the right. Off screen, only
  // the one velocity turns; the position is not corrected.
  if (dot.x > 319) {
    dot.dx = negated(dot.dx);
  } else if (dot.y > 199) {
    dot.dy = negated(dot.dy);
  } else {
    drawdot(dot.x, dot.y);
  }
}

// ---- scene 13 ---------------------------------------------------------------------------

namespace {

void timelinesetup() {
  tarnpal::clearpalette();
  clearframe(tools::screen);
  clearframe(tools::work2);
  tools::present();
  tarnpal::setpalette(tables::firepal);
}

}  // namespace

void dotspass() {
  for (tables::tdot& dot : tables::driftdots) movedot(dot);
}

const tscene scene13 = {
    .name = "drifting dots",
    .timelinesetup = timelinesetup,
    .setup = nullptr,
    .pass = dotspass,
    .query = tquery::beforepresent,
    .fade = {.kind = tfadekind::down, .position = 21, .afterrow = 53, .exactposition = true},
    .end = {.position = 22},
};

}  // namespace program::scenes
