// Scene 6: the interlaced plasma with glowing text.
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
  clearframe(tools::work2);
}

}  // namespace

const tscene scene06 = {
    .name = "interlaced plasma",
    .timelinesetup = timelinesetup,
    .setup = nullptr,
    .pass = nullptr,
    .query = tquery::beforepresent,
    .fade = {.kind = tfadekind::down, .position = 10, .afterrow = 48},
    .end = {.position = 11},
};

}  // namespace program::scenes
