// canvas: a bitmap over heap memory with guard bytes on both sides, so a
// test can tell a clipped write from one that escaped the bitmap.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "tarngr/tarngr.h"

namespace testsupport {

struct tcanvas {
  static constexpr uint32_t guard = 4096;
  static constexpr uint8_t guardvalue = 0xA5;

  std::vector<uint8_t> store;
  tarngr::tbitmap bm;

  tcanvas(uint16_t width, uint16_t height, uint8_t fill = 0)
      : store(2 * guard + static_cast<size_t>(width) * height, guardvalue) {
    tarngr::initbitmap(bm, width, height, store.data() + guard);
    std::fill(bm.pixels, bm.pixels + size(), fill);
  }
  size_t size() const { return static_cast<size_t>(bm.width) * bm.height; }
  uint8_t at(int x, int y) const { return bm.pixels[y * bm.width + x]; }
  bool guardsintact() const {
    for (uint32_t i = 0; i < guard; ++i)
      if (store[i] != guardvalue || store[store.size() - 1 - i] != guardvalue) return false;
    return true;
  }
  // How many pixels differ from v.
  size_t countnot(uint8_t v) const {
    size_t n = 0;
    for (size_t i = 0; i < size(); ++i) n += bm.pixels[i] != v;
    return n;
  }
};

}  // namespace testsupport
