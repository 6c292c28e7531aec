// pacing: 60 frames per second, from a start time and a frame count.
//
// Deadlines are framestart + framecount * frametime, so the fraction of the
// period never accumulates; a late frame restarts the schedule instead of
// racing to catch up. The clock is the seam's (SDL's, or the renderer's
// virtual one).
// Depends on: seam.
#pragma once

#include <cstdint>

namespace tools {

extern uint32_t framecount;  // frames since the schedule (re)started
extern uint32_t framestart;  // tick at which it (re)started
extern float frametime;      // 1000/60 as a single: 16.666666030883789

// Starts the schedule; once, at start-up.
void frameinit();
// Waits for the next deadline; once per presented frame.
void framewait();

}  // namespace tools
