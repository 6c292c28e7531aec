// timeline: the show's passes and the loop every scene runs in.
//
// Every scene ends when the music reaches its order position (scenes 1 and
// 15 only on the exact position), so the picture follows the music rather
// than a clock. What a scene is, and the steps its loop shares with the
// timeline, are in scene.h; the fifteen scenes in scenes/.
// Depends on: scene, scenes, tools (display), tarnpal.
#pragma once

#include "program/scene.h"

namespace program {

// The fifteen scenes in playing order.
extern const tscene* const scenetable[15];

// Runs one scene: its set-ups, then its loop until its end test holds.
void runscene(const tscene& scene);

// Which scene is running (1..15), for the renderer's progress and tests.
extern int currentscene;

}  // namespace program
