// lettering: lines of text set in the artwork's own letter set, and words
// painted as bevelled metal.
//
// layoutline() places the glyphs of a line (side bearings, kerning),
// inkline() gives its coverage, anti-aliased, at any resolution, and
// paintwords() turns lines into lit, outlined, shadowed letters on a
// canvas, painted at a multiple of the canvas's resolution and averaged
// down, so that even the 30-pixel logos get smooth shading inside clean
// edges (their background is a transparent colour, so edges cannot blend
// into it). The show's small 8x16 font is not used here.
// Depends on: draw, typeface.
#pragma once

#include <string>
#include <vector>

#include "assets/pictures/draw.h"
#include "assets/pictures/typeface.h"

namespace assets {

// The size and weight a line is set in (canvas pixels).
struct ttype {
  float cap;              // height of the capitals, ink edge to ink edge
  float weight;           // width of the pen
  float condense = 1.0f;  // horizontal scale of the letters (below 1: narrower)
  float spacing = 0.14f;  // gap between the ink of two letters, in cap heights
  bool snap = false;      // letters start on whole pixels: crisper stems at small sizes
};

// One line of text, centred on centrex, capitals hanging from `top`.
struct tline {
  std::string text;
  float centrex;
  float top;
  ttype type;
};

// A glyph placed on a line: its ink box runs from left to left + width and
// from the line's ascender (top) to its descender.
struct tplaced {
  char c;
  const tglyph* glyph;  // nullptr for characters the letter set lacks
  float left, width;
};

std::vector<tplaced> layoutline(const tline& line);
// From the left edge of the first glyph's ink box to the right edge of the last.
float linewidth(const tline& line);
// The line with its letters condensed (or widened) so that it is `width`
// wide; a width that would squeeze them below a third stops there.
tline fitted(tline line, float width);
// The baseline of a line (the bottom edge of its capitals).
inline float baselineof(const tline& line) { return line.top + line.type.cap; }

// Coverage (0..1) of the line's ink, combined into f by maximum. The line's
// coordinates are multiplied by `scale` (f may be a supersampled canvas).
void inkline(tfield& f, const tline& line, float scale);
// The same for one placed glyph of a line.
void inkglyph(tfield& f, const tline& line, const tplaced& glyph, float scale);

struct twordstyle {
  std::vector<tstop> face;  // face colour from the cap line (0) to the baseline (1)
  tcolour outline;          // ring round every letter
  float outlinewidth;       // canvas pixels; 0 for none
  float bevel;              // width of the rounded rim, canvas pixels
  float lightx, lighty;     // light direction in the picture plane
  float shadowx, shadowy;   // drop shadow offset, canvas pixels; 0, 0 for none
  tcolour shadow;
};

// Paints the lines into the canvas (setting opaque where painted);
// `supersample` sub-pixels per canvas pixel along each axis.
void paintwords(tcanvas& canvas, const std::vector<tline>& lines, const twordstyle& style, int32_t supersample);

}  // namespace assets
