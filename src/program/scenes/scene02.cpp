// Scene 2: the rotating tunnel with the two title pictures.
//
// The same texture mapping as scene 1 through tunnelmap, so teil both turns
// and flies towards the viewer; a black spot is punched into the centre, the
// frame is smoothed in place over eight neighbours and blurred once, and the
// presents and proudly pictures wobble over it from the first frame. The
// palette fades in from black over the first 62 frames. The timeline fades
// out late in position 3 and ends from position 4 without showing the frame.
#include <cstddef>
#include <cstdint>

#include "program/scenes/scenes.h"
#include "program/scenes/state.h"
#include "program/scenes/tunnels.h"
#include "tables/tables.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/display.h"
#include "tools/stores.h"
#include "runtime/runtime.h"

namespace program::scenes {

uint32_t tunnelframes = 0;

// ---- the eight-neighbour smoothing --------------------------------------------------

void smooth8plain() {
  // Signed offsets: the first pixel's upper-left neighbour is the guard byte
  // in front of the frame.
  uint8_t* b = tools::screen.pixels;
  for (ptrdiff_t p = 320; p <= 63680; ++p) {
    const uint16_t sum = static_cast<uint16_t>(b[p - 321] + b[p - 320] + b[p - 319] + b[p - 1] + b[p + 1] +
                                               b[p + 319] + b[p + 320] + b[p + 321]);
    b[p] = static_cast<uint8_t>(sum / 8);
  }
}

// The same result without each pixel waiting for its left neighbour. In a
// run of at most 319 pixels no pixel's other seven neighbours are written
// inside the run (those above are new, those right and below still old), so
// with S their sum and n the new value left of the run,
//   new[k] = (S[k] + new[k-1]) >> 3 = (n + sum of S[j] << 3j, j = 0..k) >> (3k + 3),
// since a + floor(x / m) = floor((am + x) / m) and nested floors divide
// through. Sixteen terms stay below 2^57, so a 64-bit sum is exact.
void smooth8() {
  if (runtime::plainpaths) return smooth8plain();
  constexpr ptrdiff_t first = 320, last = 63680, run = 16;
  uint8_t* b = tools::screen.pixels;
  uint32_t left = b[first - 1];
  ptrdiff_t p = first;
  for (; p + run - 1 <= last; p += run) {
    uint16_t s[run];
    for (ptrdiff_t k = 0; k < run; ++k) {
      const uint8_t* q = b + p + k;
      s[k] = static_cast<uint16_t>(q[-321] + q[-320] + q[-319] + q[1] + q[319] + q[320] + q[321]);
    }
    uint64_t prefix = 0;
    for (ptrdiff_t k = 0; k < run; ++k) {
      prefix += static_cast<uint64_t>(s[k]) << (3 * k);
      b[p + k] = static_cast<uint8_t>((prefix + left) >> (3 * k + 3));
    }
    left = b[p + run - 1];
  }
  for (; p <= last; ++p) {
    left = (b[p - 321] + b[p - 320] + b[p - 319] + left + b[p + 1] + b[p + 319] + b[p + 320] + b[p + 321]) / 8;
    b[p] = static_cast<uint8_t>(left);
  }
}

// ---- scene 2 ---------------------------------------------------------------------

namespace {

void timelinesetup() {
  clearframe(tools::screen);
  tools::present();  // the cleared screen, under the palette scene 1 left
  tarnpal::clearpalette();
  clearframe(tools::screen);
}

}  // namespace

void tunnelsetup() {
  wobbledown = false;
  tunnelframes = 0;
  wobble = 0;
}

namespace {
void centrespot() {
  for (uint32_t row = 99; row <= 101; ++row)
    for (uint32_t column = 158; column <= 162; ++column) tools::screen.pixels[tarngr::rowoffset[row] + column] = 0;
}
}  // namespace

void tunnelpass() {
  tunnelframes = tunnelframes + 1;
  // 62 steps: a target level of 63 ends at 62.
  if (tunnelframes < 63) tarnpal::fadeto(tables::tunnelpal);
  // Angle and depth both one further per frame.
  const uint16_t shift = static_cast<uint16_t>(tunnelframes * 257u);
  texturemap(tables::tunnelmap, tables::tunnelshade, shift, 320);
  centrespot();
  smooth8();
  tarngr::drawvline(tools::screen, 0, 199, 0, 0);
  tarngr::blur(tools::screen.pixels, tunnellast);
  // Test before step, bounds 1 and 10: unlike scene 1.
  if (wobble >= 10) wobbledown = true;
  if (wobble <= 1) wobbledown = false;
  wobble = wobbledown ? wobble - 1 : wobble + 1;
  wobblelogos(tools::presents, 95, tools::proudly, 79);
}

const tscene scene02 = {
    .name = "rotating tunnel",
    .timelinesetup = timelinesetup,
    .setup = tunnelsetup,
    .pass = tunnelpass,
    .query = tquery::beforepresent,
    .fade = {.kind = tfadekind::down, .position = 3, .afterrow = 50},
    .end = {.position = 4, .beforepresent = true},
};

}  // namespace program::scenes
