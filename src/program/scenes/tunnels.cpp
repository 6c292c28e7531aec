// tunnels: the texture mapping and the logo wobble of scenes 1 and 2.
#include "program/scenes/tunnels.h"

#include "program/scenes/state.h"
#include "tools/stores.h"

namespace program::scenes {

namespace {
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
  for (uint32_t p = tunnellast; p + 1 > lowest; --p) {  // p >= lowest, also for lowest 0
    const uint32_t i = tunnellast - p;
    out[p] = texel(teil, map[i], shade[p], shift);
  }
}

void wobblelogos(const tarngr::tbitmap& upper, uint8_t uppertrans, const tarngr::tbitmap& lower,
                 uint8_t lowertrans) {
  // Each logo grows 2 pixels wider and 2 flatter per unit of wobble.
  const int32_t w = wobble;
  tarngr::transcolor = uppertrans;
  tarngr::scaleblit(upper, 11 - w, w + 7, w + 110, 50 - w, tools::screen);
  tarngr::transcolor = lowertrans;
  tarngr::scaleblit(lower, 210 - w, w + 150, w + 290, 190 - w, tools::screen);
}

}  // namespace program::scenes
