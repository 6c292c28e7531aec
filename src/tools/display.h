// display: the video modes and the presentation of a frame.
//
// Every scene draws into `screen` (320x200) and calls present, which waits
// for the frame deadline, copies the frame to the SDL surface (scaled up to
// 640x480 when the display has no 320x200 mode), uploads palstore and flips.
// Scene 3 shows a whole 640x480 picture with presentbig. Rows are copied as
// one block: the surface's pitch is taken to be its width.
// Depends on: tarngr, tarnpal, pacing, seam, stores, halt; SDL.
#pragma once

#include <SDL/SDL.h>

#include <cstdint>

namespace tools {

// ---- globals (start-up decides them; the timeline switches modes) ----------

extern SDL_Surface* surface;  // the latest SDL_SetVideoMode result
extern bool scaled;           // the normal surface is 640x480, frames scaled up
extern bool fullscreen;

// ---- operations ---------------------------------------------------------------

// SDL 1.2's rule for surfaces that must be locked before their pixels are written.
bool mustlock(const SDL_Surface* s);

// Sets a 8-bit mode with SDL_HWPALETTE (and SDL_FULLSCREEN when fullscreen);
// a refused mode ends the show with "Could not Switch to GFX. ".
void openmode(int width, int height);

void present();
void presentbig();
// Back to 320x200 after scene 3 (nothing to do when scaled).
void setmode();

}  // namespace tools
