// seam: the few things that differ between the live show and the offline
// renderer, chosen once before start-up.
//
//   clock    live: SDL_GetTicks / SDL_Delay; offline: a virtual clock that
//            a delay advances.
//   sink     what happens to a frame after it is shown: live nothing;
//            offline a dump record, a PNG, a video frame.
//   video    live: what the display lists; offline: SDL's dummy driver, and
//            the scaled display only when asked for.
//   progress offline: start-up's steps are timed and the outputs closed
//            when the show shuts down, or removed when a fatal error
//            ends it.
// The music's side of the seam is chosen in midasoffline.h, Randomize's in
// runtime::fixedseed. Scene code never knows which side it runs on.
// Depends on: tarnpal.
#pragma once

#include <cstdint>
#include <optional>

#include "tarnpal/tarnpal.h"

namespace seam {

// Called after each presented frame with exactly the bytes copied to the
// surface and the palette uploaded with them.
using tframesink = void (*)(const uint8_t* pixels, uint16_t width, uint16_t height,
                            const tarnpal::tpalentry* palette);

struct tseam {
  uint32_t (*getticks)();
  void (*delay)(uint32_t ms);
  tframesink framesink;             // null: nothing
  std::optional<bool> forcescaled;  // set: overrides the mode-list decision
  void (*milestone)(const char* line);  // each start-up line as it is printed (may be null)
  void (*finish)();                 // shutdown's last step before it exits (may be null)
  void (*halt)();                   // a fatal error ends the process right after (may be null)
};

// Live defaults; the renderer replaces fields before start-up.
extern tseam current;

}  // namespace seam
