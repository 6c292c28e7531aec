// Small known pictures and palettes in place of the archive's, for building
// the tables in tests.
#pragma once

#include <cstdint>

#include "tools/stores.h"

namespace testpictures {

inline void fill(tarngr::tbitmap& bm, uint16_t w, uint16_t h, uint32_t salt) {
  bm.width = w;
  bm.height = h;
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x) bm.pixels[y * w + x] = static_cast<uint8_t>((x * 7 + y * 3 + salt) % 256);
}

// Entry i: components that differ per palette and stay 0..63.
inline void fill(tarnpal::tpalette& pal, uint32_t salt) {
  for (uint32_t i = 0; i < 256; ++i) {
    pal.entry[i].red = static_cast<uint8_t>((i + salt) % 64);
    pal.entry[i].green = static_cast<uint8_t>((i * 3 + salt) % 64);
    pal.entry[i].blue = static_cast<uint8_t>((i * 5 + salt * 7) % 64);
    pal.entry[i].spare = 0;
  }
}

// What start-up's loader would have left: every picture at its real size.
inline void load() {
  using namespace tools;
  initmemory();
  fill(teil, 256, 254, 1);
  fill(qelm1, 100, 30, 2);
  fill(corporat, 100, 30, 3);
  fill(presents, 100, 30, 4);
  fill(proudly, 100, 30, 5);
  fill(morvpic, 640, 480, 6);
  fill(morvdat, 640, 480, 7);
  fill(geoboard, 320, 200, 8);
  fill(text, 320, 200, 9);
  fill(eye1, 320, 200, 10);
  fill(eye2, 320, 200, 11);
  fill(scroll2, 320, 200, 12);
  fill(scroll1, 320, 1000, 13);
  fill(counter, 200, 30, 14);
  uint32_t salt = 20;
  for (const tpicture& p : pictures) fill(*p.palette, salt++);
}

}  // namespace testpictures
