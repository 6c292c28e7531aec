// teil: the tunnel texture, a wall of rounded stone cells.
//
// The tunnels read a pixel as a brightness (1 darkest .. 37 brightest) and
// wrap the texture both ways, so everything here lives on a torus: the cells
// and the grain repeat exactly every 256 columns and 254 rows. The tunnels
// skip texture rows 2 and 3 of every group of four, so no feature is thinner
// than about eight rows.
// Depends on: draw.
#include <algorithm>
#include <cmath>

#include "assets/pictures/draw.h"
#include "assets/pictures/pictures.h"

namespace assets {

namespace {

constexpr int32_t teilwidth = 256;
constexpr int32_t teilheight = 254;
constexpr int32_t cellsacross = 7;  // cell grid on the torus
constexpr int32_t cellsdown = 7;
constexpr uint32_t teilseed = 0x7e11u;

// Distance between two points of the torus, per axis the shorter way round.
float wrapdelta(float d, float period) {
  d = std::fmod(d, period);
  if (d > period * 0.5f) d -= period;
  if (d < -period * 0.5f) d += period;
  return d;
}

struct tcells {
  float f1, f2;  // nearest and second-nearest feature distance
  uint32_t id;   // which cell is nearest
};

tcells cellsat(float x, float y) {
  const float cw = static_cast<float>(teilwidth) / cellsacross;
  const float ch = static_cast<float>(teilheight) / cellsdown;
  int32_t cx = static_cast<int32_t>(x / cw), cy = static_cast<int32_t>(y / ch);
  tcells r{1e9f, 1e9f, 0};
  for (int32_t j = -2; j <= 2; ++j) {
    for (int32_t i = -2; i <= 2; ++i) {
      int32_t gx = ((cx + i) % cellsacross + cellsacross) % cellsacross;
      int32_t gy = ((cy + j) % cellsdown + cellsdown) % cellsdown;
      float px = (gx + 0.15f + 0.7f * hashunit(gx, gy, teilseed)) * cw;
      float py = (gy + 0.15f + 0.7f * hashunit(gx, gy, teilseed + 1)) * ch;
      float dx = wrapdelta(px - x, teilwidth), dy = wrapdelta(py - y, teilheight);
      float d = std::sqrt(dx * dx + dy * dy);
      if (d < r.f1) {
        r.f2 = r.f1;
        r.f1 = d;
        r.id = static_cast<uint32_t>(gy * cellsacross + gx);
      } else if (d < r.f2) {
        r.f2 = d;
      }
    }
  }
  return r;
}

}  // namespace

tartwork drawteil() {
  tartwork art = makeartwork("teil", teilwidth, teilheight, 37);
  // Deep violet through ember red to a pale gold: each component climbs, so
  // every entry is brighter than the one before.
  rampentries(art, 1, 37,
              {{0.0f, {2, 1, 6}},
               {0.25f, {12, 3, 18}},
               {0.5f, {32, 10, 24}},
               {0.72f, {52, 28, 24}},
               {0.9f, {62, 50, 36}},
               {1.0f, {63, 62, 54}}});

  // Height: each cell a low dome whose rim drops into a groove.
  tfield height = makefield(teilwidth, teilheight);
  tfield cellshade = makefield(teilwidth, teilheight);
  for (int32_t y = 0; y < teilheight; ++y) {
    for (int32_t x = 0; x < teilwidth; ++x) {
      tcells c = cellsat(x + 0.5f, y + 0.5f);
      float edge = c.f2 - c.f1;
      float rim = smoothstep(0.0f, 9.0f, edge);
      float dome = 1.0f - clamp01(c.f1 / 30.0f);
      float grain = periodicfbm(x * 16.0f / teilwidth, y * 16.0f / teilheight, 16, 16, teilseed + 7, 4);
      at(height, x, y) = rim * (0.55f + 0.45f * dome) + (grain - 0.5f) * 0.18f;
      at(cellshade, x, y) = 0.75f + 0.25f * hashunit(static_cast<int32_t>(c.id), 0, teilseed + 3);
    }
  }

  // Light from the upper left; differences wrap round like the texture.
  for (int32_t y = 0; y < teilheight; ++y) {
    for (int32_t x = 0; x < teilwidth; ++x) {
      auto h = [&](int32_t xx, int32_t yy) {
        return at(height, (xx + teilwidth) % teilwidth, (yy + teilheight) % teilheight);
      };
      float gx = (h(x + 1, y) - h(x - 1, y)) * 6.0f;
      float gy = (h(x, y + 1) - h(x, y - 1)) * 6.0f;
      float nl = std::sqrt(gx * gx + gy * gy + 1.0f);
      float light = (gx * 0.6f + gy * 0.6f + 1.0f) / (nl * 1.3115f);  // light (-0.6, -0.6, 1)
      float v = at(height, x, y) * 0.55f * at(cellshade, x, y) + std::max(0.0f, light) * 0.45f - 0.1f;
      float glint = std::pow(std::max(0.0f, light), 12.0f) * 0.25f;
      v = clamp01((v + glint) * 1.15f);
      art.pixels[static_cast<size_t>(y) * teilwidth + x] = static_cast<uint8_t>(1 + std::lround(v * 36.0f));
    }
  }
  return art;
}

}  // namespace assets
