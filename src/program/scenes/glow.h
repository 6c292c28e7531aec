// glow: the flickering text that glows away, shared by scenes 6, 7 and 12.
//
// The text layer is work2, which no one clears while a scene runs. Every
// frame one draw of the generator decides whether a line of text is
// written into it (one frame in four on average); then the layer is
// blurred, so old letters smear and dim towards 0, optionally cut off
// below a level, and laid over the screen with colour 0 transparent.
// Depends on: tools (stores, drawtext), tarngr, runtime (random).
#pragma once

#include <cstdint>
#include <string_view>

namespace program::scenes {

// One line of text and where its top-left corner goes.
struct tglowline {
  std::string_view text;
  int32_t x = 0;
  int32_t y = 0;
};

// What differs between the scenes that glow.
struct tglow {
  tglowline first;   // shown until the music is past `secondrow` of `secondposition`
  tglowline second;  // from then on (position at least, row above)
  uint32_t secondposition = 0;
  uint32_t secondrow = 0;
  uint8_t colour = 0;
  uint16_t blurcount = 0;  // the blur's last offset
  uint8_t cutoff = 0;      // layer pixels at or below it become 0 (0 cuts nothing)
};

// Text at scale 2, one character every 15 pixels.
constexpr uint8_t glowscale = 2;
constexpr uint8_t glowadvance = 15;

// The draw and, when it is 1, the line the music selects, into work2.
void glowdraw(const tglow& glow);
// Blur, cut-off, and work2 over screen with transcolor 0.
void glowshow(const tglow& glow);
// Both, as one frame does them.
void glowtext(const tglow& glow);

}  // namespace program::scenes
