// Small known pictures and palettes in place of the archive's, for building
// the tables in tests.
#pragma once

#include <cstdint>

#include "tools/stores.h"

namespace testpictures {

// What load() puts at pixel k of a picture of the given size, and at
// entry i of the palette of picture number salt.
inline uint8_t pixel(const tarngr::tbitmap& bm, uint32_t k) {
  return static_cast<uint8_t>(k * 7 + bm.width + bm.height);
}
inline tarnpal::tpalentry colour(uint32_t salt, uint32_t i) {
  return {static_cast<uint8_t>((i + salt) % 64), static_cast<uint8_t>((i * 3 + salt) % 64),
          static_cast<uint8_t>((i * 5 + salt * 7) % 64), 0};
}

// What start-up's loader would have left: every picture at its real size.
inline void load() {
  using namespace tools;
  initmemory();
  uint32_t salt = 0;
  for (const tpicture& p : pictures) {
    tarngr::tbitmap& bm = *p.bitmap;
    bm.width = 320, bm.height = 200;
    if (&bm == &teil) bm.width = 256, bm.height = 254;
    if (p.storesize == 3004) bm.width = 100, bm.height = 30;
    if (p.storesize == 307204) bm.width = 640, bm.height = 480;
    if (&bm == &scroll1) bm.height = 1000;
    if (&bm == &counter) bm.width = 200, bm.height = 30;
    for (uint32_t k = 0; k < uint32_t{bm.width} * bm.height; ++k) bm.pixels[k] = pixel(bm, k);
    for (uint32_t i = 0; i < 256; ++i) p.palette->entry[i] = colour(salt, i);
    ++salt;
  }
}

}  // namespace testpictures
