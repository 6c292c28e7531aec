// Scene 11: the swirl tunnel under the text picture.
//
// The teil picture is wrapped around the inside of a tunnel through
// swirlmap; each frame the texture moves two depth units in and turns one
// angle unit, so the tunnel both flies and swirls. Column 0 is blanked, the
// frame is blurred three times, and the text picture lies over it with
// colour 180 transparent. The palette fades in towards swirlpal; the
// timeline fades it out late in position 18. The timeline clears the
// palette and the screen, blacks colour 0 and sets the transparent colour
// before the set-up.
#include <cstdint>

#include "program/scenes/scenes.h"
#include "program/scenes/state.h"
#include "tables/tables.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/stores.h"

namespace program::scenes {

int32_t swirlstep = 0;

// ---- the tunnel ---------------------------------------------------------------------------

namespace {
constexpr uint32_t swirlfirst = 320, swirllast = 63680;
// Clears bit 9 and everything from bit 16 up: the index stays below 65,024.
constexpr uint32_t swirlmask = 0xFDFF;
}  // namespace

void swirltunnel() {
  // map - a * 512 + a in 32-bit signed arithmetic, done modulo 2^32: the
  // mask keeps only bits that the wrap does not touch.
  const uint32_t back = static_cast<uint32_t>(swirlstep) * 511u;
  const uint8_t* texture = tools::teil.pixels;
  uint8_t* out = tools::screen.pixels;
  for (uint32_t i = swirlfirst; i <= swirllast; ++i)
    out[i] = texture[(static_cast<uint32_t>(tables::swirlmap[i]) - back) & swirlmask];
}

// ---- scene 11 ------------------------------------------------------------------------------

namespace {

void timelinesetup() {
  tarnpal::clearpalette();
  clearframe(tools::screen);
  tarnpal::setcolor(0, 0, 0, 0);
  tarngr::transcolor = 180;
}

}  // namespace

void swirlsetup() {
  fadecounter = 0;
  swirlstep = 0;
}

void swirlpass() {
  fadeinstep(tables::swirlpal, 63);
  if (swirlstep == 255) swirlstep = 0;
  swirlstep = swirlstep + 1;
  swirltunnel();
  tarngr::drawvline(tools::screen, 0, 199, 0, 0);
  // The last row blurred reads byte 64,000 of the store, past the frame.
  for (int pass = 0; pass < 3; ++pass) tarngr::blur(tools::screen.pixels, swirllast);
  tarngr::spriteblit(0, 0, tools::text, tools::screen);
}

const tscene scene11 = {
    .name = "swirl tunnel",
    .timelinesetup = timelinesetup,
    .setup = swirlsetup,
    .pass = swirlpass,
    .query = tquery::beforepresent,
    .fade = {.kind = tfadekind::down, .position = 18, .afterrow = 48},
    .end = {.position = 19},
};

}  // namespace program::scenes
