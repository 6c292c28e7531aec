// scrolls: the two scroller pictures.
//
// scroll1 (320x1000) scrolls behind the code and graphics credits and is
// shown as a window over two copies of itself, so it repeats seamlessly
// top to bottom (and across, for the sideways-sliding copies): shaded
// spheres floating in a nebula, drawn as a brightness ramp in colours 1..19
// (start-up turns colour 20 into a grey, so the picture never uses it).
// Start-up doubles the blue of those colours, adds 3 to every component and
// reads their red as a grey ramp, so the ramp keeps blue <= 31, every
// component <= 60 and red climbing with brightness.
//
// scroll2 (320x200) rolls through the perspective scroller, which only
// knows grey levels: its palette is the 64 greys, colour k = level k - 1.
// It rolls round over rows 1..198, so those repeat seamlessly.
// Depends on: draw, lettering, words.
#include <algorithm>
#include <cmath>

#include "assets/pictures/draw.h"
#include "assets/pictures/lettering.h"
#include "assets/pictures/pictures.h"
#include "assets/pictures/words.h"

namespace assets {

namespace {

float wrapdelta(float d, float period) {
  d = std::fmod(d, period);
  if (d > period * 0.5f) d -= period;
  if (d < -period * 0.5f) d += period;
  return d;
}

// The 4x4 ordered dither threshold at (x, y), in [0, 1).
float bayer4(int32_t x, int32_t y) {
  static const uint8_t order[16] = {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};
  return (static_cast<float>(order[(y & 3) * 4 + (x & 3)]) + 0.5f) / 16.0f;
}

struct tsphere {
  float x, y, r;
};

}  // namespace

tartwork drawscroll1() {
  constexpr int32_t w = 320, h = 1000;
  constexpr uint32_t seed = 0x5c01u;
  tartwork art = makeartwork("scroll1", w, h, 20);
  rampentries(art, 1, 20,
              {{0.0f, {2, 2, 8}},
               {0.3f, {14, 6, 22}},
               {0.55f, {34, 14, 26}},
               {0.75f, {50, 30, 22}},
               {0.9f, {57, 47, 24}},
               {0.95f, {60, 58, 31}},
               {1.0f, {60, 58, 31}}});

  // Nebula: two layers of noise that repeat every 320 x 1000 pixels.
  tfield v = makefield(w, h);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      float n1 = periodicfbm(x * 4.0f / w, y * 12.0f / h, 4, 12, seed, 5);
      float n2 = periodicfbm(x * 2.0f / w, y * 6.0f / h, 2, 6, seed + 50, 3);
      float cloud = smoothstep(0.35f, 0.75f, n1 * 0.6f + n2 * 0.4f);
      at(v, x, y) = 0.04f + cloud * 0.38f;
    }
  }

  // Spheres, smaller ones first so the big ones lie in front.
  std::vector<tsphere> spheres;
  for (int32_t i = 0; i < 46; ++i) {
    float r = 8.0f + 40.0f * std::pow(hashunit(i, 2, seed), 2.2f);
    spheres.push_back({hashunit(i, 0, seed) * w, hashunit(i, 1, seed) * h, r});
  }
  std::sort(spheres.begin(), spheres.end(), [](const tsphere& a, const tsphere& b) { return a.r < b.r; });
  for (const tsphere& s : spheres) {
    int32_t reach = static_cast<int32_t>(s.r * 1.4f) + 2;
    for (int32_t dy = -reach; dy <= reach; ++dy) {
      for (int32_t dx = -reach; dx <= reach; ++dx) {
        int32_t px = ((static_cast<int32_t>(s.x) + dx) % w + w) % w;
        int32_t py = ((static_cast<int32_t>(s.y) + dy) % h + h) % h;
        float ex = wrapdelta(px + 0.5f - s.x, w), ey = wrapdelta(py + 0.5f - s.y, h) * 1.2f;
        float d = std::sqrt(ex * ex + ey * ey) / s.r;
        float& out = at(v, px, py);
        if (d >= 1.0f) {
          out *= 0.45f + 0.55f * smoothstep(1.0f, 1.35f, d);  // soft shadow ring
          continue;
        }
        float nx = ex / s.r, ny = ey / s.r, nz = std::sqrt(std::max(0.0f, 1.0f - nx * nx - ny * ny));
        float diffuse = std::max(0.0f, (-0.5f * nx - 0.6f * ny + 0.62f * nz));
        float hx = -0.5f, hy = -0.6f, hz = 1.62f;  // half vector of light and eye
        float hl = std::sqrt(hx * hx + hy * hy + hz * hz);
        float specular = std::pow(std::max(0.0f, (nx * hx + ny * hy + nz * hz) / hl), 30.0f);
        float rimlight = std::pow(1.0f - nz, 3.0f) * 0.25f;  // back light on the lower right
        out = clamp01(0.08f + diffuse * 0.72f + specular * 0.5f + rimlight * std::max(0.0f, nx + ny));
      }
    }
  }
  // 19 levels band on the big spheres: an ordered 4x4 dither between
  // neighbouring levels turns the steps into a smooth ramp. The pattern
  // repeats every 4 pixels, so the picture still tiles.
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      float level = clamp01(at(v, x, y)) * 18.0f + bayer4(x, y);
      art.pixels[static_cast<size_t>(y) * w + x] = static_cast<uint8_t>(1 + std::min(18, static_cast<int32_t>(level)));
    }
  return art;
}

}  // namespace assets

