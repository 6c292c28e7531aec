// loadimx: pictures stored in the archive, and their .im bytes.
//
// A picture entry ("GRAPH\stem.im"), 16-bit values little-endian:
//   N        1 byte    colours, 0..255; colour k goes to palette entry k
//   W        2 bytes   width, 1..1025 (one row goes through a 1025-byte buffer)
//   H        2 bytes   stored height, >= 2: the picture has H - 1 rows
//   3 x N    bytes     red, green, blue, each 0..63, copied as stored
//   W x (H-1) bytes    rows, top first, palette indices copied as stored
// Bytes after the last row belong to the entry but are never read.
//
// Every entry is checked against its limits, the size the index gives it and
// the store behind the bitmap before a byte is written; loadim reports what
// went wrong and leaves printing and ending the process to start-up.
// Depends on: verovo, myio, tarngr (tbitmap), tarnpal (tpalette).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"

namespace loadimx {

using tarngr::tbitmap;
using tarnpal::tpalette;

// ---- types ---------------------------------------------------------------

enum class tloadresult : uint8_t {
  ok,
  missing,         // the name is not in the archive
  corruptfile,     // the archive cannot be opened, sought or read far enough
  corruptpicture,  // the entry breaks the limits above or does not fit its store
};

// A decoded picture: width x height pixels (height is the row count, one
// less than the stored H), colours 1..colors of palette.
struct timage {
  uint8_t colors = 0;
  uint16_t width = 0;
  uint16_t height = 0;
  tpalette palette{};
  std::vector<uint8_t> pixels;
};

constexpr uint16_t maxwidth = 1025;
constexpr uint16_t maxheight = 65534;  // rows; the stored H is one more

// ---- loading ---------------------------------------------------------------

// Reads the entry called name from the open archive into bm (width, height,
// colors and the rows at bm.pixels, which has room for storesize bytes) and
// pal (entry 0 black, entries 1..N the colours; later entries and every spare
// byte keep their values). Anything but ok leaves bm and pal untouched,
// unless the file fails while rows are being read (corruptfile).
tloadresult loadim(const std::string& name, tbitmap& bm, tpalette& pal, uint32_t storesize);

// What start-up prints after "Critical Error : " for a failed load; empty
// for ok.
std::string loadimmessage(tloadresult result, const std::string& name);

// ---- .im bytes -------------------------------------------------------------

// True when the header fields N, W, H describe a picture that fits the
// limits, a store of storesize bytes and an entry of entrysize bytes.
bool imfits(uint8_t n, uint16_t w, uint16_t h, uint32_t storesize, uint64_t entrysize);

// The entry bytes of a picture: height rows of width pixels, colours 1..colors
// of palette. False when width is outside 1..1025, height outside 1..65534
// or pixels does not hold width x height bytes.
bool encodeim(uint8_t colors, uint16_t width, uint16_t height, const tpalette& palette,
              const std::vector<uint8_t>& pixels, std::vector<uint8_t>& bytes);

// Decodes entry bytes with the checks of loadim (ok or corruptpicture). The
// palette is changed as loadim changes it; bytes after the rows are ignored.
tloadresult decodeim(const std::vector<uint8_t>& bytes, timage& image);

}  // namespace loadimx
