// counter: digits cut from the counter picture into digitcell.
#include "tools/counter.h"

#include "tools/stores.h"

namespace tools {

void drawcounter(uint16_t x, uint16_t y, uint8_t n, tarngr::tbitmap& target) {
  tarngr::transcolor = counterbackground;
  if (n < 10) {
    const uint16_t left = static_cast<uint16_t>(20 * n);
    tarngr::copyrect(counter, left, 0, static_cast<uint16_t>(left + 20), 30, digitcell);
    tarngr::spriteblit(x, y, digitcell, target);
  } else if (n <= 99) {
    const int tens = n / 10, ones = n - 10 * tens;
    const uint16_t t = static_cast<uint16_t>(20 * tens + 1), o = static_cast<uint16_t>(20 * ones + 1);
    tarngr::copyrect(counter, t, 0, static_cast<uint16_t>(t + 16), 30, digitcell);
    tarngr::spriteblit(x, y, digitcell, target);
    tarngr::copyrect(counter, o, 0, static_cast<uint16_t>(o + 16), 30, digitcell);
    tarngr::spriteblit(x + 20, y, digitcell, target);
  }
}

}  // namespace tools
