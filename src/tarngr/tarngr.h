// tarngr: bitmaps, pixel primitives, blits and filters.
//
// Every picture and buffer of the show is a tbitmap: rows top to bottom,
// each exactly `width` bytes, pixel (x, y) at pixels + y*width + x. A bitmap
// never owns its pixels; start-up points each one at a static store.
// Reads outside a bitmap give 0 and writes outside are dropped. The blits go
// through that clipping; the two filters work on raw 320-wide buffers and
// trust their count (limits below, checked under MORVANTA_CHECKS).
// The whole-frame blits and filters are written for speed; tarngr/plain.h
// keeps the plain rules they must match byte for byte.
// Depends on: tarnpal (mergepal), runtime (checks).
#pragma once

#include <array>
#include <cstdint>

#include "tarnpal/tarnpal.h"

namespace tarngr {

// ---- types ---------------------------------------------------------------

struct tbitmap {
  uint8_t* pixels = nullptr;
  uint16_t width = 0;
  uint16_t height = 0;
  uint8_t colors = 0;  // colours a loaded picture brought, else 0
};

// ---- globals -------------------------------------------------------------

// y * 320 for y = 0..200 (the last entry is just past a 320x200 buffer).
inline constexpr std::array<uint32_t, 201> rowoffset = [] {
  std::array<uint32_t, 201> t{};
  for (uint32_t y = 0; y <= 200; ++y) t[y] = y * 320;
  return t;
}();

// The transparent index honoured by scaleblit and spriteblit. Scenes set it.
extern uint8_t transcolor;

// ---- pixel primitives ----------------------------------------------------

// Sets pixels, width and height; colors is left as it was.
void initbitmap(tbitmap& bm, uint16_t width, uint16_t height, uint8_t* pixels);

// One unsigned comparison per coordinate rejects negative ones too.
inline uint8_t getpixel(int32_t x, int32_t y, const tbitmap& bm) {
  if (static_cast<uint32_t>(x) < bm.width && static_cast<uint32_t>(y) < bm.height)
    return bm.pixels[static_cast<uint32_t>(y) * bm.width + static_cast<uint32_t>(x)];
  return 0;
}

inline void putpixel(int32_t x, int32_t y, uint8_t colour, tbitmap& bm) {
  if (static_cast<uint32_t>(x) < bm.width && static_cast<uint32_t>(y) < bm.height)
    bm.pixels[static_cast<uint32_t>(y) * bm.width + static_cast<uint32_t>(x)] = colour;
}

// Integer Bresenham (a tie steps diagonally), both ends drawn, clipped per pixel;
// a line of length zero draws nothing.
void drawline(tbitmap& bm, int16_t x1, int16_t y1, int16_t x2, int16_t y2, uint8_t colour);
// drawline from (x, y1) to (x, y2). The y values come first.
void drawvline(tbitmap& bm, int16_t y1, int16_t y2, int16_t x, uint8_t colour);

// ---- blits ---------------------------------------------------------------

// Scale the whole source onto x1 <= x < x2, y1 <= y < y2 with single-
// precision running sums; scaleblit skips source pixels equal to transcolor.
// Limits: x2 > x1, y2 > y1.
void scaleblit(const tbitmap& src, int32_t x1, int32_t y1, int32_t x2, int32_t y2, tbitmap& dst);
void scalecopy(const tbitmap& src, int32_t x1, int32_t y1, int32_t x2, int32_t y2, tbitmap& dst);

// Unscaled copy with its top-left at (x, y), skipping transcolor.
void spriteblit(int32_t x, int32_t y, const tbitmap& src, tbitmap& dst);

// dst becomes (x2-x1) x (y2-y1) and receives that rectangle of src.
// Limits: x2 > x1, y2 > y1; dst's store covers the new size.
void copyrect(const tbitmap& src, uint16_t x1, uint16_t y1, uint16_t x2, uint16_t y2, tbitmap& dst);

// Adds amount to every pixel, modulo 256.
void brighten(tbitmap& bm, uint8_t amount);

// ---- filters on raw 320-wide buffers ---------------------------------------

// In place, ascending: b[k] = (b[k+320] + b[k-320] + b[k+1] + b[k-1]) div 4
// for k = 320..n. Limits: n >= 320; b holds n + 321 bytes.
void blur(uint8_t* b, uint16_t n);
// As blur, and a non-zero result is lowered by 1 before it is stored.
void blurfade(uint8_t* b, uint16_t n);

// ---- block operations ------------------------------------------------------

// n 32-bit words, lowest address first (an overlapping copy runs forwards).
void copydw(const void* src, void* dst, uint32_t n);
void filldw(void* dst, uint32_t n, uint32_t value);

// dst entries base+1..base+n := src entries 1..n (red, green, blue), from a
// copy of src taken first. Limit: base + n <= 255.
void mergepal(const tarnpal::tpalette& src, uint8_t n, tarnpal::tpalette& dst, uint8_t base);

}  // namespace tarngr
