// lens: the relief refraction and the magnifying-lens table.
//
// lensremap fetches every screen pixel from work2 at a position moved by the
// slope of a relief of signed 16-bit heights held in work4 (320 wide, read
// up to index 64,319). Source indices are 16-bit: a displacement past the
// last pixel or below the first lands in the 1,536 bytes behind work2's
// pixels, which lensremap keeps at 0, so such pixels show black.
// lensinit fills lenstable with the flat source offsets of a round lens of
// diameter lenssize and radius lensradius on a 320-wide bitmap.
// Depends on: tools/stores (work2, work4, screen), runtime (round).
#pragma once

#include <cstdint>

namespace tools {

// ---- globals -------------------------------------------------------------

constexpr int32_t lensmaxsize = 160;
// Inputs of lensinit, set by the scene before each call.
extern int32_t lenssize;
extern int32_t lensradius;
// row * S + column -> source offset dy * 320 + dx (mod 65,536) from the
// lens square's top-left corner; the first S * S entries are valid.
extern uint16_t lenstable[lensmaxsize * lensmaxsize];

// ---- operations ----------------------------------------------------------

// screen := work2 refracted through the relief in work4 (all 64,000 pixels).
void lensremap();

// Clamps lenssize to 1..160 (a negative size is left alone and fills
// nothing), then builds its S * S entries of lenstable.
void lensinit();

// The same two, written as plainly as the rule reads; the fast ones must
// give the same bytes (the tests compare them).
void lensremapplain();
void lensinitplain();

}  // namespace tools
