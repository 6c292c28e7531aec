// picturefiles: what the archive tools share: pictures between PNG files and
// .im bytes, the default data's archive, and the names in a manifest.
//
// A picture's colours 1..N are PNG palette entries 1..N; PNG entry 0 is black,
// as the show keeps palette entry 0 black. Levels 0..63 are shown as 0..255
// by v*255/63 rounded and read back by v*63/255 rounded, which gives every
// level back exactly.
// Depends on: verovo, loadimx, pngio, assets (the tartwork record only).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assets/assets.h"
#include "loadimx/loadimx.h"
#include "pngio/pngio.h"

namespace picturefiles {

constexpr uint8_t to8bit(uint8_t level) { return static_cast<uint8_t>((level * 255u + 31u) / 63u); }
constexpr uint8_t to6bit(uint8_t value) { return static_cast<uint8_t>((value * 63u + 127u) / 255u); }

// The .im bytes of an indexed PNG file. False, with a sentence in error, when
// the file is unreadable, not indexed, too large (wider than 1025 or higher
// than 65534), or uses entry 0 with a colour other than black (with 256
// entries that is more than 255 colours).
bool pngtoim(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);

// The PNG form of an entry's bytes, when the entry is a picture that comes
// back byte for byte from it: levels 0..63 only, every pixel within colours
// 0..N, nothing after the rows. False otherwise.
bool imtopng(const std::vector<uint8_t>& bytes, pngio::tindexed& png);

// The default archive: one entry "GRAPH\<stem>.im" per picture in the given
// order, the directory name "GRAPH".
bool packartwork(const std::vector<assets::tartwork>& pictures, std::vector<uint8_t>& archive,
                 std::string& error);

// Manifest names: bytes outside '!'..'~' and '%' become %XX, so any name is
// one word on one line. unescapename is false for a malformed escape.
std::string escapename(const std::string& name);
bool unescapename(const std::string& text, std::string& name);

}  // namespace picturefiles
