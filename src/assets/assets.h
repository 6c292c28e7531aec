// assets: the show's default artwork and music, made by code.
//
// morvanta-assets writes them as morvanta.dat and morvanta.xm; the same
// bytes on every run. Users with data files of their own replace the files.
// Depends on: tarnpal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tarnpal/tarnpal.h"

namespace assets {

// One picture as the archive stores it: colours 1..colors of the palette
// (0..63 components) and width x height pixels, rows top to bottom.
struct tartwork {
  std::string stem;  // "teil", "qelm1", ...
  uint16_t width = 0;
  uint16_t height = 0;
  uint8_t colors = 0;
  tarnpal::tpalette palette{};
  std::vector<uint8_t> pixels;
};

// The fourteen pictures, in the show's loading order.
std::vector<tartwork> drawpictures();

// The bytes of morvanta.xm.
std::vector<uint8_t> composemodule();

}  // namespace assets
