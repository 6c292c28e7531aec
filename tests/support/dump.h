// dump: reads the renderer's frame records ("MVF1", index u32, width u16,
// height u16, all little-endian, the pixels, then 1,024 palette bytes as
// the frame was shown with).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

struct tframerecord {
  uint32_t index = 0;
  uint16_t width = 0, height = 0;
  std::string pixels;
  std::string palette;  // 256 x red, green, blue, spare as uploaded (0..252)

  uint8_t at(uint32_t x, uint32_t y) const { return static_cast<uint8_t>(pixels[y * width + x]); }
  // Palette entry i as 6-bit components.
  std::array<uint8_t, 3> colour(uint8_t i) const;
};

// Every record of a dump. A record with another magic, or one cut short,
// fails the calling test (and ends the list there).
std::vector<tframerecord> readdump(const std::string& bytes);
// The records of a dump file from frame index `from` on; earlier ones are
// skipped without being kept (a long show's dump need not fit in memory).
std::vector<tframerecord> readdumpfile(const std::string& path, uint32_t from = 0);

// Renders the default data with the synthetic row clock (`rows` frames per
// row, so position p starts at frame (p - 1) * 64 * rows) and returns the
// dump of the first `frames` frames (all, when 0), keeping those from
// index `from` on. Fails the calling test when the renderer does.
std::vector<tframerecord> renderdump(uint32_t seed, uint32_t rows, uint64_t frames,
                                     const std::vector<std::string>& extra = {}, uint32_t from = 0);

}  // namespace testsupport
