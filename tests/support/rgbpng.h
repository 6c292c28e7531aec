// rgbpng: any PNG file read as 8-bit red, green, blue per pixel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

struct trgbimage {
  uint32_t width = 0, height = 0;
  std::vector<uint8_t> rgb;  // width x height x 3, rows top first
};

// False when the file is missing or not a PNG.
bool readrgbpng(const std::string& path, trgbimage& image);

}  // namespace testsupport
