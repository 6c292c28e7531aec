// scenes: what each of the fifteen scenes draws, one file per scene.
//
// A scene file reads top to bottom like its description: its own set-up,
// then one loop pass. The timeline (timeline.cpp) clears and loads what its
// table says before the set-up, and runs the fades and end tests after.
// Scene state is plain globals: later scenes and the tests read them.
// Depends on: tables, Eng3D, tools (stores, display), tarngr, tarnpal,
// runtime, and the timeline's shared steps.
#pragma once

#include <cstdint>

#include "Eng3D/Eng3D.h"

namespace program::scenes {

// ---- the textured tunnels (scenes 1 and 2) -------------------------------------

// The logo wobble of scenes 1 and 2; each set-up starts it afresh.
extern int32_t wobble;
extern bool wobbledown;

// Maps the teil texture through a tunnel table into screen, for every pixel
// offset p from 63,680 down to `lowest`: the table is read from its start
// (i = 63,680 - p) while the screen is written from its end, the dimming is
// read at the screen position. index = (map[i] low 16 bits - shift) AND
// 0xFDFF, which stays below 65,024; value = texel - shade byte in 8 bits,
// and 0 where that is negative as a signed byte.
void texturemap(const int32_t* map, const int32_t* shade, uint16_t shift, uint32_t lowest);

// In place and forwards over screen offsets 320..63,680: each pixel becomes
// the 16-bit sum of its eight neighbours div 8, the neighbours above and to
// the left already smoothed. It reads screenstore[0] (the byte before the
// frame) and two bytes past the 64,000-byte frame.
void smooth8();
void smooth8plain();

// Scene 1: the radial tunnel; from position 2 the two logos wobble over it.
extern uint32_t radialframes;
void radialsetup();
void radialpass();      // tunnel, blur, wobble, music query, logos
void radialtunnel();    // the drawing before the query
void radiallogos();     // after the query: the logos from position 2

// Scene 2: the rotating tunnel with the two title pictures.
extern uint32_t tunnelframes;
void tunnelsetup();
void tunnelpass();

// ---- scene 3: the star field --------------------------------------------------------

// One pass handles one of the 450 stars; the pass of the 450th presents the
// 640x480 frame and restores the picture under the stars.
extern uint32_t starpasses;   // for the fade-in
extern uint32_t starindex;    // 1..450
extern float starangle;       // degrees, 0..360
extern Eng3D::tpoint3d rotatedstar;
void starsetup();
void starpass();

}  // namespace program::scenes
