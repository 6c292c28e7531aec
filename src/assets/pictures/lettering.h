// lettering: words in the show's font, painted as bevelled metal.
//
// letters() (draw.h) gives a word's coverage; paintwords() turns lines of
// words into lit, outlined, shadowed letters on a canvas, painted at a
// multiple of the canvas's resolution and averaged down, so that even the
// 30-pixel logos get smooth shading inside hard, clean edges (their
// background is a transparent colour, so edges cannot blend into it).
// Depends on: draw, tools (fontdata).
#pragma once

#include <string>
#include <vector>

#include "assets/pictures/draw.h"

namespace assets {

// Coverage (0..1) of the show's bitmap font written into f, smoothed: each
// font bit becomes an sx by sy block whose edges are interpolated between
// bit centres, so that diagonal steps become slanted edges and corners round
// off. The pen starts at (x, y) and moves `advance` pixels per character.
// Combined with f by maximum.
void letters(tfield& f, const std::string& text, float x, float y, float sx, float sy, float advance);
// The width in pixels that letters() covers for text.
float letterswidth(const std::string& text, float sx, float advance);

// One line of text: pen start (x, y), glyph cell sx by sy pixels per font
// bit, pen step `advance` pixels per character (canvas pixels).
struct tline {
  std::string text;
  float x, y, sx, sy, advance;
};

struct twordstyle {
  std::vector<tstop> face;  // face colour from the top (0) to the bottom (1) of a line
  tcolour outline;          // ring round every letter
  float outlinewidth;       // canvas pixels; 0 for none
  float bevel;              // width of the rounded rim, canvas pixels
  float lightx, lighty;     // light direction in the picture plane
  float shadowx, shadowy;   // drop shadow offset, canvas pixels; 0, 0 for none
  tcolour shadow;
};

// The lines centred across a canvas of the given width: sets each x.
void centrelines(std::vector<tline>& lines, float width);

// Paints the lines into the canvas (setting opaque where painted);
// `supersample` sub-pixels per canvas pixel along each axis.
void paintwords(tcanvas& canvas, const std::vector<tline>& lines, const twordstyle& style, int32_t supersample);

}  // namespace assets
