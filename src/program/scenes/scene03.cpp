// Scene 3: the star field over the title picture, shown at 640x480.
#include "program/scenes/scenes.h"

#include <cstdint>

#include "tarngr/tarngr.h"
#include "tools/display.h"
#include "tools/stores.h"

namespace program::scenes {

namespace {
uint32_t starindex = 1;  // 1..450
}

void starsetup() { starindex = 1; }

void starpass() {
  starindex = starindex + 1;
  if (starindex == 451) {
    starindex = 1;
    tools::presentbig();
    // The copy removes the stars for the next frame.
    tarngr::copydw(tools::morvpic.pixels, tools::screen.pixels, 640 * 480 / 4);
  }
}

}  // namespace program::scenes
