// tarnpal: palette store and fades.
#include "tarnpal/tarnpal.h"

#include <SDL/SDL_video.h>

#include <cstddef>

namespace tarnpal {

// palstore is passed to SDL_SetPalette as SDL_Color[256].
static_assert(sizeof(tpalentry) == sizeof(SDL_Color));
static_assert(offsetof(tpalentry, red) == offsetof(SDL_Color, r));
static_assert(offsetof(tpalentry, green) == offsetof(SDL_Color, g));
static_assert(offsetof(tpalentry, blue) == offsetof(SDL_Color, b));
static_assert(offsetof(tpalentry, spare) == offsetof(SDL_Color, unused));
static_assert(sizeof(palstore) == 256 * sizeof(SDL_Color));

tpalentry palstore[256];

void setcolor(uint8_t index, uint8_t red, uint8_t green, uint8_t blue) {
  palstore[index].red = static_cast<uint8_t>(red * 4);
  palstore[index].green = static_cast<uint8_t>(green * 4);
  palstore[index].blue = static_cast<uint8_t>(blue * 4);
}

void getcolor(uint8_t index, uint8_t& red, uint8_t& green, uint8_t& blue) {
  red = palstore[index].red >> 2;
  green = palstore[index].green >> 2;
  blue = palstore[index].blue >> 2;
}

void setpalette(const tpalette& pal) {
  for (int i = 0; i < 256; ++i) {
    const tpalentry& e = pal.entry[i];
    setcolor(static_cast<uint8_t>(i), e.red, e.green, e.blue);
  }
}

void clearpalette() {
  static const tpalette black{};
  setpalette(black);
}

namespace {

uint8_t stepdown(uint8_t c) { return c > 0 ? c - 1 : 0; }
uint8_t stepup(uint8_t c) { return c < 63 ? c + 1 : 63; }
uint8_t stepto(uint8_t c, uint8_t t) {
  if (t < c) return c - 1;
  if (t > c) return c + 1;
  return c;
}

// Every fade reads an entry through getcolor and writes it through setcolor,
// entry by entry in ascending order.
template <typename Step>
void fadeeach(Step step) {
  for (int i = 0; i < 256; ++i) {
    uint8_t r, g, b;
    getcolor(static_cast<uint8_t>(i), r, g, b);
    step(i, r, g, b);
    setcolor(static_cast<uint8_t>(i), r, g, b);
  }
}

}  // namespace

void fadedown() {
  fadeeach([](int, uint8_t& r, uint8_t& g, uint8_t& b) {
    r = stepdown(r);
    g = stepdown(g);
    b = stepdown(b);
  });
}

void fadeup() {
  fadeeach([](int, uint8_t& r, uint8_t& g, uint8_t& b) {
    r = stepup(r);
    g = stepup(g);
    b = stepup(b);
  });
}

void fadeto(const tpalette& target) {
  fadeeach([&target](int i, uint8_t& r, uint8_t& g, uint8_t& b) {
    const tpalentry& t = target.entry[i];
    r = stepto(r, t.red);
    g = stepto(g, t.green);
    b = stepto(b, t.blue);
  });
}

}  // namespace tarnpal
