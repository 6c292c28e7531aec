// Scene 14: the perspective scroller with the radial smear.
//
// The scroll2 picture rolls upward through a trapezoid that is narrow at
// the top and nearly full width at the bottom, like a floor seen in
// perspective. Then the whole screen is smeared outward from (154, 118),
// every pixel averaged with one nearer the centre, with a strength that
// pulses up and down; the screen is never cleared, so the smear leaves
// streaks over the black surround. The timeline clears the screen and sets
// the grey scroll2 palette before the set-up, and queries the music after
// the present. No fade.
#include <cstdint>

#include "program/scenes/scenes.h"
#include "runtime/runtime.h"
#include "tables/tables.h"
#include "tarngr/plain.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/stores.h"

namespace program::scenes {

uint16_t floorroll = 200;
int32_t smeara = 32, smearb = 20;
float smearfa = 32.0f, smearfb = 20.0f;
uint8_t smeargrowing = 1;

// ---- the roll ----------------------------------------------------------------------------

namespace {

// r cycles 199 down to 2.
void nextroll() {
  floorroll = static_cast<uint16_t>(floorroll - 1);
  if (floorroll == 1) floorroll = 199;
}

// Picture row j lands on screen row (r + j) mod 199: rows 1..198 of the
// picture fill every screen row but row r mod 199; row 199 is never rolled.
int32_t rowofline(uint32_t j) { return static_cast<int32_t>((floorroll + j) % 199); }

// The left edge of the trapezoid on a screen row; it spans c .. 318 - c.
int32_t leftedge(int32_t row) { return (319 - tables::widthramp[row]) >> 1; }

// One picture row through linebuf, scaled into its row's span.
void rollline(uint32_t j, int32_t row) {
  tarngr::copydw(tools::scroll2.pixels + tarngr::rowoffset[j], tools::linebuf.pixels, 80);
  const int32_t c = leftedge(row);
  tarngr::scalecopy(tools::linebuf, c, row, 319 - c, row + 1, tools::screen);
}

}  // namespace

void rollfloorplain() {
  nextroll();
  for (uint32_t j = 1; j <= 198; ++j) rollline(j, rowofline(j));
}

namespace {

// For every screen row, the linebuf column each pixel of its span samples:
// the scaled copy's single-precision running sums, worked out once per
// width (320 means past the line, which reads 0).
uint16_t spansample[199][320];
int16_t sampledwidth[199];
bool samplesready = false;

const uint16_t* samplesfor(int32_t row) {
  if (!samplesready) {
    for (int16_t& w : sampledwidth) w = -1;
    samplesready = true;
  }
  const int16_t w = tables::widthramp[row];
  if (sampledwidth[row] != w) {
    const int32_t c = leftedge(row), span = 319 - 2 * c;
    const float step = tarngr::plain::scalestep(320, span);
    float sx = 0.0f;
    for (int32_t i = 0; i < span; ++i, sx = sx + step) {
      const auto p = static_cast<uint32_t>(tarngr::plain::nearest(sx));
      spansample[row][i] = static_cast<uint16_t>(p < 320 ? p : 320);
    }
    sampledwidth[row] = w;
  }
  return spansample[row];
}

}  // namespace

// The same bytes as the plain roll: each span samples the picture row
// straight through the row's column table, and linebuf ends up holding the
// last row copied, as the plain roll leaves it.
void rollfloor() {
  if (runtime::plainpaths) return rollfloorplain();
  nextroll();
  for (uint32_t j = 1; j <= 198; ++j) {
    const int32_t row = rowofline(j);
    const int32_t c = leftedge(row), span = 319 - 2 * c;
    if (c < 0 || span < 1) {  // a width past the screen: clipping is scalecopy's
      rollline(j, row);
      continue;
    }
    const uint16_t* samples = samplesfor(row);
    const uint8_t* line = tools::scroll2.pixels + tarngr::rowoffset[j];
    uint8_t* out = tools::screen.pixels + tarngr::rowoffset[row] + c;
    for (int32_t i = 0; i < span; ++i) out[i] = samples[i] < 320 ? line[samples[i]] : 0;
  }
  tarngr::copydw(tools::scroll2.pixels + tarngr::rowoffset[198], tools::linebuf.pixels, 80);
}

// ---- the pulse ---------------------------------------------------------------------------

// Growing and shrinking are the two branches of one test: the divisors turn
// at (32, 20) and at (8, 5). The float shadows keep running past the clamp.
void pulsesmear() {
  if (smeargrowing == 1) {
    smearfa = static_cast<float>(smearfa + 0.8L);
    smearfb = static_cast<float>(smearfb + 0.5L);
    smeara = static_cast<int32_t>(runtime::round(smearfa));
    smearb = static_cast<int32_t>(runtime::round(smearfb));
    if (smeara >= 32 || smearb >= 20) {
      smeara = 32;
      smearb = 20;
      smeargrowing = 0;
    }
  } else {
    smearfa = static_cast<float>(smearfa - 0.8L);
    smearfb = static_cast<float>(smearfb - 0.5L);
    smeara = static_cast<int32_t>(runtime::round(smearfa));
    smearb = static_cast<int32_t>(runtime::round(smearfb));
    if (smeara <= 8 || smearb <= 5) {
      smeara = 8;
      smearb = 5;
      smeargrowing = 1;
    }
  }
}

// ---- the smear ---------------------------------------------------------------------------

namespace {
constexpr int32_t smearx = 154, smeary = 118;
}  // namespace

// Each quadrant from the centre outward: a pixel's source lies nearer the
// centre and so is already smeared this frame (or is the pixel itself).
// Row 0 and column 0 are never visited; row 118 and column 154 are visited
// twice, the centre four times. Values are 0..63, so the sums fit a byte.
void radialsmearplain() {
  uint8_t* const s = tools::screen.pixels;
  const int32_t a = smeara, b = smearb;
  auto mix = [s](int32_t px, int32_t py, int32_t sx, int32_t sy) {
    uint8_t& p = s[tarngr::rowoffset[py] + static_cast<uint32_t>(px)];
    p = static_cast<uint8_t>((p + s[tarngr::rowoffset[sy] + static_cast<uint32_t>(sx)]) / 2);
  };
  for (int32_t py = smeary; py >= 1; --py)
    for (int32_t px = smearx; px >= 1; --px) mix(px, py, px + (smearx - px) / a, py + (smeary - py) / b);
  for (int32_t py = smeary; py >= 1; --py)
    for (int32_t px = smearx; px <= 319; ++px) mix(px, py, px - (px - smearx) / a, py + (smeary - py) / b);
  for (int32_t py = smeary; py <= 199; ++py)
    for (int32_t px = smearx; px >= 1; --px) mix(px, py, px + (smearx - px) / a, py - (py - smeary) / b);
  for (int32_t py = smeary; py <= 199; ++py)
    for (int32_t px = smearx; px <= 319; ++px) mix(px, py, px - (px - smearx) / a, py - (py - smeary) / b);
}

namespace {

// The source column of every column and the source row of every row for
// this frame's divisors, each side of the centre.
uint16_t sourcecolumn[320];
uint8_t sourcerow[200];

void smearleft(uint8_t* s, int32_t py) {
  uint8_t* const out = s + tarngr::rowoffset[py];
  const uint8_t* const in = s + tarngr::rowoffset[sourcerow[py]];
  // In the centre rows in and out are the same row: the order keeps the
  // source's new value.
  for (int32_t px = smearx; px >= 1; --px)
    out[px] = static_cast<uint8_t>((out[px] + in[sourcecolumn[px]]) >> 1);
}

void smearright(uint8_t* s, int32_t py) {
  uint8_t* const out = s + tarngr::rowoffset[py];
  const uint8_t* const in = s + tarngr::rowoffset[sourcerow[py]];
  for (int32_t px = smearx; px <= 319; ++px)
    out[px] = static_cast<uint8_t>((out[px] + in[sourcecolumn[px]]) >> 1);
}

}  // namespace

// The same bytes without two divisions per pixel: the sources come from
// per-frame tables. Row 118 and column 154 lie on both sides with the same
// source (the centre's own), so one entry serves both.
void radialsmear() {
  if (runtime::plainpaths) return radialsmearplain();
  const int32_t a = smeara, b = smearb;
  for (int32_t px = 1; px <= smearx; ++px) sourcecolumn[px] = static_cast<uint16_t>(px + (smearx - px) / a);
  for (int32_t px = smearx; px <= 319; ++px) sourcecolumn[px] = static_cast<uint16_t>(px - (px - smearx) / a);
  for (int32_t py = 1; py <= smeary; ++py) sourcerow[py] = static_cast<uint8_t>(py + (smeary - py) / b);
  for (int32_t py = smeary; py <= 199; ++py) sourcerow[py] = static_cast<uint8_t>(py - (py - smeary) / b);
  uint8_t* const s = tools::screen.pixels;
  for (int32_t py = smeary; py >= 1; --py) smearleft(s, py);
  for (int32_t py = smeary; py >= 1; --py) smearright(s, py);
  for (int32_t py = smeary; py <= 199; ++py) smearleft(s, py);
  for (int32_t py = smeary; py <= 199; ++py) smearright(s, py);
}

// ---- scene 14 ------------------------------------------------------------------------------

namespace {

void timelinesetup() {
  clearframe(tools::screen);
  tarnpal::setpalette(tools::scroll2pal);
  tarngr::transcolor = 60;
}

}  // namespace

void floorsetup() {
  floorroll = 200;
  smeara = 32;
  smearb = 20;
  smearfa = 32.0f;
  smearfb = 20.0f;
  smeargrowing = 1;
}

void floorpass() {
  rollfloor();
  pulsesmear();
  radialsmear();
}

const tscene scene14 = {
    .name = "floor scroller",
    .timelinesetup = timelinesetup,
    .setup = floorsetup,
    .pass = floorpass,
    .query = tquery::afterpresent,
    .end = {.position = 24},
};

}  // namespace program::scenes
