// Scene 6: the interlaced plasma with glowing text.
//
// A sine plasma in purple and blue (palette entries 64..127) that redraws
// half of its pixels per frame in a checkerboard: on even frames row y is
// drawn into screen row y, on odd frames into row y - 1 (row 0 into row 0),
// each in the columns of y's parity, so two frames cover the screen and
// row 199 is written on even frames only. Over it "   Imagine a dream",
// from row 33 of position 10 "live the imagination", flickers in and glows
// away in the grey ramp 0..63. The palette fades in to workpal; the
// timeline fades it out late in position 10 and ends the scene at 11. The
// music is queried inside the pass, after the plasma and before the text.
#include <cstdint>

#include "program/scenes/glow.h"
#include "program/scenes/scenes.h"
#include "program/scenes/state.h"
#include "runtime/runtime.h"
#include "tables/tables.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/stores.h"

namespace program::scenes {

uint16_t plasmaparity = 0;
uint8_t plasmaphase = 0;
int32_t plasmaline = 0;

namespace {

void timelinesetup() {
  clearframe(tools::screen);
  tarnpal::clearpalette();
  clearframe(tools::work2);
}

}  // namespace

const tglow plasmaglow = {
    .first = {.text = "   Imagine a dream", .x = 5, .y = 10},
    .second = {.text = "live the imagination", .x = 5, .y = 160},
    .secondposition = 10,
    .secondrow = 32,
    .colour = 64,
    .blurcount = 63679,
    .cutoff = 0,
};

void plasmasetup() {
  plasmaparity = 0;
  // Grey for the text, then the purple ramp of the plasma (entry 128 is
  // built but never drawn).
  for (uint32_t i = 0; i <= 63; ++i) {
    const auto g = static_cast<uint8_t>(i);
    tables::workpal.entry[i].red = g;
    tables::workpal.entry[i].green = g;
    tables::workpal.entry[i].blue = g;
  }
  for (uint32_t i = 0; i <= 64; ++i) {
    tarnpal::tpalentry& e = tables::workpal.entry[64 + i];
    e.red = static_cast<uint8_t>(i / 2);
    e.green = 0;
    e.blue = static_cast<uint8_t>(i);
  }
  fadecounter = 0;
  plasmaline = 0;
  plasmaphase = 0;
  // The text's moments differ from run to run.
  runtime::randomize();
}

void plasmadraw() {
  fadeinstep(tables::workpal, 64);
  plasmaparity = static_cast<uint16_t>(plasmaparity + 1);
  if (plasmaphase <= 2) plasmaphase = 255;
  plasmaphase = static_cast<uint8_t>(plasmaphase - 2);
  if (plasmaline >= 255) plasmaline = 0;
  plasmaline = plasmaline + 1;

  uint8_t* const out = tools::screen.pixels;
  const int32_t odd = plasmaparity & 1;
  int32_t v = plasmaline;
  for (int32_t y = 0; y <= 199; ++y) {
    int32_t d = 320 * y + (y & 1) - 320 * odd;
    if (d < 0) d = 0;
    v = v + 2;
    int32_t a = tables::sinus27[(plasmaphase + y) & 255];
    int32_t b = tables::sinus27[v & 255];
    for (int32_t x = 0; x < 160; ++x) {
      const auto s = static_cast<uint8_t>(tables::sinus63[a + b] + tables::sinus63[y + b]);
      out[d] = static_cast<uint8_t>((s >> 2) + 64);
      a = (a + 1 + (s >> 7)) & 255;
      if (b >= 255) b = 0;
      b = b + 1;
      d = d + 2;
    }
  }
}

void plasmapass() {
  plasmadraw();
  querystatus();
  glowtext(plasmaglow);
}

const tscene scene06 = {
    .name = "interlaced plasma",
    .timelinesetup = timelinesetup,
    .setup = plasmasetup,
    .pass = plasmapass,
    .query = tquery::inpass,
    .fade = {.kind = tfadekind::down, .position = 10, .afterrow = 48},
    .end = {.position = 11},
};

}  // namespace program::scenes
