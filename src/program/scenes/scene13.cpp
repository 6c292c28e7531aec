// Scene 13: the drifting dots painting the plasma.
//
// For now the scene runs its timeline set-up, music queries, fades and end
// test, and draws nothing.
#include <cstdint>

#include "program/scenes/scenes.h"
#include "tables/tables.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/display.h"
#include "tools/stores.h"

namespace program::scenes {

namespace {

void timelinesetup() {
  tarnpal::clearpalette();
  clearframe(tools::screen);
  clearframe(tools::work2);
  tools::present();
  tarnpal::setpalette(tables::firepal);
}

}  // namespace

const tscene scene13 = {
    .name = "drifting dots",
    .timelinesetup = timelinesetup,
    .setup = nullptr,
    .pass = nullptr,
    .query = tquery::beforepresent,
    .fade = {.kind = tfadekind::down, .position = 21, .afterrow = 53, .exactposition = true},
    .end = {.position = 22},
};

}  // namespace program::scenes
