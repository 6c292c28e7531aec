// Scene 15: the end text.
//
// The screen is white and "t h e e n d" is drawn over the same pixels
// every frame, its grey one step darker each frame: 64 (entry 64 is black,
// since 64 * 4 wraps in the palette store), then 63 (white, so the letters
// vanish) down to 1, and again. The timeline fills the screen with 255 and
// sets the greys 0..64 before the set-up, queries the music after the
// present and ends the show on position 25 exactly.
#include <cstdint>

#include "program/scenes/scenes.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/stores.h"
#include "tools/text.h"

namespace program::scenes {

uint16_t endcolour = 64;

namespace {

void timelinesetup() {
  tarngr::filldw(tools::screen.pixels, 16000, 0xFFFFFFFFu);
  for (int i = 0; i <= 64; ++i) {
    const uint8_t grey = static_cast<uint8_t>(i);
    tarnpal::setcolor(grey, grey, grey, grey);  // 64 * 4 wraps: entry 64 is black
  }
}

}  // namespace

void endsetup() { endcolour = 64; }

// The colour steps once the frame is drawn. Its step belongs after the
// present, but the present does not read it, so stepping it here shows the
// same frames and leaves t as the frame leaves it.
void endpass() {
  tools::drawtext(tools::screen, 95, 80, "t h e e n d", 2, 10, static_cast<uint8_t>(endcolour));
  endcolour = static_cast<uint16_t>(endcolour - 1);
  if (endcolour == 0) endcolour = 64;
}

const tscene scene15 = {
    .name = "end text",
    .timelinesetup = timelinesetup,
    .setup = endsetup,
    .pass = endpass,
    .query = tquery::afterpresent,
    .end = {.position = 25, .exactposition = true},
};

}  // namespace program::scenes
