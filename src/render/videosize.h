// videosize: how large a Y4M of the show will be, said before it is written
// (a whole show is gigabytes).
// Depends on: libopenmpt, outputs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace render {

// Bytes of a Y4M holding this many frames.
uint64_t y4mbytes(uint64_t frames);

// The frames the whole show presents: it ends when the music reaches
// `endposition` (the last scene's end). With F frames per row that is 64 F
// frames per position from position 1; with the module's own timing, its
// play time from order 1 to that position at 60 frames a second. Empty when
// the module cannot be read or is shorter.
std::optional<uint64_t> showframes(const std::string& modulepath, std::optional<uint32_t> framesperrow,
                                   uint32_t endposition);

// 5096514423 -> "5.1 GB" (decimal units, as disks are sold).
std::string sizetext(uint64_t bytes);

}  // namespace render
