// geoboard: the chequered board that wobbles under the point cloud.
//
// Two materials, six shades each (colours 1..6 and 7..12): bevelled tiles
// lit from the upper left, the chequer flipped inside concentric rings so
// that a target pattern rises out of the board. Cool colours, because the
// cloud's trails above it run from red to white.
// Depends on: draw.
#include <algorithm>
#include <cmath>

#include "assets/pictures/draw.h"
#include "assets/pictures/pictures.h"

namespace assets {

tartwork drawgeoboard() {
  constexpr int32_t w = 320, h = 200;
  constexpr float tilew = 20.0f, tileh = 17.0f;  // square on a 4:3 screen
  constexpr float bevel = 3.5f;
  tartwork art = makeartwork("geoboard", w, h, 12);
  rampentries(art, 1, 6, {{0.0f, {1, 2, 9}}, {0.5f, {6, 12, 32}}, {1.0f, {26, 36, 60}}});
  rampentries(art, 7, 6, {{0.0f, {1, 7, 8}}, {0.5f, {6, 26, 28}}, {1.0f, {34, 60, 54}}});

  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      float fx = x + 0.5f - 10.0f, fy = y + 0.5f - 15.0f;  // tile grid offset to centre the rings
      int32_t tx = static_cast<int32_t>(std::floor(fx / tilew));
      int32_t ty = static_cast<int32_t>(std::floor(fy / tileh));
      float u = fx - tx * tilew, v = fy - ty * tileh;  // inside the tile
      // Rings in screen proportions around the board's centre.
      float rx = (x + 0.5f - 160.0f), ry = (y + 0.5f - 100.0f) * 1.2f;
      float r = std::sqrt(rx * rx + ry * ry);
      bool ring = (static_cast<int32_t>(r / 34.0f) & 1) != 0;
      int32_t material = ((tx + ty) & 1) ^ (ring ? 1 : 0);

      // Bevel: the four edges of the tile, light from the upper left.
      float left = u, top = v, right = tilew - u, bottom = tileh - v;
      float shade = 0.55f;
      float nearest = std::min(std::min(left, top), std::min(right, bottom));
      if (nearest < bevel) {
        if (nearest == left || nearest == top)
          shade = 0.95f;
        else
          shade = 0.2f;
      }
      if (nearest < 1.0f) shade = 0.05f;  // the groove between tiles
      // A soft sheen across each face and a darker rim at the ring borders.
      float sheen = 0.18f * (1.0f - (u / tilew + v / tileh) * 0.5f);
      float ringedge = std::fabs(std::fmod(r, 34.0f) - 17.0f) / 17.0f;  // 1 at the borders
      float dim = smoothstep(0.8f, 1.0f, ringedge) * 0.3f;
      float vignette = clamp01(1.15f - r / 260.0f);
      float s = clamp01((shade + (nearest >= bevel ? sheen : 0.0f) - dim) * vignette);
      art.pixels[static_cast<size_t>(y) * w + x] = static_cast<uint8_t>(1 + material * 6 + std::lround(s * 5.0f));
    }
  }
  return art;
}

}  // namespace assets
