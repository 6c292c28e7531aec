// Scene 4: the code credits in relief over the scroller.
//
// For now the scene runs its timeline set-up, music queries, fades and end
// test, and draws nothing.
#include <cstdint>

#include "program/scenes/scenes.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/display.h"
#include "tools/stores.h"

namespace program::scenes {

namespace {

void timelinesetup() {
  tarnpal::clearpalette();
  clearframe(tools::screen);
  tarnpal::clearpalette();
  tools::setmode();
  clearframe(tools::screen);
  clearframe(tools::work2);
  clearframe(tools::work3);
  clearcells(tools::work5);
  tarngr::transcolor = 255;
}

}  // namespace

const tscene scene04 = {
    .name = "code credits",
    .timelinesetup = timelinesetup,
    .setup = nullptr,
    .pass = nullptr,
    .query = tquery::afterpresent,
    .fade = {.kind = tfadekind::down, .position = 7, .afterrow = 48},
    .end = {.position = 8},
};

}  // namespace program::scenes
