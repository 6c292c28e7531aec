// seam: the live side's defaults.
#include "tools/seam.h"

#include <SDL/SDL.h>

namespace seam {

namespace {
uint32_t sdlticks() { return SDL_GetTicks(); }
void sdldelay(uint32_t ms) { SDL_Delay(ms); }
}  // namespace

tseam current = {sdlticks, sdldelay, nullptr, std::nullopt, nullptr, nullptr, nullptr};

}  // namespace seam
