// Scene 14: the perspective scroller with the radial smear.
//
// For now the scene runs its timeline set-up, music queries, fades and end
// test, and draws nothing.
#include <cstdint>

#include "program/scenes/scenes.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/stores.h"

namespace program::scenes {

namespace {

void timelinesetup() {
  clearframe(tools::screen);
  tarnpal::setpalette(tools::scroll2pal);
  tarngr::transcolor = 60;
}

}  // namespace

const tscene scene14 = {
    .name = "floor scroller",
    .timelinesetup = timelinesetup,
    .setup = nullptr,
    .pass = nullptr,
    .query = tquery::afterpresent,
    .end = {.position = 24},
};

}  // namespace program::scenes
