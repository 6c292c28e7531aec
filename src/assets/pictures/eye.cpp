// eye: the large eye of the lens scene and its lens mask.
//
// eye1 is painted in full colour (skin, lids with lashes, a shaded white,
// a fibrous iris around a black pupil with a window glint) and reduced to
// 239 colours. The iris is an ellipse round (154, 118) a little wider than
// high, which looks round on the 4:3 screen. eye2 marks with colour 1
// exactly the iris and pupil pixels that the lids leave visible; every
// other pixel is 2.
// Depends on: draw.
#include <algorithm>
#include <cmath>

#include "assets/pictures/draw.h"
#include "assets/pictures/pictures.h"

namespace assets {

namespace {

constexpr int32_t eyewidth = 320;
constexpr int32_t eyeheight = 200;
constexpr uint32_t eyeseed = 0xe7e1u;
constexpr float pi = 3.14159265358979f;

// The lid edges: the opening spans columns 0..308 as an almond.
float across(float x) { return (x - 154.0f) / 156.0f; }
float upperlid(float x) {
  float t = clamp01(1.0f - across(x) * across(x));
  return 118.0f - 64.0f * std::pow(t, 0.75f) + 6.0f * across(x);
}
float lowerlid(float x) {
  float t = clamp01(1.0f - across(x) * across(x));
  return 118.0f + 68.0f * std::pow(t, 0.95f) - 4.0f * across(x);
}

// Normalised iris radius: 1 on the iris rim.
float irisradius(float x, float y) {
  float dx = (x - irisx) / irisrx, dy = (y - irisy) / irisry;
  return std::sqrt(dx * dx + dy * dy);
}

bool inopening(float x, float y) { return std::fabs(across(x)) < 1.0f && y > upperlid(x) && y < lowerlid(x); }

float segmentdistance(float px, float py, float ax, float ay, float bx, float by) {
  float vx = bx - ax, vy = by - ay;
  float t = clamp01(((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy));
  float dx = px - ax - t * vx, dy = py - ay - t * vy;
  return std::sqrt(dx * dx + dy * dy);
}

// A lash: a curved, tapering stroke from the lid edge outwards, painted as
// darkness (0..1) into f.
void lash(tfield& f, float x, float y, float dirx, float diry, float curl, float length, float thick) {
  float px = x, py = y;
  const int32_t steps = 8;
  for (int32_t s = 0; s < steps; ++s) {
    float a = static_cast<float>(s) / steps;
    float ang = std::atan2(diry, dirx) + curl * a;
    float nx = px + std::cos(ang) * length / steps, ny = py + std::sin(ang) * length / steps;
    float r = thick * (1.0f - a * 0.8f);
    int32_t x0 = static_cast<int32_t>(std::min(px, nx) - 2), x1 = static_cast<int32_t>(std::max(px, nx) + 2);
    int32_t y0 = static_cast<int32_t>(std::min(py, ny) - 2), y1 = static_cast<int32_t>(std::max(py, ny) + 2);
    for (int32_t yy = std::max(0, y0); yy <= std::min(eyeheight - 1, y1); ++yy)
      for (int32_t xx = std::max(0, x0); xx <= std::min(eyewidth - 1, x1); ++xx) {
        float d = segmentdistance(xx + 0.5f, yy + 0.5f, px, py, nx, ny);
        at(f, xx, yy) = std::max(at(f, xx, yy), clamp01(r + 0.5f - d));
      }
    px = nx;
    py = ny;
  }
}

tcolour skinat(float x, float y) {
  float n = periodicfbm(x / 24.0f, y / 24.0f, 64, 64, eyeseed + 9, 4);
  tcolour base = gradient({{0.0f, {58, 46, 40}}, {0.5f, {54, 40, 33}}, {1.0f, {46, 32, 27}}}, y / eyeheight);
  // Fold above the upper lid and the soft hollow under the lower one.
  float fold = upperlid(x) - 20.0f - 10.0f * (1.0f - std::fabs(across(x)));
  float crease = std::exp(-(y - fold) * (y - fold) / 18.0f) * 0.22f;
  float lidshade = (y < upperlid(x) && y > fold) ? 0.08f * (1.0f - (upperlid(x) - y) / 30.0f) : 0.0f;
  float k = 1.0f - crease - lidshade + (n - 0.5f) * 0.12f;
  return scale(base, k);
}

tcolour scleraat(float x, float y) {
  float corner = std::fabs(across(x));
  tcolour white = {58, 57, 54};
  tcolour pink = {54, 38, 36};
  tcolour c = mix(white, pink, smoothstep(0.6f, 1.0f, corner));
  // Round eyeball: darker towards the corners and under the upper lid.
  float ball = 1.0f - 0.35f * corner * corner;
  float lidshadow = 1.0f - 0.45f * std::exp(-(y - upperlid(x)) / 9.0f);
  float lowershade = 1.0f - 0.15f * std::exp(-(lowerlid(x) - y) / 6.0f);
  // Faint veins: thin ridges of noise that get stronger towards the corners.
  float vn = periodicfbm(x / 14.0f, y / 14.0f, 64, 64, eyeseed + 21, 3);
  float vein = std::pow(clamp01(1.0f - std::fabs(vn - 0.5f) * 14.0f), 2.0f) * smoothstep(0.35f, 0.9f, corner) * 0.6f;
  c = mix(c, {46, 14, 14}, vein);
  return scale(c, ball * lidshadow * lowershade);
}

tcolour irisat(float x, float y, float rho) {
  float dx = (x - irisx) / irisrx, dy = (y - irisy) / irisry;
  float ang = std::atan2(dy, dx);  // -pi..pi
  float around = (ang + pi) / (2.0f * pi) * 96.0f;  // 96 lattice cells around
  float fibre = periodicfbm(around, rho * 6.0f, 96, 64, eyeseed + 33, 3);
  float fine = periodicnoise(around * 3.0f, rho * 3.0f, 288, 64, eyeseed + 34);
  float crypt = periodicfbm(around * 0.5f, rho * 4.0f, 48, 64, eyeseed + 35, 2);
  tcolour c = gradient({{0.30f, {40, 26, 8}},
                        {0.42f, {50, 36, 12}},
                        {0.52f, {22, 38, 34}},
                        {0.75f, {12, 34, 46}},
                        {0.92f, {8, 22, 38}},
                        {1.0f, {3, 6, 14}}},
                       rho);
  float k = 0.7f + 0.5f * fibre + 0.2f * (fine - 0.5f);
  k *= 1.0f - 0.45f * smoothstep(0.55f, 0.75f, crypt) * smoothstep(0.45f, 0.6f, rho);
  c = scale(c, k);
  // Collarette: a bright wavy ring round the pupil zone.
  float wave = 0.47f + 0.03f * std::sin(ang * 11.0f);
  c = add(c, scale({20, 18, 8}, std::exp(-(rho - wave) * (rho - wave) / 0.0012f)));
  // The limbal ring darkens the rim; the upper lid throws a shadow.
  c = scale(c, 1.0f - 0.6f * smoothstep(0.86f, 1.0f, rho));
  c = scale(c, 1.0f - 0.5f * std::exp(-(y - upperlid(x)) / 10.0f));
  return c;
}

}  // namespace

tartwork draweye1() {
  tartwork art = makeartwork("eye1", eyewidth, eyeheight, 239);
  tcanvas canvas = makecanvas(eyewidth, eyeheight);
  tfield dark = makefield(eyewidth, eyeheight);

  // Lashes along the upper lid, longer and curled towards the middle.
  for (int32_t i = 0; i < 70; ++i) {
    float t = (i + 0.5f) / 70.0f;
    float x = 8.0f + t * 298.0f + (hashunit(i, 0, eyeseed) - 0.5f) * 3.0f;
    float mid = 1.0f - std::fabs(across(x));
    float slope = (upperlid(x + 1.0f) - upperlid(x - 1.0f)) * 0.5f;
    float nx = slope, ny = -1.0f;  // outward normal of the lid
    float nl = std::sqrt(nx * nx + ny * ny);
    float out = across(x) * 0.9f;  // lashes lean away from the middle
    lash(dark, x, upperlid(x) + 1.0f, nx / nl + out, ny / nl, -across(x) * 0.6f + (across(x) < 0 ? -0.5f : 0.5f),
         10.0f + 18.0f * mid * (0.8f + 0.4f * hashunit(i, 1, eyeseed)), 1.3f);
  }
  for (int32_t i = 0; i < 36; ++i) {
    float t = (i + 0.5f) / 36.0f;
    float x = 30.0f + t * 250.0f;
    float mid = 1.0f - std::fabs(across(x));
    lash(dark, x, lowerlid(x) + 1.5f, across(x) * 0.8f, 1.0f, across(x) * 0.4f, 4.0f + 6.0f * mid, 0.7f);
  }

  for (int32_t y = 0; y < eyeheight; ++y) {
    for (int32_t x = 0; x < eyewidth; ++x) {
      float fx = x + 0.5f, fy = y + 0.5f;
      tcolour c;
      if (inopening(fx, fy)) {
        float rho = irisradius(fx, fy);
        if (rho < 1.0f) {
          c = irisat(fx, fy, rho);
          float pupil = smoothstep(0.33f, 0.30f, rho);
          c = mix(c, {1, 1, 3}, pupil);
        } else {
          c = scleraat(fx, fy);
          // A soft blend where white meets iris.
          c = mix(irisat(fx, fy, 1.0f), c, smoothstep(1.0f, 1.04f, rho));
        }
        // Wet rims along both lids.
        float rim = std::min(fy - upperlid(fx), lowerlid(fx) - fy);
        c = mix({40, 20, 20}, c, smoothstep(0.0f, 2.5f, rim));
      } else {
        c = skinat(fx, fy);
        // Lid margins: darker just outside the opening.
        float du = upperlid(fx) - fy, dl = fy - lowerlid(fx);
        float margin = std::fabs(across(fx)) < 1.0f ? std::min(du > 0 ? du : 99.0f, dl > 0 ? dl : 99.0f) : 99.0f;
        c = scale(c, 0.6f + 0.4f * smoothstep(0.0f, 4.0f, margin));
      }
      c = mix(c, {4, 2, 2}, at(dark, x, y) * 0.95f);
      canvas.colour[static_cast<size_t>(y) * eyewidth + x] = c;
    }
  }

  // Window glints on the cornea: a big soft one and a small sharp one.
  struct tglint {
    float x, y, r, k;
  };
  for (tglint g : {tglint{irisx - 24.0f, irisy - 24.0f, 10.0f, 1.0f}, tglint{irisx + 18.0f, irisy + 16.0f, 4.0f, 0.6f}}) {
    for (int32_t y = 0; y < eyeheight; ++y)
      for (int32_t x = 0; x < eyewidth; ++x) {
        float dx = (x + 0.5f - g.x) / g.r, dy = (y + 0.5f - g.y) / (g.r * 0.85f);
        float d = std::sqrt(dx * dx + dy * dy);
        if (d < 1.6f) {
          tcolour& c = canvas.colour[static_cast<size_t>(y) * eyewidth + x];
          c = mix(c, {63, 63, 63}, g.k * smoothstep(1.6f, 0.9f, d));
        }
      }
  }
  quantize(art, canvas, slotrange(1, 239), 1, 0.6f);
  return art;
}

tartwork draweye2() {
  tartwork art = makeartwork("eye2", eyewidth, eyeheight, 2);
  art.palette.entry[1] = {63, 63, 63, 0};
  art.palette.entry[2] = {0, 0, 0, 0};
  for (int32_t y = 0; y < eyeheight; ++y)
    for (int32_t x = 0; x < eyewidth; ++x) {
      float fx = x + 0.5f, fy = y + 0.5f;
      bool lens = inopening(fx, fy) && irisradius(fx, fy) < 1.0f;
      art.pixels[static_cast<size_t>(y) * eyewidth + x] = lens ? 1 : 2;
    }
  return art;
}

}  // namespace assets
