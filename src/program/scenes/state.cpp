// state: the scene variables that more than one scene uses.
#include "program/scenes/state.h"

namespace program::scenes {

uint32_t fadecounter = 0;
uint16_t jitterindex = 200;
int32_t wobble = 0;
bool wobbledown = false;

}  // namespace program::scenes
