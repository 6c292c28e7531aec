// text: the built-in 8x16 bitmap font and drawtext.
//
// fontdata holds 95 glyphs for the codes 32 (space) to 126 (tilde), 16 bytes
// each, one byte per pixel row from the top, the most significant bit the
// leftmost pixel. The face is bold: vertical strokes three pixels wide,
// horizontal strokes two rows high; capitals and digits fill rows 0-11,
// lower case without ascenders rows 4-11, descenders rows 12-13, and rows
// 14-15 are blank in every glyph.
// Depends on: tarngr (putpixel).
#pragma once

#include <cstdint>
#include <string_view>

#include "tarngr/tarngr.h"

namespace tools {

// ---- constants -------------------------------------------------------------

constexpr int fontfirst = 32;   // first code with a glyph
constexpr int fontlast = 126;   // last code with a glyph
constexpr int glyphbytes = 16;  // rows per glyph
constexpr int fontbytes = (fontlast - fontfirst + 1) * glyphbytes;

extern const uint8_t fontdata[fontbytes];

// ---- operations ------------------------------------------------------------

// Draws text with its top-left at (x, y): every inked glyph pixel becomes a
// scale x scale square of colour; clear pixels are left alone; everything is
// clipped by putpixel. After each character the pen moves advance *
// (scale - 1) pixels right, so with scale 1 it stays put. Codes outside
// 32..126 draw nothing but still move the pen.
void drawtext(tarngr::tbitmap& dst, int32_t x, int32_t y, std::string_view text, uint8_t scale,
              uint8_t advance, uint8_t colour);

}  // namespace tools
