// Scene 7: the eye lens.
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
  allwhite();
  clearframe(tools::work2);
  tarngr::copydw(tools::eye1.pixels, tools::screen.pixels, 16000);
  allwhite();
}

// Until the drawing exists, the pass is the query it makes.
void pass() { querystatus(); }

}  // namespace

const tscene scene07 = {
    .name = "eye lens",
    .timelinesetup = timelinesetup,
    .setup = nullptr,
    .pass = pass,
    .query = tquery::inpass,
    .fade = {.kind = tfadekind::up, .position = 11, .afterrow = 53},
    .end = {.position = 12},
};

}  // namespace program::scenes
