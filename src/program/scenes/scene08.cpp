// Scene 8: the sine plasma.
//
// Every pixel is the rounded sum of a column wave U and a row wave V, built
// from sines of the pixel's coordinates and of a phase W that moves on by
// 0.05 per frame, seen through bandpal's colour ramps so that the value
// bands run as stripes. The palette fades in from white over 63 frames; the
// timeline fades it out late in position 12 and queries the music after the
// present. The timeline clears the screen, turns every colour white and
// presents that white frame before the set-up.
#include <cfloat>
#include <cmath>
#include <cstdint>

#include "program/scenes/scenes.h"
#include "program/scenes/state.h"
#include "runtime/runtime.h"
#include "tables/tables.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/display.h"
#include "tools/plasma.h"
#include "tools/stores.h"

namespace program::scenes {

float sinephase = 0.0f;

// ---- the waves ---------------------------------------------------------------------

namespace {

// A degree, a hair short of pi / 180; every angle is multiplied by it.
constexpr long double degree = 0.017453292519444445L;

// The sines are extended; power takes them as doubles. For a sine power
// gives the value back, except that 0 becomes 1 (so row 0 gets its +15).
long double powered(int32_t n, long double s) { return tools::power(n, static_cast<double>(s)); }

}  // namespace

float sinecolumn(uint32_t x, float phase) {
  const long double w = phase;
  const long double xd = x * degree;
  const long double ca = powered(3, std::sin(xd * 0.5L + w)) * 5.0L;
  const long double cb = powered(2, std::sin(xd - w)) * 40.0L + ca;
  return static_cast<float>(std::sin(xd + w) * 100.0L + cb);
}

float sinerow(uint32_t y, float phase) {
  const long double w = phase;
  const long double yd = y * degree;
  const long double twice = std::sin(yd * 2.0L);
  const long double ra = powered(2, twice) * 15.0L;
  const long double rb = std::sin(yd - w) * 80.0L + ra;
  return static_cast<float>(rb - twice * 20.0L);
}

namespace {

// The 16-bit rounded sum to the stored byte: above 255 is 255, a negative
// sum is raised by 255, and 0 becomes 254, in that order, so colour 0 is
// never written (below -255 the raise leaves it negative: low 8 bits).
uint8_t bandbyte(int16_t v) {
  if (v > 255) v = 255;
  if (v < 0) v = static_cast<int16_t>(v + 255);
  if (v == 0) v = 254;
  return static_cast<uint8_t>(v);
}

}  // namespace

uint8_t sinevalue(float u, float v) {
  const long double sum = static_cast<long double>(u) + static_cast<long double>(v);
  return bandbyte(static_cast<int16_t>(runtime::round(sum)));
}

// ---- the plasma ----------------------------------------------------------------------

void sineplasmaplain() {
  uint8_t* const pixels = tools::screen.pixels;
  for (uint32_t x = 0; x <= 319; ++x) {
    const float u = sinecolumn(x, sinephase);
    for (uint32_t y = 0; y <= 199; ++y) pixels[tarngr::rowoffset[y] + x] = sinevalue(u, sinerow(y, sinephase));
  }
}

namespace {

// Two floats of magnitude below 2^8 that are 0 or at least 2^-20 span at
// most 52 bits together, so their double sum is exact and equals the
// extended sum the plain rule rounds. Anything else takes the plain sum, as
// does a machine that evaluates doubles in wider registers.
bool exactindouble(float f) {
  const float a = std::fabs(f);
  return FLT_EVAL_METHOD == 0 && (f == 0.0f || (a >= 0x1p-20f && a < 0x1p8f));
}

// Round half to even for |s| < 2^51: after adding 1.5 * 2^52 no bits below
// the units are left, and the addition rounds the way the FPU does by
// default. (Without -ffast-math the compiler keeps the two steps.)
double roundeven(double s) {
  constexpr double shifter = 0x1.8p52;
  return (s + shifter) - shifter;
}

}  // namespace

void sinecompose(const float (&columns)[320], const float (&rows)[200]) {
  bool exact = true;
  for (float u : columns) exact = exact && exactindouble(u);
  for (float v : rows) exact = exact && exactindouble(v);
  uint8_t* out = tools::screen.pixels;
  if (!exact) {
    for (uint32_t y = 0; y <= 199; ++y, out += 320)
      for (uint32_t x = 0; x <= 319; ++x) out[x] = sinevalue(columns[x], rows[y]);
    return;
  }
  static double wide[320];
  for (uint32_t x = 0; x <= 319; ++x) wide[x] = columns[x];
  for (uint32_t y = 0; y <= 199; ++y, out += 320) {
    const double v = rows[y];
    for (uint32_t x = 0; x <= 319; ++x) out[x] = bandbyte(static_cast<int16_t>(roundeven(wide[x] + v)));
  }
}

// ---- the waves, quickly ------------------------------------------------------------------
//
// An extended sine costs about ten times a double one. The fast waves take
// the sines in double and know how far that can be off: the argument loses
// at most |a| * 2^-53 in the conversion and the double sine is within an
// ulp (2^-53), so with every coefficient summed the wave is within
//   bound = coefficients * (|a| + 1) * 2^-50 + 2^-40
// of the extended one (eight times the sine error, and far more than the
// rounding of the few extended operations). When both ends of that interval
// round to the same float, so does the extended wave, rounding being
// monotone; otherwise, and where an argument is 0 (power turns the sine 0
// into 1), the wave is worked out in extended precision after all.

namespace {

bool sameinfloat(long double estimate, long double bound, float& value) {
  const auto low = static_cast<float>(estimate - bound);
  const auto high = static_cast<float>(estimate + bound);
  value = low;
  return low == high;
}

long double doublesine(long double a) { return std::sin(static_cast<double>(a)); }

long double larger(long double a, long double b) { return a > b ? a : b; }

// The row terms that do not move with the phase: power(2, sin 2yd) * 15 and
// sin 2yd itself, exactly as the plain rule has them.
long double rowpower[200], rowtwice[200];
bool rowtermsready = false;

void makerowterms() {
  for (uint32_t y = 0; y <= 199; ++y) {
    const long double yd = y * degree;
    rowtwice[y] = std::sin(yd * 2.0L);
    rowpower[y] = powered(2, rowtwice[y]) * 15.0L;
  }
  rowtermsready = true;
}

}  // namespace

float sinecolumnfast(uint32_t x, float phase) {
  const long double w = phase;
  const long double xd = x * degree;
  const long double a1 = xd * 0.5L + w, a2 = xd - w, a3 = xd + w;
  if (a1 == 0 || a2 == 0) return sinecolumn(x, phase);
  const long double ca = doublesine(a1) * 5.0L;
  const long double cb = doublesine(a2) * 40.0L + ca;
  const long double u = doublesine(a3) * 100.0L + cb;
  const long double reach = larger(larger(std::fabs(a1), std::fabs(a2)), std::fabs(a3)) + 1.0L;
  float value;
  if (sameinfloat(u, 145.0L * reach * 0x1p-50L + 0x1p-40L, value)) return value;
  return sinecolumn(x, phase);
}

float sinerowfast(uint32_t y, float phase) {
  if (!rowtermsready) makerowterms();
  const long double w = phase;
  const long double a = y * degree - w;
  const long double rb = doublesine(a) * 80.0L + rowpower[y];
  const long double v = rb - rowtwice[y] * 20.0L;
  float value;
  if (sameinfloat(v, 80.0L * (std::fabs(a) + 1.0L) * 0x1p-50L + 0x1p-40L, value)) return value;
  return sinerow(y, phase);
}

// The same bytes as the plain rule: each wave depends on one coordinate and
// the phase only, so it is worked out once per column and once per row.
void sineplasma() {
  if (runtime::plainpaths) return sineplasmaplain();
  static float columns[320], rows[200];
  for (uint32_t x = 0; x <= 319; ++x) columns[x] = sinecolumnfast(x, sinephase);
  for (uint32_t y = 0; y <= 199; ++y) rows[y] = sinerowfast(y, sinephase);
  sinecompose(columns, rows);
}

// ---- scene 8 ---------------------------------------------------------------------------

namespace {

void timelinesetup() {
  clearframe(tools::screen);
  clearframe(tools::screen);
  clearframe(tools::work2);
  allwhite();
  tools::present();
}

}  // namespace

void sinesetup() {
  sinephase = 0.0f;
  fadecounter = 0;
}

void sinepass() {
  fadeinstep(tables::bandpal, 64);
  sinephase = static_cast<float>(sinephase + 0.05L);
  sineplasma();
}

const tscene scene08 = {
    .name = "sine plasma",
    .timelinesetup = timelinesetup,
    .setup = sinesetup,
    .pass = sinepass,
    .query = tquery::afterpresent,
    .fade = {.kind = tfadekind::down, .position = 12, .afterrow = 48},
    .end = {.position = 13},
};

}  // namespace program::scenes
