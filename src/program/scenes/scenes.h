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
#include "program/scenes/glow.h"
#include "tables/tables.h"

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
extern uint32_t codescroll;  // f: the picture row of the window, 0..1800
extern uint32_t codewave;    // t: the band's phase, 0..254
void codesetup();            // the four lines, the relief, the counters
void codepass();
// f one row on (0 after 1800), then one screen from picture byte 320f into
// work3 at byte f, into work2, and into work3 at byte 10f, in that order.
void codewindows();

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
extern const tglow plasmaglow;
extern uint16_t plasmaparity;  // frames since the set-up, modulo 65,536
extern uint8_t plasmaphase;    // runs down by 2 per frame: 253 in the first
extern int32_t plasmaline;     // 1..255, the first row's colour phase
// Builds workpal's grey and purple ramps, resets the counters, re-seeds.
void plasmasetup();
void plasmapass();  // plasma, music query, text
// The fade-in step and the half of the plasma this frame draws: on even
// frames row y goes to screen row y, on odd ones to row y - 1 (row 0 to 0),
// in the columns of y's parity.
void plasmadraw();

// ---- scene 7: the eye lens --------------------------------------------------------------

extern const tscene scene07;
extern const tglow eyeglow;
extern uint32_t eyeframes;  // frames since the set-up
extern uint32_t eyestart;   // eyeframes at the last frame of row 17
extern int16_t eyex0, eyey0;  // top-left corner of the lens square
void eyesetup();
void eyepass();     // music query, picture, text
// The frame count, eye1 into screen, the fade-in step, and from row 17 of
// position 11 the lens.
void eyepicture();
// The lens for this frame's size: where eye2 is exactly 1, screen shows
// eye1 through lenstable.
void eyelens();

// ---- scene 8: the sine plasma -----------------------------------------------------------

extern const tscene scene08;
extern float sinephase;  // W, one step of 0.05 per frame
void sinesetup();
void sinepass();  // fade-in step, phase step, plasma

// The column wave U and the row wave V at a phase, each stored as single.
float sinecolumn(uint32_t x, float phase);
float sinerow(uint32_t y, float phase);
// The same floats from double sines, checked to round alike (else exact).
float sinecolumnfast(uint32_t x, float phase);
float sinerowfast(uint32_t y, float phase);
// The stored byte of a pixel: Round(U + V) in extended precision, 16-bit,
// above 255 -> 255, then negative -> + 255, then 0 -> 254; low 8 bits.
uint8_t sinevalue(float u, float v);

// The plasma at sinephase into screen. The plain rule works the row wave
// out again for every pixel; the fast one takes both fast waves once per
// column and row and composes them with sinecompose.
void sineplasma();
void sineplasmaplain();
void sinecompose(const float (&columns)[320], const float (&rows)[200]);

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
// 64,000 and 64,001 move nothing. The plain one steps pixel by pixel; the
// fast one takes a row at a time where k does not wrap in it.
void bandjitter();
void bandjitterplain();
// The drift step, then the 450 particles moved, re-launched past y 0.3 and
// dotted into work3, shifted by (-0.4, 0.12) and back.
void fountain();
// Each pixel: work3 + 10, plus the band's light (129..191 as 1..63), at most 63.
void glowcompose();

// ---- scene 10: the graphics credits in relief over the mirrored scroller ----------------

extern const tscene scene10;
extern uint32_t graphscroll;  // s: the picture row of the plain window, 0..1800
extern uint32_t graphwave;    // ph: the band's phase, 0..254
void graphsetup();            // the two lines, the relief, the counters
void graphpass();
// s one row on (0 after 1800), then one screen from picture byte 331s into
// work2 (black past the picture) and from byte 320s into work3.
void graphwindows();

// ---- scene 11: the swirl tunnel under the text picture ----------------------------------

extern const tscene scene11;
extern int32_t swirlstep;  // a: 1..255 in the frames, then again from 1
void swirlsetup();
void swirlpass();    // fade-in step, step, tunnel, column 0, three blurs, text
// screen offsets 320..63,680 := teil[(swirlmap - a * 512 + a) AND 0xFDFF].
void swirltunnel();

// ---- scene 12: the squeezed picture with glowing text -----------------------------------

extern const tscene scene12;
extern const tglow squeezeglow;
// The scroll folds after 198 rows: teilfull rows 198 and 199 never show.
constexpr uint32_t squeezefold = 63360;
extern int32_t squeezeoffset;  // 320 per frame, 0..63,040
void squeezesetup();
void squeezepass();  // remap, music query, text
// The fade-in step, the scroll, the remap.
void squeezedraw();
// screen[i] := teilfull[(squeezemap[i] + squeezeoffset) mod squeezefold].
void squeezeremap();

// ---- scene 13: the drifting dots painting the plasma ------------------------------------

extern const tscene scene13;
void dotspass();  // every dot in index order
// Moves a dot, walks its velocities (two draws: dx, then dy), turns it when
// it is off screen, and otherwise draws it under the plasma and 253.
void movedot(tables::tdot& dot);

// ---- scene 14: the perspective scroller with the radial smear ---------------------------

extern const tscene scene14;
extern uint16_t floorroll;              // r: 199 down to 2 in the frames
extern int32_t smeara, smearb;          // the smear's divisors
extern float smearfa, smearfb;          // their float shadows
extern uint8_t smeargrowing;            // 1: growing, 0: shrinking
void floorsetup();
void floorpass();  // roll, pulse, smear
// Steps r and copies picture rows 1..198 into the trapezoid. The plain roll
// scales each row from linebuf; the fast one samples it through per-row
// column tables and leaves linebuf as the plain one does.
void rollfloor();
void rollfloorplain();
void pulsesmear();
// The radial smear about (154, 118) with the current divisors. The plain
// one divides twice per pixel; the fast one looks the sources up.
void radialsmear();
void radialsmearplain();

// ---- scene 15: the end text -------------------------------------------------------------

extern const tscene scene15;
extern uint16_t endcolour;  // t: the text's colour in the next frame
void endsetup();
void endpass();  // the text in colour t, then t one step on

}  // namespace program::scenes
