// logos: the four 100x30 words that wobble over the two tunnels.
//
// Each is a word in bevelled metal with a dark outline and a small drop
// shadow on its picture's transparent background colour. The show
// stretches them by up to a fifth across and squeezes them from 43 down to
// 21 rows, so strokes are two pixels or more. Over the yellow opening tunnel: the
// makers' name in blue chrome and "CORPORATION" in violet silver; over the
// pale rotating tunnel: "presents" and "proudly" in ember red.
// The words and their sizes are in words.cpp.
// Depends on: draw, lettering, words.
#include "assets/pictures/draw.h"
#include "assets/pictures/lettering.h"
#include "assets/pictures/pictures.h"
#include "assets/pictures/words.h"

namespace assets {

namespace {

constexpr int32_t logowidth = 100;
constexpr int32_t logoheight = 30;
constexpr int32_t logosupersample = 4;

tartwork paintlogo(const std::string& stem, uint8_t colors, uint8_t background, tline line, const twordstyle& style) {
  tartwork art = makeartwork(stem, logowidth, logoheight, colors);
  tcanvas canvas = makecanvas(logowidth, logoheight, {}, 0);
  paintwords(canvas, {line}, style, logosupersample);
  quantize(art, canvas, slotrange(1, colors, background), background, 0.0f);
  art.palette.entry[background] = {0, 0, 0, 0};
  return art;
}

const twordstyle bluechrome{{{0.0f, {50, 60, 63}}, {0.45f, {14, 30, 56}}, {0.55f, {6, 12, 34}}, {1.0f, {36, 50, 63}}},
                            {1, 2, 8}, 0.8f, 2.2f, -0.6f, -0.8f, 1.0f, 1.5f, {2, 2, 6}};
const twordstyle violetsilver{{{0.0f, {60, 56, 63}}, {0.5f, {36, 20, 48}}, {1.0f, {52, 36, 60}}},
                              {4, 0, 8}, 0.6f, 1.2f, -0.6f, -0.8f, 0.0f, 0.0f, {}};
const twordstyle ember{{{0.0f, {63, 52, 20}}, {0.5f, {58, 22, 6}}, {1.0f, {36, 4, 8}}},
                       {6, 1, 2}, 0.8f, 1.6f, -0.6f, -0.8f, 1.0f, 1.0f, {2, 0, 2}};

}  // namespace

tartwork drawqelm1() { return paintlogo("qelm1", 51, 4, qelm1word(), bluechrome); }

tartwork drawcorporat() { return paintlogo("corporat", 70, 53, corporatword(), violetsilver); }

tartwork drawpresents() { return paintlogo("presents", 16, 15, presentsword(), ember); }

tartwork drawproudly() { return paintlogo("proudly", 16, 15, proudlyword(), ember); }

}  // namespace assets
