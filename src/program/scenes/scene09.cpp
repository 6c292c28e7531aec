// Scene 9: the light band and the particle fountain.
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
  tarnpal::setpalette(tools::counterpal);
  clearframe(tools::work1);
  clearframe(tools::work3);
}

// Until the drawing exists, the pass is the query it makes.
void pass() { querystatus(); }

}  // namespace

const tscene scene09 = {
    .name = "light band",
    .timelinesetup = timelinesetup,
    .setup = nullptr,
    .pass = pass,
    .query = tquery::inpass,
    .fade = {.kind = tfadekind::down, .position = 14, .afterrow = 48},
    .end = {.position = 15},
};

}  // namespace program::scenes
