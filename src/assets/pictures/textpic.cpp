// textpic: the lettering laid over the swirl tunnel.
//
// Warm gold greetings on a transparent background (colour 116), so that the
// blue tunnel turns behind them; colours 1..185 otherwise. Every letter has
// a dark outline and a drop shadow, which keeps it readable over the bright
// parts of the tunnel.
// Depends on: draw, lettering, words.
#include "assets/pictures/draw.h"
#include "assets/pictures/lettering.h"
#include "assets/pictures/pictures.h"
#include "assets/pictures/words.h"

namespace assets {

tartwork drawtext() {
  constexpr int32_t w = 320, h = 200;
  constexpr uint8_t background = 116;
  tartwork art = makeartwork("text", w, h, 185);
  tcanvas canvas = makecanvas(w, h, {}, 0);

  const std::vector<tline> title{greetingsword()};
  const twordstyle gold{{{0.0f, {63, 60, 40}}, {0.45f, {60, 40, 10}}, {0.55f, {40, 18, 4}}, {1.0f, {62, 46, 18}}},
                        {3, 2, 10}, 1.2f, 3.8f, -0.6f, -0.8f, 3.0f, 3.0f, {1, 1, 6}};
  paintwords(canvas, title, gold, 3);

  const std::vector<tline> lines = greetingslines();
  const twordstyle silver{{{0.0f, {63, 63, 63}}, {0.5f, {40, 44, 52}}, {1.0f, {58, 56, 60}}},
                          {3, 2, 10}, 1.0f, 2.5f, -0.6f, -0.8f, 2.0f, 2.0f, {1, 1, 6}};
  paintwords(canvas, lines, silver, 3);

  quantize(art, canvas, slotrange(1, 185, background), background, 0.4f);
  art.palette.entry[background] = {0, 0, 0, 0};
  return art;
}

}  // namespace assets
