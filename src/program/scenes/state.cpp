// state: the scene variables that more than one scene uses.
#include "program/scenes/state.h"

namespace program::scenes {

uint32_t fadecounter = 0;
uint16_t jitterindex = 200;
int32_t wobble = 0;
bool wobbledown = false;

void fadeinstep(const tarnpal::tpalette& target, uint32_t below) {
  fadecounter = fadecounter + 1;
  if (fadecounter < below) tarnpal::fadeto(target);
}

}  // namespace program::scenes
