// Scene 12: the squeezed picture with glowing text.
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
  tarngr::transcolor = 255;
}

}  // namespace

const tscene scene12 = {
    .name = "squeezed picture",
    .timelinesetup = timelinesetup,
    .setup = nullptr,
    .pass = nullptr,
    .query = tquery::beforepresent,
    .fade = {.kind = tfadekind::down, .position = 19, .afterrow = 48},
    .end = {.position = 20},
};

}  // namespace program::scenes
