// state: the scene variables that more than one scene uses.
//
// Every set-up initialises what its scene relies on; what a set-up does not
// reset carries over to later scenes, and into the next pass of a looping
// show. State that one scene alone uses lives in that scene's file.
#pragma once

#include <cstdint>

#include "tarnpal/tarnpal.h"

namespace program::scenes {

// The fade counter: frames since the scene's set-up, which resets it (scenes
// 4 to 12). Most scenes fade in while it is small; scene 5 also counts its
// morph with it and resets it after the hold; scene 9 uses it as the index
// into randbit for the fire, wrapping at 64,000.
extern uint32_t fadecounter;

// The fade-in of scenes 4, 6, 7, 8, 10, 11 and 12: the fade counter counts
// the frame, and while it is below `below` one fadeto step goes toward the
// target (62 steps for 63, so a level of 63 ends at 62; 63 steps for 64).
void fadeinstep(const tarnpal::tpalette& target, uint32_t below);

// The jitter index k into randsign, 16-bit: one sequence shared by scenes 4,
// 9 and 10, which each advance it per jittered pixel and wrap it their own
// way. Start-up leaves it at 200; no scene and no new pass resets it.
extern uint16_t jitterindex;

// Loop coordinates are locals of the loops that run them: no scene reads
// one after its loop ends.

// The logo wobble of scenes 1 and 2: each set-up starts it afresh.
extern int32_t wobble;
extern bool wobbledown;

}  // namespace program::scenes
