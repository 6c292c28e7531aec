// title: the 640x480 title picture and its star mask.
//
// morvpic: deep space with a nebula and a ringed planet, the name of the
// production in tall chrome-rimmed letters whose faces are dark glass, and
// the makers' name below. The star field of the title scene flies only
// inside those faces (morvdat marks them with 4, everything else 0), in
// colours 255 (core) and 245 (arms), which are kept out of the picture's
// own colours and made bright.
// Depends on: draw, lettering, words.
#include <algorithm>
#include <cmath>

#include "assets/pictures/draw.h"
#include "assets/pictures/lettering.h"
#include "assets/pictures/pictures.h"
#include "assets/pictures/words.h"

namespace assets {

namespace {

constexpr int32_t titlewidth = 640;
constexpr int32_t titleheight = 480;
constexpr uint32_t titleseed = 0x717eu;
constexpr float rimwidth = 5.0f;  // chrome rim inside each letter's edge

// The big letters' coverage.
tfield titlemask() {
  tfield m = makefield(titlewidth, titleheight);
  inkline(m, titleword(), 1.0f);
  return m;
}

// Where the stars may show: the letters' faces inside the rim.
tfield facemask(const tfield& letter) {
  tfield outside = makefield(titlewidth, titleheight);
  for (size_t i = 0; i < outside.value.size(); ++i) outside.value[i] = letter.value[i] > 0.5f ? 0.0f : 1.0f;
  tfield depth = distanceto(outside);
  tfield face = makefield(titlewidth, titleheight);
  for (size_t i = 0; i < face.value.size(); ++i) face.value[i] = depth.value[i] > rimwidth + 0.5f ? 1.0f : 0.0f;
  return face;
}

tcolour spaceat(float x, float y) {
  float n = periodicfbm(x / 90.0f, y / 90.0f, 64, 64, titleseed, 5);
  float m = periodicfbm(x / 160.0f + 3.0f, y / 160.0f, 64, 64, titleseed + 11, 4);
  tcolour c = gradient({{0.0f, {1, 1, 6}}, {0.6f, {3, 2, 12}}, {1.0f, {8, 3, 16}}}, y / titleheight);
  float cloud = smoothstep(0.45f, 0.8f, n) * (0.6f + 0.6f * m);
  c = add(c, scale(gradient({{0.0f, {10, 4, 24}}, {0.5f, {30, 8, 30}}, {1.0f, {40, 22, 20}}}, m), cloud));
  // Faint background stars: sparse hashed points, a few with a soft halo.
  int32_t ix = static_cast<int32_t>(x), iy = static_cast<int32_t>(y);
  float h = hashunit(ix, iy, titleseed + 5);
  if (h > 0.9975f) c = add(c, scale({40, 40, 44}, (h - 0.9975f) / 0.0025f));
  return c;
}

}  // namespace

tartwork drawmorvpic() {
  tartwork art = makeartwork("morvpic", titlewidth, titleheight, 255);
  tcanvas canvas = makecanvas(titlewidth, titleheight);

  for (int32_t y = 0; y < titleheight; ++y)
    for (int32_t x = 0; x < titlewidth; ++x)
      canvas.colour[static_cast<size_t>(y) * titlewidth + x] = spaceat(x + 0.5f, y + 0.5f);

  // A ringed planet low on the left, lit from the upper right.
  const float px = 110.0f, py = 470.0f, pr = 170.0f;
  for (int32_t y = 0; y < titleheight; ++y) {
    for (int32_t x = 0; x < titlewidth; ++x) {
      tcolour& c = canvas.colour[static_cast<size_t>(y) * titlewidth + x];
      float dx = (x + 0.5f - px) / pr, dy = (y + 0.5f - py) / pr;
      float d = std::sqrt(dx * dx + dy * dy);
      // Ring: a tilted ellipse, drawn behind the planet's upper half.
      float rx = dx * 0.9f - dy * 0.44f, ry = (dx * 0.44f + dy * 0.9f) * 4.2f;
      float rd = std::sqrt(rx * rx + ry * ry);
      float ring = smoothstep(1.25f, 1.3f, rd) * smoothstep(1.85f, 1.78f, rd) *
                   (0.7f + 0.3f * std::sin(rd * 24.0f)) * 0.75f;
      bool ringfront = ry > 0.0f;
      if (!ringfront) c = mix(c, {46, 36, 26}, ring);
      if (d < 1.0f) {
        float nz = std::sqrt(1.0f - d * d);
        float light = std::max(0.0f, dx * 0.55f - dy * 0.6f + nz * 0.58f);
        float band = periodicfbm(dx * 2.0f, (dy + 0.15f * dx * dx) * 14.0f, 16, 64, titleseed + 21, 4);
        tcolour surface = gradient({{0.0f, {22, 10, 18}}, {0.5f, {40, 20, 22}}, {1.0f, {56, 40, 30}}}, band);
        c = scale(surface, 0.05f + light * 1.05f);
      } else {
        c = add(c, scale({10, 14, 40}, std::exp(-(d - 1.0f) * 28.0f)));  // atmosphere
      }
      if (ringfront) c = mix(c, {50, 40, 30}, ring);
    }
  }

  // The title: chrome rims, glassy faces, a glow behind.
  const tline title = titleword();
  const float top = title.top, cap = title.type.cap;
  tfield letter = titlemask();
  tfield face = facemask(letter);
  tfield glow = letter;
  blurfield(glow, 6, 3);
  tfield lit = bevellight(letter, rimwidth, -0.6f, -0.8f);
  for (int32_t y = 0; y < titleheight; ++y) {
    for (int32_t x = 0; x < titlewidth; ++x) {
      size_t i = static_cast<size_t>(y) * titlewidth + x;
      tcolour& c = canvas.colour[i];
      if (letter.value[i] <= 0.5f) {
        c = add(c, scale({14, 20, 40}, glow.value[i] * 0.9f));
        continue;
      }
      if (face.value[i] > 0.5f) {
        // Dark glass: a deep gradient with a diagonal sheen.
        float t = (y - top) / cap;
        float sheen = std::exp(-std::pow((x * 0.35f + y - top - cap * 0.9f) / 14.0f, 2.0f)) * 0.35f;
        c = add(gradient({{0.0f, {2, 3, 12}}, {1.0f, {6, 2, 16}}}, t), scale({20, 26, 40}, sheen));
      } else {
        float l = lit.value[i];
        float vertical = (y - top) / cap;
        tcolour chrome = gradient({{0.0f, {60, 62, 63}}, {0.45f, {30, 38, 52}}, {0.5f, {12, 14, 26}},
                                   {0.75f, {40, 34, 46}}, {1.0f, {58, 50, 40}}},
                                  vertical);
        c = scale(chrome, 0.25f + l * 0.75f);
      }
    }
  }

  // The makers' line below the title.
  const tline makers = makersword();
  tfield small = makefield(titlewidth, titleheight);
  inkline(small, makers, 1.0f);
  tfield smalllit = bevellight(small, makers.type.weight * 0.5f, -0.6f, -0.8f);
  for (size_t i = 0; i < small.value.size(); ++i) {
    if (small.value[i] <= 0.5f) continue;
    float t = (static_cast<float>(i / titlewidth) - makers.top) / (makers.type.cap * 1.28f);
    tcolour gold = gradient({{0.0f, {63, 56, 36}}, {1.0f, {50, 28, 14}}}, t);
    canvas.colour[i] = scale(gold, 0.3f + smalllit.value[i] * 0.7f);
  }

  // Colours 245..255 are the stars'; the picture keeps to 1..244.
  quantize(art, canvas, slotrange(1, 244), 1, 0.5f);
  for (uint32_t i = 245; i <= 255; ++i) art.palette.entry[i] = {56, 58, 63, 0};
  art.palette.entry[255] = {63, 63, 63, 0};
  return art;
}

tartwork drawmorvdat() {
  tartwork art = makeartwork("morvdat", titlewidth, titleheight, 4);
  rampentries(art, 1, 4, {{0.0f, {16, 16, 16}}, {1.0f, {63, 63, 63}}});
  tfield face = facemask(titlemask());
  for (size_t i = 0; i < art.pixels.size(); ++i) art.pixels[i] = face.value[i] > 0.5f ? 4 : 0;
  return art;
}

}  // namespace assets
