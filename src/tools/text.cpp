// text: drawtext over the built-in font.
#include "tools/text.h"

namespace tools {

namespace {
// Coordinates are formed modulo 2^32 so that text far outside the bitmap
// clips instead of overflowing.
inline int32_t offset(int32_t base, uint32_t delta) {
  return static_cast<int32_t>(static_cast<uint32_t>(base) + delta);
}
}  // namespace

void drawtext(tarngr::tbitmap& dst, int32_t x, int32_t y, std::string_view text, uint8_t scale,
              uint8_t advance, uint8_t colour) {
  int32_t pen = x;
  // advance * (scale - 1) as a 32-bit step; scale 0 gives -advance, as the
  // plain formula does (and draws nothing).
  const uint32_t step = static_cast<uint32_t>(advance) * static_cast<uint32_t>(scale - 1);
  for (const char ch : text) {
    const int code = static_cast<unsigned char>(ch);
    if (code >= fontfirst && code <= fontlast) {
      const uint8_t* glyph = fontdata + (code - fontfirst) * glyphbytes;
      for (uint32_t j = 0; j < glyphbytes; ++j) {
        const uint8_t row = glyph[j];
        if (row == 0) continue;
        for (uint32_t k = 0; k < 8; ++k) {
          if (!(row & (0x80u >> k))) continue;
          for (uint32_t l = 0; l < scale; ++l)
            for (uint32_t m = 0; m < scale; ++m)
              tarngr::putpixel(offset(pen, scale * k + m), offset(y, scale * j + l), colour, dst);
        }
      }
    }
    pen = offset(pen, step);
  }
}

}  // namespace tools
