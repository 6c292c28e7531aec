// tunnels: what the two textured tunnels (scenes 1 and 2) share.
//
// The teil picture is read as 256 texels per texture row. Both scenes map it
// through a tunnel table into screen and wobble two logos over the result.
// Depends on: tools (stores), tarngr.
#pragma once

#include <cstdint>

#include "tarngr/tarngr.h"

namespace program::scenes {

// The last offset the tunnels and their filters touch.
constexpr uint32_t tunnellast = 63680;

// Maps teil through a tunnel table into screen, for every pixel offset p
// from 63,680 down to `lowest`: the table is read from its start
// (i = 63,680 - p) while the screen is written from its end, the dimming is
// read at the screen position. index = (map[i] low 16 bits - shift) AND
// 0xFDFF, which stays below 65,024; value = texel - shade byte in 8 bits,
// and 0 where that is negative as a signed byte.
void texturemap(const int32_t* map, const int32_t* shade, uint16_t shift, uint32_t lowest);

// The two logos stretched by the wobble: `upper` into (11 - w, w + 7) to
// (w + 110, 50 - w), `lower` into (210 - w, w + 150) to (w + 290, 190 - w),
// each with its own transparent colour, which stays set for the second.
void wobblelogos(const tarngr::tbitmap& upper, uint8_t uppertrans, const tarngr::tbitmap& lower,
                 uint8_t lowertrans);

}  // namespace program::scenes
