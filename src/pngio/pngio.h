// pngio: 8-bit PNG files in and out, for the tools.
//
// Reads palette PNGs (any bit depth, expanded to one byte per pixel) with
// their palette; writes palette PNGs and RGB PNGs. Output is deterministic:
// the same pixels give the same file bytes. Sizes are checked from the
// header before anything is allocated. Nothing prints; errors come back as
// a code and a sentence.
// Depends on: myio (regular-file input), libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pngio {

// ---- types ---------------------------------------------------------------

struct trgb {
  uint8_t red, green, blue;  // 0..255
};

enum class tpngresult : uint8_t {
  ok,
  unreadable,  // cannot open, not a PNG, or damaged
  notindexed,  // a PNG without a palette (RGB, grey)
  toolarge,    // wider or higher than the caller allows
  badindex,    // a pixel names a palette entry the palette does not have
  writefailed,
};

struct tindexed {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<trgb> palette;    // 1..256 entries
  std::vector<uint8_t> pixels;  // width x height indices, rows top first
};

// ---- operations ------------------------------------------------------------

// Reads an indexed PNG no larger than maxwidth x maxheight. On failure,
// error says why (for a message "<file>: <error>").
tpngresult readindexed(const std::string& path, tindexed& image, std::string& error,
                       uint32_t maxwidth = 16384, uint32_t maxheight = 16384);

// Writes width x height indices with a palette of 1..256 entries; every
// pixel must name an entry of it (badindex otherwise, nothing written).
tpngresult writeindexed(const std::string& path, uint32_t width, uint32_t height,
                        const uint8_t* pixels, const std::vector<trgb>& palette, std::string& error);

// Writes width x height pixels of three bytes each (red, green, blue).
tpngresult writergb(const std::string& path, uint32_t width, uint32_t height, const uint8_t* rgb,
                    std::string& error);

}  // namespace pngio
