// Scene 11: the swirl tunnel under the text picture.
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
  tarnpal::clearpalette();
  clearframe(tools::screen);
  tarnpal::setcolor(0, 0, 0, 0);
  tarngr::transcolor = 180;
}

}  // namespace

const tscene scene11 = {
    .name = "swirl tunnel",
    .timelinesetup = timelinesetup,
    .setup = nullptr,
    .pass = nullptr,
    .query = tquery::beforepresent,
    .fade = {.kind = tfadekind::down, .position = 18, .afterrow = 48},
    .end = {.position = 19},
};

}  // namespace program::scenes
