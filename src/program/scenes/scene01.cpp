// Scene 1: the radial tunnel with the two logos.
//
// The teil picture streams radially through the centre: it is mapped through
// polarmap, dimmed by polarshade, softened by two blurs, and from order
// position 2 on the qelm1 and corporat logos wobble over it. The palette is
// polarpal from the start; it fades late in position 2, and the scene ends
// on position 3 exactly. The music is queried inside the pass, between the
// tunnel and the logos.
#include <cstdint>

#include "program/scenes/scenes.h"
#include "program/scenes/state.h"
#include "program/scenes/tunnels.h"
#include "tables/tables.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/stores.h"

namespace program::scenes {

uint32_t radialframes = 0;

namespace {

void timelinesetup() {
  clearframe(tools::screen);
  tarnpal::clearpalette();
  clearframe(tools::screen);
  tarnpal::setpalette(tables::polarpal);
  tarngr::transcolor = 68;
}

}  // namespace

void radialsetup() {
  radialframes = 0;
  wobble = 0;
  wobbledown = true;
}

void radialtunnel() {
  wobble = wobbledown ? wobble - 1 : wobble + 1;
  radialframes = radialframes + 1;
  // One texture row further per frame.
  const uint16_t shift = static_cast<uint16_t>(radialframes * 256u);
  texturemap(tables::polarmap, tables::polarshade, shift, 319);
  tarngr::drawvline(tools::screen, 0, 199, 0, 0);
  tarngr::blur(tools::screen.pixels, tunnellast);
  tarngr::blur(tools::screen.pixels, tunnellast);
  if (wobble > 10)
    wobbledown = true;
  else if (wobble < 1)
    wobbledown = false;
}

void radiallogos() {
  if (atleast(2)) wobblelogos(tools::qelm1, 68, tools::corporat, 168);
}

void radialpass() {
  radialtunnel();
  querystatus();
  radiallogos();
}

const tscene scene01 = {
    .name = "radial tunnel",
    .timelinesetup = timelinesetup,
    .setup = radialsetup,
    .pass = radialpass,
    .query = tquery::inpass,
    .fade = {.kind = tfadekind::down, .position = 2, .afterrow = 48},
    .end = {.position = 3, .exactposition = true},
};

}  // namespace program::scenes