namespace assets {

tartwork drawscroll2() {
  constexpr int32_t w = 320, h = 200;
  constexpr int32_t period = 198;  // the scroller shows rows 1..198 in a loop
  constexpr uint32_t seed = 0x5c02u;
  tartwork art = makeartwork("scroll2", w, h, 64);
  for (uint32_t i = 1; i <= 64; ++i) {
    uint8_t g = static_cast<uint8_t>(i - 1);
    art.palette.entry[i] = {g, g, g, 0};
  }
  tfield v = makefield(w, h);
  for (int32_t y = 0; y < h; ++y) {
    float fy = static_cast<float>(((y - 1) % period + period) % period) + 0.5f;
    for (int32_t x = 0; x < w; ++x) {
      float fx = x + 0.5f;
      // A floor of 8 x 6 plates with glowing seams and a stud at each corner.
      float cw = w / 8.0f, ch = period / 6.0f;
      float u = std::fmod(fx, cw), t = std::fmod(fy, ch);
      float seam = std::min(std::min(u, cw - u), std::min(t, ch - t));
      float cu = std::min(u, cw - u), ct = std::min(t, ch - t);
      float stud = std::sqrt(cu * cu + ct * ct);
      int32_t plate = static_cast<int32_t>(fx / cw) + static_cast<int32_t>(fy / ch);
      float grain = periodicfbm(fx / 20.0f, fy * 10.0f / period, 16, 10, seed, 4);
      float face = 0.12f + 0.08f * (plate & 1) + 0.1f * grain;
      // Each plate is lit from its upper left corner.
      face += 0.08f * (1.0f - (u / cw + t / ch) * 0.5f);
      float glow = std::exp(-seam * seam / 6.0f) * 0.55f + std::exp(-seam / 4.0f) * 0.15f;
      float studlight = std::exp(-stud * stud / 10.0f) * 0.6f;
      at(v, x, y) = clamp01(face + glow + studlight);
    }
  }
  // The production's name inlaid in the floor: bright bevelled letters in
  // a dark recess with a halo round it.
  tfield word = makefield(w, h);
  inkline(word, floorword(), 1.0f);
  tfield halo = word;
  blurfield(halo, 4, 3);
  tfield lit = bevellight(word, 3.0f, -0.6f, -0.8f);
  for (size_t i = 0; i < v.value.size(); ++i) {
    float recess = v.value[i] * (1.0f - 0.8f * clamp01(halo.value[i] * 2.5f));
    float light = halo.value[i] * 0.5f;
    v.value[i] = word.value[i] > 0.5f ? clamp01(0.25f + 0.75f * lit.value[i]) : clamp01(recess + light);
  }
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      art.pixels[static_cast<size_t>(y) * w + x] = static_cast<uint8_t>(1 + std::lround(at(v, x, y) * 63.0f));
  return art;
}

}  // namespace assets
