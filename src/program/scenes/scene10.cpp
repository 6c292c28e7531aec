// Scene 10: the graphics credits in relief over the mirrored scroller.
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
  tarnpal::clearpalette();
  clearframe(tools::screen);
  clearframe(tools::work2);
  clearframe(tools::work3);
  clearcells(tools::work5);
}

}  // namespace

const tscene scene10 = {
    .name = "graphics credits",
    .timelinesetup = timelinesetup,
    .setup = nullptr,
    .pass = nullptr,
    .query = tquery::afterpresent,
    .fade = {.kind = tfadekind::down, .position = 16, .afterrow = 48},
    .end = {.position = 17},
};

}  // namespace program::scenes
