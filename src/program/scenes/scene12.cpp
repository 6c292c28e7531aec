// Scene 12: the squeezed picture with glowing text.
//
// teilfull scrolls up one row per frame through squeezemap, which reads
// every screen row as a centred, horizontally squeezed copy of a picture
// row, so the picture bulges and pinches as it moves. The scroll folds
// after 198 rows: rows 198 and 199 of teilfull never show. Over it
// "    just cool 2d    ", from row 33 of position 19 "nothing else",
// flickers in and glows in the grey ramp 38..102 of teilgrey, cut sharply
// where the blur has dimmed it to 38. The palette fades in to teilgrey; the
// timeline fades it out from row 49 of position 19 and ends the scene at
// 20. The music is queried inside the pass, after the remap and before the
// text.
#include <cstdint>

#include "program/scenes/glow.h"
#include "program/scenes/scenes.h"
#include "program/scenes/state.h"
#include "tables/tables.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/stores.h"

namespace program::scenes {

int32_t squeezeoffset = 0;

namespace {

void timelinesetup() {
  clearframe(tools::screen);
  tarnpal::clearpalette();
  clearframe(tools::screen);
  clearframe(tools::work2);
  tarngr::transcolor = 255;
}

}  // namespace

// Colour 102 is the top of teilgrey's ramp; what the blur dims to 38, its
// bottom, or below is cut away.
const tglow squeezeglow = {
    .first = {.text = "    just cool 2d    ", .x = 2, .y = 10},
    .second = {.text = "nothing else", .x = 80, .y = 160},
    .secondposition = 19,
    .secondrow = 32,
    .colour = 102,
    .blurcount = 63680,
    .cutoff = 38,
};

void squeezesetup() {
  fadecounter = 0;
  squeezeoffset = 0;
}

void squeezeremap() {
  const uint8_t* const src = tools::teilfull.pixels;
  uint8_t* const out = tools::screen.pixels;
  const uint32_t o = static_cast<uint32_t>(squeezeoffset);
  for (uint32_t i = 0; i < 64000; ++i) out[i] = src[(tables::squeezemap[i] + o) % squeezefold];
}

void squeezedraw() {
  fadeinstep(tables::teilgrey, 63);
  squeezeoffset = squeezeoffset + 320;
  if (squeezeoffset >= static_cast<int32_t>(squeezefold)) squeezeoffset = 0;
  squeezeremap();
}

void squeezepass() {
  squeezedraw();
  querystatus();
  glowtext(squeezeglow);
}

const tscene scene12 = {
    .name = "squeezed picture",
    .timelinesetup = timelinesetup,
    .setup = squeezesetup,
    .pass = squeezepass,
    .query = tquery::inpass,
    .fade = {.kind = tfadekind::down, .position = 19, .afterrow = 48},
    .end = {.position = 20},
};

}  // namespace program::scenes
