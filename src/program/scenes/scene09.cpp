// Scene 9: the light band and the particle fountain, in shades of blue.
//
// An invisible fire burns in work1, seeded along row 198 from randbit and
// mirrored into the upper half; a vertical band of light swings about the
// screen's centre on a cosine and is bent sideways by the fire's horizontal
// slope, so its edges ripple and pieces break away. Every pixel is then
// shaken diagonally by randsign, through the jitter index that scenes 4 and
// 10 advance too. Over it 450 particles spray from the nozzle into work3,
// drift sideways in a direction that turns every 100 frames, and leave
// trails through work3's blur, which is never cleared. The glow is lifted
// by 10 and the band's light added; the music is queried last, for the row
// counter at the lower right. The timeline fades to black late in
// position 14.
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <cstring>

#include "Eng3D/Eng3D.h"
#include "program/scenes/scenes.h"
#include "program/scenes/state.h"
#include "runtime/runtime.h"
#include "tables/tables.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/clouds.h"
#include "tools/counter.h"
#include "tools/stores.h"

namespace program::scenes {

int16_t bandcx = 160;
uint16_t bandangle = 0;
int32_t swing = 0;
uint8_t swingforward = 1;
float drift = 0.0f;

namespace {

constexpr int32_t bandreach = 130;  // the columns with |x - cx| below this take part
constexpr uint32_t firestart = 100, firebottom = 198;
constexpr uint32_t fireseeds = 64000;  // the fire index runs 0..63,999
constexpr uint16_t jitterwrap = 64000;
constexpr uint16_t counterx = 260, countery = 150;
constexpr uint32_t glowblur = 63680;

constexpr float driftright = 0.001f, driftleft = -0.01f;
// Drawing shifts a particle by (-0.4, +0.12) and back.
constexpr long double drawshiftx = 0.4L, drawshifty = 0.12L;
constexpr long double gravity = 0.0005L;
constexpr long double relaunchy = 0.3L;

}  // namespace

// ---- the drawing ----------------------------------------------------------------------

void fire() {
  uint8_t* w = tools::work1.pixels;
  for (uint32_t x = 0; x <= 319; ++x) {
    for (uint32_t y = firestart; y <= firebottom; ++y) {
      const uint32_t p = y * 320 + x;
      uint32_t v = (w[p] + w[p + 1] + w[p + 320] + w[p - 1]) >> 2;
      if (v != 0) v = v - 1;
      // One row up and one to the left in the flat store: column 0 lands in
      // column 319 two rows up.
      w[p - 321] = static_cast<uint8_t>(v);
      if (y < 197) w[(197 - y) * 320 + x] = static_cast<uint8_t>(v);
    }
    fadecounter = fadecounter + 1;
    if (fadecounter > fireseeds - 1) fadecounter = 0;
    // The seed is the bit times -56 in a byte: 0 or 200.
    w[firebottom * 320 + x] = static_cast<uint8_t>(tables::randbit[fadecounter] * 200u);
  }
}

void lightbandplain() {
  uint8_t* s = tools::screen.pixels;
  const uint8_t* w = tools::work1.pixels;
  for (int32_t x = 1; x <= 319; ++x)
    for (int32_t y = 1; y <= 190; ++y) {
      const int32_t dx = x - bandcx;
      if (dx <= -bandreach || dx >= bandreach) continue;
      const int32_t p = y * 320 + x;
      const int32_t e = static_cast<int32_t>(w[p + 1]) - static_cast<int32_t>(w[p - 1]);
      const int32_t c = 191 - std::abs(dx - e);
      if (c > 128 && c < 192) s[p] = static_cast<uint8_t>(c);
    }
}

namespace {
// One row of the band over all 320 columns: column 0 and the columns out of
// reach are masked instead of skipped, and every pixel is stored (unlit ones
// with their own value), so the row runs on whole vectors. Column 0 reads
// the byte before the row, which is inside the store from row 1 on.
void bandrow(uint8_t* __restrict out, const uint8_t* __restrict fire, int16_t cx) {
  // Every value fits 16 bits (|x - cx - slope| < 600): eight lanes a vector.
  for (int16_t x = 0; x < 320; ++x) {
    const auto dx = static_cast<int16_t>(x - cx);
    const auto slope = static_cast<int16_t>(fire[x + 1] - fire[x - 1]);
    const auto off = static_cast<int16_t>(dx - slope);
    const auto c = static_cast<int16_t>(191 - (off < 0 ? -off : off));
    const uint8_t old = out[x];
    const bool lit = x >= 1 && dx > -bandreach && dx < bandreach && c > 128;
    out[x] = lit ? static_cast<uint8_t>(c) : old;
  }
}
}  // namespace

// No pixel reads another's result, so the order of the pixels is free.
void lightband() {
  if (runtime::plainpaths) return lightbandplain();
  for (uint32_t y = 1; y <= 190; ++y)
    bandrow(tools::screen.pixels + y * 320, tools::work1.pixels + y * 320, bandcx);
}

namespace {
// One step of the jitter at (x, y): k counts on, wrapping past 64,000 to 1;
// its steps to 64,000 and 64,001 move nothing.
inline void diagonalstep(uint8_t* s, int32_t x, int32_t y, uint16_t& k) {
  const uint8_t b = s[y * 320 + x];
  if (k > jitterwrap) k = 0;
  k = static_cast<uint16_t>(k + 1);
  if (k < jitterwrap) {
    // The same step on both axes: along the diagonal.
    const int32_t d = tables::randsign[k];
    s[(y + d) * 320 + (x + d)] = b;
  }
}

constexpr int32_t jitterrowsteps = 317;  // columns 2..318

using tlanes = uint8_t __attribute__((vector_size(16)));

inline tlanes lanes(const void* p) {
  tlanes v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// out := in where the mask is all ones, else out as it was.
inline void select(uint8_t* out, tlanes in, tlanes mask) {
  const tlanes v = (lanes(out) & ~mask) | (in & mask);
  std::memcpy(out, &v, sizeof v);
}

// One row's steps when k does not wrap in it. A step moves its pixel to the
// row above or below, or onto itself, so no step of the row reads what
// another wrote, and no two write the same pixel: the steps are free of
// order and run as selects, sixteen at a time (random signs would defeat
// any branch).
void jitterrow(const uint8_t* row, uint8_t* above, uint8_t* below, const int8_t* step) {
  const tlanes down = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  const tlanes up = down * 255;
  int32_t i = 0;
  for (; i + 16 <= jitterrowsteps; i += 16) {
    const tlanes b = lanes(row + 2 + i), d = lanes(step + i);
    select(below + 3 + i, b, reinterpret_cast<tlanes>(d == down));
    select(above + 1 + i, b, reinterpret_cast<tlanes>(d == up));
  }
  for (; i < jitterrowsteps; ++i) {
    const uint8_t b = row[2 + i];
    const auto d = static_cast<uint8_t>(step[i]);
    const auto tobelow = static_cast<uint8_t>(0u - (d == 1u)), toabove = static_cast<uint8_t>(0u - (d == 255u));
    below[3 + i] = static_cast<uint8_t>((below[3 + i] & ~tobelow) | (b & tobelow));
    above[1 + i] = static_cast<uint8_t>((above[1 + i] & ~toabove) | (b & toabove));
  }
}
}  // namespace

void bandjitterplain() {
  uint8_t* s = tools::screen.pixels;
  uint16_t k = jitterindex;
  for (int32_t y = 2; y <= 198; ++y)
    for (int32_t x = 2; x <= 318; ++x) diagonalstep(s, x, y, k);
  jitterindex = k;
}

void bandjitter() {
  if (runtime::plainpaths) return bandjitterplain();
  uint8_t* s = tools::screen.pixels;
  for (int32_t y = 2; y <= 198; ++y) {
    if (jitterindex + jitterrowsteps < jitterwrap) {
      jitterrow(s + y * 320, s + (y - 1) * 320, s + (y + 1) * 320, tables::randsign + jitterindex + 1);
      jitterindex = static_cast<uint16_t>(jitterindex + jitterrowsteps);
    } else {
      // The wrap falls in this row.
      uint16_t k = jitterindex;
      for (int32_t x = 2; x <= 318; ++x) diagonalstep(s, x, y, k);
      jitterindex = k;
    }
  }
}

void fountain() {
  using ld = long double;
  if (swing == 100) {
    drift = driftright;
    swingforward = 0;
  }
  if (swing == 0) {
    drift = driftleft;
    swingforward = 1;
  }
  swing = swingforward ? swing + 1 : swing - 1;
  for (int i = 1; i <= Eng3D::fountaincount; ++i) {
    Eng3D::tpoint3d& p = Eng3D::fountainpos[i];
    Eng3D::tvector& v = Eng3D::fountainvel[i];
    v.y = static_cast<float>(ld{v.y} + gravity);
    p.x = static_cast<float>(ld{p.x} + ld{v.x} + ld{drift});
    p.y = static_cast<float>(ld{p.y} + ld{v.y});
    p.z = static_cast<float>(ld{p.z} + ld{v.z});
    p.colour = static_cast<uint8_t>(runtime::round(31.0L - (relaunchy - ld{p.y}) * 31.0L));
    if (ld{p.y} > relaunchy) {
      Eng3D::setpoint(p, 0, 0.0f, tools::nozzley, tools::nozzlez);
      p.colour = static_cast<uint8_t>(runtime::round(47.0L - (relaunchy - ld{p.y}) * 47.0L));
      // Three separate draws, one per axis.
      v.x = tables::fountainlaunch[runtime::random(450)].x;
      v.y = tables::fountainlaunch[runtime::random(450)].y;
      v.z = tables::fountainlaunch[runtime::random(450)].z;
    }
    p.x = static_cast<float>(ld{p.x} - drawshiftx);
    p.y = static_cast<float>(ld{p.y} + drawshifty);
    Eng3D::drawdot(tools::work3, p);
    p.x = static_cast<float>(ld{p.x} + drawshiftx);
    p.y = static_cast<float>(ld{p.y} - drawshifty);
  }
}

namespace {
// screen and work3 are separate stores: the loop runs on whole vectors.
void compose(uint8_t* __restrict s, const uint8_t* __restrict glow) {
  for (uint32_t i = 0; i < 64000; ++i) {
    uint8_t b = static_cast<uint8_t>(glow[i] + 10);
    uint8_t l = static_cast<uint8_t>(s[i] - 128);  // the band's 129..191 as 1..63
    if (l > 63) l = 0;
    b = static_cast<uint8_t>(b + l);
    if (b > 63) b = 63;
    s[i] = b;
  }
}
}  // namespace

void glowcompose() { compose(tools::screen.pixels, tools::work3.pixels); }

namespace {

void timelinesetup() {
  clearframe(tools::screen);
  tarnpal::clearpalette();
  tarnpal::setpalette(tools::counterpal);
  clearframe(tools::work1);
  clearframe(tools::work3);
}

}  // namespace

// ---- scene 9 ----------------------------------------------------------------------------

void bandsetup() {
  bandcx = 160;
  bandangle = 0;
  fadecounter = 0;
  swing = 0;
  swingforward = 1;
}

void banddraw() {
  fire();
  clearframe(tools::screen);
  bandangle = static_cast<uint16_t>(bandangle + 1);
  const long double t = static_cast<int16_t>(bandangle);
  bandcx = static_cast<int16_t>(runtime::round(std::cos(t / 13.0L) * 66.0L + 160.0L));
  lightband();
  bandjitter();
  fountain();
  // work3 is never cleared: the particles leave fading trails.
  tarngr::blur(tools::work3.pixels, glowblur);
  glowcompose();
}

void bandcounter() {
  tools::drawcounter(counterx, countery, static_cast<uint8_t>(playstatus.row), tools::screen);
  // Rows 0 and 1 black.
  tarngr::filldw(tools::screen.pixels, 160, 0);
}

void bandpass() {
  banddraw();
  querystatus();
  bandcounter();
}

const tscene scene09 = {
    .name = "light band",
    .timelinesetup = timelinesetup,
    .setup = bandsetup,
    .pass = bandpass,
    .query = tquery::inpass,
    .fade = {.kind = tfadekind::down, .position = 14, .afterrow = 48},
    .end = {.position = 15},
};

}  // namespace program::scenes
