// draw: the small drawing kit behind the default artwork.
//
// Pictures are painted in floating point (colours as 0..63 components,
// scalar fields as plain floats) and only at the end turned into palette
// indices: either through a fixed ramp or through a colour quantizer. Every
// source of variety is a seeded integer hash, never the show's random
// generator or the clock, so each picture comes out byte for byte the same.
// Depends on: assets (tartwork), tarnpal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assets/assets.h"

namespace assets {

// ---- types ---------------------------------------------------------------

// A colour with 6-bit components held as floats (0..63, may stray outside
// while mixing; clamped when stored).
struct tcolour {
  float r = 0, g = 0, b = 0;
};

// A point of a colour gradient: the colour at position `at` (0..1).
struct tstop {
  float at;
  tcolour colour;
};

// A width x height plane of floats, rows top to bottom.
struct tfield {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<float> value;
};

// A width x height plane of colours with a coverage plane beside it
// (1 = painted, 0 = transparent background).
struct tcanvas {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<tcolour> colour;
  std::vector<uint8_t> opaque;
};

// ---- numbers -------------------------------------------------------------

inline float clamp01(float x) { return x < 0.0f ? 0.0f : (x > 1.0f ? 1.0f : x); }
inline float mix(float a, float b, float t) { return a + (b - a) * t; }
inline float smoothstep(float e0, float e1, float x) {
  float t = clamp01((x - e0) / (e1 - e0));
  return t * t * (3.0f - 2.0f * t);
}
inline tcolour mix(const tcolour& a, const tcolour& b, float t) {
  return {mix(a.r, b.r, t), mix(a.g, b.g, t), mix(a.b, b.b, t)};
}
inline tcolour scale(const tcolour& a, float k) { return {a.r * k, a.g * k, a.b * k}; }
inline tcolour add(const tcolour& a, const tcolour& b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }

// Integer mixer with full avalanche; all noise derives from it.
uint32_t hash32(uint32_t x);
// A value in [0, 1) for lattice point (x, y) and a seed.
float hashunit(int32_t x, int32_t y, uint32_t seed);

// Smooth value noise on a lattice that repeats every periodx by periody
// cells, so a picture built from it tiles when its size spans whole periods.
// Result in [0, 1].
float periodicnoise(float x, float y, int32_t periodx, int32_t periody, uint32_t seed);
// Octaves of periodicnoise, each twice the frequency (and period) of the
// one before and half its weight. Result in [0, 1].
float periodicfbm(float x, float y, int32_t periodx, int32_t periody, uint32_t seed, int32_t octaves);

// The colour at t (clamped to 0..1) along stops sorted by position.
tcolour gradient(const std::vector<tstop>& stops, float t);

// ---- planes --------------------------------------------------------------

tfield makefield(int32_t width, int32_t height, float value = 0.0f);
tcanvas makecanvas(int32_t width, int32_t height, const tcolour& fill = {}, uint8_t opaque = 1);

inline float& at(tfield& f, int32_t x, int32_t y) { return f.value[static_cast<size_t>(y) * f.width + x]; }
inline float at(const tfield& f, int32_t x, int32_t y) { return f.value[static_cast<size_t>(y) * f.width + x]; }
// The field at (x, y) with coordinates clamped to its edge.
float clampedat(const tfield& f, int32_t x, int32_t y);
// Bilinear sample with coordinates in pixel centres, clamped at the edges.
float sample(const tfield& f, float x, float y);

// Exact Euclidean distance from every cell to the nearest cell whose field
// value is above 0.5 (0 on such cells; large where there is none).
tfield distanceto(const tfield& mask);

// Box blur of the given radius, run `passes` times (three approximate a
// Gaussian). Edges are clamped.
void blurfield(tfield& f, int32_t radius, int32_t passes);

// ---- relief ------------------------------------------------------------

// Bevelled relief of a coverage mask: 0 outside, rising across `width`
// pixels inside the edge to 1. Light comes from (lx, ly) in the picture
// plane and from the viewer; the result is the lit intensity (about 0..1.4)
// where the mask covers, 0 elsewhere.
tfield bevellight(const tfield& mask, float width, float lx, float ly);

// ---- turning paint into palette indices ----------------------------------

// Entries first..first+count-1 of art's palette := count evenly spaced
// colours along stops (first gets t = 0, the last t = 1).
void rampentries(tartwork& art, uint8_t first, uint32_t count, const std::vector<tstop>& stops);

// Chooses colours for the palette slots by median cut refined with a few
// k-means rounds, writes them into art.palette (sorted dark to bright over
// the slots), and sets every pixel of art to the nearest chosen colour, or
// to `background` where the canvas is not opaque. A dither amplitude above
// 0 spreads gradients with a 4x4 ordered pattern before matching.
void quantize(tartwork& art, const tcanvas& canvas, const std::vector<uint8_t>& slots, uint8_t background,
              float dither);

// Slots first..last, leaving out `skip` when it lies inside.
std::vector<uint8_t> slotrange(uint8_t first, uint8_t last, int32_t skip = -1);

// A blank picture record of the given size.
tartwork makeartwork(const std::string& stem, uint16_t width, uint16_t height, uint8_t colors);

}  // namespace assets
