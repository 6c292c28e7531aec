// counter: the two-digit number drawn from the counter picture.
//
// The counter picture is a strip of ten 20x30 digit cells (digit d at
// columns 20d..20d+19), its colours shifted by 64 at start-up; colour 69 is
// the background around the digits and is not drawn.
// Depends on: tarngr (copyrect, spriteblit, transcolor), tools/stores.
#pragma once

#include <cstdint>

#include "tarngr/tarngr.h"

namespace tools {

constexpr uint8_t counterbackground = 69;

// Draws n (0..99) with its top-left at (x, y): one full 20-pixel cell for
// 0..9, the 16-pixel middles of two cells 20 pixels apart for 10..99;
// nothing for 100 and above. Leaves transcolor at 69 in every case.
void drawcounter(uint16_t x, uint16_t y, uint8_t n, tarngr::tbitmap& target);

}  // namespace tools
