// teil: the tunnel texture, a wall of small rounded stones.
//
// The tunnels read a pixel as a brightness (1 darkest .. 37 brightest) and
// wrap the texture both ways, so everything here lives on a torus: the
// stones and the grain repeat exactly every 256 columns and 254 rows. The
// tunnels skip texture rows 2 and 3 of every group of four and blur the
// result twice, so the detail is coarse on purpose: pits of three pixels
// and more, cracks two to three pixels wide, mottling in patches of about
// eight pixels. Each stone has a tone of its own, and the levels are spread
// over the whole ramp (no level holds more than a few percent of the
// pixels), so the tunnels show stones rather than flat slabs.
// Depends on: draw.
#include <algorithm>
#include <cmath>
#include <vector>

#include "assets/pictures/draw.h"
#include "assets/pictures/pictures.h"

namespace assets {

namespace {

constexpr int32_t teilwidth = 256;
constexpr int32_t teilheight = 254;
constexpr int32_t levels = 37;
constexpr int32_t stonesacross = 11;  // stone grid on the torus, about 23 pixels a stone
constexpr int32_t stonesdown = 11;
constexpr uint32_t teilseed = 0x7e11u;
constexpr float pi = 3.14159265358979f;

// Distance between two points of the torus, per axis the shorter way round.
float wrapdelta(float d, float period) {
  d = std::fmod(d, period);
  if (d > period * 0.5f) d -= period;
  if (d < -period * 0.5f) d += period;
  return d;
}

struct tstone {
  float f1, f2;  // distance to the nearest and second-nearest stone centre
  float dx, dy;  // from the nearest centre to the point
  uint32_t id;   // which stone is nearest
};

tstone stoneat(float x, float y) {
  const float cw = static_cast<float>(teilwidth) / stonesacross;
  const float ch = static_cast<float>(teilheight) / stonesdown;
  int32_t cx = static_cast<int32_t>(x / cw), cy = static_cast<int32_t>(y / ch);
  tstone r{1e9f, 1e9f, 0, 0, 0};
  for (int32_t j = -2; j <= 2; ++j) {
    for (int32_t i = -2; i <= 2; ++i) {
      int32_t gx = ((cx + i) % stonesacross + stonesacross) % stonesacross;
      int32_t gy = ((cy + j) % stonesdown + stonesdown) % stonesdown;
      float px = (gx + 0.2f + 0.6f * hashunit(gx, gy, teilseed)) * cw;
      float py = (gy + 0.2f + 0.6f * hashunit(gx, gy, teilseed + 1)) * ch;
      float dx = wrapdelta(x - px, teilwidth), dy = wrapdelta(y - py, teilheight);
      float d = std::sqrt(dx * dx + dy * dy);
      if (d < r.f1) {
        r.f2 = r.f1;
        r = {d, r.f2, dx, dy, static_cast<uint32_t>(gy * stonesacross + gx)};
      } else if (d < r.f2) {
        r.f2 = d;
      }
    }
  }
  return r;
}

// A stone's own numbers in [0, 1): tone, pits, crack.
float stonehash(uint32_t id, int32_t what) { return hashunit(static_cast<int32_t>(id), what, teilseed + 3); }

// How deep the stone's pits and its crack cut at offset (dx, dy) from its
// centre: 0 on sound stone, up to 1 in a pit or crack.
float damage(const tstone& s) {
  float cut = 0.0f;
  // Up to two pits a stone, three to seven pixels across, oval.
  const int32_t pits = static_cast<int32_t>(stonehash(s.id, 1) * 2.7f);
  for (int32_t p = 0; p < pits; ++p) {
    float px = (stonehash(s.id, 10 + p) - 0.5f) * 12.0f, py = (stonehash(s.id, 20 + p) - 0.5f) * 12.0f;
    float a = stonehash(s.id, 40 + p) * pi, ux = std::cos(a), uy = std::sin(a);
    float ex = s.dx - px, ey = s.dy - py;
    float along = (ex * ux + ey * uy) / 1.5f, across = -ex * uy + ey * ux;  // long axis 1.5 times the short
    float r = 1.5f + 1.3f * stonehash(s.id, 30 + p);
    float depth = 0.6f + 0.4f * stonehash(s.id, 50 + p);
    cut = std::max(cut, depth * (1.0f - smoothstep(r - 0.8f, r + 0.8f, std::hypot(along, across))));
  }
  // Every other stone has a crack through it, bent once.
  if (stonehash(s.id, 2) < 0.55f) {
    float a = stonehash(s.id, 3) * pi, bend = (stonehash(s.id, 4) - 0.5f) * 0.06f;
    float ux = std::cos(a), uy = std::sin(a);
    float along = s.dx * ux + s.dy * uy, across = -s.dx * uy + s.dy * ux;
    float d = std::fabs(across - bend * along * along + (stonehash(s.id, 5) - 0.5f) * 4.0f);
    cut = std::max(cut, (1.0f - smoothstep(0.6f, 1.6f, d)) * 0.9f);
  }
  return cut;
}

}  // namespace

tartwork drawteil() {
  tartwork art = makeartwork("teil", teilwidth, teilheight, levels);
  // Deep violet through ember red to a pale gold: each component climbs, so
  // every entry is brighter than the one before.
  rampentries(art, 1, levels,
              {{0.0f, {2, 1, 6}},
               {0.25f, {12, 3, 18}},
               {0.5f, {32, 10, 24}},
               {0.72f, {52, 28, 24}},
               {0.9f, {62, 50, 36}},
               {1.0f, {63, 62, 54}}});

  // Height and albedo: domed stones in dark grooves, each stone its own
  // tone, mottled, pitted and cracked.
  tfield height = makefield(teilwidth, teilheight);
  tfield albedo = makefield(teilwidth, teilheight);
  for (int32_t y = 0; y < teilheight; ++y) {
    for (int32_t x = 0; x < teilwidth; ++x) {
      tstone s = stoneat(x + 0.5f, y + 0.5f);
      float rim = smoothstep(0.0f, 5.0f, s.f2 - s.f1);
      float dome = 1.0f - clamp01(s.f1 / 18.0f);
      float cut = damage(s);
      float mottle = periodicfbm(x * 32.0f / teilwidth, y * 32.0f / teilheight, 32, 32, teilseed + 7, 3);
      float grain = periodicnoise(x * 64.0f / teilwidth, y * 64.0f / teilheight, 64, 64, teilseed + 9);
      at(height, x, y) = rim * (0.6f + 0.4f * dome) - cut * 0.45f;
      float tone = 0.35f + 0.65f * stonehash(s.id, 0);
      at(albedo, x, y) = tone * (0.7f + 0.6f * (mottle - 0.5f) + 0.15f * (grain - 0.5f)) * (1.0f - 0.75f * cut);
    }
  }

  // Light from the upper left; differences wrap round like the texture.
  tfield shade = makefield(teilwidth, teilheight);
  for (int32_t y = 0; y < teilheight; ++y) {
    for (int32_t x = 0; x < teilwidth; ++x) {
      auto h = [&](int32_t xx, int32_t yy) {
        return at(height, (xx + teilwidth) % teilwidth, (yy + teilheight) % teilheight);
      };
      float gx = (h(x + 1, y) - h(x - 1, y)) * 5.0f;
      float gy = (h(x, y + 1) - h(x, y - 1)) * 5.0f;
      float nl = std::sqrt(gx * gx + gy * gy + 1.0f);
      float light = std::max(0.0f, (gx * 0.6f + gy * 0.6f + 1.0f) / (nl * 1.3115f));  // light (-0.6, -0.6, 1)
      float glint = std::pow(light, 10.0f) * 0.2f;
      at(shade, x, y) = at(height, x, y) * 0.35f + at(albedo, x, y) * (0.3f + 0.7f * light) + glint;
    }
  }

  // Spread the values over the ramp: each level's share follows the
  // picture's own brightness order (rank), softened towards the plain
  // values so that the stones keep their relief.
  std::vector<float> sorted = shade.value;
  std::sort(sorted.begin(), sorted.end());
  const float lo = sorted.front(), hi = sorted.back();
  for (size_t i = 0; i < shade.value.size(); ++i) {
    float v = shade.value[i];
    float rank = static_cast<float>(std::lower_bound(sorted.begin(), sorted.end(), v) - sorted.begin()) /
                 static_cast<float>(sorted.size() - 1);
    float plain = (v - lo) / (hi - lo);
    float t = clamp01(0.75f * rank + 0.25f * plain);
    art.pixels[i] = static_cast<uint8_t>(1 + std::lround(t * (levels - 1)));
  }
  return art;
}

}  // namespace assets
