// Scene 5: the morphing point cloud over the wobbling board.
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
  clearframe(tools::work1);
  clearframe(tools::screen);
  clearframe(tools::work2);
}

// Until the drawing exists, the pass is the query it makes.
void pass() { querystatus(); }

}  // namespace

const tscene scene05 = {
    .name = "point cloud",
    .timelinesetup = timelinesetup,
    .setup = nullptr,
    .pass = pass,
    .query = tquery::inpass,
    .end = {.position = 10},
};

}  // namespace program::scenes
