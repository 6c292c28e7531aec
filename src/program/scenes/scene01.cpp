// Scene 1: the radial tunnel with the two logos.
//
// The teil picture streams radially through the centre: it is mapped through
// polarmap, dimmed by polarshade, softened by two blurs, and from order
// position 2 on the qelm1 and corporat logos wobble over it. The timeline
// loads polarpal, fades late in position 2 and ends on position 3.
// The texture mapping here is shared with scene 2.
#include <cstdint>

#include "program/scenes/scenes.h"
#include "program/timeline.h"
#include "tables/tables.h"
#include "tarngr/tarngr.h"
#include "tools/stores.h"

namespace program::scenes {

int32_t wobble = 0;
bool wobbledown = false;
uint32_t radialframes = 0;

// ---- the texture mapping ---------------------------------------------------------

namespace {
constexpr uint32_t lastoffset = 63680;  // the last offset the tunnels and filters touch

inline uint8_t texel(const uint8_t* teil, int32_t mapentry, int32_t shadeentry, uint16_t shift) {
  // Bit 9 cleared: the index stays below 65,024, inside the texture.
  const uint16_t index = static_cast<uint16_t>((static_cast<uint16_t>(mapentry) - shift) & 0xFDFF);
  const uint8_t value = static_cast<uint8_t>(teil[index] - static_cast<uint8_t>(shadeentry));
  return (value & 0x80) ? 0 : value;
}
}  // namespace

// One table read, one texel and one dimming per pixel: the texel fetch
// dominates, and a blocked or reordered loop measured slower.
void texturemap(const int32_t* map, const int32_t* shade, uint16_t shift, uint32_t lowest) {
  const uint8_t* teil = tools::teil.pixels;
  uint8_t* out = tools::screen.pixels;
  for (uint32_t p = lastoffset; p + 1 > lowest; --p) {  // p >= lowest, also for lowest 0
    const uint32_t i = lastoffset - p;
    out[p] = texel(teil, map[i], shade[p], shift);
  }
}

// ---- scene 1 -------------------------------------------------------------------

void radialsetup() {
  radialframes = 0;
  wobble = 0;
  wobbledown = true;
  tarngr::transcolor = 68;
}

void radialtunnel() {
  wobble = wobbledown ? wobble - 1 : wobble + 1;
  radialframes = radialframes + 1;
  // One texture row further per frame.
  const uint16_t shift = static_cast<uint16_t>(radialframes * 256u);
  texturemap(tables::polarmap, tables::polarshade, shift, 319);
  tarngr::drawvline(tools::screen, 0, 199, 0, 0);
  tarngr::blur(tools::screen.pixels, lastoffset);
  tarngr::blur(tools::screen.pixels, lastoffset);
  if (wobble > 10)
    wobbledown = true;
  else if (wobble < 1)
    wobbledown = false;
}

void radiallogos() {
  if (!atleast(2)) return;
  // Each logo grows 2 pixels wider and 2 flatter per unit of wobble.
  tarngr::transcolor = 68;
  tarngr::scaleblit(tools::qelm1, 11 - wobble, wobble + 7, wobble + 110, 50 - wobble, tools::screen);
  tarngr::transcolor = 168;
  tarngr::scaleblit(tools::corporat, 210 - wobble, wobble + 150, wobble + 290, 190 - wobble, tools::screen);
}

void radialpass() {
  radialtunnel();
  querystatus();
  radiallogos();
}

}  // namespace program::scenes
