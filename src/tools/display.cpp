// display: modes, present, presentbig.
#include "tools/display.h"

#include <cstdio>
#include <string>

#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/halt.h"
#include "tools/pacing.h"
#include "tools/seam.h"
#include "tools/stores.h"

namespace tools {

SDL_Surface* surface = nullptr;
bool scaled = true;
bool fullscreen = true;

bool mustlock(const SDL_Surface* s) {
  return s->offset != 0 || (s->flags & (SDL_HWSURFACE | SDL_ASYNCBLIT | SDL_RLEACCEL)) != 0;
}

void openmode(int width, int height) {
  Uint32 flags = SDL_HWPALETTE;
  if (fullscreen) flags |= SDL_FULLSCREEN;
  surface = SDL_SetVideoMode(width, height, 8, flags);
  if (surface == nullptr) criticalerror(std::string("Could not Switch to GFX. ") + SDL_GetError());
}

namespace {

// Copies `words` 32-bit words to the surface under the lock rule, uploads the
// palette, flips, and hands the frame to the seam's sink.
void show(const uint8_t* pixels, uint32_t words, uint16_t width, uint16_t height) {
  const bool lock = mustlock(surface);
  bool locked = true;
  if (lock && SDL_LockSurface(surface) < 0) {
    std::printf("could not lock surface\n");
    locked = false;  // a surface that offers no pixel memory is not written
  }
  if (locked && surface->pixels != nullptr) tarngr::copydw(pixels, surface->pixels, words);
  if (lock && locked) SDL_UnlockSurface(surface);
  SDL_SetPalette(surface, SDL_LOGPAL | SDL_PHYSPAL, reinterpret_cast<SDL_Color*>(tarnpal::palstore), 0, 256);
  SDL_Flip(surface);
  if (seam::current.framesink) seam::current.framesink(pixels, width, height, tarnpal::palstore);
}

}  // namespace

void present() {
  framewait();
  if (scaled) {
    tarngr::scalecopy(screen, 0, 0, 640, 480, bigscreen);
    show(bigscreen.pixels, 76800, 640, 480);
  } else {
    show(screen.pixels, 16000, 320, 200);
  }
}

void presentbig() {
  framewait();
  show(screen.pixels, 76800, 640, 480);
}

void setmode() {
  // A refused mode leaves no usable surface: it ends the show like the others.
  if (!scaled) openmode(320, 200);
}

}  // namespace tools
