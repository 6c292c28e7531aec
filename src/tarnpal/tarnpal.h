// tarnpal: the live palette and its fades.
//
// All drawing is in 8-bit palette indices; palstore decides what each index
// shows. Colours are 6-bit (0..63) everywhere except inside palstore, which
// keeps them times four (0..252) in exactly the layout of 256 SDL_Color
// records, so the presentation hands it to SDL unchanged.
// A component above 63 wraps in the 8-bit store (64 * 4 = 256 -> 0); callers
// keep components in range, and a few palettes of the show rely on the wrap.
// Depends on: SDL (the colour record's layout only).
#pragma once

#include <cstdint>

namespace tarnpal {

// ---- types ---------------------------------------------------------------

struct tpalentry {
  uint8_t red, green, blue, spare;
};

// 256 entries, components 0..63; spare carries nothing and no palette
// operation writes it.
struct tpalette {
  tpalentry entry[256];
};

// ---- globals -------------------------------------------------------------

// The live palette: components times four. Changed only by the operations
// below; read by the presentation once per frame.
extern tpalentry palstore[256];

// ---- operations ----------------------------------------------------------

void setcolor(uint8_t index, uint8_t red, uint8_t green, uint8_t blue);
void getcolor(uint8_t index, uint8_t& red, uint8_t& green, uint8_t& blue);
void setpalette(const tpalette& pal);
void clearpalette();
// One step of every component of every entry towards 0, 63 or the target.
void fadedown();
void fadeup();
void fadeto(const tpalette& target);

}  // namespace tarnpal
