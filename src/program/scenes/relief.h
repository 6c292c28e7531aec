// relief: what the two credit scenes (4 and 10) share.
//
// Both show text as embossed glass over the scrolling scroll1 picture: the
// text is drawn once into work2 and turned into a relief of 16-bit heights;
// every frame work2 and work3 are filled with windows of the picture, a
// band between two rippling curves, mirrored into the four quadrants, shows
// work3 twenty palette entries up in work2, every pixel of work2 is jittered
// in place by randsign, and lensremap refracts work2 through the relief
// into screen. The scenes differ in their texts, their windows, the curve of
// the band and where the jitter index wraps.
// Depends on: scenes/state (jitterindex), tables (randsign), tools (stores).
#pragma once

#include <cstdint>

namespace program::scenes {

// Bytes of scroll1's doubled store that hold the picture: 1,000 rows twice.
constexpr uint32_t scrollbytes = 640000;

// One screen (64,000 bytes) of the doubled scroll1 picture from byte `from`
// into dst. Bytes from scrollbytes on read as black, so no read leaves the
// picture however far the window runs.
void scrollwindow(uint8_t* dst, uint32_t from);

// The relief of the text layer: cell i of work5 (signed 16-bit) := 2v when
// byte i of work2's store, v, is above 128, else -2v, for i = 0..64,000;
// then the first 32,159 words of work5 into work4 (cells 0..64,317), which
// lensremap reads.
void buildrelief();

// The band's upper edge in column x (0..160) at this phase:
//   (a[x + t] + a[4x + t] / 4 + a[8x + t] / 8 + a[16x + t] / 16) / 4,
// indices taken mod 256, divisions by shifts. The curve's values must be
// non-negative (halfsine 0..256, atancurve 0..195).
int32_t waveheight(const int16_t (&curve)[256], uint32_t x, uint32_t phase);

// For x = 0..160 with h = waveheight(curve, x, phase) <= 100 and y = h..100,
// the pixels (x, y), (319 - x, y), (x, 199 - y) and (319 - x, 199 - y) of
// work2 := the same pixel of work3 + 20 (mod 256). Column 160 mirrors onto
// 159, so the seam columns 159 and 160 both reach the higher of their two
// edges. The plain one writes the four pixels column by column as the rule
// reads; the fast one gives the same bytes row by row.
void waveband(const int16_t (&curve)[256], uint32_t phase);
void wavebandplain(const int16_t (&curve)[256], uint32_t phase);

// The jitter of work2, in place: for y = 2..197 and, inside, x = 2..317:
// b := pixel (x, y); k := k + 1, and k := 1 when that reaches `wrap`; pixel
// (x + randsign[k], y + randsign[k + 1]) := b. k is jitterindex, which any
// value may enter with (scene 9 leaves it past either wrap). A pixel moved
// right or down is read again later and may travel on. wrap <= 64,000 keeps
// k + 1 inside randsign. The fast one works out the targets of a row that
// cannot reach the wrap in vector lanes first, and carries a pixel moved
// one right in a register instead of reading it back.
void jitter(uint16_t wrap);
void jitterplain(uint16_t wrap);

// How both credit scenes end a frame once their windows are in work2 and
// work3: the band at this phase, the phase one on (0 again at 255), the
// jitter with the scene's wrap, and lensremap into screen.
void reliefframe(const int16_t (&curve)[256], uint32_t& phase, uint16_t wrap);

}  // namespace program::scenes
