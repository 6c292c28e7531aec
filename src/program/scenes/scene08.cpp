// Scene 8: the sine plasma.
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
  clearframe(tools::screen);
  clearframe(tools::screen);
  clearframe(tools::work2);
  allwhite();
  tools::present();
}

}  // namespace

const tscene scene08 = {
    .name = "sine plasma",
    .timelinesetup = timelinesetup,
    .setup = nullptr,
    .pass = nullptr,
    .query = tquery::afterpresent,
    .fade = {.kind = tfadekind::down, .position = 12, .afterrow = 48},
    .end = {.position = 13},
};

}  // namespace program::scenes
