// Scene 7: the eye lens.
//
// The screen starts white and fades into the eye1 picture. From row 17 of
// position 11 a round magnifying lens, centred near (154, 118), opens over
// it and grows by one pixel every second frame up to 160; it shows only
// where the eye2 mask is exactly 1 (iris and pupil). "I dream the reality",
// from row 33 "             do you?", flickers in and glows away; late in
// position 11 the timeline fades the palette to white, and the scene ends
// at 12. The music is queried first in the frame.
#include <cstdint>

#include "program/scenes/glow.h"
#include "program/scenes/scenes.h"
#include "program/scenes/state.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/lens.h"
#include "tools/stores.h"

namespace program::scenes {

uint32_t eyeframes = 0;
uint32_t eyestart = 0;
int16_t eyex0 = 0;
int16_t eyey0 = 0;

namespace {

void timelinesetup() {
  clearframe(tools::screen);
  allwhite();
  clearframe(tools::work2);
  tarngr::copydw(tools::eye1.pixels, tools::screen.pixels, 16000);
  allwhite();
}

}  // namespace

// Colour 16 is black in the prepared eye1 palette; 1..15 are the greys the
// blurred edges run through.
const tglow eyeglow = {
    .first = {.text = "I dream the reality", .x = 5, .y = 10},
    .second = {.text = "             do you?", .x = 5, .y = 160},
    .secondposition = 11,
    .secondrow = 32,
    .colour = 16,
    .blurcount = 63680,
    .cutoff = 0,
};

// The white palette and the empty text layer are the timeline set-up's.
void eyesetup() {
  fadecounter = 0;
  tools::lenssize = 75;
  tools::lensradius = tools::lenssize / 2;
  eyeframes = 0;
  eyestart = 0;
}

void eyelens() {
  // The start is latched on every frame of row 17, so the lens keeps its
  // first size through that row. Without such a frame the start stays 0 and
  // the lens opens at its full size.
  if (playstatus.row == 17) eyestart = eyeframes;
  uint32_t size = ((eyeframes - eyestart) >> 1) + 75;
  if (size >= 160) size = 160;
  tools::lenssize = static_cast<int32_t>(size);
  tools::lensradius = tools::lenssize >> 1;
  eyex0 = static_cast<int16_t>(154 - tools::lensradius);
  eyey0 = static_cast<int16_t>(118 - tools::lensradius);
  tools::lensinit();

  const uint32_t s = static_cast<uint32_t>(tools::lenssize);
  const uint8_t* const mask = tools::eye2.pixels;
  const uint8_t* const picture = tools::eye1.pixels;
  uint8_t* const out = tools::screen.pixels;
  // The square lies inside the picture for every size up to 160, and every
  // offset of the table stays inside it (see the tests).
  const uint32_t corner = static_cast<uint32_t>(eyey0) * 320 + static_cast<uint32_t>(eyex0);
  for (uint32_t x = 0; x < s; ++x)
    for (uint32_t y = 0; y < s; ++y) {
      const uint32_t p = corner + y * 320 + x;
      if (mask[p] == 1) out[p] = picture[corner + tools::lenstable[x + y * s]];
    }
}

void eyepicture() {
  eyeframes = eyeframes + 1;
  tarngr::copydw(tools::eye1.pixels, tools::screen.pixels, 16000);
  fadeinstep(tools::eye1pal, 64);
  if (pastrow(11, 16)) eyelens();
}

void eyepass() {
  querystatus();
  eyepicture();
  glowtext(eyeglow);
}

const tscene scene07 = {
    .name = "eye lens",
    .timelinesetup = timelinesetup,
    .setup = eyesetup,
    .pass = eyepass,
    .query = tquery::inpass,
    .fade = {.kind = tfadekind::up, .position = 11, .afterrow = 53},
    .end = {.position = 12},
};

}  // namespace program::scenes
