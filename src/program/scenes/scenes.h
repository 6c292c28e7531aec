// scenes: what each of the fifteen scenes draws, one file per scene.
//
// A scene file reads top to bottom like its description: its own set-up,
// then one loop pass. The timeline (timeline.cpp) clears and loads what its
// table says before the set-up, and runs the fades and end tests after.
#pragma once

namespace program::scenes {

// Scene 3: one pass handles one of the 450 stars; the pass of the 450th
// presents the 640x480 frame and restores the picture under the stars.
void starsetup();
void starpass();

}  // namespace program::scenes
