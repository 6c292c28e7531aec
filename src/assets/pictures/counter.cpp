// counter: the strip of ten digits for the row counter.
//
// Digit d fills the 20x30 cell at column 20d in colours 1..4 on the
// transparent colour 5. A two-digit number is cut from columns 1..16 of
// each cell, so every digit keeps inside them. The fountain scene shows the
// digits over its blue ramp: ice-white faces with a dark rim.
// Depends on: draw, lettering, words.
#include "assets/pictures/draw.h"
#include "assets/pictures/lettering.h"
#include "assets/pictures/pictures.h"
#include "assets/pictures/words.h"

namespace assets {

tartwork drawcounter() {
  constexpr int32_t w = 200, h = 30;
  constexpr uint8_t background = 5;
  tartwork art = makeartwork("counter", w, h, 5);
  tcanvas canvas = makecanvas(w, h, {}, 0);
  std::vector<tline> digits;
  for (int32_t d = 0; d < 10; ++d) digits.push_back(digitword(d));
  const twordstyle ice{{{0.0f, {63, 63, 63}}, {0.5f, {40, 52, 63}}, {1.0f, {56, 62, 63}}},
                       {2, 4, 16}, 0.7f, 1.4f, -0.6f, -0.8f, 0.0f, 0.0f, {}};
  paintwords(canvas, digits, ice, 4);
  quantize(art, canvas, slotrange(1, 4), background, 0.0f);
  art.palette.entry[background] = {0, 0, 0, 0};
  return art;
}

}  // namespace assets
