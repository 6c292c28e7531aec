// plain: the whole-frame blits and filters written exactly as their rules
// read, one getpixel and one putpixel per pixel, one running pointer for the
// filters. They are the reference the fast versions in tarngr.cpp are
// tested against, byte for byte; the show itself calls the fast ones.
// Depends on: tarngr (records, getpixel, putpixel, transcolor).
#pragma once

#include <cmath>
#include <cstdint>

#include "tarngr/tarngr.h"

namespace tarngr::plain {

// The step of a scaled blit: source size over destination size, formed in
// extended precision and stored as a single. The running sums of these
// steps, not i * step, pick the sampled source positions.
inline float scalestep(uint16_t size, int64_t span) {
  return static_cast<float>(static_cast<long double>(size) / static_cast<long double>(span));
}

// A running sum's sampled position: nearest integer, ties to even (the
// default rounding mode), as a 32-bit coordinate.
inline int32_t nearest(float v) { return static_cast<int32_t>(std::lrintf(v)); }

void scaleblit(const tbitmap& src, int32_t x1, int32_t y1, int32_t x2, int32_t y2, tbitmap& dst);
void scalecopy(const tbitmap& src, int32_t x1, int32_t y1, int32_t x2, int32_t y2, tbitmap& dst);
void spriteblit(int32_t x, int32_t y, const tbitmap& src, tbitmap& dst);
void blur(uint8_t* b, uint16_t n);
void blurfade(uint8_t* b, uint16_t n);

}  // namespace tarngr::plain
