// scenes: the fifteen scenes of the show, one file each.
//
// A scene file reads top to bottom like its description: the timeline's
// set-up, the scene's own set-up, one loop pass, and its record for the
// timeline. What several scenes share is in state.h (variables) and in
// files of its own beside the scenes (tunnels, relief, glow). This header
// lists each scene's record and what its tests look at: its state and the
// steps of its pass.
// Depends on: scene, tables, Eng3D, tools, tarngr, tarnpal, runtime.
#pragma once

#include <cstdint>

#include "Eng3D/Eng3D.h"
#include "program/scene.h"

namespace program::scenes {

// ---- scene 1: the radial tunnel with the two logos --------------------------------------

extern const tscene scene01;
extern uint32_t radialframes;
void radialsetup();
void radialpass();    // tunnel, blur, wobble, music query, logos
void radialtunnel();  // the drawing before the query
void radiallogos();   // after the query: the logos from position 2

// ---- scene 2: the rotating tunnel with the two title pictures ---------------------------

extern const tscene scene02;
extern uint32_t tunnelframes;
void tunnelsetup();
void tunnelpass();

// In place and forwards over screen offsets 320..63,680: each pixel becomes
// the 16-bit sum of its eight neighbours div 8, the neighbours above and to
// the left already smoothed. It reads screenstore[0] (the byte before the
// frame) and two bytes past the 64,000-byte frame.
void smooth8();
void smooth8plain();

// ---- scene 3: the star field over the title picture -------------------------------------

// One pass handles one of the 450 stars; the pass of the 450th presents the
// 640x480 frame and restores the picture under the stars.
extern const tscene scene03;
extern uint32_t starpasses;   // for the fade-in
extern uint32_t starindex;    // 1..450
extern float starangle;       // degrees, 0..360
extern Eng3D::tpoint3d rotatedstar;
void starsetup();
void starpass();

// ---- scene 4: the code credits in relief over the scroller ------------------------------

extern const tscene scene04;

// ---- scene 5: the morphing point cloud over the wobbling board --------------------------

extern const tscene scene05;
extern float cloudangle;                  // degrees; 320 at set-up, 322 in the first frame
extern float cloudmx, cloudmy, cloudmz;   // the circle the cloud's centre runs on
extern bool morphdone;                    // the fade counter has passed 400
extern bool fadelock;                     // holds the fade-in back after a hold or the burst
extern uint16_t holdcounter;              // frames since the morph finished
void cloudsetup();
void cloudpass();         // the drawing, music query, then the music's steps
void clouddraw();         // fade-in, cloud, trails, board and composite
void cloudmusicsteps();   // after the query: the lock, the burst, the frame counted

// Rows 10..189, columns 10..309 of geoboard into work2, each row displaced
// by circleofs at the circle phase, which steps once per row.
void wobbleboard();
// screen pixels of 16 and below take work2's.
void boardcomposite();
// screen's colours into pixelcloud, screen cleared, records 0..60,800 moved
// and drawn while strictly inside the borders; the lock set, transcolor 0,
// one fadeup. The fast one captures and flies in one walk over the records.
void burst();
void burstplain();

// ---- scene 6: the interlaced plasma with glowing text -----------------------------------

extern const tscene scene06;

// ---- scene 7: the eye lens --------------------------------------------------------------

extern const tscene scene07;

// ---- scene 8: the sine plasma -----------------------------------------------------------

extern const tscene scene08;

// ---- scene 9: the light band and the particle fountain ----------------------------------

extern const tscene scene09;
extern int16_t bandcx;        // the band's centre column
extern uint16_t bandangle;    // frames since set-up; the swing reads it as signed
extern int32_t swing;         // 0..100 and back: the drift turns at either end
extern uint8_t swingforward;  // 1 while swing counts up
extern float drift;           // the particles' sideways drift, -0.01 or 0.001
void bandsetup();
void bandpass();     // the drawing, music query, then the counter
void banddraw();     // fire, band, jitter, fountain and glow
void bandcounter();  // after the query: the row at (260, 150), rows 0 and 1 black

// The fire in work1's one flat store, column by column: (x, y) for rows
// 100..198 averages itself, right, below and left, less 1, into p - 321 and
// mirrored into row 197 - y; then row 198 of the column is seeded from
// randbit at the fire index (fadecounter, wrapping to 0 after 63,999).
void fire();
// Rows 1..190, columns 1..319 within 129 of bandcx: 191 - |x - cx - slope|,
// the slope read from work1; only values above 128 are drawn. The plain one
// walks column by column; the fast one by rows, on whole vectors.
void lightband();
void lightbandplain();
// In place over rows 2..198, columns 2..318: each pixel copied diagonally by
// randsign[k]; k counts 1..64,001 and wraps to 1, and its steps to
// 64,000 and 64,001 move nothing.
void jitter();
// The drift step, then the 450 particles moved, re-launched past y 0.3 and
// dotted into work3, shifted by (-0.4, 0.12) and back.
void fountain();
// Each pixel: work3 + 10, plus the band's light (129..191 as 1..63), at most 63.
void glowcompose();

// ---- scene 10: the graphics credits in relief over the mirrored scroller ----------------

extern const tscene scene10;

// ---- scene 11: the swirl tunnel under the text picture ----------------------------------

extern const tscene scene11;

// ---- scene 12: the squeezed picture with glowing text -----------------------------------

extern const tscene scene12;

// ---- scene 13: the drifting dots painting the plasma ------------------------------------

extern const tscene scene13;

// ---- scene 14: the perspective scroller with the radial smear ---------------------------

extern const tscene scene14;

// ---- scene 15: the end text -------------------------------------------------------------

extern const tscene scene15;

}  // namespace program::scenes
