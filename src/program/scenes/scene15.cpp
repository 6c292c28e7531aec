// Scene 15: the end text.
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
  tarngr::filldw(tools::screen.pixels, 16000, 0xFFFFFFFFu);
  for (int i = 0; i <= 64; ++i) {
    const uint8_t grey = static_cast<uint8_t>(i);
    tarnpal::setcolor(grey, grey, grey, grey);  // 64 * 4 wraps: entry 64 is black
  }
}

}  // namespace

const tscene scene15 = {
    .name = "end text",
    .timelinesetup = timelinesetup,
    .setup = nullptr,
    .pass = nullptr,
    .query = tquery::afterpresent,
    .end = {.position = 25, .exactposition = true},
};

}  // namespace program::scenes
